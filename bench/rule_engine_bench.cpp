// Time per keystroke of the live preview: one rule edit, then new names and conflict reasons
// for the whole list, against a plain copy of the same names measured in the same run.
#include "bench_support.h"
#include "model/name_preview.h"
#include "model/store.h"
#include "platform/settings.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <chrono>

namespace {

double baselineSeconds(const QList<FileItem>& items)
{
    std::vector<QString> out(size_t(items.size()));
    const auto start = std::chrono::steady_clock::now();
    for (qsizetype i = 0; i < items.size(); ++i)
        out[size_t(i)] = QString(items[i].name.constData(), items[i].name.size());
    benchmark::DoNotOptimize(out.data());
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void BM_PreviewKeystroke(benchmark::State& state)
{
    QTemporaryDir dir;
    auto store = makeBenchStore(dir, int(state.range(0)), true);
    store->preview().conflictReasons({});  // warm caches, as after the first preview
    int keystroke = 0;
    double engine = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        // Typing in the replacement field: each key is one published rule change.
        store->editRules([&](RuleSettings& r) { r.replace = (++keystroke % 2) ? "Reel$1_Clip$2" : "Reel$1-Clip$2"; });
        for (int row = 0; row < 40; ++row)  // rows on screen
            benchmark::DoNotOptimize(store->preview().newName(store->items().at(row), row, {}));
        benchmark::DoNotOptimize(store->preview().conflictReasons({}));
        engine += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    double baseline = 0;
    for (int i = 0; i < 20; ++i)
        baseline += baselineSeconds(store->items());
    baseline /= 20;
    const double perKeystroke = engine / double(state.iterations());
    state.counters["keystroke_ms"] = perKeystroke * 1000;
    state.counters["copy_baseline_ms"] = baseline * 1000;
    state.counters["ratio_vs_copy"] = perKeystroke / baseline;
}
BENCHMARK(BM_PreviewKeystroke)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
