// Finding duplicates among 10,000 files against `sha256sum` of each file's first 512 KiB
// (`head -c 524288 | sha256sum`, one pipe per file from one shell) over the same files in the
// same run. "ratio" is the bin's whole run (fingerprints on the worker, marks, selection) over
// the shell's time; "fingerprint_ratio" is the fingerprints alone over the shell's time.
#include "app_bench_support.h"
#include "bin/bin_controller.h"
#include "bin/bin_duplicates.h"
#include "bin/file_fingerprint.h"
#include "model/store.h"
#include "platform/settings.h"

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <chrono>

namespace {

constexpr int fileCount = 10000;
constexpr int largeEvery = 100;  // one 2 MiB file per hundred, the others 32 KiB
constexpr int copyEvery = 50;    // and one copy of the file before it per fifty

template <typename F> double secondsFor(F&& run)
{
    const auto start = Clock::now();
    run();
    return std::chrono::duration<double>(Clock::now() - start).count();
}

struct FileSet {
    QTemporaryDir dir;
    QStringList paths;
    FileSet()
    {
        QDir().mkpath(dir.filePath("card"));
        QRandomGenerator random(7);
        QByteArray previous;
        for (int i = 0; i < fileCount; ++i) {
            QByteArray bytes(i % largeEvery == 0 ? 2 * 1024 * 1024 : 32 * 1024, Qt::Uninitialized);
            random.fillRange(reinterpret_cast<quint32*>(bytes.data()), bytes.size() / 4);
            if (i % copyEvery == 1)
                bytes = previous;
            previous = bytes;
            const QString path = dir.filePath(QStringLiteral("card/C%1.bin").arg(i, 5, 10, QChar('0')));
            QFile f(path);
            if (f.open(QIODevice::WriteOnly))
                f.write(bytes);
            paths.append(path);
        }
        QFile list(dir.filePath("list.txt"));
        if (list.open(QIODevice::WriteOnly))
            list.write(paths.join('\n').toUtf8() + '\n');
    }
};

const FileSet& files()
{
    static const FileSet set;
    return set;
}

void shellBaseline(const FileSet& set)
{
    QProcess shell;
    shell.start("bash", {"-c", "while IFS= read -r f; do head -c 524288 \"$f\" | sha256sum; done < \"$1\" > /dev/null",
                         "bash", set.dir.filePath("list.txt")});
    shell.waitForFinished(-1);
}

void BM_FindDuplicates10k(benchmark::State& state)
{
    ensureApplication();
    const FileSet& set = files();
    QList<FileItem> items;
    for (const QString& path : set.paths)
        items.append(FileItem::file(path));
    double shell = 0, prints = 0, tool = 0;
    for (auto _ : state) {
        shell += secondsFor([&] { shellBaseline(set); });
        prints += secondsFor([&] {
            for (const QString& path : set.paths)
                benchmark::DoNotOptimize(fileFingerprint(path));
        });
        state.PauseTiming();
        QTemporaryDir support;
        StoreServices services;
        services.settings = std::make_shared<MemorySettings>();
        services.supportFolder = support.filePath("support");
        services.loadHistoryOnStart = false;
        Store store(std::move(services));
        store.setItems(items);
        BinController& bin = store.bin();
        bin.syncRows();
        state.ResumeTiming();
        tool += secondsFor([&] {
            QEventLoop loop;
            QObject::connect(&bin.duplicates(), &BinDuplicates::finished, &loop, &QEventLoop::quit);
            bin.duplicates().findDuplicates();
            loop.exec();
        });
    }
    const double n = double(state.iterations());
    state.counters["files"] = fileCount;
    state.counters["sha256sum_ms"] = shell / n * 1000;
    state.counters["fingerprint_ms"] = prints / n * 1000;
    state.counters["find_duplicates_ms"] = tool / n * 1000;
    state.counters["fingerprint_ratio"] = prints / shell;
    state.counters["ratio"] = tool / shell;
}

}  // namespace

BENCHMARK(BM_FindDuplicates10k)->Unit(benchmark::kMillisecond)->Iterations(1);
