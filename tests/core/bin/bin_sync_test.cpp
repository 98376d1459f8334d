#include "bin_support.h"
#include "files/list_operations.h"
#include "platform/lang.h"

#include <gtest/gtest.h>

namespace {

QStringList names(const QString& pattern, int count)
{
    QStringList out;
    for (int i = 0; i < count; ++i)
        out.append(pattern.arg(i, 4, 10, QChar('0')));
    return out;
}

TEST(BinSync, NewFilesGetRowsAndAreReadOnceInListOrder)
{
    BinFixture f;
    const auto items = f.list({"a.jpg", "b.mov", "c.pdf", "d.txt"});
    f.bin().onAppear();
    ASSERT_EQ(f.bin().rows().size(), 4);
    EXPECT_EQ(f.row(3).kind, MetaKind::unsupported);
    ASSERT_TRUE(f.settle());
    EXPECT_EQ(f.row(0).fields.caption, "read a.jpg");
    EXPECT_EQ(f.row(1).fields.title, "read b.mov");
    EXPECT_EQ(f.draft(items[2].id), RecordingReader::fieldsFor(items[2].url));
    EXPECT_EQ(f.original(items[2].id), RecordingReader::fieldsFor(items[2].url));
    EXPECT_EQ(f.row(3).fields, MetaFields{});  // an unsupported file is never read
    EXPECT_EQ(f.reader->paths().size(), 3);
    EXPECT_FALSE(f.reader->paths().contains(items[3].url));
    EXPECT_EQ(f.store->unsavedMetaItems(), 0);

    // Listing more reads only the new file; a file with a draft comes back without a read.
    f.list({"e.png"});
    ASSERT_TRUE(f.settle());
    EXPECT_EQ(f.reader->paths().size(), 4);
    f.store->list().removeItems({items[0].id});
    EXPECT_EQ(f.bin().rows().size(), 4);
    f.store->editItems([&](QList<FileItem>& list) { list.append(items[0]); });
    ASSERT_TRUE(f.settle());
    EXPECT_EQ(f.bin().rows().last().fields.caption, "read a.jpg");
    EXPECT_EQ(f.reader->paths().size(), 4);
}

TEST(BinSync, StillsAreReadInSlicesOf64)
{
    BinFixture f;
    f.list(names("S%1.jpg", 130));
    QList<int> slices;
    QObject::connect(&f.bin(), &BinController::rowsLoaded, [&](const QList<QUuid>& ids) { slices.append(ids.size()); });
    f.bin().onAppear();
    ASSERT_TRUE(f.settle());
    EXPECT_EQ(slices, (QList<int>{64, 64, 2}));
    EXPECT_EQ(f.reader->paths(), [&] {
        QStringList paths;
        for (const BinRow& r : f.bin().rows())
            paths.append(*r.url);
        return paths;
    }());
}

TEST(BinSync, TheStoreCanGoAwayWhileReadsAreInFlight)
{
    auto f = std::make_unique<BinFixture>();
    f->reader->delayMs = 2;
    f->list(names("S%1.jpg", 200) + QStringList{"v.mov"});
    f->bin().onAppear();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !f->reader->paths().isEmpty(); }, 5000));
    EXPECT_TRUE(f->bin().loading());
    auto reader = f->reader;
    f.reset();
    const qsizetype readsAfter = reader->paths().size();
    QTest::qWait(50);
    EXPECT_EQ(reader->paths().size(), readsAfter);  // the worker stopped with the bin
}

TEST(BinSync, AnEditBeforeTheReadLandsWins)
{
    BinFixture f;
    const auto items = f.list({"a.jpg", "b.jpg"});
    f.bin().onAppear();
    BinRow edited = f.row(0);
    edited.setValue("typed", "title");
    f.bin().writeRow(0, edited);
    ASSERT_TRUE(f.settle());
    EXPECT_EQ(f.row(0).fields.caption, "typed");
    EXPECT_EQ(f.draft(items[0].id).caption, "typed");
    EXPECT_EQ(f.row(1).fields.caption, "read b.jpg");

    // A late result for a row that is gone is dropped.
    f.bin().applyLoadedMetadata(QUuid::createUuid(), MetaFields{});
    EXPECT_EQ(f.bin().rows().size(), 2);
}

TEST(BinSync, RemovedFilesLoseTheirRowsOfflineRowsStay)
{
    BinFixture f;
    const auto items = f.list({"a.jpg", "b.jpg"});
    f.bin().onAppear();
    QList<BinRow> rows = f.bin().rows();
    rows.append(BinFixture::offlineRow("X.mov"));
    f.bin().setRows(rows);
    f.store->list().removeItems({items[0].id});
    ASSERT_EQ(f.bin().rows().size(), 2);
    EXPECT_EQ(f.row(0).id, items[1].id);
    EXPECT_TRUE(f.row(1).isOffline());
    f.settle();
}

TEST(BinSync, RelinkByNameReadsTheFileAndKeepsImportedCellsAsUnsavedEdits)
{
    BinFixture f;
    f.bin().onAppear();
    BinRow offline = BinFixture::offlineRow("A001.jpg");
    offline.pendingName = "Hero.jpg";
    offline.newExt = "png";
    offline.setValue("Imported", "title");
    offline.setValue("12", "custom:Scene");
    offline.setValue("", "custom:Format");
    BinRow other = BinFixture::offlineRow("A001.JPG");
    f.bin().setRows({other, offline, BinFixture::offlineRow("A001.jpg")});

    const FileItem item = f.list({"A001.jpg"}).first();
    ASSERT_EQ(f.bin().rows().size(), 3);
    const BinRow& relinked = f.row(1);  // the first offline row of the exact name, in place
    EXPECT_EQ(relinked.id, item.id);
    EXPECT_EQ(relinked.url, item.url);
    EXPECT_EQ(relinked.pendingName, std::optional<QString>("Hero.jpg"));
    EXPECT_FALSE(relinked.newExt);
    EXPECT_TRUE(f.row(2).isOffline());
    EXPECT_EQ(f.store->unsavedMetaItems(), 1);

    ASSERT_TRUE(f.settle());
    EXPECT_EQ(f.reader->paths(), QStringList{item.url});
    MetaFields expected = RecordingReader::fieldsFor(item.url);
    EXPECT_EQ(f.original(item.id), expected);
    expected.caption = "Imported";
    expected.custom.insert("Scene", "12");  // the empty imported Format leaves the file's
    EXPECT_EQ(f.row(1).fields, expected);
    EXPECT_EQ(f.draft(item.id), expected);
    EXPECT_EQ(f.store->unsavedMetaItems(), 1);
}

TEST(BinSync, ReloadDropsOfflineRowsAndPendingNamesAndReadsAgain)
{
    BinFixture f;
    f.list({"a.jpg"});
    f.bin().onAppear();
    ASSERT_TRUE(f.settle());
    BinRow row = f.row(0);
    row.setValue("b.jpg", "name");
    row.setValue("typed", "title");
    f.bin().writeRow(0, row);
    f.bin().setRows({f.row(0), BinFixture::offlineRow("X.mov")});
    f.bin().pushMetaHistory();
    f.bin().reloadMetadata();
    ASSERT_EQ(f.bin().rows().size(), 1);
    EXPECT_FALSE(f.row(0).pendingName);
    EXPECT_TRUE(f.bin().metaHistory().isEmpty());
    ASSERT_TRUE(f.settle());
    EXPECT_EQ(f.row(0).fields.caption, "read a.jpg");
    EXPECT_EQ(f.reader->paths().size(), 2);
}

TEST(BinSync, RowsOutliveTheScreenAndPickUpEditsMadeElsewhere)
{
    BinFixture f;
    const auto items = f.list({"a.jpg"});
    f.bin().onAppear();
    ASSERT_TRUE(f.settle());
    f.bin().setRows({f.row(0), BinFixture::offlineRow("X.mov")});
    f.bin().onDisappear();
    f.store->editMeta([&](MetaDrafts& m) { m.metaDraft[items[0].id].caption = "from the editor"; });
    f.list({"b.jpg"});
    EXPECT_EQ(f.bin().rows().size(), 2);  // hidden: no sync, no read
    f.bin().onAppear();
    ASSERT_EQ(f.bin().rows().size(), 3);
    EXPECT_EQ(f.row(0).fields.caption, "from the editor");
    EXPECT_TRUE(f.row(1).isOffline());
    ASSERT_TRUE(f.settle());
    EXPECT_EQ(f.reader->paths().size(), 2);
}

TEST(BinSync, CustomColumnsFollowTheStoreBothWays)
{
    BinFixture f;
    f.store->editMeta([](MetaDrafts& m) { m.binCustomCols = {"Scene"}; });
    f.bin().onAppear();
    EXPECT_EQ(f.bin().customCols(), QStringList{"Scene"});
    f.store->editMeta([](MetaDrafts& m) { m.binCustomCols = {"Take", "Scene"}; });
    EXPECT_EQ(f.bin().customCols(), (QStringList{"Scene", "Take"}));
    f.bin().setCustomCols({"Reel"});
    EXPECT_EQ(f.store->meta().binCustomCols, QStringList{"Reel"});
    const auto cols = f.bin().fieldColumns();
    ASSERT_EQ(cols.size(), 11);
    EXPECT_EQ(cols[0].id, "clipname");
    EXPECT_EQ(cols[0].title, "Clip Name");
    EXPECT_EQ(cols[9].id, "keywords");
    EXPECT_EQ(cols[10].id, "custom:Reel");
    EXPECT_EQ(cols[10].title, "Reel");
}

TEST(BinStatus, CountsInBothLanguages)
{
    BinFixture f;
    const auto items = f.list({"a.jpg"});
    f.bin().onAppear();
    EXPECT_EQ(f.bin().statusText(), "1 clip");
    f.list({"b.jpg", "c.jpg", "d.jpg"});
    f.bin().setRows(f.bin().rows() + QList<BinRow>{BinFixture::offlineRow("X.mov")});
    f.bin().setSelection({f.row(0).id, f.row(4).id});
    EXPECT_EQ(f.bin().statusText(), QString::fromUtf8("5 clips · 2 selected · 1 offline"));
    f.store->setLangZh(true);
    EXPECT_EQ(f.bin().statusText(), QString::fromUtf8("5 个片段 · 已选 2 · 1 离线"));
    f.store->setLangZh(false);
    f.settle();
}

}  // namespace
