#include "media_functions.h"
#include "metadata/file_swap.h"
#include "platform/lang.h"

#include <QFile>
#include <QFileInfo>
#include <QTimeZone>
#include <QUuid>
#include <memory>
#include <vector>

extern "C" {
#include <libavformat/avformat.h>
#include <libavutil/dict.h>
}

namespace {

struct InputDeleter {
    void operator()(AVFormatContext* c) const { avformat_close_input(&c); }
};
struct OutputDeleter {
    void operator()(AVFormatContext* c) const
    {
        if (c->pb)
            avio_closep(&c->pb);
        avformat_free_context(c);
    }
};
struct PacketDeleter {
    void operator()(AVPacket* p) const { av_packet_free(&p); }
};
using Input = std::unique_ptr<AVFormatContext, InputDeleter>;
using Output = std::unique_ptr<AVFormatContext, OutputDeleter>;

QString avText(int code)
{
    char buf[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, buf, sizeof buf);
    return QString::fromUtf8(buf);
}

// The muxer rebuilds the timecode track from the video stream's "timecode" tag; copying the old
// track as data is refused.
bool isTimecodeTrack(const AVStream* s)
{
    return s->codecpar->codec_type == AVMEDIA_TYPE_DATA && s->codecpar->codec_tag == MKTAG('t', 'm', 'c', 'd');
}

// Keep the sample entry's own tag (hvc1, apcn, ...) wherever the output container accepts it.
unsigned int keptCodecTag(const AVOutputFormat* format, const AVCodecParameters* in)
{
    unsigned int tag = 0;
    if (!format->codec_tag || av_codec_get_id(format->codec_tag, in->codec_tag) == in->codec_id
        || !av_codec_get_tag2(format->codec_tag, in->codec_id, &tag))
        return in->codec_tag;
    return 0;
}

bool copyStream(AVFormatContext* out, const AVStream* in)
{
    AVStream* os = avformat_new_stream(out, nullptr);
    if (!os || avcodec_parameters_copy(os->codecpar, in->codecpar) < 0)
        return false;
    os->codecpar->codec_tag = keptCodecTag(out->oformat, in->codecpar);
    os->time_base = in->time_base;
    os->avg_frame_rate = in->avg_frame_rate;
    os->r_frame_rate = in->r_frame_rate;
    os->sample_aspect_ratio = in->sample_aspect_ratio;
    os->disposition = in->disposition;
    av_dict_copy(&os->metadata, in->metadata, 0);
    // Rotation (the display matrix) and other stream facts live in side data.
    for (int i = 0; i < in->nb_side_data; ++i) {
        const AVPacketSideData& sd = in->side_data[i];
        uint8_t* dst = av_stream_new_side_data(os, sd.type, sd.size);
        if (!dst)
            return false;
        memcpy(dst, sd.data, sd.size);
    }
    return true;
}

void setOrRemove(AVDictionary** dict, const char* key, const QString& value)
{
    av_dict_set(dict, key, value.isEmpty() ? nullptr : value.toUtf8().constData(), 0);
}

// The movie's metadata as it was, with only the five fields changed; an empty field removes
// its item, an absent date leaves the date items as they were.
void applyFields(AVDictionary** dict, const MetaFields& f)
{
    // Written anew by the muxer from the container it writes.
    for (const char* pseudo : {"major_brand", "minor_version", "compatible_brands", "encoder"})
        av_dict_set(dict, pseudo, nullptr, 0);
    setOrRemove(dict, "title", f.title);
    setOrRemove(dict, "artist", f.author);
    if (av_dict_get(*dict, "author", nullptr, AV_DICT_MATCH_CASE))
        setOrRemove(dict, "author", f.author);
    setOrRemove(dict, "description", f.desc);
    setOrRemove(dict, "copyright", f.copyright);
    if (f.date && f.date->isValid()) {
        const QString iso = f.date->toTimeZone(QTimeZone::utc()).toString(Qt::ISODate);
        setOrRemove(dict, "creation_time", iso);
        setOrRemove(dict, "com.apple.quicktime.creationdate", iso);
    }
}

struct Remux {
    Input in;
    Output out;
    std::vector<int> map;  // input stream -> output stream, -1 when dropped

    QString open(const QString& source, const QString& target, const char* format, const MetaFields& f);
    QString copyPackets();
};

QString Remux::open(const QString& source, const QString& target, const char* format, const MetaFields& f)
{
    AVFormatContext* ic = nullptr;
    int rc = avformat_open_input(&ic, QFile::encodeName(source).constData(), nullptr, nullptr);
    if (rc < 0)
        return avText(rc);
    in.reset(ic);
    if ((rc = avformat_find_stream_info(ic, nullptr)) < 0)
        return avText(rc);
    AVFormatContext* oc = nullptr;
    if ((rc = avformat_alloc_output_context2(&oc, nullptr, format, nullptr)) < 0)
        return avText(rc);
    out.reset(oc);
    for (unsigned i = 0; i < ic->nb_streams; ++i) {
        if (isTimecodeTrack(ic->streams[i])) {
            map.push_back(-1);
            continue;
        }
        if (!copyStream(oc, ic->streams[i]))
            return avText(AVERROR(ENOMEM));
        map.push_back(int(oc->nb_streams) - 1);
    }
    av_dict_copy(&oc->metadata, ic->metadata, 0);
    applyFields(&oc->metadata, f);
    if ((rc = avio_open(&oc->pb, QFile::encodeName(target).constData(), AVIO_FLAG_WRITE)) < 0)
        return avText(rc);
    AVDictionary* options = nullptr;
    // Keeps every tag (reel, scene, take, camera items...), not only those iTunes knows.
    av_dict_set(&options, "movflags", "use_metadata_tags", 0);
    rc = avformat_write_header(oc, &options);
    av_dict_free(&options);
    return rc < 0 ? avText(rc) : QString();
}

QString Remux::copyPackets()
{
    std::unique_ptr<AVPacket, PacketDeleter> pkt(av_packet_alloc());
    int rc = 0;
    while ((rc = av_read_frame(in.get(), pkt.get())) >= 0) {
        const int target = map[size_t(pkt->stream_index)];
        if (target < 0) {
            av_packet_unref(pkt.get());
            continue;
        }
        av_packet_rescale_ts(pkt.get(), in->streams[pkt->stream_index]->time_base, out->streams[target]->time_base);
        pkt->stream_index = target;
        pkt->pos = -1;
        if ((rc = av_interleaved_write_frame(out.get(), pkt.get())) < 0)
            return avText(rc);
    }
    if (rc != AVERROR_EOF)
        return avText(rc);
    if ((rc = av_write_trailer(out.get())) < 0)
        return avText(rc);
    if (out->pb->error < 0)
        return avText(out->pb->error);
    if ((rc = avio_closep(&out->pb)) < 0)
        return avText(rc);
    return {};
}

bool writable(const QString& path)
{
    const QString ext = QFileInfo(path).suffix().toLower();
    return ext == QLatin1String("mov") || ext == QLatin1String("mp4") || ext == QLatin1String("m4v");
}

}  // namespace

bool Media::writeVideo(const MetaFields& fields, const QString& path, FileSwap& swap, QString* reason)
{
    if (!writable(path)) {
        *reason = L("only MOV, MP4 and M4V movies can be written", "只能写入 MOV, MP4 和 M4V 影片");
        return false;
    }
    // A damaged movie is reported through the result, not on stderr.
    static const bool quiet = [] {
        av_log_set_level(AV_LOG_FATAL);
        return true;
    }();
    (void)quiet;
    const QString real = FileSwap::resolveTarget(path);
    if (real.isEmpty()) {
        *reason = L("the file can't be read", "无法读取文件");
        return false;
    }
    const QFileInfo info(real);
    const QString temp = info.absolutePath() + "/.rnvid_" + QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper()
                       + "." + QFileInfo(path).suffix();
    const char* format = QFileInfo(path).suffix().toLower() == QLatin1String("mov") ? "mov" : "mp4";
    QString error;
    {
        Remux remux;
        error = remux.open(real, temp, format, fields);
        if (error.isEmpty())
            error = remux.copyPackets();
    }
    if (!error.isEmpty()) {
        QFile::remove(temp);
        *reason = error;
        return false;
    }
    return swap.swapIn(temp, path, reason);
}
