#include "media_functions.h"
#include "metadata/media_info.h"
#include "metadata/timecode.h"

#include <QElapsedTimer>
#include <QFile>
#include <cmath>
#include <memory>

extern "C" {
#include <libavformat/avformat.h>
#include <libavutil/bswap.h>
#include <libavutil/pixdesc.h>
}

namespace {

// A damaged file must not hold a reader forever.
constexpr qint64 kReadDeadlineMs = 30000;

struct FormatCloser {
    void operator()(AVFormatContext* f) const { avformat_close_input(&f); }
};
using Format = std::unique_ptr<AVFormatContext, FormatCloser>;

int pastDeadline(void* timer)
{
    return static_cast<QElapsedTimer*>(timer)->hasExpired(kReadDeadlineMs) ? 1 : 0;
}

Format openMovie(const QString& path, QElapsedTimer& timer)
{
    static const bool quiet = [] {
        av_log_set_level(AV_LOG_FATAL);
        return true;
    }();
    Q_UNUSED(quiet);
    AVFormatContext* raw = avformat_alloc_context();
    if (!raw)
        return nullptr;
    raw->interrupt_callback = {pastDeadline, &timer};
    AVDictionary* options = nullptr;
    // Only the file itself: a playlist disguised as a movie must not reach other protocols.
    av_dict_set(&options, "protocol_whitelist", "file", 0);
    const QByteArray url = "file:" + QFile::encodeName(path);
    const int opened = avformat_open_input(&raw, url.constData(), nullptr, &options);
    av_dict_free(&options);
    if (opened < 0)
        return nullptr;  // avformat_open_input frees the context on failure
    Format fmt(raw);
    if (avformat_find_stream_info(fmt.get(), nullptr) < 0)
        return nullptr;
    return fmt;
}

QString tagValue(const AVDictionaryEntry* e)
{
    return e && e->value ? QString::fromUtf8(e->value) : QString();
}

// Container tags by the common key they stand for; the first non-empty value wins.
void readCommonMetadata(const AVDictionary* tags, MetaFields& f)
{
    const AVDictionaryEntry* e = nullptr;
    while ((e = av_dict_get(tags, "", e, AV_DICT_IGNORE_SUFFIX))) {
        const QString value = tagValue(e);
        if (value.isEmpty())
            continue;
        QString key = QString::fromUtf8(e->key).toLower();
        key.remove(QLatin1String("com.apple.quicktime."));
        QString* target = nullptr;
        if (key == u"title")
            target = &f.title;
        else if (key == u"artist" || key == u"author" || key == u"contributor")
            target = &f.author;
        else if (key == u"description")
            target = &f.desc;
        else if (key == u"copyright")
            target = &f.copyright;
        if (target && target->isEmpty())
            *target = value;
    }
}

std::optional<QDateTime> creationDate(const AVDictionary* tags)
{
    for (const char* key : {"com.apple.quicktime.creationdate", "creation_time"}) {
        const QString text = tagValue(av_dict_get(tags, key, nullptr, 0));
        QDateTime d = QDateTime::fromString(text, Qt::ISODateWithMs);
        if (!d.isValid())
            d = QDateTime::fromString(text, Qt::ISODate);
        if (d.isValid())
            return d;
    }
    return std::nullopt;
}

const AVStream* firstStream(const AVFormatContext* fmt, AVMediaType type)
{
    for (unsigned i = 0; i < fmt->nb_streams; ++i) {
        const AVStream* st = fmt->streams[i];
        if (st->codecpar->codec_type == type && !(st->disposition & AV_DISPOSITION_ATTACHED_PIC))
            return st;
    }
    return nullptr;
}

bool printableTag(quint32 tag)
{
    for (int i = 0; i < 4; ++i) {
        const quint8 c = quint8(tag >> (8 * i));
        if (c < 0x20 || c > 0x7E)
            return false;
    }
    return true;
}

constexpr quint32 fcc(const char (&s)[5])
{
    return quint32(quint8(s[0])) << 24 | quint32(quint8(s[1])) << 16 | quint32(quint8(s[2])) << 8 | quint8(s[3]);
}

// The codec as its four-character code where it has one, else as a name.
QString videoCodec(const AVCodecParameters* par)
{
    switch (par->codec_id) {
    case AV_CODEC_ID_H264: return MediaInfo::videoCodecName(fcc("avc1"));
    case AV_CODEC_ID_HEVC: return MediaInfo::videoCodecName(fcc("hvc1"));
    case AV_CODEC_ID_PRORES: {
        static const quint32 byProfile[] = {fcc("apco"), fcc("apcs"), fcc("apcn"),
                                            fcc("apch"), fcc("ap4h"), fcc("ap4x")};
        if (par->profile >= 0 && par->profile < 6)
            return MediaInfo::videoCodecName(byProfile[par->profile]);
        break;
    }
    default: break;
    }
    if (par->codec_tag && printableTag(par->codec_tag))
        return MediaInfo::videoCodecName(av_bswap32(par->codec_tag));
    switch (par->codec_id) {
    case AV_CODEC_ID_MPEG2VIDEO: return QStringLiteral("MPEG-2");
    case AV_CODEC_ID_MPEG1VIDEO: return QStringLiteral("MPEG-1");
    case AV_CODEC_ID_MPEG4: return MediaInfo::videoCodecName(fcc("mp4v"));
    case AV_CODEC_ID_MJPEG: return MediaInfo::videoCodecName(fcc("mjpa"));
    case AV_CODEC_ID_DVVIDEO: return QStringLiteral("DV");
    default: return QString::fromUtf8(avcodec_get_name(par->codec_id));
    }
}

// Colour descriptions named as the movie formats spell them, so one set of names serves all.
QString primariesText(AVColorPrimaries p)
{
    switch (p) {
    case AVCOL_PRI_UNSPECIFIED:
    case AVCOL_PRI_RESERVED:
    case AVCOL_PRI_RESERVED0: return {};
    case AVCOL_PRI_BT709: return QStringLiteral("ITU_R_709_2");
    case AVCOL_PRI_BT2020: return QStringLiteral("ITU_R_2020");
    case AVCOL_PRI_SMPTE432: return QStringLiteral("P3_D65");
    case AVCOL_PRI_SMPTE431: return QStringLiteral("DCI_P3");
    case AVCOL_PRI_BT470BG: return QStringLiteral("EBU_3213");
    case AVCOL_PRI_SMPTE170M:
    case AVCOL_PRI_SMPTE240M: return QStringLiteral("SMPTE_C");
    default: return QString::fromUtf8(av_color_primaries_name(p));
    }
}

QString transferText(AVColorTransferCharacteristic t)
{
    switch (t) {
    case AVCOL_TRC_UNSPECIFIED:
    case AVCOL_TRC_RESERVED:
    case AVCOL_TRC_RESERVED0: return {};
    case AVCOL_TRC_BT709:
    case AVCOL_TRC_SMPTE170M: return QStringLiteral("ITU_R_709_2");
    case AVCOL_TRC_SMPTE2084: return QStringLiteral("SMPTE_ST_2084_PQ");
    case AVCOL_TRC_ARIB_STD_B67: return QStringLiteral("ITU_R_2100_HLG");
    case AVCOL_TRC_IEC61966_2_1: return QStringLiteral("IEC_sRGB");
    case AVCOL_TRC_BT2020_10:
    case AVCOL_TRC_BT2020_12: return QStringLiteral("ITU_R_2020");
    case AVCOL_TRC_LINEAR: return QStringLiteral("Linear");
    default: return QString::fromUtf8(av_color_transfer_name(t));
    }
}

// Bits per sample of the decoded picture, not the container's pixel depth field (which says
// 24 for nearly every codec).
int videoBitDepth(const AVCodecParameters* par)
{
    if (const AVPixFmtDescriptor* d = av_pix_fmt_desc_get(AVPixelFormat(par->format)); d && d->nb_components > 0)
        return d->comp[0].depth;
    return par->bits_per_raw_sample > 0 ? par->bits_per_raw_sample : 0;
}

void writeVideoFormat(const AVCodecParameters* par, MetaFields& f, bool zh)
{
    f.custom.insert(QStringLiteral("Codec"), videoCodec(par));
    if (const QString p = primariesText(par->color_primaries); !p.isEmpty())
        f.custom.insert(QStringLiteral("Color Space"), MediaInfo::colorPrimariesName(p));
    if (const QString t = transferText(par->color_trc); !t.isEmpty())
        f.custom.insert(QStringLiteral("Gamma/Transfer"), MediaInfo::transferFunctionName(t));
    if (const int bits = videoBitDepth(par); bits > 0)
        f.custom.insert(QStringLiteral("Video Bit Depth"), QString::number(bits) + QStringLiteral("-bit"));
    if (par->field_order == AV_FIELD_PROGRESSIVE)
        f.custom.insert(QStringLiteral("Scan"), zh ? QStringLiteral("逐行") : QStringLiteral("Progressive"));
    else if (par->field_order != AV_FIELD_UNKNOWN)
        f.custom.insert(QStringLiteral("Scan"), zh ? QStringLiteral("隔行") : QStringLiteral("Interlaced"));
    if (par->color_range == AVCOL_RANGE_JPEG)
        f.custom.insert(QStringLiteral("Color Range"), zh ? QStringLiteral("全范围") : QStringLiteral("Full"));
    else if (par->color_range == AVCOL_RANGE_MPEG)
        f.custom.insert(QStringLiteral("Color Range"),
                        zh ? QStringLiteral("视频/受限") : QStringLiteral("Video/Legal"));
}

quint32 rb32(const uint8_t* p)
{
    return quint32(p[0]) << 24 | quint32(p[1]) << 16 | quint32(p[2]) << 8 | p[3];
}

// The start timecode from the first sample of the timecode track: its frame number counted at
// the track's frame quanta, as drop-frame timecode where the track is marked so.
std::optional<QString> startTimecode(AVFormatContext* fmt)
{
    const AVStream* tc = nullptr;
    for (unsigned i = 0; i < fmt->nb_streams && !tc; ++i)
        if (fmt->streams[i]->codecpar->codec_tag == MKTAG('t', 'm', 'c', 'd'))
            tc = fmt->streams[i];
    if (!tc || tc->codecpar->extradata_size < 17 || avformat_index_get_entries_count(tc) < 1)
        return std::nullopt;
    const AVIndexEntry* first = avformat_index_get_entry(const_cast<AVStream*>(tc), 0);
    if (!first || first->size < 4 || !fmt->pb || avio_seek(fmt->pb, first->pos, SEEK_SET) < 0)
        return std::nullopt;
    uint8_t sample[4];
    if (avio_read(fmt->pb, sample, 4) != 4)
        return std::nullopt;
    const uint8_t* ed = tc->codecpar->extradata;
    const bool dropFlag = rb32(ed + 4) & 0x0001;
    const quint32 timescale = rb32(ed + 8);
    const quint32 quanta = ed[16];
    const bool dropRate = quanta == 30 || quanta == 60;
    const bool semicolon = dropRate && (dropFlag || (timescale != 0 && timescale % 1001 == 0));
    return Timecode::startText(rb32(sample), quanta, dropFlag && dropRate, semicolon ? u';' : u':');
}

int audioBits(const AVCodecParameters* par, bool& isFloat)
{
    switch (par->codec_id) {
    case AV_CODEC_ID_PCM_F16LE:
    case AV_CODEC_ID_PCM_F24LE:
    case AV_CODEC_ID_PCM_F32BE:
    case AV_CODEC_ID_PCM_F32LE:
    case AV_CODEC_ID_PCM_F64BE:
    case AV_CODEC_ID_PCM_F64LE: isFloat = true; break;
    default: isFloat = false;
    }
    if (const int bits = av_get_bits_per_sample(par->codec_id);
        bits > 0 && par->codec_id >= AV_CODEC_ID_FIRST_AUDIO && par->codec_id < AV_CODEC_ID_ADPCM_IMA_QT)
        return bits;
    return par->bits_per_raw_sample > 0 ? par->bits_per_raw_sample : 0;
}

quint32 audioFormatCode(const AVCodecParameters* par)
{
    switch (par->codec_id) {
    case AV_CODEC_ID_AAC: return fcc("aac ");
    case AV_CODEC_ID_MP3: return fcc(".mp3");
    case AV_CODEC_ID_AC3: return fcc("ac-3");
    case AV_CODEC_ID_EAC3: return fcc("ec-3");
    case AV_CODEC_ID_ALAC: return fcc("alac");
    case AV_CODEC_ID_FLAC: return fcc("flac");
    case AV_CODEC_ID_OPUS: return fcc("opus");
    default: break;
    }
    if (par->codec_id >= AV_CODEC_ID_FIRST_AUDIO && par->codec_id < AV_CODEC_ID_ADPCM_IMA_QT)
        return fcc("lpcm");
    return par->codec_tag && printableTag(par->codec_tag) ? av_bswap32(par->codec_tag) : 0;
}

void writeAudio(const AVStream* st, MetaFields& f, bool zh)
{
    const AVCodecParameters* par = st->codecpar;
    if (par->sample_rate <= 0)
        return;
    QString sr = QString::asprintf("%.1f kHz", double(par->sample_rate) / 1000.0);
    f.custom.insert(QStringLiteral("Audio SR"), sr.replace(QLatin1String(".0 kHz"), QLatin1String(" kHz")));
    const quint32 code = audioFormatCode(par);
    f.custom.insert(QStringLiteral("Audio Codec"),
                    code ? MediaInfo::audioCodecName(code) : QString::fromUtf8(avcodec_get_name(par->codec_id)));
    bool isFloat = false;
    if (const int bits = audioBits(par, isFloat); bits > 0)
        f.custom.insert(QStringLiteral("Audio Bit Depth"), QString::number(bits) + QStringLiteral("-bit")
                                                               + (isFloat ? QStringLiteral(" float") : QString()));
    if (par->ch_layout.nb_channels > 0)
        f.custom.insert(QStringLiteral("Audio Channels"), MediaInfo::channelLayoutName(par->ch_layout.nb_channels, zh));
}

// Camera log items some cameras keep in the movie's tags; a later item wins, except for the
// camera, where the first wins.
void readCameraItems(const AVDictionary* tags, MetaFields& f)
{
    const AVDictionaryEntry* e = nullptr;
    while ((e = av_dict_get(tags, "", e, AV_DICT_IGNORE_SUFFIX))) {
        const QString value = tagValue(e);
        if (value.isEmpty())
            continue;
        const QString key = QString::fromUtf8(e->key).toLower();
        if (key.contains(u"reel"))
            f.custom.insert(QStringLiteral("Reel"), value);
        else if (key.contains(u"scene"))
            f.custom.insert(QStringLiteral("Scene"), value);
        else if (key.contains(u"shot"))
            f.custom.insert(QStringLiteral("Shot"), value);
        else if (key.contains(u"take"))
            f.custom.insert(QStringLiteral("Take"), value);
        else if ((key.contains(u"model") || key.contains(u"camera")) && !f.custom.contains(QStringLiteral("Camera")))
            f.custom.insert(QStringLiteral("Camera"), value);
    }
}

double rateOf(AVRational r)
{
    return r.num > 0 && r.den > 0 ? double(r.num) / double(r.den) : 0;
}

QString rateText(double fps)
{
    return fps == std::floor(fps) ? QString::asprintf("%.0f fps", fps) : QString::asprintf("%.2f fps", fps);
}

void finish(MetaFields& f)
{
    if (f.fps > 0)
        f.custom.insert(QStringLiteral("Frame Rate"), rateText(f.fps));
    QStringList parts{QString::asprintf("%.1fs", f.durSec)};
    if (f.vidW > 0 && f.vidH > 0) {
        const QString size = QString::number(f.vidW) + u'×' + QString::number(f.vidH);
        f.custom.insert(QStringLiteral("Resolution"), size);
        parts << size;
    }
    if (f.fps > 0)
        parts << QString::asprintf("%.0ffps", f.fps);
    f.info = parts.join(QStringLiteral(" · "));
}

void readMovie(AVFormatContext* fmt, MetaFields& f, bool zh)
{
    readCommonMetadata(fmt->metadata, f);
    f.date = creationDate(fmt->metadata);
    if (fmt->duration != AV_NOPTS_VALUE && fmt->duration > 0)
        f.durSec = double(fmt->duration) / AV_TIME_BASE;
    if (const AVStream* video = firstStream(fmt, AVMEDIA_TYPE_VIDEO)) {
        const AVCodecParameters* par = video->codecpar;
        f.vidW = std::abs(qint64(par->width));
        f.vidH = std::abs(qint64(par->height));
        const double fps = rateOf(av_guess_frame_rate(fmt, const_cast<AVStream*>(video), nullptr));
        f.fps = std::isfinite(fps) ? fps : 0;
        if (par->bit_rate > 0)
            f.custom.insert(QStringLiteral("Data Rate"),
                            QString::asprintf("%.1f Mb/s", double(float(par->bit_rate) / 1000000.0f)));
        writeVideoFormat(par, f, zh);
        if (const std::optional<QString> tc = startTimecode(fmt))
            f.custom.insert(QStringLiteral("Start TC"), *tc);
    }
    if (const AVStream* audio = firstStream(fmt, AVMEDIA_TYPE_AUDIO))
        writeAudio(audio, f, zh);
    readCameraItems(fmt->metadata, f);
    for (unsigned i = 0; i < fmt->nb_streams; ++i)
        readCameraItems(fmt->streams[i]->metadata, f);
}

}  // namespace

MetaFields Media::readVideo(const QString& path, bool zh)
{
    MetaFields f;
    f.kind = MetaKind::video;
    QElapsedTimer timer;
    timer.start();
    if (Format fmt = openMovie(path, timer))
        readMovie(fmt.get(), f, zh);
    finish(f);
    MediaInfo::technicalColumns(f, path);
    return f;
}
