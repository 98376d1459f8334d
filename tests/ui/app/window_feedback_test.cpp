// The window tells the user what happened and keeps its controls in sight.
#include "../batch/batch_fixture.h"
#include "app/app_shell.h"
#include "shell_fixture.h"

#include <QDBusConnection>
#include <QLabel>
#include <QMenu>
#include <QScrollArea>
#include <QScrollBar>
#include <gtest/gtest.h>

namespace {
QRect inWindow(QWidget* w)
{
    return QRect(w->mapTo(w->window(), QPoint(0, 0)), w->size());
}
}  // namespace

TEST(WindowFeedback, TheDropHintLeavesTheToolbarAndModePickerInSight)
{
    ShellFixture f;
    f.window->resize(1200, 760);
    ASSERT_TRUE(f.showActive());
    for (bool zh : {false, true}) {
        f.store->setLangZh(zh);
        ASSERT_TRUE(ui::dragEnterUrls(f.window.get(), {QUrl::fromLocalFile(f.env.makeFile("a.mov"))}));
        auto* hint = f.window->findChild<QLabel*>("dropLabel");
        ASSERT_TRUE(hint && hint->isVisible());
        for (const char* name : {"languagePicker", "modePicker", "addFiles", "clearFiles"}) {
            QWidget* control = f.window->findChild<QWidget*>(name);
            ASSERT_TRUE(control) << name;
            EXPECT_FALSE(inWindow(hint).intersects(inWindow(control))) << name << (zh ? " (zh)" : "");
        }
        QDragLeaveEvent leave;
        QCoreApplication::sendEvent(f.window.get(), &leave);
    }
}

TEST(WindowFeedback, TheRulesPanelKeepsItsPlaceAcrossModeSwitches)
{
    ShellFixture f;
    f.window->resize(1200, 760);
    ASSERT_TRUE(f.showActive());
    auto bar = [&] {
        auto* area = f.window->modeScreen()->findChild<QScrollArea*>("rulesArea");
        return area ? area->verticalScrollBar() : nullptr;
    };
    ASSERT_TRUE(bar());
    ASSERT_GT(bar()->maximum(), 200);
    bar()->setValue(200);
    f.store->setActiveTab(1);
    EXPECT_FALSE(bar());
    f.store->setActiveTab(0);
    ASSERT_TRUE(bar());
    EXPECT_TRUE(QTest::qWaitFor([&] { return bar()->value() == 200; }, 2000)) << bar()->value();
}

TEST(WindowFeedback, ContactSupportAndShowInFileManagerSayWhenTheyFail)
{
    if (QDBusConnection::sessionBus().isConnected())
        GTEST_SKIP() << "a desktop session could really open a file manager";
    TestEnv env;
    auto store = env.makeStore();
    {
        AppShell shell(*store);
        QAction* contact = ui::menuAction(shell.window()->helpMenu(), "Contact Support…");
        ASSERT_TRUE(contact);
        store->setStatus("before");
        contact->trigger();
        EXPECT_EQ(store->status(), "No mail program could be opened. Write to support@brindlecove.invalid.");
    }

    BatchFixture f;
    auto items = f.list({"a.txt"});
    std::unique_ptr<QMenu> menu(f.view->contextMenuFor({items[0].id}, nullptr));
    f.store->setLangZh(true);
    std::unique_ptr<QMenu> zh(f.view->contextMenuFor({items[0].id}, nullptr));
    ui::menuAction(zh.get(), "在文件管理器中显示")->trigger();
    EXPECT_EQ(f.store->status(), "无法打开文件管理器。");
    f.store->setLangZh(false);
}
