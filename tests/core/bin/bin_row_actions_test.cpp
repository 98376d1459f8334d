#include "bin_support.h"

#include <gtest/gtest.h>

namespace {

struct ActionsFixture : BinFixture {
    QList<FileItem> items;
    BinRow imported = offlineRow("X.mov");
    BinRow bare = offlineRow("Y.mov");
    ActionsFixture()
    {
        items = list({"a.jpg", "b.mov"});
        bin().onAppear();
        settle();
        imported.setValue("/old/X.mov", "custom:Source Path");
        bin().setRows(bin().rows() + QList<BinRow>{imported, bare});
    }
};

TEST(BinRowActions, OnlineRowsOpenPreviewAndRevealInTableOrder)
{
    ActionsFixture f;
    const QSet<QUuid> ids = {f.items[1].id, f.imported.id, f.items[0].id};
    EXPECT_EQ(f.bin().rowActions().selectedURLs(ids), (QStringList{f.items[0].url, f.items[1].url}));
    f.bin().rowActions().openFiles(ids);
    EXPECT_EQ(f.desk->opened, (QStringList{f.items[0].url, f.items[1].url}));
    f.bin().rowActions().quickLookRows({});
    EXPECT_EQ(f.desk->previewed, (QStringList{f.items[0].url, f.items[1].url}));
    f.bin().rowActions().quickLookRows({f.items[1].id});
    EXPECT_EQ(f.desk->previewed, QStringList{f.items[1].url});
    f.bin().rowActions().revealInFinder({f.imported.id});
    EXPECT_TRUE(f.desk->revealed.isEmpty());
    f.bin().rowActions().revealInFinder(ids);
    EXPECT_EQ(f.desk->revealed.size(), 2);
}

TEST(BinRowActions, CopyPathsTakesTheSourcePathOfImportedRows)
{
    ActionsFixture f;
    f.bin().rowActions().copyPaths({f.items[0].id, f.items[1].id, f.imported.id, f.bare.id});
    EXPECT_EQ(f.desk->clipboard, f.items[0].url + "\n" + f.items[1].url + "\n/old/X.mov");
    EXPECT_EQ(f.store->status(), "Copied 3 path(s).");
    f.desk->clipboard = "kept";
    f.bin().rowActions().copyPaths({f.bare.id});
    EXPECT_EQ(f.desk->clipboard, "kept");
    EXPECT_EQ(f.store->status(), "Copied 3 path(s).");
    f.store->setLangZh(true);
    f.bin().rowActions().copyPaths({f.imported.id});
    EXPECT_EQ(f.store->status(), QString::fromUtf8("已复制 1 个路径。"));
    f.store->setLangZh(false);
}

TEST(BinRowActions, RemoveTakesRowsAndListedFilesButNothingOnDisk)
{
    ActionsFixture f;
    f.bin().setSelection({f.items[0].id, f.imported.id});
    f.bin().rowActions().removeRows({f.items[0].id, f.imported.id});
    EXPECT_EQ(f.bin().rows().size(), 2);
    EXPECT_EQ(f.row(0).id, f.items[1].id);
    EXPECT_EQ(f.row(1).id, f.bare.id);
    EXPECT_TRUE(f.bin().selection().isEmpty());
    ASSERT_EQ(f.store->items().size(), 1);
    EXPECT_EQ(f.store->status(), "Removed 1 item(s).");
    EXPECT_TRUE(f.bin().metaHistory().isEmpty());

    f.store->setStatus("before");
    f.bin().rowActions().removeRows({f.bare.id});
    EXPECT_EQ(f.bin().rows().size(), 1);
    EXPECT_EQ(f.store->items().size(), 1);
    EXPECT_EQ(f.store->status(), "before");
}

}  // namespace
