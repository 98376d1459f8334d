#include "files/intake.h"
#include "files/list_operations.h"
#include "files/scoped_access.h"
#include "files_test_util.h"
#include "model/file_dates.h"
#include "test_support.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

struct ListOps : ::testing::Test {
    TestEnv env;
    std::unique_ptr<Store> store = env.makeStore();

    QString file(const QString& name, qint64 mtime = 0)
    {
        const QString p = env.makeFile(name);
        if (mtime) {
            QFile f(p);
            f.open(QIODevice::ReadWrite);
            f.setFileTime(QDateTime::fromSecsSinceEpoch(mtime), QFileDevice::FileModificationTime);
        }
        return p;
    }
};

struct FakePanels : OpenPanels {
    QStringList answer;
    QString prompt;
    int filesAsked = 0;
    QStringList chooseFiles() override
    {
        ++filesAsked;
        return answer;
    }
    QStringList chooseFolders(const QString& p) override
    {
        prompt = p;
        return answer;
    }
};

}  // namespace

TEST_F(ListOps, SortByNameOrdersNumbersByValueIgnoringCaseAndKeepsDateCaches)
{
    store->intake().addURLs(
        {file("shot10.mov"), file("shot2.mov"), file("Shot1.mov"), file("a/shot2.mov"), file("B.mov")});
    store->dates().fileDateCache().insert("k", std::nullopt);
    const QString firstShot2 = store->items()[1].url;
    store->list().sortByName();
    EXPECT_EQ(itemNames(*store), (QStringList{"B.mov", "Shot1.mov", "shot2.mov", "shot2.mov", "shot10.mov"}));
    EXPECT_EQ(store->items()[2].url, firstShot2);  // equal names keep their order
    EXPECT_TRUE(store->dates().fileDateCache().contains("k"));
}

TEST_F(ListOps, SortByDateModifiedPutsUnreadableFirstAndKeepsTies)
{
    const QString gone = file("gone.mov", 1'600'000'000);
    store->intake().addURLs({file("new.mov", 1'700'000'000), file("old.mov", 1'500'000'000), gone,
                             file("tie1.mov", 1'600'000'000), file("tie2.mov", 1'600'000'000)});
    QFile::remove(gone);
    store->list().sortByDateModified();
    EXPECT_EQ(itemNames(*store), (QStringList{"gone.mov", "old.mov", "tie1.mov", "tie2.mov", "new.mov"}));
}

TEST_F(ListOps, ReverseOrder)
{
    store->intake().addURLs({file("a")});
    const QList<FileItem> one = store->items();
    store->list().reverseOrder();
    EXPECT_EQ(store->items(), one);
    store->intake().addURLs({file("b"), file("c")});
    store->list().reverseOrder();
    EXPECT_EQ(itemNames(*store), (QStringList{"c", "b", "a"}));
}

TEST_F(ListOps, ClearEmptiesListBackupAndFolderAccess)
{
    env.makeFile("A/x.mov");
    store->editSections([](NameSections& s) { s.renameFolders = true; });
    store->intake().addURLs({env.path("A")});
    ASSERT_FALSE(store->access().scopedFolderRoots().isEmpty());
    store->list().clearFiles();
    EXPECT_TRUE(store->items().isEmpty());
    EXPECT_TRUE(store->fileBackup().isEmpty());
    EXPECT_TRUE(store->access().scopedFolderRoots().isEmpty());
    EXPECT_EQ(store->status(), "Cleared.");
    store->setLangZh(true);
    store->list().clearFiles();
    EXPECT_EQ(store->status(), "已清空。");
}

TEST_F(ListOps, RemoveItemsCountsTheWholeSelection)
{
    store->intake().addURLs({file("a"), file("b"), file("c")});
    store->setStatus("kept");
    store->list().removeItem(store->items()[1].id);
    EXPECT_EQ(itemNames(*store), (QStringList{"a", "c"}));
    EXPECT_EQ(store->status(), "kept");

    store->list().removeItems({});
    EXPECT_EQ(store->status(), "kept");
    store->list().removeItems({store->items()[0].id, store->items()[1].id, QUuid::createUuid()});
    EXPECT_TRUE(store->items().isEmpty());
    EXPECT_EQ(store->status(), "Removed 3 item(s).");
    store->setLangZh(true);
    store->list().removeItems({QUuid::createUuid()});
    EXPECT_EQ(store->status(), "已移除 1 项。");
}

TEST_F(ListOps, RemovingFolderDropsOnlyItsDirectFilesFromBackup)
{
    store->editSections([](NameSections& s) { s.renameFolders = true; });
    env.makeFile("A/a1.mov");
    env.makeFile("B/b1.mov");
    const QString deep = env.makeFile("A/sub/deep.mov");
    store->intake().addURLs({env.path("A"), env.path("B"), deep});
    ASSERT_EQ(itemNames(*store), (QStringList{"A", "B", "deep.mov"}));
    store->list().removeItems({store->items()[0].id});
    EXPECT_EQ(itemNames(*store), (QStringList{"B", "deep.mov"}));
    QStringList backup;
    for (const FileItem& i : store->fileBackup())
        backup << i.name;
    EXPECT_EQ(backup, (QStringList{"b1.mov", "deep.mov"}));
}

TEST_F(ListOps, OpenPanelsAddWhatWasChosenAndCancelAddsNothing)
{
    auto panels = std::make_shared<FakePanels>();
    store->intake().setOpenPanels(panels);
    store->setStatus("before");
    store->intake().addFilesPanel();  // cancelled
    EXPECT_EQ(panels->filesAsked, 1);
    EXPECT_EQ(store->status(), "before");

    panels->answer = {file("one.mov"), file("two.mov")};
    store->intake().addFilesPanel();
    EXPECT_EQ(itemNames(*store), (QStringList{"one.mov", "two.mov"}));

    env.makeFile("F/three.mov");
    panels->answer = {env.path("F")};
    store->setLangZh(true);
    store->intake().addFoldersPanel();
    EXPECT_EQ(panels->prompt, "添加文件夹");
    EXPECT_EQ(store->items().size(), 3);
}

TEST_F(ListOps, MovedRowsKeepTheirOrderBeforeTheDestinationAndTheAICheckboxIsPerItem)
{
    store->intake().addURLs({file("a.mov"), file("b.mov"), file("c.mov"), file("d.mov"), file("e.mov")});
    store->list().moveItems({0, 2}, 4);
    EXPECT_EQ(itemNames(*store), (QStringList{"b.mov", "d.mov", "a.mov", "c.mov", "e.mov"}));
    store->list().moveItems({4}, 0);
    EXPECT_EQ(itemNames(*store), (QStringList{"e.mov", "b.mov", "d.mov", "a.mov", "c.mov"}));
    store->list().moveItems({}, 2);
    EXPECT_EQ(itemNames(*store), (QStringList{"e.mov", "b.mov", "d.mov", "a.mov", "c.mov"}));

    const QUuid b = store->items()[1].id;
    store->list().setUseAI(b, false);
    for (const FileItem& item : store->items())
        EXPECT_EQ(item.useAI, item.id != b) << item.name.toStdString();
}
