// Apply Rename on real files and the hand-off of names to the Email tab.
#include "files/history.h"
#include "model/store.h"
#include "smartrename/smart_rename_handoff.h"
#include "smartrename/smart_rename_run.h"
#include "test_support.h"

#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace {

SmartRenameRow row(const QString& corrected, std::optional<FileItem> item = std::nullopt,
                   std::optional<QString> variantExt = std::nullopt)
{
    SmartRenameRow r;
    r.id = QUuid::createUuid();
    r.corrected = corrected;
    r.sourceItem = std::move(item);
    r.variantExt = std::move(variantExt);
    return r;
}

TEST(SmartRenamePlan, ExtensionsOfTheNewNames)
{
    const FileItem mov = FileItem::file("/m/clip.MOV");
    const FileItem bare = FileItem::file("/m/clip");
    const struct {
        SmartRenameRow row;
        bool keepExt;
        QString planned;
    } cases[] = {
        {row(" Spot_V1.mov\n", mov), true, "Spot_V1.MOV"},   // the item's own extension
        {row("Spot_V1.mp4", mov), true, "Spot_V1.mp4.MOV"},  // a typed ending stays in the stem
        {row("Spot_V1.mov", mov), false, "Spot_V1.mov.MOV"},
        {row("Spot_V1", mov), false, "Spot_V1.MOV"},
        {row("Spot_V1", mov, QString(".mp4 ")), false, "Spot_V1.mp4"},
        {row("Spot_V1.mov", mov, QString("")), true, "Spot_V1"},
        {row("Spot_V1", bare), true, "Spot_V1"},
    };
    for (const auto& c : cases) {
        const RenamePlan plan = SmartRename::renamePlan({c.row}, c.keepExt);
        EXPECT_EQ(plan.value(c.row.sourceItem->id), c.planned) << c.row.corrected.toStdString();
    }
    // Pasted rows are never planned; a later row for the same file wins.
    const RenamePlan plan = SmartRename::renamePlan({row("Pasted"), row("First", mov), row("Second", mov)}, false);
    EXPECT_EQ(plan.size(), 1);
    EXPECT_EQ(plan.value(mov.id), "Second.MOV");
}

class SmartRenameHandOffTest : public ::testing::Test {
protected:
    void SetUp() override { store = env.makeStore(); }
    void load(const QStringList& names)
    {
        QList<FileItem> items;
        for (const QString& n : names)
            items << FileItem::file(env.makeFile("work/" + n));
        store->setItems(items);
        store->smartRun().useLoadedFiles();
    }
    QStringList onDisk() const { return QDir(env.path("work")).entryList(QDir::Files, QDir::Name); }
    void edit(int i, const QString& name)
    {
        QList<SmartRenameRow> rows = store->smart().smartRenameRows;
        rows[i].corrected = name;
        store->setSmartRenameRows(rows);
    }
    const QList<SmartRenameRow>& rows() { return store->smart().smartRenameRows; }

    TestEnv env;
    std::unique_ptr<Store> store;
};

TEST_F(SmartRenameHandOffTest, ApplyRenameMovesTheFilesRebuildsTheRowsAndCanBeUndone)
{
    store->setSmartRenameKeepExt(true);
    load({"abc_spot_30_v1.MOV", "xyz_other_15_v2.mov", "keep.mov"});
    edit(0, "ABC_Spot_30_V1.mov");
    edit(1, "XYZ_Other.mp4");
    edit(2, "keep.mov");
    store->setSmartRenameRows(store->smart().smartRenameRows + QList{row("Pasted_V1")});
    store->smartHandOff().applyRename();
    EXPECT_EQ(onDisk(), QStringList({"ABC_Spot_30_V1.MOV", "XYZ_Other.mp4.mov", "keep.mov"}));
    EXPECT_EQ(store->status(), "Renamed 2.");
    ASSERT_EQ(rows().size(), 3);  // rebuilt from the loaded files; the pasted row is gone
    EXPECT_EQ(rows().at(0).original, "ABC_Spot_30_V1.MOV");
    EXPECT_EQ(rows().at(0).sourceItem->url, env.path("work/ABC_Spot_30_V1.MOV"));
    ASSERT_EQ(store->historyState().undoStack.size(), 1);
    EXPECT_EQ(store->historyState().renameLog.size(), 2);

    store->history().undoLast();
    EXPECT_EQ(onDisk(), QStringList({"abc_spot_30_v1.MOV", "keep.mov", "xyz_other_15_v2.mov"}));
}

TEST_F(SmartRenameHandOffTest, NothingToChangeSaysSoInBothLanguages)
{
    load({"Spot_V1.mov"});
    for (bool zh : {false, true}) {
        store->setLangZh(zh);
        edit(0, "Spot_V1");
        store->smartHandOff().applyRename();
        EXPECT_EQ(store->status(), zh ? "没有需要应用的更改。" : "No changes to apply.");
        EXPECT_EQ(rows().size(), 1);
    }
    EXPECT_EQ(onDisk(), QStringList({"Spot_V1.mov"}));
    EXPECT_TRUE(store->historyState().undoStack.isEmpty());
}

TEST_F(SmartRenameHandOffTest, EmailGetsEveryRowOrJustOneAndTheEmailTabShows)
{
    SmartRenameRow a = row("ABC_Spot_Trlr_30_V2.mov");
    a.original = "abc spot trailer 30 v2.mov";
    a.code = "ABC";
    a.spotName = "Spot";
    a.cutType = "Trlr";
    a.timing = "30";
    a.version = "2";
    const SmartRenameRow b = row("Other");
    store->setSmartRenameRows({a, b});

    store->smartHandOff().generateEmailForRow(a.id);
    const QList<EmailFileContext> one{
        {"abc spot trailer 30 v2.mov", "ABC_Spot_Trlr_30_V2.mov", "ABC", "Spot", "Trlr", "30", "2"}};
    EXPECT_EQ(store->email().pendingEmailContexts, one);
    EXPECT_EQ(store->prefs().activeTab, 4);

    store->setActiveTab(3);
    store->smartHandOff().generateEmail();
    ASSERT_TRUE(store->email().pendingEmailContexts);
    EXPECT_EQ(store->email().pendingEmailContexts->size(), 2);
    EXPECT_EQ(store->email().pendingEmailContexts->at(1).correctedName, "Other");
    EXPECT_EQ(store->email().pendingEmailContexts->at(1).code, "");
    EXPECT_EQ(store->prefs().activeTab, 4);
}

}  // namespace
