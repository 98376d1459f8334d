#include "bin/quick_edit.h"
#include "bin_view_fixture.h"

#include <QMenu>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

QStringList visibleKeys(BinViewFixture& f)
{
    QStringList keys;
    QHeaderView* header = f.table()->horizontalHeader();
    for (int visual = 0; visual < header->count(); ++visual) {
        const int logical = header->logicalIndex(visual);
        if (!header->isSectionHidden(logical))
            keys.append(f.model()->columnKey(logical));
    }
    return keys;
}

QStringList titles(BinViewFixture& f)
{
    QStringList out;
    for (int i = 0; i < f.model()->columnCount(); ++i)
        out.append(f.model()->headerData(i, Qt::Horizontal).toString());
    return out;
}

TEST(BinTableColumns, DefaultLayoutHidesTheRarelyUsedFieldsAndShowsCustomColumns)
{
    BinViewFixture f;
    f.list({"a.jpg"});
    f.bin().setCustomCols({"Scene", "Good"});
    EXPECT_EQ(visibleKeys(f), QStringList({"name", "kind", "info", "date", "clipname", "title", "author", "extra",
                                           "ext", "custom:Scene", "custom:Good"}));
    EXPECT_EQ(titles(f), QStringList({"Name", "Kind", "Info", "Date", "Clip Name", "Status", "Title", "Author", "Extra",
                                      "Ext", "City", "Country", "GPS", "Keywords", "Scene", "Good"}));
    f.store->setLangZh(true);
    EXPECT_EQ(titles(f).mid(0, 10),
              QStringList({"名称", "类型", "信息", "日期", "剪辑名", "在线状态", "标题", "作者", "附加", "后缀"}));
    EXPECT_EQ(f.table()->horizontalHeader()->sectionSize(f.model()->columnOf("kind")), 56);
}

TEST(BinTableColumns, HeaderMenuShowsHidesAndTheLayoutTravelsWithPresets)
{
    BinViewFixture f;
    f.list({"a.jpg"});
    QMenu* menu = f.table()->headerMenu(f.view.get());
    QAction* city = ui::menuAction(menu, "City");
    ASSERT_TRUE(city);
    EXPECT_FALSE(city->isChecked());
    city->trigger();
    ui::menuAction(menu, "Title")->trigger();
    EXPECT_TRUE(visibleKeys(f).contains("city"));
    EXPECT_FALSE(visibleKeys(f).contains("title"));
    const QJsonObject layout = f.bin().columnCustomization();
    EXPECT_EQ(layout.value("title").toObject().value("visible"), false);
    EXPECT_EQ(layout.value("city").toObject().value("visible"), true);

    // Moving a column is kept too, and a preset's layout is laid out again when it loads.
    QHeaderView* header = f.table()->horizontalHeader();
    header->moveSection(header->visualIndex(f.model()->columnOf("ext")), 0);
    EXPECT_EQ(visibleKeys(f).first(), "ext");
    EXPECT_EQ(f.bin().columnCustomization().value("ext").toObject().value("order"), 0);
    f.bin().setColumnCustomization({});
    f.bin().setCustomCols({"Take"});  // the columns are built anew: the layout follows the bin's
    EXPECT_EQ(visibleKeys(f).first(), "name");
    EXPECT_TRUE(visibleKeys(f).contains("title"));
    EXPECT_TRUE(visibleKeys(f).contains("custom:Take"));
}

TEST(BinTableCells, KindsOfCellsFollowTheRowAndTheColumn)
{
    BinViewFixture f;
    f.list({"doc.pdf", "a.jpg"});
    f.bin().setCustomCols({"Circle", "Scene"});
    QList<BinRow> rows = f.bin().rows();
    BinRow offline = BinViewFixture::offlineRow("gone.mov");
    offline.setValue("yes", "custom:Circle");
    rows.append(offline);
    f.bin().setRows(rows);
    rows[1].setValue("%scene_%zork_%quux", "clipname");
    rows[1].setValue("S1", "custom:Scene");
    rows[1].setValue("%scene-A", "title");
    f.bin().setRows(rows);
    using Kind = BinTableModel::CellKind;
    const auto kind = [&f](int r, const QString& key) {
        return Kind(f.data(r, key, BinTableModel::CellKindRole).toInt());
    };

    // A PDF offers the Date field, but no City, Country or GPS.
    EXPECT_EQ(kind(0, "date"), Kind::Text);
    for (const char* key : {"city", "country", "gps"}) {
        EXPECT_EQ(kind(0, key), Kind::NotEditable);
        EXPECT_EQ(f.data(0, key).toString(), QString::fromUtf8("—"));
        EXPECT_FALSE(f.cell(0, key).flags() & Qt::ItemIsEditable);
    }
    // The offline row: relink symbol, read-only name, "offline" info, orange status.
    EXPECT_EQ(kind(2, "name"), Kind::ReadOnly);
    EXPECT_FALSE(f.cell(2, "name").flags() & Qt::ItemIsEditable);
    EXPECT_EQ(f.data(2, "name").toString(), "gone.mov");
    EXPECT_FALSE(f.data(2, "name", Qt::DecorationRole).isNull());
    EXPECT_EQ(f.data(2, "name", Qt::ToolTipRole).toString(), QString::fromUtf8("Offline — use Relink"));
    EXPECT_EQ(f.data(2, "info").toString(), "offline");
    EXPECT_EQ(f.data(2, "online", Qt::ForegroundRole).value<QBrush>().color(), QColor(0xE6, 0x7E, 0x22));
    EXPECT_NE(f.data(0, "online", Qt::ForegroundRole).value<QBrush>().color(), QColor(0xE6, 0x7E, 0x22));
    EXPECT_EQ(kind(0, "name"), Kind::Text);
    EXPECT_EQ(f.data(0, "name", Qt::ToolTipRole).toString(), "Renames the actual file on disk when you Save.");
    // Checkbox cells read any yes-like text as ticked.
    EXPECT_EQ(kind(2, "custom:Circle"), Kind::Checkbox);
    EXPECT_EQ(f.data(2, "custom:Circle", Qt::CheckStateRole), Qt::Checked);
    EXPECT_EQ(f.data(0, "custom:Circle", Qt::CheckStateRole), Qt::Unchecked);

    // Formula cells show their text; the accessory and the tooltip tell what it gives.
    EXPECT_EQ(f.data(1, "clipname").toString(), "%scene_%zork_%quux");
    EXPECT_TRUE(f.data(1, "clipname", BinTableModel::WarningRole).toBool());
    EXPECT_EQ(f.data(1, "clipname", Qt::ToolTipRole).toString(),
              QString::fromUtf8("Unrecognized token(s): %zork, %quux — left as literal text."));
    EXPECT_EQ(f.data(1, "title", BinTableModel::AccessoryRole).toString(), QString::fromUtf8("→ S1-A"));
    EXPECT_EQ(f.data(1, "title", Qt::ToolTipRole).toString(), QString::fromUtf8("Formula → S1-A"));
    EXPECT_EQ(f.data(1, "author", Qt::ToolTipRole).toString(),
              "Type a formula like %scene_%shot_%take to reference other fields on this row.");
    f.store->setLangZh(true);
    EXPECT_EQ(f.data(1, "clipname", Qt::ToolTipRole).toString(),
              QString::fromUtf8("无法识别的 token:%zork、%quux —— 已按原文字显示。"));
    EXPECT_EQ(f.data(1, "title", Qt::ToolTipRole).toString(), QString::fromUtf8("公式 → S1-A"));
    EXPECT_EQ(f.data(2, "info").toString(), QString::fromUtf8("离线"));
    EXPECT_EQ(f.data(1, "kind").toString(), QString::fromUtf8("图片"));
}

TEST(BinTableEdits, TypedCellsCommitAsTheyChangeAndCoalescePerCell)
{
    BinViewFixture f;
    f.list({"a.jpg", "b.jpg"});
    f.bin().setCustomCols({"Good"});
    QLineEdit* editor = f.focus(0, "title");
    ASSERT_TRUE(editor);
    QTest::keyClicks(editor, "abc");
    EXPECT_EQ(f.row(0).value("title"), "abc");
    EXPECT_EQ(f.store->meta().metaDraft.value(f.row(0).id).caption, "abc");
    EXPECT_FALSE(f.table()->focusCell(f.row(1).id, "custom:Scene"));  // no such column
    editor = f.focus(1, "author");
    ASSERT_TRUE(editor);
    QTest::keyClick(editor, Qt::Key_Z);
    EXPECT_EQ(f.bin().metaHistory().size(), 2);

    // Each click on a checkbox is a step of its own.
    const QModelIndex good = f.cell(0, "custom:Good");
    f.table()->scrollTo(good);
    QStyleOptionViewItem option;
    option.initFrom(f.table());
    option.rect = f.table()->visualRect(good);
    option.features |= QStyleOptionViewItem::HasCheckIndicator;
    const QPoint box =
        f.table()->style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, f.table()).center();
    for (int i = 0; i < 3; ++i)
        QTest::mouseClick(f.table()->viewport(), Qt::LeftButton, {}, box);
    EXPECT_EQ(f.bin().metaHistory().size(), 5);
    EXPECT_EQ(f.row(0).value("custom:Good"), "1");
    EXPECT_TRUE(f.toolbar()->undoButton()->isEnabled());
}

TEST(BinTableQuickEdit, KeysInTheCellEditorStepMoveAndCarry)
{
    BinViewFixture f;
    f.list({"a.jpg", "b.mov", "c.jpg"});
    f.bin().setCustomCols({"Take"});
    f.bin().commitFieldEdit("7", f.row(0).id, "custom:Take");
    f.store->setQuickEditMode(true);
    QLineEdit* editor = f.focus(0, "custom:Take");
    ASSERT_TRUE(editor);
    QTest::keyClick(editor, Qt::Key_Right);
    EXPECT_EQ(editor->text(), "8");
    EXPECT_EQ(f.row(0).value("custom:Take"), "8");
    f.now += 0.1;
    QTest::keyClick(editor, Qt::Key_Left);
    EXPECT_EQ(editor->text(), "1");

    QTest::keyClick(editor, Qt::Key_Down);  // carried into the empty cell below, which gets the focus
    editor = f.editor();
    ASSERT_TRUE(editor);
    EXPECT_EQ(f.table()->currentIndex(), f.cell(1, "custom:Take"));
    EXPECT_EQ(editor->text(), "1");
    EXPECT_EQ(f.row(1).value("custom:Take"), "1");

    // Tab runs along the video's columns; Return comes back to where the run started.
    QTest::keyClick(editor, Qt::Key_Tab);
    EXPECT_EQ(f.table()->currentIndex(), f.cell(1, "custom:Take"));  // the last of its Tab order
    QTest::keyClick(f.editor(), Qt::Key_Backtab);
    EXPECT_EQ(f.table()->currentIndex(), f.cell(1, "ext"));
    QTest::keyClick(f.editor(), Qt::Key_Return);
    EXPECT_EQ(f.table()->currentIndex(), f.cell(2, "custom:Take"));
    ASSERT_TRUE(f.editor());

    // With the mode off the keys are the editor's own.
    f.store->setQuickEditMode(false);
    editor = f.focus(0, "custom:Take");
    editor->setCursorPosition(1);
    QTest::keyClick(editor, Qt::Key_Left);
    EXPECT_EQ(editor->text(), "1");
    EXPECT_EQ(editor->cursorPosition(), 0);
}

TEST(BinTableInteractions, DeleteAndSpaceActOnTheSelectionOnlyWhileNoCellIsEdited)
{
    BinViewFixture f;
    f.list({"a.jpg", "b.jpg", "c.jpg"});
    f.select({1});
    f.table()->setFocus();
    QTest::keyClick(f.table(), Qt::Key_Space);
    EXPECT_EQ(f.desk->previewed, QStringList{*f.row(1).url});

    QLineEdit* editor = f.focus(0, "title");
    ASSERT_TRUE(editor);
    f.select({0});
    QTest::keyClick(editor, Qt::Key_Space);
    QTest::keyClick(editor, Qt::Key_Delete);
    QTest::keyClick(editor, Qt::Key_Backspace);
    EXPECT_EQ(f.desk->previews, 1);
    EXPECT_EQ(f.store->items().size(), 3);
    EXPECT_EQ(f.row(0).value("title"), "");  // typed a blank and took it back

    QTest::keyClick(editor, Qt::Key_Escape);
    ASSERT_FALSE(f.table()->isEditingCell());
    f.select({0, 2});
    QTest::keyClick(f.table(), Qt::Key_Delete);
    EXPECT_EQ(f.store->items().size(), 1);
    ASSERT_EQ(f.bin().rows().size(), 1);
    EXPECT_TRUE(f.bin().selection().isEmpty());
}

TEST(BinTableInteractions, RowMenuActsOnTheSelectionOrTheClickedRow)
{
    BinViewFixture f;
    f.list({"a.jpg", "b.jpg", "c.jpg"});
    f.select({0, 1});
    EXPECT_EQ(f.table()->selectionModel()->selectedRows().size(), 2);  // the table shows the bin's selection
    EXPECT_EQ(f.table()->idsForRow(1), (QSet<QUuid>{f.row(0).id, f.row(1).id}));
    EXPECT_EQ(f.table()->idsForRow(2), QSet<QUuid>{f.row(2).id});
    QMenu* menu = f.table()->rowMenu(f.table()->idsForRow(2), f.view.get());
    EXPECT_EQ(ui::menuTexts(menu),
              QStringList({"Open", "Quick Look", "Show in File Manager", "Copy Path", "-", "Remove from list"}));
    ui::menuAction(menu, "Copy Path")->trigger();
    EXPECT_EQ(f.desk->clipboard, *f.row(2).url);
    ui::menuAction(menu, "Open")->trigger();
    EXPECT_EQ(f.desk->opened, QStringList{*f.row(2).url});
    ui::menuAction(menu, "Remove from list")->trigger();
    EXPECT_EQ(f.bin().rows().size(), 2);

    // A right click leaves the selection alone; the menu follows the row under it.
    const QRect second = f.table()->visualRect(f.cell(1, "kind"));
    QTest::mouseClick(f.table()->viewport(), Qt::RightButton, {}, second.center());
    EXPECT_EQ(f.bin().selection(), (QSet<QUuid>{f.row(0).id, f.row(1).id}));
    // A double click opens the row's file (its first click selected it alone).
    f.desk->opened.clear();
    QTest::mouseClick(f.table()->viewport(), Qt::LeftButton, {}, second.center());
    QTest::mouseDClick(f.table()->viewport(), Qt::LeftButton, {}, second.center());
    EXPECT_EQ(f.desk->opened, QStringList{*f.row(1).url});
    f.store->setLangZh(true);
    menu = f.table()->rowMenu({}, f.view.get());
    EXPECT_EQ(ui::menuTexts(menu),
              QStringList({"打开", "快速查看", "在文件管理器中显示", "复制路径", "-", "从列表移除"}));
}

TEST(BinTableInteractions, HeaderClicksSortAndLaterEditsStayPut)
{
    BinViewFixture f;
    f.list({"c.mov", "b.pdf", "a.jpg", "d.txt"});
    const auto names = [&f] {
        QStringList out;
        for (const BinRow& r : f.bin().rows())
            out.append(r.name);
        return out;
    };
    EXPECT_EQ(names(), QStringList({"c.mov", "b.pdf", "a.jpg", "d.txt"}));  // not sorted when first shown
    QHeaderView* header = f.table()->horizontalHeader();
    const int kind = f.model()->columnOf("kind");
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(kind) + 10, header->height() / 2));
    EXPECT_EQ(names(), QStringList({"a.jpg", "b.pdf", "c.mov", "d.txt"}));
    EXPECT_EQ(header->sortIndicatorSection(), kind);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(kind) + 10, header->height() / 2));
    EXPECT_EQ(names(), QStringList({"d.txt", "c.mov", "b.pdf", "a.jpg"}));
    EXPECT_EQ(header->sortIndicatorOrder(), Qt::DescendingOrder);
    f.table()->sortByColumn("name", true);
    f.bin().commitFieldEdit("0.jpg", f.row(3).id, "name");
    EXPECT_EQ(names(), QStringList({"a.jpg", "b.pdf", "c.mov", "d.txt"}));
    EXPECT_EQ(f.data(3, "name").toString(), "0.jpg");
}

}  // namespace
