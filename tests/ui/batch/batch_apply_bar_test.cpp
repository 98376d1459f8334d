#include "batch_fixture.h"
#include "files/open_panels.h"
#include "platform/settings.h"

#include "test_support.h"
#include <QFile>

#include "batch/batch_list_view.h"
#include "files/history.h"
#include "files/intake.h"
#include <QLabel>
#include <QPushButton>
#include <gtest/gtest.h>

TEST(BatchApplyBar, EmptyListShowsTheEmptyStateAndADisabledButton)
{
    BatchFixture f;
    EXPECT_EQ(f.view->totalLabel()->text(), "0 file(s)");
    EXPECT_TRUE(f.view->statusLabel()->isHidden());
    EXPECT_EQ(f.view->applyButton()->text(), "Apply Rename");
    EXPECT_FALSE(f.view->applyButton()->isEnabled());
    f.view->show();
    EXPECT_TRUE(f.view->emptyState()->isVisible());
    f.store->setLangZh(true);
    EXPECT_EQ(f.view->totalLabel()->text(), "共 0 个文件");
    EXPECT_EQ(f.view->applyButton()->text(), "应用重命名");
    EXPECT_NE(ui::findByText<QPushButton>(f.view.get(), "用示例文件试一下"), nullptr);
}

TEST(BatchApplyBar, CountsAndTitlesFollowTheChangingNames)
{
    BatchFixture f;
    f.list({"a.txt", "b.txt", "c.txt"});
    f.view->show();
    EXPECT_FALSE(f.view->emptyState()->isVisible());
    // Listing files brings the list into view, which checks at once.
    EXPECT_EQ(f.view->changing(), 0);
    EXPECT_EQ(f.view->totalLabel()->text(), "3 file(s)");
    EXPECT_EQ(f.view->statusLabel()->text(), "No names change yet");
    EXPECT_EQ(f.view->applyButton()->text(), "Apply Rename");
    EXPECT_FALSE(f.view->applyButton()->isEnabled());

    f.prefix("x_");
    f.view->refreshConflicts();
    EXPECT_EQ(f.view->statusLabel()->text(), "3 will be renamed");
    EXPECT_EQ(f.view->applyButton()->text(), "Apply Rename (3)");
    EXPECT_TRUE(f.view->applyButton()->isEnabled());
    f.store->setLangZh(true);
    EXPECT_EQ(f.view->totalLabel()->text(), "共 3 个文件");
    EXPECT_EQ(f.view->statusLabel()->text(), "将重命名 3 个");
    EXPECT_EQ(f.view->applyButton()->text(), "应用重命名(3)");
}

TEST(BatchApplyBar, ScreenBuiltWithFilesListedStartsWithTheCountUnknown)
{
    TestEnv env;
    auto store = env.makeStore();
    store->setItems({FileItem::file(env.makeFile("a.txt"))});
    FakeDialogs dialogs;
    BatchView view(*store, dialogs);
    EXPECT_FALSE(view.changing().has_value());
    EXPECT_EQ(view.applyButton()->text(), "Apply Rename");
    EXPECT_TRUE(view.applyButton()->isEnabled());
    EXPECT_TRUE(view.statusLabel()->isHidden());
    QCoreApplication::processEvents();  // on screen: checked
    ASSERT_TRUE(waitForConflictCheck(view));
    EXPECT_EQ(view.changing(), 0);
    EXPECT_FALSE(view.applyButton()->isEnabled());
}

TEST(BatchLargeRename, NinetyNineFilesNeverAskAHundredDo)
{
    BatchFixture f;
    f.list(f.numbered(99));
    f.prefix("x_");
    f.view->applyAction();
    EXPECT_TRUE(f.dialogs.alerts.isEmpty());

    BatchFixture g;
    g.list(g.numbered(102));
    g.env.makeFile("x_IMG_0001.JPG");
    g.env.makeFile("x_IMG_0002.JPG");
    g.prefix("x_");
    g.dialogs.answerAlert(1);  // Cancel
    g.view->applyAction();
    ASSERT_EQ(g.dialogs.alerts.size(), 1);
    const Dialogs::Alert& a = g.dialogs.alerts.first();
    EXPECT_EQ(a.message, "Rename 100 files?");
    EXPECT_EQ(a.informative,
              "2 file(s) will be skipped (shown in red). You can undo this with Ctrl+Z, even after quitting.");
    EXPECT_EQ(a.buttons, (QStringList{"Rename", "Cancel"}));
    EXPECT_EQ(a.defaultButton, 0);
    EXPECT_EQ(a.suppressionText, "Don't ask again");
    EXPECT_TRUE(QFile::exists(g.env.path("IMG_0003.JPG")));  // Cancel renames nothing

    g.store->setLangZh(true);
    g.dialogs.answerAlert(1);
    g.view->applyAction();
    ASSERT_EQ(g.dialogs.alerts.size(), 2);
    EXPECT_EQ(g.dialogs.alerts[1].message, "要重命名 100 个文件吗?");
    EXPECT_EQ(g.dialogs.alerts[1].informative, "2 个文件会被跳过(红色显示)。可以用 Ctrl+Z 撤销,退出 app 后也可以。");
    EXPECT_EQ(g.dialogs.alerts[1].buttons, (QStringList{"重命名", "取消"}));
    EXPECT_EQ(g.dialogs.alerts[1].suppressionText, "不再询问");
}

TEST(BatchLargeRename, DontAskAgainCountsOnlyWithRename)
{
    BatchFixture f;
    f.list(f.numbered(100));
    f.prefix("x_");
    f.view->refreshConflicts();
    f.dialogs.answerAlert(1, /*suppressed=*/true);  // Cancel with the box ticked
    EXPECT_FALSE(f.view->confirmLargeRename());
    EXPECT_FALSE(f.env.settings->contains("skipLargeRenameConfirm"));
    f.dialogs.answerAlert(-1, true);  // Escape
    EXPECT_FALSE(f.view->confirmLargeRename());
    f.dialogs.answerAlert(0, true);  // Rename with the box ticked
    EXPECT_TRUE(f.view->confirmLargeRename());
    EXPECT_EQ(f.env.settings->boolValue("skipLargeRenameConfirm"), true);
    EXPECT_TRUE(f.view->confirmLargeRename());
    EXPECT_EQ(f.dialogs.alerts.size(), 3);  // the last call asked nothing
}

TEST(BatchApplyBar, CtrlReturnAppliesOnlyWhileTheButtonIsEnabled)
{
    BatchFixture f;
    f.list(f.numbered(100));
    f.view->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(f.view.get()));
    f.view->list()->setFocus();
    ui::key(f.view->list(), Qt::Key_Return, Qt::ControlModifier);
    EXPECT_TRUE(f.dialogs.alerts.isEmpty());  // nothing changes: the button is disabled
    f.prefix("x_");
    f.view->refreshConflicts();
    ui::key(f.view->list(), Qt::Key_Return, Qt::ControlModifier);
    EXPECT_EQ(f.dialogs.alerts.size(), 1);
}

TEST(BatchApply, ApplyRenamesOnDiskSkipsConflictsAndUndoBringsNamesBack)
{
    BatchFixture f;
    auto items = f.list({"a.txt", "b.txt", "c.txt"});
    f.env.makeFile("x_c.txt", "taken");
    f.view->show();
    f.prefix("x_");
    // The button follows the check that runs once the typing settles.
    EXPECT_FALSE(f.view->applyButton()->isEnabled());
    ASSERT_TRUE(QTest::qWaitFor([&] { return f.view->applyButton()->isEnabled(); }, 2000));
    ui::click(f.view->applyButton());
    EXPECT_TRUE(f.dialogs.alerts.isEmpty());
    EXPECT_TRUE(QFile::exists(f.env.path("x_a.txt")));
    EXPECT_TRUE(QFile::exists(f.env.path("x_b.txt")));
    EXPECT_FALSE(QFile::exists(f.env.path("a.txt")));
    EXPECT_TRUE(QFile::exists(f.env.path("c.txt")));  // its name is taken: skipped, nothing overwritten
    QFile taken(f.env.path("x_c.txt"));
    ASSERT_TRUE(taken.open(QIODevice::ReadOnly));
    EXPECT_EQ(taken.readAll(), "taken");
    // The rows describe the renamed files at once.
    EXPECT_EQ(f.rowText(0, BatchListModel::OldNameRole), "x_a.txt");
    EXPECT_EQ(f.rowText(0, BatchListModel::NewNameRole), "x_x_a.txt");
    EXPECT_EQ(f.view->changing(), 2);  // c.txt still can't take x_c.txt

    f.store->history().undoLast();
    EXPECT_TRUE(QFile::exists(f.env.path("a.txt")));
    EXPECT_TRUE(QFile::exists(f.env.path("b.txt")));
    EXPECT_FALSE(QFile::exists(f.env.path("x_a.txt")));
    EXPECT_EQ(f.rowText(0, BatchListModel::OldNameRole), "a.txt");
}

TEST(BatchApply, NamesThatDifferOnlyInCaseAreSeparateFilesHere)
{
    // On a case-sensitive file system "a.txt" upper-cased meets "A.txt", another file, whether
    // that one is listed too or not.
    for (const bool upperListed : {true, false}) {
        SCOPED_TRACE(upperListed ? "A.txt listed" : "A.txt only on disk");
        BatchFixture f;
        f.env.makeFile("A.txt", "upper");
        f.list({"a.txt", "b.txt"});
        if (upperListed)
            f.store->editItems([&](QList<FileItem>& list) { list.append(FileItem::file(f.env.path("A.txt"))); });
        f.store->editRules([](RuleSettings& r) { r.caseMode = CaseMode::upper; });
        f.view->refreshConflicts();
        ASSERT_EQ(f.view->conflicts().size(), 1);
        EXPECT_EQ(f.view->conflicts().begin().key(), f.store->items().at(0).id);
        EXPECT_EQ(f.view->changing(), 1);  // only b.txt
        EXPECT_EQ(f.view->applyButton()->text(), "Apply Rename (1)");

        ui::click(f.view->applyButton());
        EXPECT_TRUE(QFile::exists(f.env.path("a.txt")));
        EXPECT_TRUE(QFile::exists(f.env.path("B.txt")));
        QFile upper(f.env.path("A.txt"));
        ASSERT_TRUE(upper.open(QIODevice::ReadOnly));
        EXPECT_EQ(upper.readAll(), "upper");
    }
}

TEST(BatchApply, ConfirmedLargeBatchIsRenamedAndSelectedScopeOnlyTouchesTheSelection)
{
    BatchFixture f;
    auto items = f.list(f.numbered(100));
    f.prefix("x_");
    f.dialogs.answerAlert(0);  // Rename
    f.view->applyAction();
    EXPECT_EQ(f.dialogs.alerts.size(), 1);
    EXPECT_TRUE(QFile::exists(f.env.path("x_IMG_0100.JPG")));
    EXPECT_FALSE(QFile::exists(f.env.path("IMG_0001.JPG")));

    BatchFixture g;
    auto few = g.list({"a.txt", "b.txt"});
    g.prefix("y_");
    g.store->editSections([](NameSections& s) { s.scopeAllFiles = false; });
    g.view->setSelection({few[1].id});
    g.view->applyAction();
    EXPECT_TRUE(QFile::exists(g.env.path("a.txt")));
    EXPECT_TRUE(QFile::exists(g.env.path("y_b.txt")));
}

namespace {
struct ScriptedPanels : OpenPanels {
    QStringList files;
    int asked = 0;
    QStringList chooseFiles() override
    {
        ++asked;
        return files;
    }
    QStringList chooseFolders(const QString&) override { return {}; }
};
}  // namespace

TEST(BatchEmptyState, DoubleClickOpensTheFilePanelAndSamplesFillTheList)
{
    BatchFixture f;
    auto panels = std::make_shared<ScriptedPanels>();
    panels->files = {f.env.makeFile("picked.mov")};
    f.store->intake().setOpenPanels(panels);
    f.view->show();
    QTest::mouseDClick(f.view->emptyState(), Qt::LeftButton);
    EXPECT_EQ(panels->asked, 1);
    ASSERT_EQ(f.store->items().size(), 1);
    EXPECT_FALSE(f.view->emptyState()->isVisible());

    f.store->setItems({});
    EXPECT_TRUE(f.view->emptyState()->isVisible());
    const QByteArray oldTmp = qgetenv("TMPDIR");
    qputenv("TMPDIR", f.env.path().toUtf8());  // the samples' folder lands in the test's own
    ui::click(f.view->sampleButton());
    qputenv("TMPDIR", oldTmp);
    EXPECT_EQ(f.store->items().size(), 6);
}
