// Writing 100,000 bin rows in each interchange format and reading the text back, against a
// plain build-and-split of the same fields measured in the same run. "slowdown" is format time
// per item over baseline time per item.
#include "interchange/ale_format.h"
#include "interchange/csv_format.h"
#include "interchange/edl_format.h"
#include "interchange/fcp7_xml_format.h"
#include "interchange/fcpxml_format.h"

#include <benchmark/benchmark.h>

#include <chrono>

namespace {

using Clock = std::chrono::steady_clock;
constexpr int itemCount = 100000;

const QList<ExportItem>& items100k()
{
    static const QList<ExportItem> items = [] {
        const double rates[] = {23.976, 24, 25, 29.97, 50, 59.94};
        QList<ExportItem> list;
        list.reserve(itemCount);
        for (int i = 0; i < itemCount; ++i) {
            ExportItem item;
            item.name =
                QStringLiteral("A%1_C%2_镜头.mov").arg(i / 100, 3, 10, QChar('0')).arg(i % 100, 3, 10, QChar('0'));
            item.url = QStringLiteral("/media/shoot day 3/") + item.name;
            item.f.kind = MetaKind::video;
            item.f.fps = rates[i % 6];
            item.f.durSec = 3.5 + i % 97;
            item.f.vidW = 3840;
            item.f.vidH = 2160;
            item.f.clipName = QStringLiteral("Scene %1 \"wide\"").arg(i % 40);
            item.f.desc = QStringLiteral("Sunset, pan left & hold");
            item.f.keywords = QStringLiteral("exterior, dusk, 外景");
            item.f.custom = {{"Scene", QString::number(i % 40)},
                             {"Take", QString::number(i % 9 + 1)},
                             {"Reel", QStringLiteral("A%1").arg(i / 1000)},
                             {"Circle", i % 3 ? "" : "yes"},
                             {"Start TC", QStringLiteral("01:%1:00:00").arg(i % 60, 2, 10, QChar('0'))}};
            list.append(item);
        }
        return list;
    }();
    return items;
}

// The least any export does: every item's fields joined into lines, then split back apart.
void plainBuildAndSplit(const QList<ExportItem>& items)
{
    QString out;
    for (const ExportItem& item : items) {
        out += item.name + QLatin1Char(',') + item.f.clipName + QLatin1Char(',') + item.f.desc + QLatin1Char(',')
             + item.f.keywords;
        for (auto it = item.f.custom.cbegin(); it != item.f.custom.cend(); ++it)
            out += QLatin1Char(',') + it.value();
        out += QLatin1Char('\n');
    }
    qsizetype cells = 0;
    for (const QString& line : out.split(QLatin1Char('\n')))
        cells += line.split(QLatin1Char(',')).size();
    benchmark::DoNotOptimize(cells);
}

template <typename F> double secondsFor(F&& run)
{
    const auto start = Clock::now();
    run();
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Each timed run is paired with a baseline run just before it, so both see the same machine load.
template <typename F> void runFormat(benchmark::State& state, F&& writeAndRead)
{
    const QList<ExportItem>& items = items100k();
    double total = 0, baseline = 0;
    int runs = 0;
    for (auto _ : state) {
        ++runs;
        state.PauseTiming();
        baseline += secondsFor([&] { plainBuildAndSplit(items); });
        state.ResumeTiming();
        total += secondsFor([&] { writeAndRead(items); });
    }
    const double perItem = total / runs / items.size();
    const double basePerItem = baseline / runs / items.size();
    state.counters["items_per_s"] = 1.0 / perItem;
    state.counters["baseline_items_per_s"] = 1.0 / basePerItem;
    state.counters["slowdown"] = perItem / basePerItem;
}

void BM_InterchangeCsv(benchmark::State& state)
{
    runFormat(state, [](const QList<ExportItem>& items) {
        const ImportedTable t = Exporter::importCSV(Exporter::csv(items, std::nullopt));
        benchmark::DoNotOptimize(t.rows.size());
    });
}

void BM_InterchangeAle(benchmark::State& state)
{
    runFormat(state, [](const QList<ExportItem>& items) {
        const ImportedTable t = Exporter::importALE(Exporter::ale(items));
        benchmark::DoNotOptimize(t.rows.size());
    });
}

void BM_InterchangeFcpxml(benchmark::State& state)
{
    runFormat(state, [](const QList<ExportItem>& items) {
        const ImportedTable t = Exporter::importFCPXML(Exporter::fcpxml(items));
        benchmark::DoNotOptimize(t.rows.size());
    });
}

void BM_InterchangeFcp7Xml(benchmark::State& state)
{
    runFormat(state, [](const QList<ExportItem>& items) {
        const ImportedTable t = Exporter::importFCP7XML(Exporter::fcp7XML(items));
        benchmark::DoNotOptimize(t.rows.size());
    });
}

// Export only: the list has no reader.
void BM_InterchangeEdlWrite(benchmark::State& state)
{
    runFormat(state, [](const QList<ExportItem>& items) {
        const QString text = Exporter::edl(items);
        benchmark::DoNotOptimize(text.size());
    });
}

void BM_InterchangePlainBaseline(benchmark::State& state)
{
    runFormat(state, plainBuildAndSplit);
}

BENCHMARK(BM_InterchangeCsv)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_InterchangeAle)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_InterchangeFcpxml)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_InterchangeFcp7Xml)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_InterchangeEdlWrite)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_InterchangePlainBaseline)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
