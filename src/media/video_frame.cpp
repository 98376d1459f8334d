#include "media_functions.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/imgutils.h>
#include <libavutil/log.h>
#include <libswscale/swscale.h>
}

#include <memory>

namespace {
struct FormatCloser {
    void operator()(AVFormatContext* c) const { avformat_close_input(&c); }
};
struct CodecFreer {
    void operator()(AVCodecContext* c) const { avcodec_free_context(&c); }
};
struct FrameFreer {
    void operator()(AVFrame* f) const { av_frame_free(&f); }
};
struct PacketFreer {
    void operator()(AVPacket* p) const { av_packet_free(&p); }
};
struct SwsFreer {
    void operator()(SwsContext* s) const { sws_freeContext(s); }
};

// Decodes packets of one stream until a frame comes out; a damaged file gives up after a
// bounded number of packets rather than reading a whole long clip.
bool decodeFirstFrame(AVFormatContext* fmt, AVCodecContext* codec, int stream, AVFrame* frame)
{
    std::unique_ptr<AVPacket, PacketFreer> packet(av_packet_alloc());
    int budget = 500;
    while (budget-- > 0 && av_read_frame(fmt, packet.get()) >= 0) {
        const bool ours = packet->stream_index == stream;
        const int sent = ours ? avcodec_send_packet(codec, packet.get()) : 0;
        av_packet_unref(packet.get());
        if (!ours || sent < 0)
            continue;
        if (avcodec_receive_frame(codec, frame) == 0)
            return true;
    }
    avcodec_send_packet(codec, nullptr);  // drain: short clips hold their frame in the decoder
    return avcodec_receive_frame(codec, frame) == 0;
}

QImage toImage(const AVFrame* frame, const QSize& maxSize)
{
    QSize size(frame->width, frame->height);
    if (size.isEmpty())
        return {};
    if (size.width() > maxSize.width() || size.height() > maxSize.height())
        size = size.scaled(maxSize, Qt::KeepAspectRatio);
    size = size.expandedTo(QSize(1, 1));
    std::unique_ptr<SwsContext, SwsFreer> sws(sws_getContext(frame->width, frame->height, AVPixelFormat(frame->format),
                                                             size.width(), size.height(), AV_PIX_FMT_RGB24, SWS_BICUBIC,
                                                             nullptr, nullptr, nullptr));
    if (!sws)
        return {};
    QImage image(size, QImage::Format_RGB888);
    uint8_t* dst[4] = {image.bits(), nullptr, nullptr, nullptr};
    int dstStride[4] = {int(image.bytesPerLine()), 0, 0, 0};
    sws_scale(sws.get(), frame->data, frame->linesize, 0, frame->height, dst, dstStride);
    return image;
}
}  // namespace

QImage Media::firstVideoFrame(const QString& path, const QSize& maxSize)
{
    // A damaged file is an ordinary case here (the preview falls back to the icon); keep the
    // decoder's complaints off the terminal.
    static const bool quiet = [] {
        av_log_set_level(AV_LOG_FATAL);
        return true;
    }();
    Q_UNUSED(quiet);
    AVFormatContext* raw = nullptr;
    if (avformat_open_input(&raw, path.toUtf8().constData(), nullptr, nullptr) < 0)
        return {};
    std::unique_ptr<AVFormatContext, FormatCloser> fmt(raw);
    if (avformat_find_stream_info(fmt.get(), nullptr) < 0)
        return {};
    const AVCodec* decoder = nullptr;
    const int stream = av_find_best_stream(fmt.get(), AVMEDIA_TYPE_VIDEO, -1, -1, &decoder, 0);
    if (stream < 0 || !decoder)
        return {};
    std::unique_ptr<AVCodecContext, CodecFreer> codec(avcodec_alloc_context3(decoder));
    if (!codec || avcodec_parameters_to_context(codec.get(), fmt->streams[stream]->codecpar) < 0
        || avcodec_open2(codec.get(), decoder, nullptr) < 0)
        return {};
    std::unique_ptr<AVFrame, FrameFreer> frame(av_frame_alloc());
    if (!decodeFirstFrame(fmt.get(), codec.get(), stream, frame.get()))
        return {};
    return toImage(frame.get(), maxSize);
}
