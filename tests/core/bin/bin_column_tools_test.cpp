#include "bin_support.h"
#include "platform/lang.h"

#include <gtest/gtest.h>

namespace {

// A bin of read rows: images, a video and a PDF, in that order.
struct ToolsFixture : BinFixture {
    QList<FileItem> items;
    explicit ToolsFixture(const QStringList& names = {"a.jpg", "b.jpg", "c.mov", "d.pdf"})
    {
        items = list(names);
        bin().onAppear();
        settle();
    }
    QStringList column(const QString& key)
    {
        QStringList out;
        for (const BinRow& r : bin().rows())
            out.append(r.value(key));
        return out;
    }
    void select(const QList<int>& indices)
    {
        QSet<QUuid> ids;
        for (int i : indices)
            ids.insert(row(i).id);
        bin().setSelection(ids);
    }
};

TEST(BinBatchInput, WritesTheEditableTargetRowsAndReports)
{
    ToolsFixture f;
    f.desk->answers = {QString("Berlin")};
    f.bin().columnTools().batchInput("city", "City");
    EXPECT_EQ(f.column("city"), (QStringList{"Berlin", "Berlin", "", ""}));  // city is for images only
    EXPECT_EQ(f.store->status(), QString::fromUtf8("Batch set “City” on 2 row(s)."));
    EXPECT_EQ(f.desk->prompts.last(), QString::fromUtf8("Batch input|Set “City” on 4 row(s) to:|"));
    EXPECT_EQ(f.draft(f.items[1].id).city, "Berlin");

    f.select({1, 2});
    f.store->setLangZh(true);
    f.desk->answers = {QString("")};
    f.bin().columnTools().batchInput("custom:Scene", "Scene");
    EXPECT_EQ(f.column("custom:Scene"), (QStringList{"", "", "", ""}));
    EXPECT_FALSE(f.row(0).fields.custom.contains("Scene"));
    EXPECT_TRUE(f.row(2).fields.custom.contains("Scene"));
    EXPECT_EQ(f.desk->prompts.last(), QString::fromUtf8("批量输入|把「Scene」批量设为(2 行):|"));
    EXPECT_EQ(f.store->status(), QString::fromUtf8("已批量设置「Scene」到 2 行。"));
    f.store->setLangZh(false);

    // Cancel leaves no trace.
    const int snapshots = int(f.bin().metaHistory().size());
    f.desk->answers = {std::nullopt};
    f.bin().columnTools().batchInput("title", "Title");
    EXPECT_EQ(f.bin().metaHistory().size(), snapshots);
    EXPECT_EQ(f.store->status(), QString::fromUtf8("已批量设置「Scene」到 2 行。"));
}

TEST(BinFillDown, CopiesTheFirstSelectedRowsEditableCellsAndDate)
{
    ToolsFixture f({"a.jpg", "b.jpg", "c.mov", "d.jpg"});
    BinRow source = f.row(0);
    for (const char* key : {"clipname", "title", "author", "extra", "city", "country", "gps", "keywords"})
        source.setValue(QString(key) + " %n", key);
    source.setValue("1", "custom:Take");
    source.setValue("2024-05-01 09:30:00", "date");
    f.bin().writeRow(0, source);
    f.bin().setCustomCols({"Take"});
    f.select({0, 2, 3});
    f.bin().columnTools().fillDown();

    const BinRow& video = f.row(2);
    EXPECT_EQ(video.value("clipname"), "clipname %n");  // formulas travel as formulas
    EXPECT_EQ(video.value("title"), "title %n");
    EXPECT_EQ(video.value("extra"), "");
    EXPECT_EQ(video.value("city"), "");
    EXPECT_EQ(video.value("custom:Take"), "1");
    EXPECT_EQ(video.value("date"), "2024-05-01 09:30:00");
    EXPECT_EQ(f.row(3).fields.city, "city %n");
    EXPECT_EQ(f.row(3).fields.copyright, "extra %n");
    EXPECT_EQ(f.row(1).fields.city, "");  // not selected
    EXPECT_EQ(f.draft(f.items[2].id), video.fields);
}

TEST(BinColumnClipboard, CopyThenPasteOntoMoreOrFewerTargets)
{
    ToolsFixture f({"1.jpg", "2.jpg", "3.jpg", "4.jpg", "5.jpg", "6.jpg", "7.jpg", "8.jpg"});
    for (int i = 0; i < 5; ++i) {
        BinRow r = f.row(i);
        r.setValue(QString("v%1").arg(i), "custom:Take");
        f.bin().writeRow(i, r);
    }
    BinRow r = f.row(0);
    r.setValue("%name!", "custom:Take");
    f.bin().writeRow(0, r);
    f.select({0, 1, 2, 3, 4});
    f.bin().columnTools().copyColumn("custom:Take");
    EXPECT_EQ(f.desk->clipboard, "%name!\nv1\nv2\nv3\nv4");
    EXPECT_EQ(f.store->status(), "Copied column (5 rows).");

    f.bin().setSelection({});
    f.bin().columnTools().pasteColumn("clipname");
    EXPECT_EQ(f.column("clipname"), (QStringList{"%name!", "v1", "v2", "v3", "v4", "", "", ""}));
    EXPECT_EQ(f.row(0).displayValue("clipname"), "1!");
    EXPECT_EQ(f.store->status(), "Pasted column into 5 rows.");

    f.select({5, 6, 7});
    f.store->setLangZh(true);
    f.bin().columnTools().pasteColumn("title");
    EXPECT_EQ(f.column("title").mid(5), (QStringList{"%name!", "v1", "v2"}));
    EXPECT_EQ(f.store->status(), QString::fromUtf8("已粘贴列到 3 行。"));
    f.store->setLangZh(false);

    // Undo brings back every row of the snapshot and rewrites the drafts.
    f.bin().undoMetaEdit();
    EXPECT_EQ(f.column("title").mid(5), (QStringList{"read 6.jpg", "read 7.jpg", "read 8.jpg"}));
    EXPECT_EQ(f.draft(f.items[5].id).caption, "read 6.jpg");
    EXPECT_EQ(f.store->status(), "Undid metadata edit.");
}

TEST(BinClipNameFormula, StartsFromTheTemplateAndWritesEveryTarget)
{
    ToolsFixture f({"A.jpg", "B.mov"});
    f.store->editSections([](NameSections& s) { s.templateText = "%scene_%take"; });
    f.desk->answers = {QString("%name-%custom")};
    f.bin().columnTools().setClipNameFormula();
    EXPECT_EQ(f.desk->prompts.last(),
              "Set Clip Name formula|Formula for 2 row(s), e.g. %scene_%shot_%take:|%scene_%take");
    EXPECT_EQ(f.column("clipname"), (QStringList{"%name-%custom", "%name-%custom"}));
    EXPECT_EQ(f.row(1).displayValue("clipname"), "B-%custom");
    EXPECT_EQ(f.row(1).formulaDiagnostics("clipname"), QStringList{"%custom"});
    EXPECT_EQ(f.store->status(),
              QString::fromUtf8("Applied the formula to 2 row(s) — Clip Name updates live as fields change."));

    const int snapshots = int(f.bin().metaHistory().size());
    f.desk->answers = {QString("")};
    f.bin().columnTools().setClipNameFormula();
    EXPECT_EQ(f.bin().metaHistory().size(), snapshots);
}

TEST(BinUndo, KeepsTheNewest100Snapshots)
{
    ToolsFixture f({"a.jpg"});
    for (int i = 0; i < 150; ++i) {
        f.desk->answers = {QString::number(i)};
        f.bin().columnTools().batchInput("title", "Title");
    }
    EXPECT_EQ(f.bin().metaHistory().size(), 100);
    for (int i = 0; i < 100; ++i)
        f.bin().undoMetaEdit();
    EXPECT_EQ(f.row(0).value("title"), "49");
    EXPECT_EQ(f.draft(f.items[0].id).caption, "49");
    f.bin().undoMetaEdit();
    EXPECT_EQ(f.store->status(), "No metadata edit to undo.");
    EXPECT_EQ(f.row(0).value("title"), "49");
    f.store->setLangZh(true);
    f.bin().undoMetaEdit();
    EXPECT_EQ(f.store->status(), QString::fromUtf8("无元数据编辑可撤销。"));
    f.store->setLangZh(false);
}

TEST(BinEmptyTable, ToolsOnNoRows)
{
    BinFixture f;
    f.bin().onAppear();
    f.desk->answers = {QString("x"), QString("y")};
    f.bin().columnTools().batchInput("title", "Title");
    f.bin().columnTools().setClipNameFormula();
    EXPECT_TRUE(f.desk->prompts.isEmpty());
    f.bin().columnTools().copyColumn("title");
    EXPECT_EQ(f.store->status(), "Copied column (0 rows).");
    f.bin().columnTools().pasteColumn("title");
    EXPECT_EQ(f.store->status(), "Pasted column into 0 rows.");
    EXPECT_EQ(f.bin().metaHistory().size(), 1);
}

TEST(BinKindLabel, FolderFirstThenKind)
{
    BinRow row = BinFixture::offlineRow("x.mov");
    EXPECT_EQ(BinController::kindLabel(row), "Video");
    row.isDir = true;
    EXPECT_EQ(BinController::kindLabel(row), "Folder");
    Lang::setZh(true);
    EXPECT_EQ(BinController::kindLabel(row), QString::fromUtf8("文件夹"));
    EXPECT_EQ(BinController::kindLabel(BinFixture::offlineRow("x.jpg")), QString::fromUtf8("图片"));
    EXPECT_EQ(BinController::kindLabel(BinFixture::offlineRow("x.pdf")), "PDF");
    EXPECT_EQ(BinController::kindLabel(BinFixture::offlineRow("x.txt")), QString::fromUtf8("—"));
    Lang::setZh(false);
}

}  // namespace
