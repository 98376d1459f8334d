// Time per keystroke of the live preview: one rule edit, then new names and conflict reasons
// for the whole list, against a plain copy of the same names measured in the same run.
#include "bench_support.h"
#include "files/rename_decision.h"
#include "model/name_preview.h"
#include "model/store.h"
#include "model/token_template.h"
#include "platform/settings.h"

#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <chrono>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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

namespace {

// A folder of `count` real files named as makeBenchStore lists them, settled (last changed long
// before the check reads it).
void fillFolder(const QTemporaryDir& dir, const QList<FileItem>& items)
{
    for (const FileItem& item : items) {
        const int fd = ::open(QFile::encodeName(item.url).constData(), O_CREAT | O_WRONLY | O_CLOEXEC, 0644);
        if (fd >= 0)
            ::close(fd);
    }
    struct timespec times[2] = {{0, UTIME_OMIT}, {::time(nullptr) - 3600, 0}};
    ::utimensat(AT_FDCWD, QFile::encodeName(dir.path()).constData(), times, 0);
}

double plainListingSeconds(const QString& folder)
{
    const auto start = std::chrono::steady_clock::now();
    qsizetype n = 0;
    if (DIR* d = ::opendir(QFile::encodeName(folder).constData())) {
        while (::readdir(d))
            ++n;
        ::closedir(d);
    }
    benchmark::DoNotOptimize(n);
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The whole conflict check after one keystroke, as the Batch screen's worker runs it, on a folder
// of real files; split into the names and the decision. Baselines: a plain copy of the names and
// one plain read of the folder.
void BM_ConflictCheck(benchmark::State& state)
{
    QTemporaryDir dir;
    auto store = makeBenchStore(dir, int(state.range(0)), false);
    fillFolder(dir, store->items());
    // Argument 1: folder listings kept between checks (1), or the folder read at every check (0).
    const std::shared_ptr<FolderListings> listings = state.range(1) ? store->preview().listings() : nullptr;
    checkConflicts(store->preview().snapshot({}), listings);  // warm, as after the first check
    int keystroke = 0;
    double check = 0, names = 0;
    for (auto _ : state) {
        store->editRules([&](RuleSettings& r) { r.replace = (++keystroke % 2) ? "Reel$1_Clip$2" : "Reel$1-Clip$2"; });
        NameSnapshot snapshot = store->preview().snapshot({});
        auto start = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(snapshotNames(snapshot));
        names += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        start = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(checkConflicts(std::move(snapshot), listings));
        check += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    double copy = 0, listing = 0;
    for (int i = 0; i < 10; ++i) {
        copy += baselineSeconds(store->items());
        listing += plainListingSeconds(dir.path());
    }
    const double n = double(state.iterations());
    state.counters["check_ms"] = check / n * 1000;
    state.counters["names_ms"] = names / n * 1000;
    state.counters["copy_baseline_ms"] = copy / 10 * 1000;
    state.counters["listing_baseline_ms"] = listing / 10 * 1000;
    state.counters["ratio_vs_copy"] = (check / n) / (copy / 10);
    state.counters["ratio_vs_listing"] = (check / n) / (listing / 10);
}
BENCHMARK(BM_ConflictCheck)
    ->Args({10000, 0})
    ->Args({10000, 1})
    ->Args({100000, 0})
    ->Args({100000, 1})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace

namespace {

double expandSeconds(const QString& templ, const TemplateTokens& tokens, int rounds)
{
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < rounds; ++i)
        benchmark::DoNotOptimize(expandTemplate(templ, tokens));
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() / rounds;
}

// Expanding a name template whose length is the argument, per character, against the same work
// on a 100-character template: 1 when the cost grows in step with the length.
void BM_TemplateLength(benchmark::State& state)
{
    const TemplateTokens tokens{{"scene", "12"}, {"shot", "3A"}, {"take", "4"}, {"clip_name", "Hero"}};
    const auto make = [](qsizetype length) {
        QString t;
        while (t.size() < length)
            t += QStringLiteral("%Scene_%shot-x ");
        return t.left(length);
    };
    const QString shortTemplate = make(100);
    const QString longTemplate = make(state.range(0));
    double perCharLong = 0, perCharShort = 0;
    for (auto _ : state) {
        perCharLong += expandSeconds(longTemplate, tokens, 1) / double(longTemplate.size());
        perCharShort += expandSeconds(shortTemplate, tokens, 50) / double(shortTemplate.size());
    }
    const double n = double(state.iterations());
    state.counters["long_ns_per_char"] = perCharLong / n * 1e9;
    state.counters["short_ns_per_char"] = perCharShort / n * 1e9;
    state.counters["ratio_per_char"] = perCharLong / perCharShort;
}
BENCHMARK(BM_TemplateLength)->Arg(1000)->Arg(20000)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
