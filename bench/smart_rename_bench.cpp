// Delivery-name recognition against a plain copy-and-upper-case of the same names, measured in
// the same run. "slowdown" is recogniser time per name over baseline time per name.
#include "smartrename/smart_rename_clean.h"
#include "smartrename/smart_rename_recognize.h"
#include "smartrename/word_checker.h"
#include "smartrename/word_splits.h"

#include <benchmark/benchmark.h>

#include <QStringList>
#include <chrono>

namespace {

using Clock = std::chrono::steady_clock;

class Lcg {
public:
    explicit Lcg(quint32 seed) : m_state(seed) {}
    int below(int n)
    {
        m_state = m_state * 1664525u + 1013904223u;
        return int((m_state >> 8) % quint32(n));
    }
    template <typename T> const T& pick(const QList<T>& list) { return list[below(int(list.size()))]; }

private:
    quint32 m_state;
};

QString spotWord(Lcg& rng, const QStringList& words)
{
    const QString a = rng.pick(words), b = rng.pick(words);
    switch (rng.below(6)) {
    case 0: return a + b;              // welcomeback
    case 1: return (a + b).toUpper();  // WELCOMEBACK
    case 2: return a.left(1).toUpper() + a.mid(1) + b.left(1).toUpper() + b.mid(1);
    case 3: return a + "_" + b;
    case 4: return a + " " + b;
    default: return a;
    }
}

// Real-looking delivery names: codes, run-together spot names, cut types in their spellings,
// timings, versions with markers, and the clutter people leave in names.
QStringList makeNames(int count)
{
    const QStringList codes{"ABC", "XYZ", "TMB", "HLD", "NX7", "QRS", "MVP", "LUX", "ORB", "KEY"};
    const QStringList words{"welcome", "back",   "long",  "night",  "summer",  "dragon",  "fire",    "home",   "coming",
                            "first",   "light",  "dark",  "water",  "broken",  "glass",   "moon",    "river",  "silent",
                            "storm",   "golden", "hour",  "final",  "chapter", "lost",    "city",    "wild",   "heart",
                            "secret",  "garden", "iron",  "crown",  "blue",    "planet",  "night",   "shift",  "cold",
                            "case",    "open",   "road",  "family", "reunion", "holiday", "special", "launch", "event",
                            "winter",  "sale",   "brand", "story"};
    const QStringList cuts{
        "Trailer", "TRLR",       "trlr", "Teaser",          "TSR",   "Sizzle",      "SZL",
        "Radio",   "Featurette", "Clip", "Digital_Trailer", "DTRLR", "D_1920x1080", "Digital1080x1350",
        "",        "",           ""};
    const QStringList timings{"30", "15", "60", ":30", "TV15", "AV120", "5", "", ""};
    const QStringList versions{"v01", "V2", "V03_REV2", "V2REVA", "v3a", "V4_ALT_B", "V2.1", "v1_rev_3", ""};
    const QStringList extras{"", "", "", "FINAL", "ProRes", "2398", "MIX"};
    Lcg rng(20240611u);
    QStringList names;
    names.reserve(count);
    for (int i = 0; i < count; ++i) {
        QStringList parts{rng.pick(codes), spotWord(rng, words)};
        for (const QString& p : {rng.pick(cuts), rng.pick(timings), rng.pick(versions), rng.pick(extras)})
            if (!p.isEmpty())
                parts << p;
        names << (rng.below(8) == 0 ? " " + parts.join("_") + " " : parts.join("_"));
    }
    return names;
}

const QStringList& names100k()
{
    static const QStringList names = makeNames(100000);
    return names;
}

template <typename F> double secondsFor(const QStringList& names, F&& perName)
{
    const auto start = Clock::now();
    for (const QString& n : names)
        perName(n);
    return std::chrono::duration<double>(Clock::now() - start).count();
}

double baselineSeconds(const QStringList& names)
{
    double best = 1e9;
    for (int i = 0; i < 3; ++i)
        best = std::min(best, secondsFor(names, [](const QString& n) {
                            QString copy = n.toUpper();
                            benchmark::DoNotOptimize(copy.data());
                        }));
    return best;
}

void recognise(const QString& n)
{
    const SmartRename::Result r = SmartRename::correct(SmartRename::cleanInput(n), SmartRenameStyle::finishing, {}, {},
                                                       {});
    benchmark::DoNotOptimize(r.corrected.data());
}

void report(benchmark::State& state, qsizetype count, double seconds, double baseline, int runs)
{
    const double perName = seconds / double(runs) / double(count);
    const double basePerName = baseline / double(count);
    state.counters["names_per_s"] = 1.0 / perName;
    state.counters["baseline_names_per_s"] = 1.0 / basePerName;
    state.counters["slowdown"] = perName / basePerName;
    state.counters["ms_per_10k"] = perName * 10000 * 1000;
}

// The steady state of a live preview: the batch's words are already in the caches.
void BM_SmartRenameWarm(benchmark::State& state)
{
    const QStringList& names = names100k();
    SmartRename::setSpellChecker(std::make_shared<SmartRename::HunspellChecker>());
    for (const QString& n : names)
        recognise(n);
    const double baseline = baselineSeconds(names);
    double total = 0;
    int runs = 0;
    for (auto _ : state) {
        total += secondsFor(names, recognise);
        ++runs;
    }
    report(state, names.size(), total, baseline, runs);
}
BENCHMARK(BM_SmartRenameWarm)->Unit(benchmark::kMillisecond)->Iterations(3);

// The first preview of a batch: every word is new, so the dictionary is asked for every piece.
void BM_SmartRenameCold(benchmark::State& state)
{
    const QStringList& names = names100k();
    SmartRename::setSpellChecker(std::make_shared<SmartRename::HunspellChecker>());
    const double baseline = baselineSeconds(names);
    double total = 0;
    int runs = 0;
    for (auto _ : state) {
        state.PauseTiming();
        SmartRename::clearWordCaches();
        state.ResumeTiming();
        total += secondsFor(names, recognise);
        ++runs;
    }
    report(state, names.size(), total, baseline, runs);
}
BENCHMARK(BM_SmartRenameCold)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_UpperCaseBaseline(benchmark::State& state)
{
    const QStringList& names = names100k();
    for (auto _ : state)
        for (const QString& n : names) {
            QString copy = n.toUpper();
            benchmark::DoNotOptimize(copy.data());
        }
    state.SetItemsProcessed(state.iterations() * names.size());
}
BENCHMARK(BM_UpperCaseBaseline)->Unit(benchmark::kMillisecond);

}  // namespace
