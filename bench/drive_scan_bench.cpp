// The Media Drive scan over a generated camera-drive tree of 100,000 files in 1,000 folders,
// measured against `find <root> -type f` over the same tree in the same run. Reports scan time
// and the ratio.
#include "bench_files.h"
#include "files/intake.h"
#include "files/media_drive_scan.h"
#include "model/store.h"
#include "platform/settings.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
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

struct DriveTree {
    QString root;
    int files = 0;  // what `find -type f` lists
    int media = 0;  // what the scan keeps or collapses
};

// Half the folders hold a frame sequence plus one clip, the others loose camera files of
// several kinds (some not media at all).
const DriveTree& driveTree()
{
    static QTemporaryDir dir;
    static const DriveTree tree = [] {
        static const char* const loose[] = {"mov", "wav", "jpg", "txt", "mxf", "xml", "R3D", "braw"};
        DriveTree made{dir.path()};
        for (int c = 0; c < kCards; ++c)
            for (int f = 0; f < kFoldersPerCard; ++f) {
                const QString folder = dir.path() + QString("/CARD_%1/DAY%2/CLIP_%3").arg(c).arg(f % 5).arg(f);
                QDir().mkpath(folder);
                for (int n = 0; n < kFilesPerFolder; ++n) {
                    const QString ext = f % 2 == 0 ? (n == 0 ? "mov" : "dpx") : loose[n % 8];
                    if (f % 2 == 0)
                        touch(n == 0 ? folder + "/clip.mov"
                                     : folder + QString("/shot_%1.dpx").arg(n, 4, 10, QChar('0')));
                    else
                        touch(folder + QString("/A%1_C%2_%3.%4").arg(c).arg(f).arg(n, 3, 10, QChar('0')).arg(ext));
                    ++made.files;
                    made.media += mediaExtensions().contains(ext.toLower());
                }
            }
        return made;
    }();
    return tree;
}

// `find` and the scan take turns over the same tree, both with its folders in the cache; each
// iteration checks that find listed every file and the scan accounted for every media file.
template <typename Scan> void measureAgainstFind(benchmark::State& state, Scan scan)
{
    const DriveTree& tree = driveTree();
    const QByteArray findArgs = "'" + QFile::encodeName(tree.root) + "' -type f";
    long lines = 0;
    findSeconds(findArgs, &lines);  // warm the directory cache for both sides
    double findTotal = 0, scanTotal = 0;
    for (auto _ : state) {
        findTotal += findSeconds(findArgs, &lines);
        const auto start = std::chrono::steady_clock::now();
        const int media = scan(tree.root);
        const double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        scanTotal += s;
        state.SetIterationTime(s);
        if (lines != tree.files || media != tree.media) {
            state.SkipWithError("find or the scan missed files");
            return;
        }
    }
    state.counters["files"] = double(lines);
    state.counters["media"] = double(tree.media);
    state.counters["find_ms"] = 1000 * findTotal / double(state.iterations());
    state.counters["scan_ms"] = 1000 * scanTotal / double(state.iterations());
    state.counters["ratio_vs_find"] = scanTotal / findTotal;
}

void BM_MediaDriveScanVsFind(benchmark::State& state)
{
    measureAgainstFind(state, [](const QString& root) {
        const MediaDriveScan scan = scanMediaDrive(root);
        return int(scan.kept.size()) + scan.collapsed;
    });
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
        // The items are the clips; the report says how many frames and spans went into them.
        static const QRegularExpression collapsed(QStringLiteral("\\((\\d+) sequence"));
        return int(store.items().size()) + collapsed.match(store.status()).captured(1).toInt();
    });
}
BENCHMARK(BM_LoadMediaDriveIntoStoreVsFind)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
