// The list's selection, apply bar and row names stay true to what is listed.
#include "batch/batch_list_view.h"
#include "batch/batch_row_delegate.h"
#include "batch_fixture.h"
#include "common/segmented_control.h"
#include "files/list_operations.h"

#include <QAccessible>
#include <QContextMenuEvent>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {
QPoint rowCentre(BatchFixture& f, int row)
{
    return f.view->list()->visualRect(f.view->model()->index(row)).center();
}

// A right click the way the window system gives it: the press, then the context-menu request.
QMenu* rightClick(BatchFixture& f, int row)
{
    QWidget* viewport = f.view->list()->viewport();
    const QPoint pos = rowCentre(f, row);
    QTest::mousePress(viewport, Qt::RightButton, {}, pos);
    QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, pos, viewport->mapToGlobal(pos));
    QCoreApplication::sendEvent(viewport, &menuEvent);
    QTest::mouseRelease(viewport, Qt::RightButton, {}, pos);
    return qobject_cast<QMenu*>(QApplication::activePopupWidget());
}

QSet<QUuid> shownSelection(BatchFixture& f)
{
    QSet<QUuid> ids;
    for (const QModelIndex& i : f.view->list()->selectionModel()->selectedRows())
        ids.insert(i.data(BatchListModel::ItemIdRole).toUuid());
    return ids;
}

struct ShownList : BatchFixture {
    QList<FileItem> items;
    ShownList()
    {
        view->resize(1100, 600);
        view->show();
        items = list({"a.txt", "b.txt", "c.txt"});
        prefix("x_");
        ui::click(view->scopePicker()->segment(1));  // "Selected files"
        view->setSelection({items[0].id, items[1].id});
    }
};
}  // namespace

TEST(BatchListState, ARightClickActsOnTheClickedRowAndKeepsTheSelection)
{
    ShownList f;
    QMenu* menu = rightClick(f, 2);
    ASSERT_TRUE(menu);
    EXPECT_EQ(f.view->selection(), (QSet<QUuid>{f.items[0].id, f.items[1].id}));
    EXPECT_EQ(shownSelection(f), f.view->selection());
    ui::menuAction(menu, "Remove from List")->trigger();
    menu->close();
    EXPECT_EQ(f.store->items().size(), 2);
    EXPECT_EQ(f.store->items().last().name, "b.txt");  // the clicked row went, the selection stayed
    EXPECT_EQ(f.view->scopeNote()->text(), "2 selected");

    f.view->applyAction();
    EXPECT_TRUE(QFile::exists(f.env.path("x_a.txt")));
    EXPECT_TRUE(QFile::exists(f.env.path("x_b.txt")));
    EXPECT_TRUE(QFile::exists(f.env.path("c.txt")));
}

TEST(BatchListState, RemovingSelectedRowsTakesThemOutOfTheSelection)
{
    ShownList f;
    QMenu* menu = rightClick(f, 0);  // a selected row: the menu acts on the whole selection
    ASSERT_TRUE(menu);
    ui::menuAction(menu, "Remove from List")->trigger();
    menu->close();
    EXPECT_EQ(f.store->items().size(), 1);
    EXPECT_TRUE(f.view->selection().isEmpty());
    EXPECT_EQ(f.view->scopeNote()->text(), "none selected");

    f.list({"d.txt", "e.txt"});
    f.view->setSelection({f.store->items()[0].id, f.store->items()[1].id});
    const QRect remove =
        BatchRowDelegate::geometry(f.view->list()->visualRect(f.view->model()->index(0)), false).remove;
    QTest::mouseClick(f.view->list()->viewport(), Qt::LeftButton, {}, remove.center());
    ASSERT_EQ(f.store->items().size(), 1);
    EXPECT_EQ(f.view->selection(), QSet<QUuid>{f.store->items()[0].id});
    EXPECT_EQ(f.view->scopeNote()->text(), "1 selected");
}

TEST(BatchListState, ClearLeavesNoCountOfTheOldList)
{
    ShownList f;
    ui::click(f.view->scopePicker()->segment(0));  // all files
    f.view->refreshConflicts();
    EXPECT_EQ(f.view->applyButton()->text(), "Apply Rename (3)");
    f.store->list().clearFiles();
    EXPECT_EQ(f.view->totalLabel()->text(), "0 file(s)");
    EXPECT_EQ(f.view->applyButton()->text(), "Apply Rename");
    EXPECT_FALSE(f.view->applyButton()->isEnabled());
    EXPECT_TRUE(f.view->selection().isEmpty());
}

TEST(BatchListState, PaintedRowControlsAreNamedForScreenReaders)
{
    BatchFixture f;
    f.view->resize(1100, 600);
    f.view->show();
    f.env.makeFile("x_a.txt");  // a.txt can't take its new name
    f.list({"a.txt", "b.txt"});
    f.prefix("x_");
    f.view->refreshConflicts();
    QAccessibleInterface* list = QAccessible::queryAccessibleInterface(f.view->list());
    ASSERT_TRUE(list && list->tableInterface());
    auto described = [&](int row) {
        QAccessibleInterface* cell = list->tableInterface()->cellAt(row, 0);
        return cell ? cell->text(QAccessible::Description) : QString();
    };
    EXPECT_EQ(described(0), "Won't be renamed\nRemove from list");
    EXPECT_EQ(described(1), "Remove from list");
    f.store->setLangZh(true);
    EXPECT_EQ(described(0), "不会被重命名\n从列表移除");
    f.store->setLangZh(false);
}
