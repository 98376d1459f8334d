// Typing in a rule field with a long list on screen: the time from one rule change to the
// repainted visible rows, and to the refreshed conflict reasons, each against the bare engine
// calls for the same work measured in the same run (the ratio is the screen's own overhead).
#include "batch/batch_list_model.h"
#include "batch/batch_view.h"
#include "bench_support.h"
#include "common/dialogs.h"
#include "model/name_preview.h"
#include "model/store.h"
#include "platform/settings.h"

#include "app_bench_support.h"
#include "batch/batch_list_view.h"
#include <QApplication>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <benchmark/benchmark.h>
#include <chrono>

namespace {

// One key typed into the replacement field.
void typeKey(Store& store, int& keystroke)
{
    const bool odd = ++keystroke % 2;
    store.editRules([odd](RuleSettings& r) { r.replace = odd ? "Reel$1-Clip$2" : "Reel$1_Clip$2"; });
}

// The screen over one store, and the same list in a store no screen watches (the baseline).
struct Screen {
    QTemporaryDir dir;
    std::unique_ptr<Store> store;
    std::unique_ptr<Store> bare;
    NoDialogs dialogs;
    std::unique_ptr<BatchView> view;
    int keystroke = 0;

    Screen(int count, bool wrap)
    {
        ensureApplication();
        store = makeBenchStore(dir, count, false);
        bare = makeBenchStore(dir, count, false);
        store->setWrapNames(wrap);
        view = std::make_unique<BatchView>(*store, dialogs);
        view->resize(1200, 800);
        view->show();
        QApplication::processEvents();
        view->list()->viewport()->repaint();
    }

    QList<int> visibleRows() const
    {
        QList<int> rows;
        QTreeView* list = view->list();
        for (QModelIndex i = list->indexAt(QPoint(1, 1));
             i.isValid() && list->visualRect(i).top() < list->viewport()->height(); i = list->indexBelow(i))
            rows << i.row();
        return rows;
    }
};

void BM_RuleChangeToVisibleRows(benchmark::State& state)
{
    Screen s(int(state.range(0)), state.range(1) != 0);
    const QList<int> rows = s.visibleRows();
    int bareKeys = 0;
    double screen = 0, bare = 0, paintOnly = 0;
    for (auto _ : state) {
        auto start = Clock::now();
        typeKey(*s.store, s.keystroke);
        s.view->list()->viewport()->repaint();  // paints the rows on screen, now
        screen += seconds(start);

        start = Clock::now();
        typeKey(*s.bare, bareKeys);
        for (int row : rows)
            benchmark::DoNotOptimize(s.bare->preview().newName(s.bare->items().at(row), row, {}));
        bare += seconds(start);

        start = Clock::now();
        s.view->list()->viewport()->repaint();  // the same rows again, nothing changed
        paintOnly += seconds(start);
    }
    s.view->conflictTimer()->stop();
    const double n = double(state.iterations());
    state.counters["rows_on_screen"] = double(rows.size());
    state.counters["screen_ms"] = screen / n * 1000;
    state.counters["bare_visible_names_ms"] = bare / n * 1000;
    state.counters["repaint_only_ms"] = paintOnly / n * 1000;
    state.counters["ratio"] = screen / bare;
    state.counters["ratio_vs_repaint"] = screen / paintOnly;
}
// Arguments: files listed, wrap long names (1) or cut them in the middle (0).
BENCHMARK(BM_RuleChangeToVisibleRows)
    ->Args({10000, 1})
    ->Args({100000, 1})
    ->Args({10000, 0})
    ->Args({100000, 0})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

double milliseconds(Clock::time_point since)
{
    return seconds(since) * 1000;
}

// A burst of typing while the conflict check follows it: each key, then what the 200 ms timer
// does after the burst, then the result arriving. Reports the longest the window was busy in
// any one of these steps against a bare repaint of the same rows in the same run; mode 0 runs
// the check on the window's own thread (as before the worker), mode 1 on the worker.
void BM_TypingWhileChecking(benchmark::State& state)
{
    Screen s(int(state.range(0)), true);
    const bool worker = state.range(1) != 0;
    double worst = 0, keys = 0, paintOnly = 0, checkWall = 0;
    for (auto _ : state) {
        auto start = Clock::now();
        typeKey(*s.store, s.keystroke);
        s.view->list()->viewport()->repaint();
        const double key = milliseconds(start);
        keys += key;
        worst = std::max(worst, key);

        const auto checkStart = Clock::now();
        start = Clock::now();
        if (worker)
            s.view->startConflictCheck();
        else
            s.view->refreshConflicts();
        worst = std::max(worst, milliseconds(start));
        while (!s.view->conflictsCurrent()) {
            start = Clock::now();
            QCoreApplication::processEvents();  // the result arriving: shown, rows repainted
            worst = std::max(worst, milliseconds(start));
            QThread::usleep(200);
        }
        s.view->list()->viewport()->repaint();
        checkWall += milliseconds(checkStart);

        start = Clock::now();
        s.view->list()->viewport()->repaint();
        paintOnly += milliseconds(start);
    }
    s.view->conflictTimer()->stop();
    const double n = double(state.iterations());
    state.counters["key_to_repaint_ms"] = keys / n;
    state.counters["worst_busy_ms"] = worst;
    state.counters["check_to_shown_ms"] = checkWall / n;
    state.counters["repaint_only_ms"] = paintOnly / n;
    state.counters["ratio_worst_vs_repaint"] = worst / (paintOnly / n);
}
// Arguments: files listed, check on the worker (1) or on the window's thread (0).
BENCHMARK(BM_TypingWhileChecking)
    ->Args({10000, 0})
    ->Args({10000, 1})
    ->Args({100000, 0})
    ->Args({100000, 1})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace
