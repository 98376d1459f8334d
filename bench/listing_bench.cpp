// Listing one folder of 100,000 files into a fresh Store, measured against
// `find <folder> -mindepth 1 -maxdepth 1` (warm, the same count); and the same files handed in
// as command-line arguments, measured against a bare stat() loop over those arguments.
#include "app/app_shell.h"
#include "bench_files.h"
#include "files/intake.h"
#include "model/store.h"
#include "platform/settings.h"

#include <QDir>
#include <benchmark/benchmark.h>

#include <chrono>
#include <sys/stat.h>

namespace {

std::unique_ptr<Store> freshStore()
{
    StoreServices services;
    services.settings = std::make_shared<MemorySettings>();
    services.loadHistoryOnStart = false;
    return std::make_unique<Store>(std::move(services));
}

double secondsOf(const std::function<void()>& work)
{
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void BM_ListFolderVsFind(benchmark::State& state)
{
    const QString folder = flatFolder();
    // The folder's entries without the folder itself: the same count as the files listed.
    const QByteArray findArgs = "'" + QFile::encodeName(folder) + "' -mindepth 1 -maxdepth 1";
    long lines = 0;
    findSeconds(findArgs, &lines);  // warm the directory cache for both sides
    double findTotal = 0, listTotal = 0;
    qsizetype listed = 0;
    for (auto _ : state) {
        findTotal += findSeconds(findArgs, &lines);
        auto store = freshStore();
        const double s = secondsOf([&] { store->intake().addURLs({folder}); });
        listed = store->items().size();
        listTotal += s;
        state.SetIterationTime(s);
        if (listed != lines) {
            state.SkipWithError("find and the listing saw different files");
            return;
        }
    }
    state.counters["files"] = double(listed);
    state.counters["find_ms"] = 1000 * findTotal / double(state.iterations());
    state.counters["list_ms"] = 1000 * listTotal / double(state.iterations());
    state.counters["ratio_vs_find"] = listTotal / findTotal;
}
BENCHMARK(BM_ListFolderVsFind)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

// What the launch does with its arguments: resolve them against the working folder and list
// them. The baseline stats every argument once.
void BM_CommandLineIntakeVsStatLoop(benchmark::State& state)
{
    const QString folder = flatFolder();
    const QString before = QDir::currentPath();
    QDir::setCurrent(folder);
    QStringList args;
    QList<QByteArray> encoded;
    for (int i = 0; i < kFlatFolderFiles; ++i) {
        args << flatFileName(i);
        encoded << QFile::encodeName(args.last());
    }
    double statTotal = 0, intakeTotal = 0;
    qsizetype listed = 0;
    for (auto _ : state) {
        statTotal += secondsOf([&] {
            struct stat st {};
            int found = 0;
            for (const QByteArray& a : encoded)
                found += ::stat(a.constData(), &st) == 0;
            benchmark::DoNotOptimize(found);
        });
        auto store = freshStore();
        const double s = secondsOf([&] { store->intake().addURLs(AppShell::pathsFromArguments(args)); });
        listed = store->items().size();
        intakeTotal += s;
        state.SetIterationTime(s);
    }
    QDir::setCurrent(before);
    state.counters["files"] = double(listed);
    state.counters["stat_loop_ms"] = 1000 * statTotal / double(state.iterations());
    state.counters["intake_ms"] = 1000 * intakeTotal / double(state.iterations());
    state.counters["ratio_vs_stat_loop"] = intakeTotal / statTotal;
}
BENCHMARK(BM_CommandLineIntakeVsStatLoop)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
