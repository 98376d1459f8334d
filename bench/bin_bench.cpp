// The bin takes 10,000 listed files: the row sync alone, and the sync plus the background reads
// of every file's facts against the bare readers over the same files in the same run.
// "ratio" is the bin's load time over the bare readers' time.
#include "app_bench_support.h"
#include "bin/bin_controller.h"
#include "metadata/file_metadata_reader.h"
#include "model/store.h"
#include "platform/settings.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <chrono>

namespace {

constexpr int fileCount = 10000;
constexpr int videoEvery = 100;  // one short video per hundred files

template <typename F> double secondsFor(F&& run)
{
    const auto start = Clock::now();
    run();
    return std::chrono::duration<double>(Clock::now() - start).count();
}

QByteArray fileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Small stills and one-second videos, each made once and copied under camera-style names.
struct MediaSet {
    QTemporaryDir dir;
    QStringList stills, videos, all;
    MediaSet()
    {
        QImage image(64, 48, QImage::Format_RGB32);
        image.fill(Qt::darkCyan);
        image.save(dir.filePath("seed.jpg"));
        QProcess::execute("ffmpeg", {"-v", "error", "-y", "-f", "lavfi", "-i", "testsrc=size=160x90:rate=25:duration=1",
                                     "-c:v", "mpeg4", dir.filePath("seed.mov")});
        const QByteArray jpg = fileBytes(dir.filePath("seed.jpg"));
        const QByteArray mov = fileBytes(dir.filePath("seed.mov"));
        QDir().mkpath(dir.filePath("card"));
        for (int i = 0; i < fileCount; ++i) {
            const bool video = i % videoEvery == 0;
            const QString path = dir.filePath(QStringLiteral("card/A%1_C%2.%3")
                                                  .arg(i / 1000, 3, 10, QChar('0'))
                                                  .arg(i % 1000, 4, 10, QChar('0'))
                                                  .arg(video ? "mov" : "jpg"));
            QFile f(path);
            f.open(QIODevice::WriteOnly);
            f.write(video ? mov : jpg);
            (video ? videos : stills).append(path);
            all.append(path);
        }
    }
};

const MediaSet& media()
{
    static const MediaSet set;
    return set;
}

std::unique_ptr<Store> makeStore(const QTemporaryDir& dir, std::shared_ptr<MetadataReader> reader)
{
    StoreServices services;
    services.settings = std::make_shared<MemorySettings>();
    services.supportFolder = dir.filePath("support");
    services.loadHistoryOnStart = false;
    services.metadataReader = std::move(reader);
    return std::make_unique<Store>(std::move(services));
}

QList<FileItem> itemsFor(const QStringList& paths)
{
    QList<FileItem> items;
    items.reserve(paths.size());
    for (const QString& path : paths)
        items.append(FileItem::file(path));
    return items;
}

void waitForLoads(BinController& bin)
{
    while (bin.loading())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

void bareReads(const MediaSet& m)
{
    FileMetadataReader reader;
    for (const QString& path : m.stills)
        benchmark::DoNotOptimize(reader.readImageOrPDF(path));
    for (const QString& path : m.videos)
        benchmark::DoNotOptimize(FileMetadataReader::readNow(path, false));
}

// Sync alone: 10,000 files into an empty bin, then 10,000 more into the bin of 10,000.
void BM_BinSync10k(benchmark::State& state)
{
    ensureApplication();
    const QList<FileItem> first = itemsFor(media().all);
    QStringList more;
    for (const QString& path : media().all)
        more.append(path + ".copy");
    const QList<FileItem> second = itemsFor(more);
    double intoEmpty = 0, intoFull = 0;
    for (auto _ : state) {
        state.PauseTiming();
        QTemporaryDir dir;
        auto store = makeStore(dir, std::make_shared<EmptyMetadataReader>());
        BinController& bin = store->bin();
        store->setItems(first);
        state.ResumeTiming();
        intoEmpty += secondsFor([&] { bin.syncRows(); });
        state.PauseTiming();
        waitForLoads(bin);
        store->setItems(first + second);
        state.ResumeTiming();
        intoFull += secondsFor([&] { bin.syncRows(); });
        state.PauseTiming();
        waitForLoads(bin);
        state.ResumeTiming();
    }
    const double n = double(state.iterations());
    state.counters["sync_10k_ms"] = intoEmpty / n * 1000;
    state.counters["sync_10k_into_10k_ms"] = intoFull / n * 1000;
}

// The whole load: sync and background reads until the last result is in the rows.
void BM_BinLoad10k(benchmark::State& state)
{
    ensureApplication();
    const MediaSet& m = media();
    const QList<FileItem> items = itemsFor(m.all);
    double bin = 0, bare = 0;
    for (auto _ : state) {
        state.PauseTiming();
        bare += secondsFor([&] { bareReads(m); });
        QTemporaryDir dir;
        auto store = makeStore(dir, std::make_shared<FileMetadataReader>());
        store->setItems(items);
        state.ResumeTiming();
        bin += secondsFor([&] {
            store->bin().onAppear();
            waitForLoads(store->bin());
        });
    }
    const double n = double(state.iterations());
    state.counters["files"] = double(m.all.size());
    state.counters["bin_load_ms"] = bin / n * 1000;
    state.counters["bare_readers_ms"] = bare / n * 1000;
    state.counters["ratio"] = bin / bare;
}

}  // namespace

BENCHMARK(BM_BinSync10k)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_BinLoad10k)->Unit(benchmark::kMillisecond)->Iterations(2);
