#include "app/bottom_bar.h"
#include "files/history.h"
#include "shell_fixture.h"
#include "test_support.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {
struct BarFixture {
    TestEnv env;
    std::unique_ptr<Store> store = std::make_unique<Store>(env.services());
    FakeDialogs dialogs;
    AppHooks hooks;
    std::unique_ptr<MainWindow> window = std::make_unique<MainWindow>(*store, dialogs, hooks);
    BottomBar* bar() const { return window->bottomBar(); }
    QToolButton* button(const char* name) const { return window->findChild<QToolButton*>(name); }

    // A file renamed on disk from `from` to `to`, recorded as one batch.
    void renamed(const QString& from, const QString& to)
    {
        const QString a = env.makeFile(from), b = env.path(to);
        ASSERT_TRUE(QFile::rename(a, b));
        store->history().record({Move{a, b}});
    }
};
}  // namespace

TEST(BottomBar, FeatureSwitchesWriteTheirSettingsAndSurviveARestart)
{
    BarFixture f;
    f.window->show();
    QMenu* menu = f.bar()->featuresMenu();
    EXPECT_EQ(ui::menuTexts(menu), (QStringList{"Feature switches", "Media Drive mode (Avid Source Browser)",
                                                "Show “Restore all to original”"}));
    EXPECT_FALSE(menu->actions()[0]->isEnabled());
    ui::menuAction(menu, "Media Drive mode (Avid Source Browser)")->trigger();
    ui::menuAction(menu, "Show “Restore all to original”")->trigger();
    EXPECT_EQ(f.env.settings->value("mediaDriveMode"), QVariant(true));
    EXPECT_EQ(f.env.settings->value("showRestoreAll"), QVariant(false));
    EXPECT_FALSE(f.button("restoreAll")->isVisible());

    auto restarted = f.env.makeStore();
    EXPECT_TRUE(restarted->prefs().mediaDriveMode);
    EXPECT_FALSE(restarted->prefs().showRestoreAll);
    FakeDialogs d;
    AppHooks h;
    MainWindow again(*restarted, d, h);
    QMenu* m = again.bottomBar()->featuresMenu();
    EXPECT_TRUE(ui::menuAction(m, "Media Drive mode (Avid Source Browser)")->isChecked());
    EXPECT_FALSE(ui::menuAction(m, "Show “Restore all to original”")->isChecked());

    f.store->setLangZh(true);
    EXPECT_EQ(ui::menuTexts(menu),
              (QStringList{"功能开关", "Media Drive 模式(Avid 源浏览器)", "显示「全部还原原始名称」"}));
}

TEST(BottomBar, EmptyHistoryDisablesUndoAndSaysSo)
{
    BarFixture f;
    f.window->show();
    EXPECT_FALSE(f.bar()->undoAction()->isEnabled());
    EXPECT_FALSE(f.button("restoreAll")->isEnabled());
    EXPECT_EQ(ui::menuTexts(f.bar()->historyMenu()), (QStringList{"Rename Log…", "-", "No history"}));
    f.store->setLangZh(true);
    EXPECT_EQ(ui::menuTexts(f.bar()->historyMenu()), (QStringList{"改名记录…", "-", "无历史"}));
    EXPECT_EQ(f.button("undoButton")->text(), "撤销");
}

TEST(BottomBar, BatchesEnableUndoAndListTheHistoryNewestFirst)
{
    BarFixture f;
    f.window->show();
    f.renamed("a.mov", "a1.mov");
    f.renamed("b.mov", "b1.mov");
    EXPECT_TRUE(f.bar()->undoAction()->isEnabled());
    EXPECT_TRUE(f.button("restoreAll")->isEnabled());
    QStringList expected{"Rename Log…", "-", "Restore ALL to original names", "-", "Undo back to…"};
    expected += f.store->history().historySummaries();
    EXPECT_EQ(ui::menuTexts(f.bar()->historyMenu()), expected);

    f.store->setShowRestoreAll(false);
    EXPECT_FALSE(ui::menuTexts(f.bar()->historyMenu()).contains("Restore ALL to original names"));
    EXPECT_FALSE(f.button("restoreAll")->isVisible());

    // The Metadata, Smart Rename and Email modes have no undo controls and no Ctrl+Z of the bar.
    for (int tab : {2, 3, 4}) {
        f.store->setActiveTab(tab);
        EXPECT_FALSE(f.window->findChild<QWidget*>("undoGroup")->isVisible());
        EXPECT_FALSE(f.bar()->undoAction()->isEnabled());
    }
    f.store->setActiveTab(1);
    EXPECT_TRUE(f.window->findChild<QWidget*>("undoGroup")->isVisible());
}

TEST(BottomBar, ChoosingAnEntryUndoesBackToItAndCtrlZInATextFieldStaysThere)
{
    BarFixture f;
    f.window->show();
    f.renamed("a.mov", "a1.mov");
    f.renamed("b.mov", "b1.mov");
    f.renamed("c.mov", "c1.mov");
    if (f.store->history().historySummaries().isEmpty())
        GTEST_SKIP() << "undo history not linked into this build";

    auto* edit = new QLineEdit(f.window->modeScreen());
    edit->show();
    QApplication::setActiveWindow(f.window.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(f.window.get()));
    edit->setFocus();
    ui::typeText(edit, "x");
    QTest::keyClick(edit, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(edit->text(), "");
    EXPECT_EQ(f.store->historyState().undoStack.size(), 3);

    QMenu* menu = f.bar()->historyMenu();
    ui::menuAction(menu, f.store->history().historySummaries().at(2))->trigger();
    EXPECT_TRUE(f.store->historyState().undoStack.isEmpty());
    EXPECT_TRUE(QFile::exists(f.env.path("a.mov")));
    EXPECT_TRUE(QFile::exists(f.env.path("c.mov")));
    EXPECT_EQ(ui::menuTexts(f.bar()->historyMenu()).last(), "No history");
}

TEST(BottomBar, ALongStatusIsShownInFull)
{
    BarFixture f;
    f.window->resize(900, 600);
    f.window->show();
    QCoreApplication::processEvents();
    auto* status = f.bar()->findChild<QLabel*>("statusLine");
    const int oneLine = status->height();
    QString text = "Skipped: ";
    for (int i = 0; i < 12; ++i)
        text += QString("\"A001_C%1_20240315_Take_%1_a_very_long_clip_name.mov\" ").arg(i);
    f.store->setStatus(text);
    QCoreApplication::processEvents();
    EXPECT_EQ(status->text(), text);
    EXPECT_GT(status->height(), oneLine * 2);
}
