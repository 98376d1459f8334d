// Renaming N files in one folder through the Store (apply, then undo, the crash journal and the
// saves included) against a plain loop of no-replace renames over the same files in the same run.
// apply_speed_vs_plain / undo_speed_vs_plain: 1.0 = as fast as the plain loop (the fastest run of
// each side compared); the aim is at least 0.9 on ext4 and 0.75 on tmpfs (run with TMPDIR on a
// tmpfs mount for that figure).
// apply_peak_memory_ratio: the process's peak resident memory during the apply (and its saves)
// against its resident memory just before, the files listed; the aim is at most 1.2.
#include "files/history.h"
#include "files/renamer.h"
#include "model/store.h"
#include "plain_rename_loop.h"
#include "platform/settings.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <QFile>

#include <algorithm>

#include <fcntl.h>
#include <unistd.h>

namespace {

void ensureApp()
{
    static int argc = 1;
    static char name[] = "brindlecove_bench";
    static char* argv[] = {name, nullptr};
    if (!QCoreApplication::instance())
        new QCoreApplication(argc, argv);
}

// Resident memory now and at its peak since the last reset (kernel figures, in KiB).
qint64 statusKiB(const char* key)
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith(key))
            return line.mid(qstrlen(key)).trimmed().split(' ').first().toLongLong();
    return 0;
}

void resetPeakMemory()
{
    QFile f(QStringLiteral("/proc/self/clear_refs"));
    if (f.open(QIODevice::WriteOnly))
        f.write("5");
}

void BM_RenameFolder(benchmark::State& state)
{
    ensureApp();
    const int n = int(state.range(0));
    QTemporaryDir tmp;
    const QString folder = QDir(tmp.path()).filePath("clips");
    QDir().mkpath(folder);
    QList<QByteArray> oldPaths, newPaths;
    QList<FileItem> items;
    RenamePlan plan;
    for (int i = 0; i < n; ++i) {
        const QString path = folder + '/' + benchFileName("A001C", i);
        ::close(::open(path.toUtf8().constData(), O_CREAT | O_WRONLY, 0644));
        oldPaths << path.toUtf8();
        newPaths << (folder + '/' + benchFileName("Shot", i)).toUtf8();
        items << FileItem::file(path);
        plan.insert(items.last().id, benchFileName("Shot", i));
    }
    StoreServices services;
    services.settings = std::make_shared<MemorySettings>();
    services.supportFolder = QDir(tmp.path()).filePath("support");
    Store store(services);
    // The Store holds the only copy of the list, as in the application.
    store.setItems(std::move(items));
    const QString firstPath = QString::fromUtf8(oldPaths.first());

    PairedRuns apply, undo;
    double saveWait = 0, peakRatio = 0, peakGrowth = 0;
    for (auto _ : state) {
        const double plainApply = plainRenameLoop(oldPaths, newPaths);
        const double plainUndo = plainRenameLoop(newPaths, oldPaths);
        const qint64 before = statusKiB("VmRSS:");
        resetPeakMemory();
        QElapsedTimer t;
        t.start();
        store.renamer().applyRenames(plan);
        apply.add(plainApply, t.nsecsElapsed() / 1e9);
        t.restart();
        store.history().flushPendingSaves();
        saveWait += t.nsecsElapsed() / 1e9;
        const qint64 peak = statusKiB("VmHWM:");
        peakRatio = std::max(peakRatio, double(peak) / double(before));
        peakGrowth = std::max(peakGrowth, (peak - before) / 1024.0);
        t.restart();
        store.history().undoLast();
        undo.add(plainUndo, t.nsecsElapsed() / 1e9);
        store.history().flushPendingSaves();
    }
    if (store.items().first().url != firstPath)
        state.SkipWithError("files did not come back");
    state.counters["plain_apply_s"] = PairedRuns::fastest(apply.plain);
    state.counters["store_apply_s"] = PairedRuns::fastest(apply.measured);
    state.counters["apply_speed_vs_plain"] = apply.speedVsPlain();
    state.counters["plain_undo_s"] = PairedRuns::fastest(undo.plain);
    state.counters["store_undo_s"] = PairedRuns::fastest(undo.measured);
    state.counters["undo_speed_vs_plain"] = undo.speedVsPlain();
    state.counters["writer_wait_s"] = saveWait / double(state.iterations());
    state.counters["apply_peak_memory_ratio"] = peakRatio;
    state.counters["apply_peak_growth_MiB"] = peakGrowth;
    state.counters["save_on_main_thread"] = store.history().historyWriter().ranOnMainThread() ? 1 : 0;
}

}  // namespace

BENCHMARK(BM_RenameFolder)->Arg(10000)->Arg(100000)->Iterations(7)->Unit(benchmark::kMillisecond);
