#include "files/history.h"
#include "files/renamer.h"
#include "files_fixture.h"

class ApplyRenames : public FilesTest {
protected:
    // Lists each file and proposes a name for it; "" keeps the name.
    RenamePlan plan(const QList<std::pair<QString, QString>>& renames)
    {
        RenamePlan p;
        for (const auto& [from, to] : renames) {
            const QUuid id = add(from);
            ids[from] = id;
            p.insert(id, to.isEmpty() ? PathText::lastComponent(from) : to);
        }
        return p;
    }
    QHash<QString, QUuid> ids;
};

TEST_F(ApplyRenames, SwapsRotationsAndChainsUseTemporaryNamesAndUndoInReverse)
{
    struct Case {
        const char* what;
        QList<std::pair<QString, QString>> renames;
        int batchMoves;
    };
    const QList<Case> cases = {
        {"swap", {{"a", "b"}, {"b", "a"}}, 3},
        {"rotation", {{"a", "b"}, {"b", "c"}, {"c", "a"}}, 5},
        {"chain, head first", {{"a", "b"}, {"b", "c"}}, 3},
        {"chain, tail first", {{"b", "c"}, {"a", "b"}}, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        store.reset();  // one Store at a time holds the support folder, as one process does
        QDir(work()).removeRecursively();
        QDir(env.path("support")).removeRecursively();
        store = newStore();
        ids.clear();
        for (const auto& r : c.renames)
            file(r.first);
        const QStringList before = names();

        store->renamer().applyRenames(plan(c.renames));

        EXPECT_EQ(store->status(), QStringLiteral("Renamed %1.").arg(c.renames.size()));
        for (const auto& [from, to] : c.renames) {
            EXPECT_EQ(content(to), from);
            EXPECT_EQ(item(ids[from]).name, to);
        }
        ASSERT_EQ(store->historyState().undoStack.size(), 1);
        EXPECT_EQ(store->historyState().undoStack[0].size(), c.batchMoves);
        EXPECT_EQ(store->historyState().renameLog.size(), c.batchMoves);

        store->history().undoLast();
        EXPECT_EQ(store->status(), QStringLiteral("Undid %1 rename(s).").arg(c.batchMoves));
        EXPECT_EQ(names(), before);
        for (const auto& r : c.renames) {
            EXPECT_EQ(content(r.first), r.first);
            EXPECT_EQ(item(ids[r.first]).name, r.first);
        }
        EXPECT_TRUE(store->historyState().undoStack.isEmpty());
    }
}

TEST_F(ApplyRenames, TargetHeldOutsideTheBatchIsSkippedWithoutTouchingIt)
{
    file("a");
    file("b");
    file("outside");
    store->renamer().applyRenames(plan({{"a", "outside"}, {"b", "c"}}));
    EXPECT_EQ(store->status(), "Renamed 1, skipped 1 (conflicts).");
    EXPECT_EQ(names(), (QStringList{"a", "c", "outside"}));
    EXPECT_EQ(content("outside"), "outside");
}

// An occupant whose own rename can't happen must not be parked under a hidden name: its
// target is held outside, so the entry that wants its place is skipped as well.
TEST_F(ApplyRenames, OccupantThatCannotMoveOnIsNeverParked)
{
    file("a");
    file("b");
    file("x");
    store->renamer().applyRenames(plan({{"a", "b"}, {"b", "x"}}));
    EXPECT_EQ(store->status(), "Renamed 0, skipped 2 (conflicts).");
    EXPECT_EQ(names(), (QStringList{"a", "b", "x"}));
    EXPECT_TRUE(store->historyState().undoStack.isEmpty());

    // The same through a longer chain: c waits on a, a on b, b is stuck.
    file("c");
    ids.clear();
    store->setItems({});
    store->renamer().applyRenames(plan({{"c", "a"}, {"a", "b"}, {"b", "x"}}));
    EXPECT_EQ(names(), (QStringList{"a", "b", "c", "x"}));
}

// The occupant's own rename came earlier and failed: its place counts as taken.
TEST_F(ApplyRenames, OccupantWhoseTurnHasPassedIsNotMovedAside)
{
    file("a");
    file("b");
    access->refusedTargets.insert(work("c"));
    store->renamer().applyRenames(plan({{"b", "c"}, {"a", "b"}}));
    EXPECT_EQ(store->status(), "Renamed 0, skipped 2: You don't have permission to rename “b”.");
    EXPECT_EQ(names(), (QStringList{"a", "b"}));
    EXPECT_EQ(content("b"), "b");
}

// The occupant was moved aside, then the move into its place failed: it must come back.
TEST_F(ApplyRenames, OccupantReturnsWhenTheMoveIntoItsPlaceFails)
{
    file("a");
    file("b");
    const RenamePlan p = plan({{"a", "b"}, {"b", "a"}});
    access->refused.insert(work("a"));
    store->renamer().applyRenames(p);
    EXPECT_EQ(names(), (QStringList{"a", "b"}));
    EXPECT_EQ(content("a"), "a");
    EXPECT_EQ(content("b"), "b");
    EXPECT_EQ(store->status(), "Renamed 0, skipped 2: You don't have permission to rename “a”.");
    for (const FileItem& f : store->items())
        EXPECT_FALSE(f.name.startsWith(".rntmp_")) << f.name.toStdString();
    EXPECT_TRUE(store->historyState().undoStack.isEmpty());
}

// The occupant was moved aside and the file took its name; then the occupant's own rename failed.
// Its old name is taken now, so it lands beside it under a visible name, never a hidden one.
TEST_F(ApplyRenames, ParkedFileWhoseRenameFailsLandsUnderAVisibleName)
{
    file("a");
    file("b");
    access->refusedTargets.insert(work("c"));
    store->renamer().applyRenames(plan({{"a", "b"}, {"b", "c"}}));
    EXPECT_EQ(names(), (QStringList{"b", "b (1)"}));
    EXPECT_EQ(content("b"), "a");
    EXPECT_EQ(content("b (1)"), "b");
    store->history().undoLast();
    EXPECT_EQ(names(), (QStringList{"a", "b"}));
    EXPECT_EQ(content("a"), "a");
    EXPECT_EQ(content("b"), "b");
}

// The batch stops part-way with a file moved aside: every visible name it could go to is
// refused. It keeps its temporary name until undo, and the status line says so.
TEST_F(ApplyRenames, FileLeftUnderATemporaryNameIsReported)
{
    for (const bool zh : {false, true}) {
        SCOPED_TRACE(zh ? "zh" : "en");
        store.reset();  // one Store at a time holds the support folder, as one process does
        QDir(work()).removeRecursively();
        store = newStore();
        store->setLangZh(zh);
        ids.clear();
        file("a");
        file("b");
        access->refusedTargets = {work("c")};
        for (int n = 1; n <= 99; ++n)
            access->refusedTargets << work(QStringLiteral("b (%1)").arg(n));
        store->renamer().applyRenames(plan({{"a", "b"}, {"b", "c"}}));
        const QStringList after = names();
        ASSERT_EQ(after.size(), 2);
        EXPECT_EQ(after[0].left(7), ".rntmp_");
        EXPECT_EQ(content("b"), "a");
        EXPECT_TRUE(store->status().endsWith(zh ? "1 个文件暂时保留临时名称,撤销这次重命名即可恢复。"
                                                : " 1 file(s) stay under a temporary name until you undo this rename."))
            << store->status().toStdString();

        store->history().undoLast();
        EXPECT_EQ(names(), (QStringList{"a", "b"}));
        EXPECT_EQ(content("a"), "a");
        EXPECT_EQ(content("b"), "b");
    }
}

TEST_F(ApplyRenames, FolderAndFilesInsideMoveTogetherDeepestFirst)
{
    dir("Day1");
    file("Day1/A001.mov");
    file("Day1/A002.mov");
    RenamePlan p;
    const QUuid folder = add("Day1", true);
    const QUuid f1 = add("Day1/A001.mov");
    const QUuid f2 = add("Day1/A002.mov");
    p.insert(folder, "Day01");
    p.insert(f1, "Shot_001.mov");
    p.insert(f2, "Shot_002.mov");
    store->renamer().applyRenames(p);
    EXPECT_EQ(store->status(), "Renamed 3.");
    EXPECT_EQ(names("Day01"), (QStringList{"Shot_001.mov", "Shot_002.mov"}));
    EXPECT_EQ(item(f1).url, work("Day01/Shot_001.mov"));
    EXPECT_EQ(item(folder).url, work("Day01"));
    EXPECT_EQ(store->historyState().undoStack[0].last().from, work("Day1"));

    store->history().undoLast();
    EXPECT_EQ(names("Day1"), (QStringList{"A001.mov", "A002.mov"}));
    EXPECT_EQ(item(f2).url, work("Day1/A002.mov"));
}

TEST_F(ApplyRenames, CaseOnlyRenameMoves)
{
    file("clip.mov");
    store->renamer().applyRenames(plan({{"clip.mov", "Clip.mov"}}));
    EXPECT_EQ(store->status(), "Renamed 1.");
    EXPECT_EQ(names(), QStringList{"Clip.mov"});
    store->history().undoLast();
    EXPECT_EQ(names(), QStringList{"clip.mov"});

    // Both spellings are separate files here: the other one is outside the batch and stays.
    file("Clip.mov");
    store->renamer().applyRenames({{ids["clip.mov"], "Clip.mov"}});
    EXPECT_EQ(store->status(), "Renamed 0, skipped 1 (conflicts).");
    EXPECT_EQ(names(), (QStringList{"Clip.mov", "clip.mov"}));
    EXPECT_EQ(content("clip.mov"), "clip.mov");
    EXPECT_EQ(content("Clip.mov"), "Clip.mov");

    // Both listed and swapped: new names that differ only in case collide, so neither moves
    // (a card or share that folds case could not hold both).
    const QUuid upper = add("Clip.mov");
    store->renamer().applyRenames({{ids["clip.mov"], "Clip.mov"}, {upper, "clip.mov"}});
    EXPECT_EQ(store->status(), "Nothing renamed. 2 skipped (conflicts).");
    EXPECT_EQ(content("clip.mov"), "clip.mov");
    EXPECT_EQ(content("Clip.mov"), "Clip.mov");
}

TEST_F(ApplyRenames, RefusedPlansReportWhy)
{
    struct Case {
        const char* what;
        QList<std::pair<QString, QString>> renames;
        QString status;
    };
    const QList<Case> cases = {
        {"nothing changes", {{"a", ""}, {"b", ""}}, "No changes to apply."},
        {"same proposed name", {{"a", "z"}, {"b", "z"}}, "Nothing renamed. 2 skipped (conflicts)."},
        {"name of a listed file that stays", {{"a", "b"}, {"b", ""}}, "Nothing renamed. 1 skipped (conflicts)."},
        {"slash", {{"a", "x/y"}, {"b", ""}}, "Nothing renamed. 1 skipped: “/” isn't allowed in a file name"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        store.reset();  // one Store at a time holds the support folder, as one process does
        store = newStore();
        file("a");
        file("b");
        store->renamer().applyRenames(plan(c.renames));
        EXPECT_EQ(store->status(), c.status);
        EXPECT_EQ(names(), (QStringList{"a", "b"}));
        EXPECT_TRUE(store->historyState().undoStack.isEmpty());
    }
}

TEST_F(ApplyRenames, ScopeWithoutSelectionMovesNothing)
{
    file("a");
    add("a");
    store->editSections([](NameSections& s) { s.scopeAllFiles = false; });
    store->renamer().applyInScope({});
    EXPECT_EQ(store->status(), "No files selected — select files in the list, or switch scope to “All files”.");
    EXPECT_EQ(names(), QStringList{"a"});
}

// The occupant's own target is held by an entry whose move fails: parking the occupant would
// leave it under a hidden name. Seen in time it is not parked; seen too late it lands under a
// visible name.
TEST_F(ApplyRenames, OccupantWhoseTargetStaysTakenIsNeverLeftHidden)
{
    struct Case {
        const char* what;
        QList<std::pair<QString, QString>> renames;
        QStringList names;
        QString status;
    };
    const QList<Case> cases = {
        {"holder failed before",
         {{"c", "d"}, {"a", "b"}, {"b", "c"}},
         {"a", "b", "c"},
         "Renamed 0, skipped 3: You don't have permission to rename “c”."},
        {"holder fails after",
         {{"a", "b"}, {"c", "d"}, {"b", "c"}},
         {"b", "b (1)", "c"},
         "Renamed 1, skipped 2: You don't have permission to rename “c”."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QDir(work()).removeRecursively();
        store.reset();  // one Store at a time holds the support folder, as one process does
        store = newStore();
        ids.clear();
        file("a");
        file("b");
        file("c");
        access->refusedTargets = {work("d")};
        store->renamer().applyRenames(plan(c.renames));
        EXPECT_EQ(names(), c.names);
        for (const FileItem& f : store->items())
            EXPECT_FALSE(f.name.startsWith(".rntmp_")) << f.name.toStdString();
        EXPECT_EQ(content("c"), "c");
        EXPECT_EQ(store->status(), c.status);
    }
}

TEST_F(FilesTest, RenameOneTrimsValidatesAndRecords)
{
    file("clip.mov");
    file("other.mov");
    const QUuid id = add("clip.mov");

    EXPECT_TRUE(store->renamer().renameOne(id, "clip.mov"));  // the current name: nothing happens
    EXPECT_TRUE(store->historyState().undoStack.isEmpty());
    EXPECT_FALSE(store->renamer().renameOne(id, "  \n"));
    EXPECT_FALSE(store->renamer().renameOne(QUuid::createUuid(), "x.mov"));

    EXPECT_FALSE(store->renamer().renameOne(id, "a/b.mov"));
    EXPECT_EQ(store->status(), "Skipped: “/” isn't allowed in a file name");
    EXPECT_FALSE(store->renamer().renameOne(id, "other.mov"));
    EXPECT_EQ(store->status(), "Skipped: \"other.mov\" already exists.");
    EXPECT_EQ(content("other.mov"), "other.mov");

    EXPECT_TRUE(store->renamer().renameOne(id, "  Take 1.mov\n"));
    EXPECT_EQ(item(id).name, "Take 1.mov");
    EXPECT_EQ(item(id).stem, "Take 1");
    EXPECT_EQ(content("Take 1.mov"), "clip.mov");
    ASSERT_EQ(store->historyState().undoStack.size(), 1);
    EXPECT_EQ(store->historyState().undoStack[0], (MoveBatch{{work("clip.mov"), work("Take 1.mov")}}));
    EXPECT_EQ(store->historyState().renameLog.size(), 1);

    EXPECT_TRUE(store->renamer().renameOne(id, "TAKE 1.mov"));  // letter case only
    EXPECT_EQ(names(), (QStringList{"TAKE 1.mov", "other.mov"}));
}

TEST_F(FilesTest, RenameItemByIdBuildsTheNameFromStemAndExtension)
{
    struct Case {
        std::optional<QString> ext;
        const char* result;
    };
    const Case cases[] = {
        {std::nullopt, "B.mov"},
        {QString(" .mp4"), "C.mp4"},
        {QString(""), "D"},
    };
    file("A.mov");
    const QUuid id = add("A.mov");
    const char* stems[] = {"B", "C", "D"};
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(store->renamer().renameItemByID(id, stems[i], cases[i].ext));
        EXPECT_EQ(item(id).name, cases[i].result);
    }
    EXPECT_EQ(names(), QStringList{"D"});
    EXPECT_FALSE(store->renamer().renameItemByID(id, " ", std::nullopt));
}
