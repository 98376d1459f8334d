#include "files/rename_batch.h"
#include "files_fixture.h"

namespace {

struct BatchCase {
    const char* what;
    QList<std::pair<QString, QString>> renames;  // listed path, proposed name
    QStringList outsiders;                       // other files already on the disk
    QList<std::pair<QString, QString>> moves;    // expected, in order
    int renamed;
    int skipped;
    bool anyToMove;
};

QString p(const QString& rel)
{
    return "/w/" + rel;
}

RenameBatchResult plan(const BatchCase& c)
{
    QList<FileItem> items;
    RenamePlan names;
    QSet<QString> existing;
    for (const auto& [path, name] : c.renames) {
        const bool folder = !path.contains('.');
        items << (folder ? FileItem::folder(p(path)) : FileItem::file(p(path)));
        names.insert(items.last().id, name);
        existing.insert(p(path));
    }
    for (const QString& o : c.outsiders)
        existing.insert(p(o));
    return planRenameBatch(items, names, existing);
}

}  // namespace

TEST(RenameBatch, PlansTheMovesWithParkingAndSkipsWithoutTouchingADisk)
{
    const QList<BatchCase> cases = {
        {"plain", {{"a.mov", "x.mov"}}, {}, {{"a.mov", "x.mov"}}, 1, 0, true},
        {"swap parks one file",
         {{"a.mov", "b.mov"}, {"b.mov", "a.mov"}},
         {},
         {{"b.mov", ".rntmp_1"}, {"a.mov", "b.mov"}, {".rntmp_1", "a.mov"}},
         2,
         0,
         true},
        {"chain into a free name",
         {{"a.mov", "b.mov"}, {"b.mov", "c.mov"}},
         {},
         {{"b.mov", ".rntmp_1"}, {"a.mov", "b.mov"}, {".rntmp_1", "c.mov"}},
         2,
         0,
         true},
        {"target held by a file outside", {{"a.mov", "x.mov"}}, {"x.mov"}, {}, 0, 1, true},
        {"a chain ending at an outside file", {{"a.mov", "b.mov"}, {"b.mov", "x.mov"}}, {"x.mov"}, {}, 0, 2, true},
        {"the same name twice", {{"a.mov", "n.mov"}, {"b.mov", "n.mov"}}, {}, {}, 0, 2, false},
        {"an invalid name", {{"a.mov", "d/e.mov"}}, {}, {}, 0, 1, false},
        {"names that stay", {{"a.mov", "a.mov"}}, {}, {}, 0, 0, false},
        {"inside a folder before the folder",
         {{"F", "G"}, {"F/f.mov", "g.mov"}},
         {},
         {{"F/f.mov", "F/g.mov"}, {"F", "G"}},
         2,
         0,
         true},
    };
    for (const BatchCase& c : cases) {
        SCOPED_TRACE(c.what);
        const RenameBatchResult r = plan(c);
        MoveBatch expected;
        for (const auto& [from, to] : c.moves)
            expected << Move{p(from), p(to)};
        EXPECT_EQ(r.moves, expected);
        EXPECT_EQ(r.renamed, c.renamed);
        EXPECT_EQ(r.skipped, c.skipped);
        EXPECT_EQ(r.anyToMove, c.anyToMove);
    }
}

// A move the disk refuses part-way leaves the moves before and after it, and the items they
// took, as the batch's record.
TEST(RenameBatch, AMoveRefusedPartWayLeavesTheOthersRecorded)
{
    class RefusingDisk : public SimulatedDisk {
    public:
        RefusingDisk(QSet<QString> existing, QString refused)
            : SimulatedDisk(std::move(existing)), m_refused(std::move(refused))
        {}
        std::optional<MoveError> move(const QString& from, const QString& to) override
        {
            return from == m_refused ? MoveError{EACCES, from, to} : SimulatedDisk::move(from, to);
        }

    private:
        QString m_refused;
    };
    const QStringList names = {"a.mov", "b.mov", "c.mov"};
    for (const QString& refused : {QString(), p("a.mov"), p("b.mov"), p("c.mov")}) {
        SCOPED_TRACE(refused.toStdString());
        QList<FileItem> items;
        RenamePlan plan;
        QSet<QString> existing;
        MoveBatch expected;
        QList<qsizetype> positions;
        for (const QString& name : names) {
            items << FileItem::file(p(name));
            plan.insert(items.last().id, "x_" + name);
            existing.insert(p(name));
            if (p(name) != refused) {
                expected << Move{p(name), p("x_" + name)};
                positions << items.size() - 1;
            }
        }
        RefusingDisk disk(existing, refused);
        const RenameBatchResult r = runRenameBatch(items, plan, disk);
        EXPECT_EQ(r.moves, expected);
        EXPECT_EQ(r.itemMoves.moves, expected);
        EXPECT_EQ(r.itemMoves.positions, positions);
        EXPECT_EQ(r.skipped, refused.isEmpty() ? 0 : 1);
    }
}

// A batch has a chain when one entry's target is where another entry's file starts, whatever
// the lengths of the names around it.
TEST(RenameBatchPlan, ChainsAreFoundAmongNamesOfAnyLength)
{
    struct Case {
        const char* what;
        QList<std::pair<QString, QString>> moves;
        bool chainFree;
    };
    const QList<Case> cases = {
        {"longer names", {{"/d/a.mov", "/d/x_a.mov"}, {"/d/b.mov", "/d/x_b.mov"}}, true},
        {"names of one length", {{"/d/a.mov", "/d/c.mov"}, {"/d/b.mov", "/d/e.mov"}}, true},
        {"a swap", {{"/d/a.mov", "/d/b.mov"}, {"/d/b.mov", "/d/a.mov"}}, false},
        {"a shift through names of other lengths",
         {{"/d/a.mov", "/d/bb.mov"}, {"/d/bb.mov", "/d/ccc.mov"}, {"/d/x.mov", "/d/yy.mov"}},
         false},
        {"the same name in another folder", {{"/d/a.mov", "/e/b.mov"}, {"/d/b.mov", "/d/c.mov"}}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DecidedBatch batch;
        for (const auto& [from, to] : c.moves)
            batch.entries.moves << Move{from, to};
        EXPECT_EQ(batch.chainFree(), c.chainFree);
    }
}
