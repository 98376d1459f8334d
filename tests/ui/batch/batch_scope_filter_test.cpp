#include "batch/batch_row_delegate.h"
#include "batch_fixture.h"
#include "common/quick_look.h"
#include "common/segmented_control.h"
#include "test_support.h"

#include "batch/batch_list_view.h"
#include "files/list_operations.h"
#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {
QList<int> shownIndices(const BatchView& v)
{
    QList<int> out;
    for (const auto& [index, item] : v.visibleItems())
        out << index;
    return out;
}
}  // namespace

TEST(BatchScope, SelectedFilesScopeRenamesOnlyTheSelectionAndSaysHowMany)
{
    BatchFixture f;
    auto items = f.list({"a.txt", "b.txt", "c.txt"});
    f.prefix("x_");
    ui::click(f.view->scopePicker()->segment(1));  // "Selected files"
    EXPECT_FALSE(f.store->sections().scopeAllFiles);
    EXPECT_FALSE(f.view->scopeNote()->isHidden());
    EXPECT_EQ(f.view->scopeNote()->text(), "none selected");
    EXPECT_EQ(f.rowText(0, BatchListModel::NewNameRole), "a.txt");

    f.view->setSelection({items[0].id, items[2].id});
    EXPECT_EQ(f.view->list()->selectionModel()->selectedRows().size(), 2);
    EXPECT_EQ(f.view->scopeNote()->text(), "2 selected");
    EXPECT_EQ(f.rowText(0, BatchListModel::NewNameRole), "x_a.txt");
    EXPECT_EQ(f.rowText(1, BatchListModel::NewNameRole), "b.txt");
    ASSERT_TRUE(f.waitForCheck());  // a selection change re-checks at once, on the worker
    EXPECT_EQ(f.view->changing(), 2);
    f.store->setLangZh(true);
    EXPECT_EQ(f.view->scopeNote()->text(), "已选 2 个");

    ui::click(f.view->scopePicker()->segment(0));
    EXPECT_TRUE(f.view->scopeNote()->isHidden());
    EXPECT_EQ(f.rowText(1, BatchListModel::NewNameRole), "x_b.txt");
}

TEST(BatchFilter, BarAppearsAtNineFilesAndFilterKeepsWholeListNumbers)
{
    BatchFixture f;
    f.list(f.numbered(8));
    EXPECT_TRUE(f.view->filterBar()->isHidden());
    f.list(f.numbered(12));
    EXPECT_FALSE(f.view->filterBar()->isHidden());
    EXPECT_TRUE(f.view->filterCount()->isHidden());

    f.view->filterField()->setText("00");  // every name matches: no count change
    f.view->filterField()->setText("_0003");
    EXPECT_EQ(shownIndices(*f.view), QList<int>({2}));
    f.view->filterField()->setText("1");  // 0001, 0010, 0011, 0012
    EXPECT_EQ(shownIndices(*f.view), QList<int>({0, 9, 10, 11}));
    EXPECT_EQ(f.view->model()->index(1).data(BatchListModel::StoreIndexRole).toInt() + 1, 10);
    EXPECT_EQ(f.view->filterCount()->text(), "4 of 12");
    EXPECT_FALSE(f.view->list()->dragEnabled());

    // The new name counts too, compared without regard to case.
    f.prefix("Trip_");
    f.view->filterField()->setText("trip_img_0012");
    EXPECT_EQ(shownIndices(*f.view), QList<int>({11}));

    f.store->setLangZh(true);
    EXPECT_EQ(f.view->filterCount()->text(), "1 / 12");

    // Blanks filter too; removing files below nine hides the bar but keeps the filter.
    f.view->filterField()->setText(" ");
    EXPECT_TRUE(f.view->isFiltering());
    EXPECT_TRUE(shownIndices(*f.view).isEmpty());
    f.list(f.numbered(5));
    EXPECT_TRUE(f.view->filterBar()->isHidden());
    EXPECT_TRUE(f.view->isFiltering());
    EXPECT_EQ(f.view->model()->rowCount(), 0);
    EXPECT_FALSE(f.view->list()->dragEnabled());
}

TEST(BatchFilter, ChangedOnlyListsFilesWhoseNameChangesEvenInLetterCaseOnly)
{
    BatchFixture f;
    auto names = f.numbered(9, "clip%1.mov");
    names[4] = "CLIP0005.mov";
    f.list(names);
    f.store->editRules([](RuleSettings& r) { r.caseMode = CaseMode::upper; });
    f.view->changedOnlyBox()->setChecked(true);
    QList<int> expected{0, 1, 2, 3, 5, 6, 7, 8};
    EXPECT_EQ(shownIndices(*f.view), expected);
    EXPECT_EQ(f.view->filterCount()->text(), "8 of 9");
    f.store->editRules([](RuleSettings& r) { r.caseMode = CaseMode::none; });  // the list follows the rules
    EXPECT_TRUE(shownIndices(*f.view).isEmpty());
}

TEST(BatchList, CopyNewNamesAndTheContextMenu)
{
    BatchFixture f;
    auto items = f.list({"a.txt", "b.txt", "c.txt"});
    f.prefix("new_");
    QClipboard* clip = QGuiApplication::clipboard();

    f.view->copyNewNames({items[1]});
    EXPECT_EQ(clip->text(), "new_b.txt");
    FileItem gone = FileItem::file(f.env.path("gone.txt"));
    f.view->copyNewNames({items[2], gone, items[0]});
    EXPECT_EQ(clip->text(), "new_c.txt\nnew_a.txt");
    f.view->copyNewNames({gone});
    EXPECT_EQ(clip->text(), "");

    std::unique_ptr<QMenu> none(f.view->contextMenuFor({}, nullptr));
    EXPECT_TRUE(none->actions().isEmpty());
    std::unique_ptr<QMenu> one(f.view->contextMenuFor({items[0].id}, nullptr));
    EXPECT_EQ(ui::menuTexts(one.get()),
              (QStringList{"Show in File Manager", "Quick Look", "Copy New Name", "-", "Remove from List"}));
    f.store->setLangZh(true);
    std::unique_ptr<QMenu> two(f.view->contextMenuFor({items[0].id, items[2].id}, nullptr));
    EXPECT_EQ(ui::menuTexts(two.get()),
              (QStringList{"在文件管理器中显示", "快速查看", "拷贝新名称", "-", "从列表移除"}));
    ui::menuAction(two.get(), "拷贝新名称")->trigger();
    EXPECT_EQ(clip->text(), "new_a.txt\nnew_c.txt");
    f.view->setSelection({items[1].id});
    ui::menuAction(two.get(), "从列表移除")->trigger();
    ASSERT_EQ(f.store->items().size(), 1);
    EXPECT_EQ(f.store->items().at(0).id, items[1].id);
    EXPECT_EQ(f.view->selection(), QSet<QUuid>{items[1].id});  // the menu leaves the selection alone
}

TEST(BatchList, DeleteKeysRemoveTheSelectionAndAreAlwaysConsumed)
{
    BatchFixture f;
    auto items = f.list({"a.txt", "b.txt", "c.txt"});
    ui::key(f.view->list(), Qt::Key_Backspace);
    EXPECT_EQ(f.store->items().size(), 3);
    f.view->setSelection({items[0].id, items[1].id});
    ui::key(f.view->list(), Qt::Key_Delete);
    ASSERT_EQ(f.store->items().size(), 1);
    EXPECT_EQ(f.store->items().at(0).id, items[2].id);
    EXPECT_TRUE(f.view->selection().isEmpty());
}

TEST(BatchList, AClickSelectsWhatIsShownSoDeleteNeverTakesHiddenFiles)
{
    BatchFixture f;
    auto items = f.list(f.numbered(9));
    f.view->resize(900, 600);
    f.view->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(f.view.get()));
    QTreeView* list = f.view->list();
    f.view->setSelection({items[0].id});
    f.view->filterField()->setText("0009");  // IMG_0001 is selected but no longer shown
    ASSERT_EQ(f.view->model()->rowCount(), 1);
    const QRect row = list->visualRect(f.view->model()->index(0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, BatchRowDelegate::geometry(row, false).names.center());
    EXPECT_EQ(f.view->selection(), QSet<QUuid>{items[8].id});

    ui::key(list, Qt::Key_Delete);
    ASSERT_EQ(f.store->items().size(), 8);
    EXPECT_EQ(f.store->items().at(0).id, items[0].id);

    // Removing a row by other means leaves the rest of the selection as it was, and the note
    // counts only what is still listed.
    f.view->filterField()->clear();
    f.store->editSections([](NameSections& s) { s.scopeAllFiles = false; });
    f.view->setSelection({items[1].id, items[2].id});
    f.store->list().removeItem(items[1].id);
    EXPECT_EQ(f.view->selection(), QSet<QUuid>{items[2].id});
    EXPECT_EQ(f.view->scopeNote()->text(), "1 selected");
}

TEST(BatchList, MovingRowsKeepsTheirOrderAndLandsBeforeTheDestination)
{
    BatchFixture f;
    auto items = f.list({"a", "b", "c", "d", "e"});
    auto order = [&] {
        QString s;
        for (const FileItem& i : f.store->items())
            s += i.name;
        return s;
    };
    f.view->moveItems({0, 2}, 4);
    EXPECT_EQ(order(), "bdace");
    f.view->moveItems({4}, 0);
    EXPECT_EQ(order(), "ebdac");
    f.view->moveItems({0}, 5);
    EXPECT_EQ(order(), "bdace");

    // A drop through the model asks for the same move, after the drag has finished.
    std::unique_ptr<QMimeData> mime(f.view->model()->mimeData({f.view->model()->index(1)}));
    EXPECT_FALSE(f.view->model()->dropMimeData(mime.get(), Qt::MoveAction, 0, 0, {}));
    QCoreApplication::processEvents();
    EXPECT_EQ(order(), "dbace");
    // Rows numbers are the new places.
    EXPECT_EQ(f.rowText(0, BatchListModel::OldNameRole), "d");
}

TEST(BatchList, RenameFoldersAndWrapNamesFollowTheStore)
{
    BatchFixture f;
    f.list({"a.txt"});
    ui::click(f.view->wrapNamesBox());
    EXPECT_FALSE(f.store->prefs().wrapNames);
    EXPECT_TRUE(f.view->list()->uniformRowHeights());
    f.store->setWrapNames(true);
    EXPECT_TRUE(f.view->wrapNamesBox()->isChecked());
    EXPECT_FALSE(f.view->list()->uniformRowHeights());
    ui::click(f.view->renameFoldersBox());
    EXPECT_TRUE(f.store->sections().renameFolders);
}

TEST(BatchList, QuickLookPreviewsTheChosenFilesInListOrder)
{
    BatchFixture f;
    auto items = f.list({"a.txt", "b.txt", "c.txt"});
    QuickLook& ql = QuickLook::shared();
    f.view->quickLookSelection({items[2].id, items[0].id});
    EXPECT_EQ(ql.urls(), (QStringList{items[0].url, items[2].url}));
    EXPECT_TRUE(ql.isVisible());
    ql.close();
    f.view->quickLookSelection({});
    EXPECT_TRUE(ql.urls().isEmpty());
    EXPECT_FALSE(ql.isVisible());
}
