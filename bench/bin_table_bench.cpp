// The bin table on screen with 10,000 and 100,000 rows and the logging columns: typing in one
// cell until its row is repainted, and sorting by a column until the table is repainted, each
// against a bare repaint of the same table in the same run ("ratio").
#include "app_bench_support.h"
#include "bin/bin_columns.h"
#include "bin/bin_controller.h"
#include "bin/bin_custom_columns.h"
#include "bin/bin_table.h"
#include "bin/bin_table_model.h"
#include "bin/bin_view.h"
#include "common/dialogs.h"
#include "model/file_item.h"
#include "model/store.h"
#include "platform/settings.h"

#include <QApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <chrono>
#include <map>

namespace {

// A logged shoot: every clip already has its drafts (so nothing is read), with Scene and Take.
struct Screen {
    QTemporaryDir dir;
    std::unique_ptr<Store> store;
    NoDialogs dialogs;
    std::unique_ptr<BinView> view;

    explicit Screen(int count)
    {
        ensureApplication();
        StoreServices services;
        services.settings = std::make_shared<MemorySettings>();
        services.supportFolder = dir.filePath("support");
        services.loadHistoryOnStart = false;
        store = std::make_unique<Store>(std::move(services));
        QList<FileItem> items;
        items.reserve(count);
        for (int i = 0; i < count; ++i)
            items.append(FileItem::file(dir.filePath(
                QStringLiteral("A%1_C%2.mov").arg(i / 1000, 3, 10, QChar('0')).arg(i % 1000, 4, 10, QChar('0')))));
        store->editMeta([&items](MetaDrafts& m) {
            for (int i = 0; i < items.size(); ++i) {
                MetaFields f;
                f.kind = MetaKind::video;
                f.info = QStringLiteral("ProRes 422 HQ · 3840×2160 · 25 fps");
                f.custom.insert("Scene", QString::number(1 + (i * 7919) % 97));
                f.custom.insert("Take", QString::number(1 + i % 9));
                f.custom.insert("Camera Roll", QStringLiteral("A%1").arg(i / 1000));
                m.metaDraft.insert(items[i].id, f);
                m.metaOriginal.insert(items[i].id, f);
            }
        });
        store->setItems(std::move(items));
        store->bin().customColumns().addColumns(BinColumns::logging());
        view = std::make_unique<BinView>(*store, dialogs);
        view->resize(1400, 800);
        view->show();
        QApplication::processEvents();
        repaint();
    }
    void repaint()
    {
        view->table()->viewport()->repaint();
        QApplication::processEvents();  // the toolbar's deferred Save count included
    }
};

// Filling 100,000 rows takes long; the benchmark's repeated runs share one screen per size.
Screen& screenOf(int count)
{
    static std::map<int, std::unique_ptr<Screen>> screens;
    auto& s = screens[count];
    if (!s)
        s = std::make_unique<Screen>(count);
    return *s;
}

void BM_CellEditToRepaintedRow(benchmark::State& state)
{
    Screen& s = screenOf(int(state.range(0)));
    BinTableModel* model = s.view->table()->binModel();
    const QModelIndex cell = model->index(3, model->columnOf("custom:Scene"));
    int key = 0;
    double edit = 0, paintOnly = 0;
    for (auto _ : state) {
        auto start = Clock::now();
        model->setData(cell, QStringLiteral("12%1").arg(++key % 10));  // one keystroke in the cell
        s.repaint();
        edit += seconds(start);

        start = Clock::now();
        s.repaint();
        paintOnly += seconds(start);
    }
    const double n = double(state.iterations());
    state.counters["edit_ms"] = edit / n * 1000;
    state.counters["repaint_only_ms"] = paintOnly / n * 1000;
    state.counters["ratio"] = edit / paintOnly;
}
BENCHMARK(BM_CellEditToRepaintedRow)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_SortByColumnToRepaint(benchmark::State& state)
{
    Screen& s = screenOf(int(state.range(0)));
    bool ascending = true;
    double sort = 0, paintOnly = 0;
    for (auto _ : state) {
        auto start = Clock::now();
        s.view->table()->sortByColumn(QStringLiteral("custom:Scene"), ascending);  // a header click
        s.repaint();
        sort += seconds(start);
        ascending = !ascending;

        start = Clock::now();
        s.repaint();
        paintOnly += seconds(start);
    }
    const double n = double(state.iterations());
    state.counters["sort_ms"] = sort / n * 1000;
    state.counters["repaint_only_ms"] = paintOnly / n * 1000;
    state.counters["ratio"] = sort / paintOnly;
}
BENCHMARK(BM_SortByColumnToRepaint)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
