// Saving the bin's pending changes into real files: renames and extension changes on disk as one
// undo batch, metadata written and read back, refused and failed changes reported.
#include "../metadata/media_tools.h"
#include "bin/bin_controller.h"
#include "bin/bin_relink.h"
#include "bin/bin_save.h"
#include "bin_support.h"
#include "files/history.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {

struct SaveFixture : BinFixture {
    QList<FileItem> items;
    explicit SaveFixture(const QStringList& names)
    {
        for (const QString& name : names) {
            if (name.endsWith(".jpg"))
                EXPECT_TRUE(makeImage(env.path(name)));
            else
                EXPECT_TRUE(touch(name));
        }
        items = list(names);
        bin().onAppear();
        settle();
    }
    bool touch(const QString& name)
    {
        QFile f(env.path(name));
        return f.open(QIODevice::WriteOnly) && f.write("x") == 1;
    }
    void edit(int i, const std::function<void(BinRow&)>& change)
    {
        BinRow r = row(i);
        change(r);
        bin().writeRow(i, r);
    }
    void save()
    {
        bin().saver().saveAll();
        ASSERT_TRUE(QTest::qWaitFor([this] { return !bin().saver().running(); }, 30000));
    }
    QStringList onDisk() const
    {
        QStringList names = QDir(env.path()).entryList(QDir::Files);
        names.removeAll("support.lock");
        names.sort();
        return names;
    }
};

TEST(BinSave, RenamesAfterConfirmingAsOneUndoBatchAndRowsFollowTheFiles)
{
    SaveFixture f({"a.txt", "b.txt", "c.txt"});
    f.edit(0, [](BinRow& r) { r.pendingName = "Scene1.txt"; });
    f.edit(1, [](BinRow& r) {
        r.pendingName = "Scene2.txt";
        r.newExt = "md";
    });
    f.edit(2, [](BinRow& r) { r.pendingName = "c.txt"; });  // the current name: no change

    f.desk->confirmAnswer = false;
    f.save();
    EXPECT_EQ(f.onDisk(), (QStringList{"a.txt", "b.txt", "c.txt"}));
    ASSERT_EQ(f.desk->confirmations.size(), 1);
    EXPECT_TRUE(f.desk->confirmations[0].startsWith("Rename 2 file(s) on disk?|"));
    EXPECT_TRUE(f.desk->confirmations[0].endsWith("|Rename & Save|Cancel"));
    EXPECT_TRUE(f.store->historyState().undoStack.isEmpty());

    f.desk->confirmAnswer = true;
    f.save();
    EXPECT_EQ(f.onDisk(), (QStringList{"Scene1.txt", "Scene2.md", "c.txt"}));
    EXPECT_EQ(f.store->status(), "Saved 0 file(s), 3 renamed.");
    EXPECT_EQ(f.row(1).name, "Scene2.md");
    EXPECT_EQ(f.row(1).url, f.env.path("Scene2.md"));
    EXPECT_FALSE(f.row(1).pendingName.has_value());
    EXPECT_FALSE(f.row(1).newExt.has_value());
    ASSERT_EQ(f.store->historyState().undoStack.size(), 1);
    EXPECT_EQ(f.store->historyState().undoStack[0].size(), 3);

    f.store->history().undoLast();
    EXPECT_EQ(f.onDisk(), (QStringList{"a.txt", "b.txt", "c.txt"}));
}

TEST(BinSave, RefusedOccupiedAndOfflineRowsAreCountedAndKeepWhatIsPending)
{
    SaveFixture f({"a.txt", "b.txt", "taken.txt"});
    f.bin().setRows(f.bin().rows() + QList<BinRow>{BinFixture::offlineRow("X.mov")});
    f.edit(0, [](BinRow& r) { r.pendingName = ".hidden"; });
    f.edit(1, [](BinRow& r) { r.pendingName = "taken.txt"; });
    f.edit(2, [](BinRow& r) { r.newExt = "a/b"; });
    f.desk->confirmAnswer = true;
    f.save();
    EXPECT_EQ(f.onDisk(), (QStringList{"a.txt", "b.txt", "taken.txt"}));
    EXPECT_EQ(f.store->status(),
              QString::fromUtf8(
                  "Saved 0 file(s). 1 offline (relink first). 2 name(s) not used: “/”, an empty name or a "
                  "hiding “.” isn't allowed. 1 change(s) could not be applied."));
    EXPECT_EQ(f.row(1).pendingName, "taken.txt");
    EXPECT_TRUE(f.store->historyState().undoStack.isEmpty());

    f.store->setLangZh(true);
    f.save();
    EXPECT_EQ(f.store->status(),
              QString::fromUtf8("已保存 0 个;1 个离线(请先 relink)。2 个名称未采用:不能包含“/”、不能为空,"
                                "也不能以“.”开头。1 项更改未能应用。"));
    f.store->setLangZh(false);
}

TEST(BinSave, ChangedFieldsAreWrittenIntoTheFileAndBecomeTheBaseline)
{
    if (const QString missing = missingTool({"exiv2", "exiftool"}); !missing.isEmpty())
        GTEST_SKIP() << missing.toStdString();
    SaveFixture f({"shot.jpg", "same.jpg"});
    f.edit(0, [](BinRow& r) {
        r.fields.caption = "Scene %name";
        r.pendingName = "Take1.jpg";
    });
    f.desk->confirmAnswer = true;
    f.save();
    EXPECT_EQ(f.store->status(), "Saved 1 file(s), 1 renamed.");
    const QJsonObject tags = exiftool(f.env.path("Take1.jpg"), {"-IPTC:all"});
    EXPECT_EQ(tags.value("Caption-Abstract").toString(), "Scene Take1");
    // The baseline keeps the formula as typed, so the row no longer counts as changed.
    EXPECT_EQ(f.original(f.row(0).id).caption, "Scene %name");
    EXPECT_FALSE(BinSave::hasMetadataChange(f.row(0), f.store->meta()));

    f.save();
    EXPECT_EQ(f.store->status(), "Saved 0 file(s).");
}

TEST(BinSave, ButtonLabelCountsPendingChanges)
{
    EXPECT_EQ(BinSave::label(0), "Save all changes");
    EXPECT_EQ(BinSave::label(3), "Save all changes (3)");
}

TEST(BinRelink, FoldersAreWalkedWithoutHiddenEntriesAndALaterNameWins)
{
    TestEnv env;
    QDir(env.path()).mkpath("deep/er");
    QDir(env.path()).mkpath(".hid");
    QDir(env.path()).mkpath("later");
    for (const char* name : {"deep/er/A.mov", ".hid/B.mov", "deep/.C.mov", "later/A.mov", "loose.mov"}) {
        QFile file(env.path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    const QHash<QString, QString> names = BinRelink::nameMap(
        {env.path("deep"), env.path("later"), env.path("loose.mov")});
    EXPECT_EQ(names.value("A.mov"), env.path("later/A.mov"));
    EXPECT_EQ(names.value("loose.mov"), env.path("loose.mov"));
    EXPECT_FALSE(names.contains("B.mov"));
    EXPECT_FALSE(names.contains(".C.mov"));
}

TEST(BinRelink, OfflineRowsFindTheirFilesByExactNameAndTheCountIsReported)
{
    BinFixture f;
    f.bin().onAppear();
    QDir(f.env.path()).mkpath("card");
    for (const char* name : {"card/A001.mov", "card/a002.mov"}) {
        QFile file(f.env.path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    f.bin().setRows({BinFixture::offlineRow("A001.mov"), BinFixture::offlineRow("A002.mov")});
    f.desk->chosenFiles = {};
    BinRelink::relinkOffline(*f.store, f.bin().rows(), *f.desk);
    EXPECT_TRUE(f.store->items().isEmpty());

    f.desk->chosenFiles = {f.env.path("card")};
    BinRelink::relinkOffline(*f.store, f.bin().rows(), *f.desk);
    EXPECT_EQ(f.store->status(), "Relinked 1 file(s).");
    ASSERT_EQ(f.store->items().size(), 1);
    EXPECT_EQ(f.store->items()[0].url, f.env.path("card/A001.mov"));
    ASSERT_TRUE(f.settle());
    EXPECT_EQ(f.row(0).url, f.env.path("card/A001.mov"));
    EXPECT_TRUE(f.row(1).isOffline());
}

}  // namespace
