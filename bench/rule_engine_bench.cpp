// Time per keystroke of the live preview: one rule edit, then new names and conflict reasons
// for the whole list, against a plain copy of the same names measured in the same run.
#include "model/store.h"
#include "platform/settings.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <chrono>

namespace {

std::unique_ptr<Store> makeListedStore(const QTemporaryDir& dir, int count)
{
    StoreServices services;
    services.settings = std::make_shared<MemorySettings>();
    services.supportFolder = dir.filePath("support");
    services.loadHistoryOnStart = false;
    auto store = std::make_unique<Store>(std::move(services));
    QList<FileItem> items;
    items.reserve(count);
    const QDateTime base(QDate(2024, 5, 31), QTime(9, 0));
    for (int i = 0; i < count; ++i) {
        FileItem item = FileItem::file(dir.filePath(QStringLiteral("A%1_C%2_take %3.mov").arg(i / 100, 3, 10, QChar('0'))
                                                        .arg(i % 100, 3, 10, QChar('0')).arg(i % 7)));
        item.captureDate = base.addSecs(i);
        items.append(item);
    }
    store->setItems(std::move(items));
    store->editRules([](RuleSettings& r) {
        r.findEnabled = true;
        r.useRegex = true;
        r.find = "^A([0-9]+)_C([0-9]+)";
        r.replace = "Reel$1_Clip$2";
        r.caseMode = CaseMode::upper;
        r.spaceMode = SpaceMode::underscore;
        r.numberEnabled = true;
        r.numPad = 5;
        r.dateEnabled = true;
        r.dateFormat = "yyyyMMdd";
    });
    return store;
}

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
    auto store = makeListedStore(dir, int(state.range(0)));
    store->conflictReasons({});  // warm caches, as after the first preview
    int keystroke = 0;
    double engine = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        // Typing in the replacement field: each key is one published rule change.
        store->editRules([&](RuleSettings& r) { r.replace = (++keystroke % 2) ? "Reel$1_Clip$2" : "Reel$1-Clip$2"; });
        for (int row = 0; row < 40; ++row)  // rows on screen
            benchmark::DoNotOptimize(store->newName(store->items().at(row), row, {}));
        benchmark::DoNotOptimize(store->conflictReasons({}));
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

} // namespace
