#include "bin/bin_sort.h"
#include "bin_support.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

namespace {

struct CellFixture : BinFixture {
    QList<FileItem> items;
    explicit CellFixture(const QStringList& names = {"a.jpg", "b.mov"})
    {
        items = list(names);
        bin().onAppear();
        settle();
    }
    qsizetype snapshots() { return bin().metaHistory().size(); }
};

TEST(BinCellEdits, ARunOfChangesToOneCellIsOneUndoStep)
{
    CellFixture f;
    const QUuid a = f.row(0).id, b = f.row(1).id;
    QSignalSpy edited(&f.bin(), &BinController::rowEdited);
    for (const char* text : {"S", "Sc", "Sce"})
        f.bin().commitFieldEdit(text, a, "title");
    f.bin().commitFieldEdit("1", b, "custom:Take");
    EXPECT_EQ(f.snapshots(), 2);
    EXPECT_EQ(edited.size(), 4);
    EXPECT_EQ(f.row(0).fields.caption, "Sce");  // an image's title is its caption
    EXPECT_EQ(f.draft(a), f.row(0).fields);
    EXPECT_EQ(f.draft(b).custom.value("Take"), "1");
    f.bin().commitFieldEdit("Scene", a, "title");  // back to the first cell: a new step
    EXPECT_EQ(f.snapshots(), 3);

    f.bin().undoMetaEdit();
    f.bin().undoMetaEdit();
    EXPECT_EQ(f.row(0).fields.caption, "Sce");
    EXPECT_EQ(f.row(1).value("custom:Take"), "");
    f.bin().undoMetaEdit();
    EXPECT_EQ(f.row(0).fields.caption, "read a.jpg");
    EXPECT_EQ(f.draft(a).caption, "read a.jpg");
}

TEST(BinCellEdits, EveryCheckboxToggleIsItsOwnStep)
{
    CellFixture f;
    const QUuid a = f.row(0).id;
    f.bin().commitFieldEdit("x", a, "custom:Good");
    for (bool on : {false, true, false})
        f.bin().commitCellEdit(on, a, "custom:Good");
    EXPECT_EQ(f.snapshots(), 4);
    EXPECT_FALSE(f.bin().lastEditKey());
    EXPECT_EQ(f.row(0).fields.custom.value("Good"), "");
    f.bin().commitCellEdit(true, a, "custom:Good");
    EXPECT_EQ(f.draft(a).custom.value("Good"), "1");
    f.bin().commitFieldEdit("y", a, "custom:Good");  // a text edit after a toggle starts a step
    EXPECT_EQ(f.snapshots(), 6);
}

TEST(BinCellEdits, GoneRowsAreLeftAloneAndBadDatesClearAfterTheSnapshot)
{
    CellFixture f;
    const QUuid a = f.row(0).id;
    const QUuid gone = QUuid::createUuid();
    f.bin().commitFieldEdit("x", gone, "title");
    f.bin().commitCellEdit(true, gone, "custom:Good");
    EXPECT_EQ(f.snapshots(), 0);
    EXPECT_FALSE(f.store->meta().metaDraft.contains(gone));

    f.bin().commitFieldEdit("2024-05-31 09:00:00", a, "date");
    ASSERT_TRUE(f.row(0).fields.date);
    f.bin().commitFieldEdit("2024-05-31 09:00:0", a, "date");  // still typing: no date yet
    EXPECT_FALSE(f.row(0).fields.date);
    EXPECT_FALSE(f.draft(a).date);
    EXPECT_EQ(f.snapshots(), 1);
}

BinRow rowWith(MetaKind kind, const QString& name, const QString& date = {}, const QString& clip = {})
{
    BinRow row;
    row.id = QUuid::createUuid();
    row.url = "/m/" + name;
    row.name = name;
    row.kind = kind;
    row.fields.kind = kind;
    row.setValue(date, "date");
    row.setValue(clip, "clipname");
    return row;
}

QStringList names(const QList<BinRow>& rows)
{
    QStringList out;
    for (const BinRow& r : rows)
        out.append(r.name);
    return out;
}

TEST(BinSort, ColumnsSortByTheirStoredValues)
{
    const QList<BinRow> rows = {
        rowWith(MetaKind::unsupported, "e.txt", "2024-01-02 00:00:00", "%title"),
        rowWith(MetaKind::video, "clip10.mov", "", "b"),
        rowWith(MetaKind::pdf, "Clip9.pdf", "2023-12-31 23:59:59", "%zzz"),
        rowWith(MetaKind::image, "clip2.jpg", "2024-01-01 00:00:00", "a"),
    };
    struct Case {
        QList<BinSortKey> order;
        QStringList expected;
    };
    const QList<Case> cases = {
        {{{"kind", true}}, {"clip2.jpg", "Clip9.pdf", "clip10.mov", "e.txt"}},
        {{{"kind", false}}, {"e.txt", "clip10.mov", "Clip9.pdf", "clip2.jpg"}},
        {{{"date", true}}, {"clip10.mov", "Clip9.pdf", "clip2.jpg", "e.txt"}},
        // a formula sorts by its text ("%title" expands to nothing, "%zzz" stays as typed)
        {{{"clipname", true}}, {"e.txt", "Clip9.pdf", "clip2.jpg", "clip10.mov"}},
        {{{"name", true}}, {"clip2.jpg", "Clip9.pdf", "clip10.mov", "e.txt"}},  // digits by value, any case
    };
    for (const Case& c : cases) {
        QList<BinRow> sorted = rows;
        sortBinRows(sorted, c.order);
        EXPECT_EQ(names(sorted), c.expected) << c.order.first().column.toStdString();
        QList<BinRow> byLess = rows;
        std::stable_sort(byLess.begin(), byLess.end(), binRowLess(c.order));
        EXPECT_EQ(names(byLess), c.expected);
    }
}

TEST(BinSort, LaterKeysOnlyBreakTiesAndEqualRowsKeepTheirOrder)
{
    const QList<BinRow> rows = {rowWith(MetaKind::image, "b.jpg"), rowWith(MetaKind::video, "a.mov"),
                                rowWith(MetaKind::image, "a.jpg"), rowWith(MetaKind::image, "c.jpg")};
    QList<BinRow> sorted = rows;
    sortBinRows(sorted, {{"kind", true}, {"name", false}});
    EXPECT_EQ(names(sorted), QStringList({"c.jpg", "b.jpg", "a.jpg", "a.mov"}));
    sorted = rows;
    sortBinRows(sorted, {{"info", true}});
    EXPECT_EQ(names(sorted), names(rows));
}

TEST(BinSort, TheBinKeepsItsOrderThroughEditsAndSortsRowsASyncBringsIn)
{
    CellFixture f({"b.jpg", "c.jpg", "a.jpg"});
    f.bin().sortRows({{"name", true}});
    EXPECT_EQ(names(f.bin().rows()), QStringList({"a.jpg", "b.jpg", "c.jpg"}));
    f.bin().commitFieldEdit("zz.jpg", f.row(0).id, "name");  // a pending name does not move it
    EXPECT_EQ(names(f.bin().rows()), QStringList({"a.jpg", "b.jpg", "c.jpg"}));
    f.list({"0.jpg"});
    EXPECT_EQ(names(f.bin().rows()), QStringList({"0.jpg", "a.jpg", "b.jpg", "c.jpg"}));
    EXPECT_EQ(f.snapshots(), 1);  // sorting takes no snapshot
}

}  // namespace
