// Pasted names recognised through the Smart Rename tab's run (paced from the event loop, rows
// stored at the end) against the bare recognition calls for the same names, in the same run.
// "ratio" is run time over bare time.
#include "bench_support.h"
#include "smartrename/smart_rename_run.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QStringList>
#include <chrono>

namespace {

using Clock = std::chrono::steady_clock;

double seconds(Clock::time_point since)
{
    return std::chrono::duration<double>(Clock::now() - since).count();
}

void ensureCoreApplication()
{
    if (qApp)
        return;
    static int argc = 1;
    static char name[] = "brindlecove_bench";
    static char* argv[] = {name, nullptr};
    new QCoreApplication(argc, argv);  // lives until the process ends
}

QString pastedNames(int count)
{
    const QStringList codes{"ABC", "XYZ", "TMB", "HLD", "NX7"};
    const QStringList spots{"HolidayPromo", "summer sale", "WELCOMEBACK", "Brand_Anthem", "LongNight"};
    const QStringList cuts{"Trlr", "TV", "Teaser", "Spot", "Promo"};
    const QStringList timings{":30", "60", ":15", "TV30", ":06"};
    QStringList lines;
    lines.reserve(count);
    for (int i = 0; i < count; ++i) {
        lines << QStringLiteral("%1_%2_%3_%4_V%5.mov")
                     .arg(codes[i % 5], spots[(i / 5) % 5], cuts[(i / 25) % 5], timings[(i / 125) % 5])
                     .arg(i % 9 + 1);
    }
    return lines.join(u'\n');
}

void BM_SmartRenameRun(benchmark::State& state)
{
    ensureCoreApplication();
    const int count = int(state.range(0));
    const int pauseMs = int(state.range(1));
    QTemporaryDir dir;
    auto store = makeBenchStore(dir, 0, false);
    const QString text = pastedNames(count);
    store->setSmartRenameInputText(text);
    SmartRenameRun& run = store->smartRun();
    run.setPauseMs(pauseMs);
    for (const QString& line : SmartRenameRun::pastedLines(text))  // both sides start with warm word caches
        benchmark::DoNotOptimize(run.makeCorrector().correctName(line));
    double inRun = 0;
    double bare = 0;
    for (auto _ : state) {
        auto start = Clock::now();
        run.recognize();
        while (run.isRunning())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        inRun += seconds(start);
        benchmark::DoNotOptimize(store->smart().smartRenameRows.size());

        start = Clock::now();
        const SmartCorrector corrector = run.makeCorrector();
        QList<SmartRename::Result> results;
        results.reserve(count);
        for (const QString& line : SmartRenameRun::pastedLines(text))
            results << corrector.correctName(line);
        bare += seconds(start);
        benchmark::DoNotOptimize(results.size());
    }
    const double n = double(state.iterations()) * count;
    state.counters["run_names_per_s"] = n / inRun;
    state.counters["bare_names_per_s"] = n / bare;
    state.counters["ratio"] = inRun / bare;
}

}  // namespace

// The second argument is the pause between steps in ms: the tab's 0 (a bare return to the event
// loop), and 1 to show what a timed pause of 5,000 steps would cost.
BENCHMARK(BM_SmartRenameRun)->ArgsProduct({{10000, 100000}, {0, 1}})->Unit(benchmark::kMillisecond)->Iterations(1);
