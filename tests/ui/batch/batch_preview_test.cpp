#include "batch/batch_row_delegate.h"
#include "batch/highlighted_name.h"
#include "batch_fixture.h"
#include "test_support.h"

#include "batch/batch_list_view.h"
#include <QLabel>
#include <QTimer>
#include <gtest/gtest.h>

TEST(HighlightedName, CoversReplacedOrInsertedCharactersOnly)
{
    struct Case {
        const char* oldName;
        const char* newName;
        const char* highlighted;  // "" for none
    } cases[] = {
        {"IMG_0001.JPG", "Trip_0001.JPG", "Trip"},
        {"abc", "abXc", "X"},
        {"aaa", "aaaa", "a"},
        {"abc", "ac", ""},  // a pure deletion
        {"same.txt", "same.txt", ""},
        {"e\u0301.txt", "\u00e9.txt", ""},                               // canonically equal
        {"x\U0001F44D\U0001F3FD.mov", "x\U0001F44D.mov", "\U0001F44D"},  // a whole emoji cluster, never half
        {"clip.mov", "CLIP.mov", "CLIP"},
    };
    for (const Case& c : cases) {
        const HighlightedName h = highlightedName(QString::fromUtf8(c.oldName), QString::fromUtf8(c.newName));
        EXPECT_EQ(h.text, QString::fromUtf8(c.newName));
        EXPECT_EQ(h.text.mid(h.start, h.length), QString::fromUtf8(c.highlighted)) << c.oldName << " -> " << c.newName;
    }
}

TEST(BatchPreview, RowsShowOldAndNewNamesAndWhyAConflictIsSkipped)
{
    BatchFixture f;
    f.list({"IMG_0001.JPG", "IMG_0002.JPG"});
    f.env.makeFile("Trip_IMG_0002.JPG");  // the second file's new name is taken on disk
    f.prefix("Trip_");
    f.view->refreshConflicts();

    EXPECT_EQ(f.rowText(0, BatchListModel::OldNameRole), "IMG_0001.JPG");
    EXPECT_EQ(f.rowText(0, BatchListModel::NewNameRole), "Trip_IMG_0001.JPG");
    EXPECT_TRUE(f.rowText(0, BatchListModel::ConflictRole).isEmpty());
    EXPECT_EQ(f.rowText(0, Qt::ToolTipRole), "IMG_0001.JPG\n→ Trip_IMG_0001.JPG");

    const QString reason = "a file with this name already exists in the folder";
    EXPECT_EQ(f.rowText(1, BatchListModel::ConflictRole), reason);
    EXPECT_EQ(f.rowText(1, Qt::ToolTipRole),
              QString("IMG_0002.JPG\n→ Trip_IMG_0002.JPG\n\u26A0\uFE0E Will be skipped: ") + reason);
    EXPECT_FALSE(f.view->skipWarning()->isHidden());
    EXPECT_TRUE(f.view->skipWarning()->text().endsWith(
        "1 file(s) can't take their new name and will be skipped — hover a red name for why."));

    f.store->setLangZh(true);
    f.view->refreshConflicts();  // reasons are composed in the language of the check
    EXPECT_EQ(f.rowText(1, Qt::ToolTipRole),
              QString("IMG_0002.JPG\n→ Trip_IMG_0002.JPG\n\u26A0\uFE0E 将被跳过:文件夹里已有同名文件"));
    EXPECT_TRUE(
        f.view->skipWarning()->text().endsWith("1 个文件无法使用新名称,应用时会跳过 —— 鼠标停在红色名称上查看原因。"));
}

TEST(BatchPreview, ConflictsFollowARuleChangeOnlyAfterTheBurstSettles)
{
    BatchFixture f;
    f.list({"a.txt", "b.txt"});
    f.env.makeFile("x_a.txt");
    f.view->refreshConflicts();
    f.prefix("x");
    f.prefix("x_");                                                   // a burst of typing
    EXPECT_EQ(f.rowText(0, BatchListModel::NewNameRole), "x_a.txt");  // the preview is live
    EXPECT_TRUE(f.view->conflicts().isEmpty());                       // the check waits
    EXPECT_TRUE(f.view->conflictTimer()->isActive());
    EXPECT_TRUE(QTest::qWaitFor([&] { return !f.view->conflicts().isEmpty(); }, 2000));
    EXPECT_EQ(f.view->conflicts().size(), 1);
    EXPECT_EQ(f.view->changing(), 1);
}

TEST(BatchPreview, RowPartsReactToClicks)
{
    BatchFixture f;
    auto items = f.list({"a.txt", "b.txt"});
    f.store->editItems([](QList<FileItem>& list) { list[1].aiName = "Sunset"; });
    f.store->editSections([](NameSections& s) { s.useAIName = true; });
    f.view->resize(900, 500);
    f.view->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(f.view.get()));
    QTreeView* list = f.view->list();
    EXPECT_FALSE(f.view->model()->index(0).data(BatchListModel::ShowAIRole).toBool());
    ASSERT_TRUE(f.view->model()->index(1).data(BatchListModel::ShowAIRole).toBool());
    EXPECT_EQ(f.rowText(1, BatchListModel::NewNameRole), "Sunset.txt");

    const QRect row1 = list->visualRect(f.view->model()->index(1));
    const QModelIndex second = f.view->model()->index(1);
    const QPoint onCheck = BatchRowDelegate::geometry(row1, true).aiCheck.center();
    EXPECT_EQ(BatchRowDelegate::toolTipAt(row1, second, onCheck), "Apply this file's AI name");
    EXPECT_EQ(BatchRowDelegate::toolTipAt(row1, second, BatchRowDelegate::geometry(row1, true).names.center()),
              "b.txt\n→ Sunset.txt");
    f.store->setLangZh(true);
    EXPECT_EQ(BatchRowDelegate::toolTipAt(row1, second, onCheck), "对此文件应用 AI 名称");
    f.store->setLangZh(false);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, BatchRowDelegate::geometry(row1, true).aiCheck.center());
    EXPECT_FALSE(f.store->items().at(1).useAI);
    EXPECT_EQ(f.rowText(1, BatchListModel::NewNameRole), "b.txt");

    const QRect row0 = list->visualRect(f.view->model()->index(0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, BatchRowDelegate::geometry(row0, false).remove.center());
    ASSERT_EQ(f.store->items().size(), 1);
    EXPECT_EQ(f.store->items().at(0).id, items.at(1).id);
}

TEST(BatchPreview, ACheckOfNamesThatChangedMeanwhileIsNeverShown)
{
    BatchFixture f;
    f.list({"a.txt", "b.txt"});
    f.env.makeFile("x_a.txt");
    f.prefix("x_");
    f.view->startConflictCheck();  // on the worker, for "x_"
    f.prefix("y_");                // typed before it reports
    EXPECT_FALSE(f.view->conflictsCurrent());
    bool staleShown = false;
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            staleShown = staleShown || !f.view->conflicts().isEmpty();
            return f.view->conflictsCurrent();
        },
        5000));
    EXPECT_FALSE(staleShown);
    EXPECT_TRUE(f.view->conflicts().isEmpty());
    EXPECT_EQ(f.view->changing(), 2);

    // Back to "x_": the shown result follows once the check catches up.
    f.prefix("x_");
    ASSERT_TRUE(f.waitForCheck());
    EXPECT_EQ(f.view->conflicts().size(), 1);
    EXPECT_EQ(f.view->changing(), 1);
}

TEST(BatchPreview, SlowNamesArePaintedOverSeveralRoundsNeverHoldingAKeystroke)
{
    BatchFixture f;
    f.list(f.numbered(6));
    f.view->resize(900, 600);
    f.view->show();
    f.prefix("a_");
    f.view->list()->viewport()->repaint();
    BatchListModel* model = f.view->model();
    model->setNameBudget(0);  // as if every name took longer than the budget

    f.prefix("b_");
    const auto painted = [&](int row) {
        model->setPainting(true);
        const QString name = f.rowText(row, BatchListModel::NewNameRole);
        model->setPainting(false);
        return name;
    };
    EXPECT_EQ(painted(0), "b_IMG_0001.JPG");                                 // one name a round at least
    EXPECT_EQ(painted(1), "a_IMG_0002.JPG");                                 // meanwhile the name it had
    EXPECT_EQ(f.rowText(2, BatchListModel::NewNameRole), "b_IMG_0003.JPG");  // not painting: computed
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            for (int row = 0; row < 6; ++row)
                if (painted(row) != QStringLiteral("b_IMG_%1.JPG").arg(row + 1, 4, 10, QChar('0')))
                    return false;
            return true;
        },
        5000));
}
