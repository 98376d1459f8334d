// Ctrl+Return in the Batch screen with N files of one folder listed: the time from the key to a
// settled window (the files renamed, the list repainted, the conflict check caught up with the
// new names) against a plain loop of no-replace renames over the same files in the same run.
// ratio: the window's time over the plain loop's (the fastest run of each side compared); the
// aim is at most 1.3.
// Run with --benchmark_filter=BM_CtrlReturnToSettled; N is the argument.
#include "app_bench_support.h"
#include "batch/batch_list_view.h"
#include "batch/batch_view.h"
#include "files/history.h"
#include "model/name_preview.h"
#include "model/store.h"
#include "plain_rename_loop.h"
#include "platform/settings.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <unistd.h>

namespace {

struct ApplyWindow {
    QTemporaryDir dir;
    std::unique_ptr<Store> store;
    NoDialogs dialogs;
    std::unique_ptr<BatchView> view;
    QList<QByteArray> oldPaths, newPaths;

    explicit ApplyWindow(int count)
    {
        ensureApplication();
        const QString folder = QDir(dir.path()).filePath("clips");
        QDir().mkpath(folder);
        StoreServices services;
        services.settings = std::make_shared<MemorySettings>();
        services.supportFolder = QDir(dir.path()).filePath("support");
        store = std::make_unique<Store>(std::move(services));
        // The confirmation a large batch asks for is answered once and for all, as a user would.
        store->settings().setBool("skipLargeRenameConfirm", true);
        QList<FileItem> items;
        items.reserve(count);
        for (int i = 0; i < count; ++i) {
            const QString path = folder + '/' + benchFileName("A001C", i);
            ::close(::open(path.toUtf8().constData(), O_CREAT | O_WRONLY, 0644));
            oldPaths << path.toUtf8();
            items << FileItem::file(path);
        }
        store->setItems(std::move(items));
        store->editRules([](RuleSettings& r) {
            r.findEnabled = true;
            r.find = "A001C";
            r.replace = "Shot";
        });
        // The baseline renames to exactly the names the preview shows.
        for (int i = 0; i < count; ++i)
            newPaths << (folder + '/' + store->preview().newName(store->items().at(i), i, {})).toUtf8();
        view = std::make_unique<BatchView>(*store, dialogs);
        view->resize(1200, 800);
        view->show();
        view->activateWindow();
        active = QTest::qWaitForWindowActive(view.get());
        view->list()->setFocus();
        settle();
    }
    bool active = false;  // a window that is not active takes no shortcut

    // Until the conflict check has caught up with the names on screen, then the rows painted.
    void settle()
    {
        QCoreApplication::processEvents();
        while (!view->conflictsCurrent()) {
            QCoreApplication::processEvents();
            QThread::usleep(200);
        }
        view->list()->viewport()->repaint();
    }
};

void BM_CtrlReturnToSettled(benchmark::State& state)
{
    ApplyWindow w(int(state.range(0)));
    if (!w.active)
        state.SkipWithError("the window did not become active");
    PairedRuns runs;
    for (auto _ : state) {
        const double plain = plainRenameLoop(w.oldPaths, w.newPaths);
        plainRenameLoop(w.newPaths, w.oldPaths);

        const auto start = Clock::now();
        QTest::keyClick(w.view->list(), Qt::Key_Return, Qt::ControlModifier);
        w.settle();
        runs.add(plain, seconds(start));

        if (w.store->items().first().url.toUtf8() != w.newPaths.first())
            state.SkipWithError("Ctrl+Return did not rename");
        w.store->history().undoLast();
        w.store->history().flushPendingSaves();
        w.settle();
    }
    if (w.store->items().first().url.toUtf8() != w.oldPaths.first())
        state.SkipWithError("files did not come back");
    w.view->conflictTimer()->stop();
    state.counters["plain_s"] = PairedRuns::fastest(runs.plain);
    state.counters["window_s"] = PairedRuns::fastest(runs.measured);
    state.counters["ratio"] = 1 / runs.speedVsPlain();
}

}  // namespace

BENCHMARK(BM_CtrlReturnToSettled)->Arg(10000)->Arg(100000)->Iterations(5)->Unit(benchmark::kMillisecond)->UseRealTime();
