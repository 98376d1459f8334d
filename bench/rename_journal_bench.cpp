// The cost of the rename journal: one batch of N renames in one folder carried out with the
// journal (plan written and synced first, each move marked) against a plain loop of no-replace
// renames over the same files in the same run, and against the same batch without a journal.
// apply_speed_vs_plain: 1.0 = as fast as the plain loop (the fastest run of each side
// compared); the aim is at least 0.9 on ext4 and 0.75 on tmpfs (run with TMPDIR on a tmpfs mount for
// that figure).
// Run with --benchmark_filter=BM_JournaledApply; N is the argument.
#include "files/rename_decision.h"
#include "files/rename_journal.h"
#include "model/name_validation.h"
#include "plain_rename_loop.h"

#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <unistd.h>

namespace {

class PlainDisk : public BatchDisk {
public:
    bool exists(const QString& path) const override { return SafeMove::exists(path); }
    bool sameFile(const QString& a, const QString& b) const override { return isSameFile(a, b); }
    // As the application's disk answers: one read of the folder for many targets.
    QList<bool> taken(const QString& folder, const QList<Move>& moves) const override
    {
        return targetsTakenOnDisk(folder, moves);
    }
    bool takenOnRealDisk() const override { return true; }
    std::optional<MoveError> move(const QString& from, const QString& to) override { return SafeMove::move(from, to); }
    bool retryWithAccess(const QString&, const QString&, const std::optional<MoveError>&) override { return false; }
    QString temporaryName() override { return SafeMove::temporaryName(); }
};

void BM_JournaledApply(benchmark::State& state)
{
    const int n = int(state.range(0));
    QTemporaryDir tmp;
    const QString folder = QDir(tmp.path()).filePath("clips");
    const QString support = QDir(tmp.path()).filePath("support");
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
    PlainDisk disk;
    PairedRuns vsPlain, vsBatch;
    for (auto _ : state) {
        const double plain = plainRenameLoop(oldPaths, newPaths);
        plainRenameLoop(newPaths, oldPaths);

        QElapsedTimer t;
        t.start();
        if (runRenameBatch(items, plan, disk).renamed != n)
            state.SkipWithError("the batch without a journal failed");
        const double batch = t.nsecsElapsed() / 1e9;
        plainRenameLoop(newPaths, oldPaths);

        t.restart();
        {
            RenameJournal journal(RenameJournal::newPathIn(support));
            if (journal.run(items, plan, disk).renamed != n || !journal.written())
                state.SkipWithError("the journaled batch failed");
            const double journaled = t.nsecsElapsed() / 1e9;
            vsPlain.add(plain, journaled);
            vsBatch.add(batch, journaled);
            RenameJournal::discard(journal.path());
        }
        plainRenameLoop(newPaths, oldPaths);
    }
    state.counters["plain_s"] = PairedRuns::fastest(vsPlain.plain);
    state.counters["batch_s"] = PairedRuns::fastest(vsBatch.plain);
    state.counters["journaled_s"] = PairedRuns::fastest(vsPlain.measured);
    state.counters["apply_speed_vs_plain"] = vsPlain.speedVsPlain();
    state.counters["journal_speed_vs_batch"] = vsBatch.speedVsPlain();
}

}  // namespace

BENCHMARK(BM_JournaledApply)->Arg(10000)->Arg(100000)->Iterations(7)->Unit(benchmark::kMillisecond);
