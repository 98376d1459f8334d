// Reading the technical facts of 200 short movies and 200 MXF files through the media readers,
// against a bare avformat_open_input + avformat_find_stream_info loop over the same files in the
// same run. The counters give the readers' speed relative to the bare loop (1.0 = as fast; the
// aim is at least 0.8 for movies and at least 1.0 for MXF files).
#include "metadata/mxf_reader.h"
#include "metadata/video_reader.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

extern "C" {
#include <libavformat/avformat.h>
}

namespace {

constexpr int kFiles = 200;

bool ffmpeg(const QStringList& args)
{
    QProcess p;
    p.start("ffmpeg", QStringList{"-nostdin", "-v", "error", "-y"} + args);
    return p.waitForFinished(60000) && p.exitCode() == 0;
}

// kFiles copies of one short clip made by ffmpeg.
QStringList copies(const QTemporaryDir& dir, const QString& ext, const QStringList& args)
{
    const QString source = dir.filePath("source." + ext);
    if (!ffmpeg(args + QStringList{source}))
        return {};
    QStringList paths;
    for (int i = 0; i < kFiles; ++i) {
        paths << dir.filePath(QStringLiteral("A001C%1.%2").arg(i, 3, 10, QChar('0')).arg(ext));
        QFile::copy(source, paths.last());
    }
    return paths;
}

double bareLoop(const QList<QByteArray>& paths)
{
    QElapsedTimer t;
    t.start();
    for (const QByteArray& path : paths) {
        AVFormatContext* fmt = nullptr;
        if (avformat_open_input(&fmt, path.constData(), nullptr, nullptr) < 0)
            std::abort();
        avformat_find_stream_info(fmt, nullptr);
        avformat_close_input(&fmt);
    }
    return t.nsecsElapsed() / 1e9;
}

template <typename Reader> double readerLoop(const QStringList& paths, Reader read)
{
    QElapsedTimer t;
    t.start();
    for (const QString& path : paths)
        benchmark::DoNotOptimize(read(path, false));
    return t.nsecsElapsed() / 1e9;
}

template <typename Reader>
void compare(benchmark::State& state, const QString& ext, const QStringList& args, Reader read)
{
    av_log_set_level(AV_LOG_FATAL);
    QTemporaryDir dir;
    const QStringList paths = copies(dir, ext, args);
    if (paths.isEmpty()) {
        state.SkipWithError("ffmpeg could not make the clips");
        return;
    }
    QList<QByteArray> encoded;
    for (const QString& p : paths)
        encoded << QFile::encodeName(p);
    double bare = 0, reader = 0;
    for (auto _ : state) {
        bare += bareLoop(encoded);
        reader += readerLoop(paths, read);
    }
    state.counters["bare_ms_per_file"] = bare * 1000 / double(state.iterations() * kFiles);
    state.counters["reader_ms_per_file"] = reader * 1000 / double(state.iterations() * kFiles);
    state.counters["speed_vs_bare"] = bare / reader;
}

void BM_VideoReader(benchmark::State& state)
{
    compare(state, "mov",
            {"-f", "lavfi", "-i", "testsrc=d=0.2:s=640x360:r=25", "-f", "lavfi", "-i", "sine=d=0.2:sample_rate=48000",
             "-c:v", "libx264", "-c:a", "aac", "-timecode", "01:00:00:00"},
            readVideo);
}

void BM_MxfReader(benchmark::State& state)
{
    compare(state, "mxf",
            {"-f", "lavfi", "-i", "testsrc=d=0.2:s=1920x1080:r=25", "-f", "lavfi", "-i", "sine=d=0.2:sample_rate=48000",
             "-c:v", "mpeg2video", "-pix_fmt", "yuv422p", "-c:a", "pcm_s24le", "-timecode", "10:00:00:00"},
            readMXF);
}

}  // namespace

BENCHMARK(BM_VideoReader)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_MxfReader)->Unit(benchmark::kMillisecond)->Iterations(3);
