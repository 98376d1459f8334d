// The Media Drive scan over a generated camera-drive tree of 100,000 files, measured against
// `find <root> -type f` over the same tree in the same run. Reports scan time and the ratio.
#include "bench_files.h"
#include "files/intake.h"
#include "files/media_drive_scan.h"
#include "model/store.h"
#include "platform/settings.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <chrono>
#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr int kCards = 20;
constexpr int kFoldersPerCard = 50;
constexpr int kFilesPerFolder = 100;  // 20 × 50 × 100 = 100,000 files

void touch(const QString& path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd >= 0)
        ::close(fd);
}

// Half the folders hold a frame sequence plus one clip, the others loose camera files of
// several kinds (some not media at all).
QString driveTree()
{
    static QTemporaryDir dir;
    static bool made = false;
    if (!made) {
        static const char* const loose[] = {"mov", "wav", "jpg", "txt", "mxf", "xml", "R3D", "braw"};
        for (int c = 0; c < kCards; ++c)
            for (int f = 0; f < kFoldersPerCard; ++f) {
                const QString folder = dir.path() + QString("/CARD_%1/DAY%2/CLIP_%3").arg(c).arg(f % 5).arg(f);
                QDir().mkpath(folder);
                for (int n = 0; n < kFilesPerFolder; ++n) {
                    if (f % 2 == 0)
                        touch(n == 0 ? folder + "/clip.mov"
                                     : folder + QString("/shot_%1.dpx").arg(n, 4, 10, QChar('0')));
                    else
                        touch(folder
                              + QString("/A%1_C%2_%3.%4").arg(c).arg(f).arg(n, 3, 10, QChar('0')).arg(loose[n % 8]));
                }
            }
        made = true;
    }
    return dir.path();
}

template <typename Scan> void measureAgainstFind(benchmark::State& state, Scan scan)
{
    const QString root = driveTree();
    long lines = 0;
    findSeconds("'" + QFile::encodeName(root) + "' -type f", &lines);  // warm the directory cache for both sides
    double findTotal = 0, scanTotal = 0;
    for (auto _ : state) {
        findTotal += findSeconds("'" + QFile::encodeName(root) + "' -type f", &lines);
        const auto start = std::chrono::steady_clock::now();
        scan(root);
        const double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        scanTotal += s;
        state.SetIterationTime(s);
    }
    state.counters["files"] = double(lines);
    state.counters["find_ms"] = 1000 * findTotal / double(state.iterations());
    state.counters["scan_ms"] = 1000 * scanTotal / double(state.iterations());
    state.counters["ratio_vs_find"] = scanTotal / findTotal;
}

void BM_MediaDriveScanVsFind(benchmark::State& state)
{
    measureAgainstFind(state, [](const QString& root) { benchmark::DoNotOptimize(scanMediaDrive(root).kept.size()); });
}
BENCHMARK(BM_MediaDriveScanVsFind)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

// The whole operation as the user runs it: scan, collapse and list items into a fresh Store.
void BM_LoadMediaDriveIntoStoreVsFind(benchmark::State& state)
{
    measureAgainstFind(state, [](const QString& root) {
        StoreServices services;
        services.settings = std::make_shared<MemorySettings>();
        services.loadHistoryOnStart = false;
        Store store(services);
        store.intake().loadMediaDrive(root);
        benchmark::DoNotOptimize(store.items().size());
    });
}
BENCHMARK(BM_LoadMediaDriveIntoStoreVsFind)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
