#include "files_fixture.h"

#include "files/history.h"
#include "files/rename_journal.h"
#include "files/renamer.h"
#include "model/name_validation.h"

#include <QTest>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Runs the crash helper over `folder` and kills it where it stops; false when it never stopped.
bool applyAndKill(const QString& folder, const QString& support, const char* point, int n)
{
    const QByteArray f = QFile::encodeName(folder), s = QFile::encodeName(support), count = QByteArray::number(n);
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::execl(APPLY_CRASH_HELPER, APPLY_CRASH_HELPER, f.constData(), s.constData(), point, count.constData(),
                static_cast<char*>(nullptr));
        ::_exit(127);
    }
    int status = 0;
    if (pid < 0 || ::waitpid(pid, &status, WUNTRACED) != pid)
        return false;
    const bool stopped = WIFSTOPPED(status);
    ::kill(pid, SIGKILL);
    ::waitpid(pid, &status, 0);
    return stopped;
}

// A real disk that refuses to move the listed files.
class RefusingDisk : public BatchDisk {
public:
    QSet<QString> refused;
    bool exists(const QString& path) const override { return SafeMove::exists(path); }
    bool sameFile(const QString& a, const QString& b) const override { return isSameFile(a, b); }
    std::optional<MoveError> move(const QString& from, const QString& to) override
    {
        if (refused.contains(from))
            return MoveError{EACCES, from, to};
        return SafeMove::move(from, to);
    }
    bool retryWithAccess(const QString&, const QString&, const std::optional<MoveError>&) override { return false; }
    QString temporaryName() override { return SafeMove::temporaryName(); }
};

}  // namespace

class RenameJournalTest : public FilesTest {
protected:
    QString support() const { return env.path("support"); }
    QStringList journals() const { return RenameJournal::pathsIn(support()); }
};

// The helper's batch over 2000 files: blocks of ten where the first two swap names (a failed
// try, a park, the move, the move out of the park: twelve moves a block) and the rest get "r_".
TEST_F(RenameJournalTest, AKilledApplyIsRecoveredAtLaunchAndUndoable)
{
    constexpr int kFiles = 2000;
    struct Case {
        const char* point;
        int n;
        bool anyDone;
        bool fileParked;  // one file under a temporary name when killed
    };
    const Case cases[] = {
        {"before", 0, false, false},         // the plan is written, nothing moved
        {"after", 1000, true, false},        // mid-way, the last move made but not yet marked
        {"after", 12 * 50 + 1, true, true},  // a park made but not yet marked
        {"parked", 50, true, true},          // between a park and the move it made room for
        {"end", 0, true, false},             // every move made, nothing saved
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(QStringLiteral("%1 %2").arg(c.point).arg(c.n).toStdString());
        store.reset();
        QDir(work()).removeRecursively();
        QDir(support()).removeRecursively();
        QStringList original;
        for (int i = 0; i < kFiles; ++i)
            original << file(QStringLiteral("f%1.txt").arg(i, 5, 10, QChar('0')));
        ASSERT_TRUE(applyAndKill(work(), support(), c.point, c.n));
        ASSERT_EQ(journals().size(), 1);

        store = newStore();
        // Every file is under a visible name, none lost.
        const QStringList now = names();
        ASSERT_EQ(now.size(), kFiles);
        int moved = 0;
        QSet<QString> contents;
        for (const QString& name : now) {
            EXPECT_FALSE(name.startsWith('.')) << name.toStdString();
            contents.insert(content(name));
            moved += content(name) != name;
        }
        EXPECT_EQ(contents.size(), kFiles);
        EXPECT_EQ(c.anyDone, moved > 0);
        if (c.point == QLatin1String("end")) {
            EXPECT_EQ(moved, kFiles);
        }
        const QString n = QString::number(moved);
        EXPECT_EQ(store->status(),
                  moved == 0 ? QStringLiteral("Drag files here to begin. / 拖入文件开始。")
                             : QStringLiteral("An apply was interrupted; %1 completed rename(s) were recovered and can "
                                              "be undone.")
                                       .arg(n)
                                   + (c.fileParked ? " 1 file(s) left under a temporary name were given a visible name."
                                                   : ""));
        ASSERT_EQ(store->historyState().undoStack.size(), moved > 0 ? 1 : 0);
        EXPECT_EQ(store->historyState().renameLog.size(), store->historyState().undoStack.value(0).size());

        // The recovered batch survives another restart, and the journal is gone.
        store->history().flushPendingSaves();
        EXPECT_TRUE(journals().isEmpty());
        store.reset();
        store = newStore();
        ASSERT_EQ(store->historyState().undoStack.size(), moved > 0 ? 1 : 0);
        if (moved > 0)
            store->history().undoLast();
        for (const QString& name : names())
            EXPECT_EQ(content(name), name);
        EXPECT_EQ(names().size(), kFiles);
    }
}

TEST_F(RenameJournalTest, AnApplyIsSavedAtOnceAndItsJournalRemoved)
{
    StoreServices s = env.services();
    s.saveDelayMs = 600000;
    store.reset();  // one Store at a time holds the support folder, as one process does
    store = std::make_unique<Store>(std::move(s));
    file("a");
    file("b");
    const QUuid a = add("a");
    const QUuid b = add("b");
    store->renamer().applyRenames({{a, "b"}, {b, "a"}});
    EXPECT_EQ(store->status(), "Renamed 2.");
    EXPECT_TRUE(QTest::qWaitFor([&] { return journals().isEmpty(); }, 5000));
    EXPECT_TRUE(QFile::exists(store->history().historyFilePath()));
    EXPECT_TRUE(QFile::exists(store->history().renameLogFilePath()));
    store.reset();
    store = newStore();
    ASSERT_EQ(store->historyState().undoStack.size(), 1);
    EXPECT_EQ(store->historyState().undoStack.first().size(), 3);
    EXPECT_EQ(store->historyState().renameLog.size(), 3);
}

// A move refused part-way puts the parked file back, a move the plan didn't foresee; the
// journal records it before it is made, so what it recovers still undoes cleanly.
// A plan longer than the pieces its text is made in reads back move for move, whether it is the
// batch's entries themselves or the moves worked out with a file parked.
TEST_F(RenameJournalTest, ALongPlanReadsBackMoveForMove)
{
    constexpr int kFiles = 40000;
    QList<FileItem> items;
    QSet<QString> existing;
    for (int i = 0; i < kFiles; ++i) {
        items << FileItem::file(work(QStringLiteral("f%1").arg(i)));
        existing.insert(items.last().url);
    }
    for (const bool swap : {false, true}) {
        SCOPED_TRACE(swap ? "with a swap" : "straight moves");
        RenamePlan plan;
        for (int i = 0; i < kFiles; ++i)
            plan.insert(items[i].id, QStringLiteral("g%1").arg(i));
        if (swap) {
            plan.insert(items[kFiles - 2].id, QStringLiteral("f%1").arg(kFiles - 1));
            plan.insert(items[kFiles - 1].id, QStringLiteral("f%1").arg(kFiles - 2));
        }
        SimulatedDisk disk(existing);
        RenameJournal journal(RenameJournal::newPathIn(support()));
        const RenameBatchResult r = journal.run(items, plan, disk);
        ASSERT_TRUE(journal.written());
        EXPECT_EQ(r.renamed, kFiles);
        EXPECT_EQ(r.moves.size(), swap ? kFiles + 1 : kFiles);  // the swap parks one file
        const auto planned = RenameJournal::plannedMoves(journal.path());
        ASSERT_TRUE(planned.has_value());
        EXPECT_EQ(*planned, r.moves);
    }
}

TEST_F(RenameJournalTest, MovesOffThePlanAreRecoveredInOrder)
{
    file("a");
    file("b");
    file("c");
    const QUuid a = add("a");
    const QUuid b = add("b");
    const QUuid c = add("c");
    RefusingDisk disk;
    disk.refused << work("a");  // a -> b fails after b was parked
    const QString path = RenameJournal::newPathIn(support());
    RenameBatchResult r;
    {
        RenameJournal journal(path);
        r = journal.run(store->items(), {{a, "b"}, {b, "a"}, {c, "d"}}, disk);
        ASSERT_TRUE(journal.written());
    }
    const RenameJournal::Recovery rec = RenameJournal::recover(path);
    EXPECT_FALSE(rec.damaged);
    EXPECT_EQ(rec.stillHidden, QStringList());
    EXPECT_EQ(rec.unhidden, 0);
    // The park and its return, then c -> d: the same moves the run reported, plus the pair.
    ASSERT_EQ(rec.moves.size(), 3);
    EXPECT_EQ(rec.moves.first().from, work("b"));
    EXPECT_EQ(rec.moves.at(1).to, work("b"));
    EXPECT_EQ(rec.moves.last(), (Move{work("c"), work("d")}));
    EXPECT_EQ(r.moves, MoveBatch{rec.moves.last()});
    EXPECT_EQ(names(), (QStringList{"a", "b", "d"}));
}

TEST_F(RenameJournalTest, ADamagedJournalIsSetAsideAndReported)
{
    struct Case {
        QByteArray data;
        QStringList languages;
        QString status;
    };
    const QString stamp = "rename-journal-20260101-000000-000-ABCDEF01.json";
    const QList<Case> cases = {
        {"not json\n", {"en-US"}, "The record of an interrupted apply could not be read; the file was kept as “%1”."},
        {"{\"version\":1,\"date\":0,\"moves\":[\"/a\",\"/b\"]}\nq\n",
         {"zh-Hans"},
         "无法读取被中断的应用记录;该文件已保留为「%1」。"},
    };
    for (const Case& c : cases) {
        store.reset();
        QDir(support()).removeRecursively();
        env.makeFile("support/" + stamp, c.data);
        env.makeFile("support/" + stamp + ".part", c.data);  // cut off before any move: dropped quietly
        store = std::make_unique<Store>(env.services(c.languages));
        const QStringList kept = QDir(support()).entryList({stamp + ".damaged-*"}, QDir::Files);
        ASSERT_EQ(kept.size(), 1);
        EXPECT_EQ(readFile(support() + '/' + kept.first()), c.data);
        EXPECT_FALSE(QFile::exists(support() + '/' + stamp + ".part"));
        EXPECT_EQ(store->status(), c.status.arg(kept.first()));
        EXPECT_TRUE(journals().isEmpty());
    }
}
