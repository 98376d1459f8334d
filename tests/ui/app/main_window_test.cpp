#include "app/bottom_bar.h"
#include "app/mode_screens.h"
#include "common/segmented_control.h"
#include "email/email_view.h"
#include "shell_fixture.h"
#include "test_support.h"

#include <QDir>
#include <QLabel>
#include <QMenuBar>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {
QStringList menuTitles(QMainWindow* w)
{
    QStringList out;
    for (QAction* a : w->menuBar()->actions())
        out << a->text();
    return out;
}
}  // namespace

TEST(MainWindow, MenusAndModesReadInBothLanguages)
{
    ShellFixture f;
    EXPECT_EQ(f.window->windowTitle(), "Brindlecove");
    EXPECT_EQ(menuTitles(f.window.get()), (QStringList{"File", "Go", "Help"}));
    EXPECT_EQ(ui::menuTexts(f.window->fileMenu()), (QStringList{"Add Files…", "Add Folder…", "-", "Quit"}));
    EXPECT_EQ(ui::menuTexts(f.window->goMenu()),
              (QStringList{"Batch Rules", "One by One", "Metadata", "Smart Rename", "Email"}));
    EXPECT_EQ(ui::menuTexts(f.window->helpMenu()),
              (QStringList{"Brindlecove Help", "Contact Support…", "-", "About Brindlecove", "Check for Updates…"}));
    // Nothing can check for updates yet: the item stays visible but disabled.
    EXPECT_FALSE(ui::menuAction(f.window->helpMenu(), "Check for Updates…")->isEnabled());
    EXPECT_EQ(ui::menuAction(f.window->fileMenu(), "Add Files…")->shortcut(), QKeySequence("Ctrl+O"));
    EXPECT_EQ(ui::menuAction(f.window->fileMenu(), "Add Folder…")->shortcut(), QKeySequence("Ctrl+Shift+O"));

    f.store->setLangZh(true);
    EXPECT_EQ(menuTitles(f.window.get()), (QStringList{"文件", "前往", "帮助"}));
    EXPECT_EQ(ui::menuTexts(f.window->fileMenu()), (QStringList{"添加文件…", "添加文件夹…", "-", "退出"}));
    EXPECT_EQ(ui::menuTexts(f.window->goMenu()), (QStringList{"批量规则", "逐个重命名", "元数据", "智能改名", "邮件"}));
    EXPECT_EQ(ui::menuTexts(f.window->helpMenu()),
              (QStringList{"Brindlecove 帮助", "联系支持…", "-", "关于 Brindlecove", "检查更新…"}));
    QStringList segments;
    for (int i = 0; i < f.window->modePicker()->count(); ++i)
        segments << f.window->modePicker()->segment(i)->text();
    EXPECT_EQ(segments, (QStringList{"批量规则", "逐个重命名", "元数据", "智能改名", "邮件"}));
    EXPECT_EQ(f.window->windowTitle(), "Brindlecove");
}

TEST(MainWindow, CtrlDigitsSwitchTheFiveModes)
{
    ShellFixture f;
    ASSERT_TRUE(f.showActive());
    for (int i = 5; i >= 1; --i) {
        QTest::keyClick(f.window.get(), Qt::Key(Qt::Key_0 + i), Qt::ControlModifier);
        EXPECT_EQ(f.store->prefs().activeTab, i - 1);
        EXPECT_EQ(f.window->modePicker()->currentTag(), i - 1);
        EXPECT_EQ(f.window->modeScreen()->objectName(), QString("modeScreen%1").arg(i - 1));
    }
}

TEST(MainWindow, ModePickerRebuildsTheScreenAndShowsEmailOutOfRange)
{
    ShellFixture f;
    f.window->show();
    ui::click(f.window->modePicker()->segment(2));
    EXPECT_EQ(f.store->prefs().activeTab, 2);
    QPointer<QWidget> metadata = f.window->modeScreen();
    ui::click(f.window->modePicker()->segment(0));
    EXPECT_TRUE(metadata.isNull());  // the screen left behind is discarded with its state
    f.store->setActiveTab(9);
    EXPECT_EQ(f.window->modePicker()->currentTag(), -1);
    EXPECT_EQ(f.window->modeScreen()->objectName(), "modeScreen4");
    EXPECT_TRUE(qobject_cast<EmailView*>(f.window->modeScreen()));
}

TEST(MainWindow, DroppedFilesAndFoldersJoinTheList)
{
    ShellFixture f;
    f.window->show();
    const QString file = f.env.makeFile("in/A001.mov");
    f.env.makeFile("card/B001.mov");
    const QString folder = QDir::cleanPath(f.env.path("card"));

    EXPECT_FALSE(ui::dragEnterUrls(f.window.get(), {QUrl("https://example.invalid/x")}));
    EXPECT_FALSE(f.window->isDropTargeted());
    EXPECT_TRUE(ui::dragEnterUrls(f.window.get(), {QUrl::fromLocalFile(file)}));
    EXPECT_TRUE(f.window->isDropTargeted());
    auto* label = f.window->findChild<QLabel*>("dropLabel");
    EXPECT_TRUE(label->isVisible());
    EXPECT_EQ(label->text(), "Drop to add files");
    QDragLeaveEvent leave;
    QCoreApplication::sendEvent(f.window.get(), &leave);
    EXPECT_FALSE(label->isVisible());
    EXPECT_TRUE(f.store->items().isEmpty());

    EXPECT_TRUE(ui::dropUrls(f.window.get(), {QUrl::fromLocalFile(file), QUrl::fromLocalFile(folder)}));
    EXPECT_FALSE(f.window->isDropTargeted());
    EXPECT_TRUE(f.store->items().isEmpty());  // accepted before anything is added
    auto listed = [&](const QString& path) {
        for (const FileItem& it : f.store->items())
            if (it.url == path || it.fromFolder == path)
                return true;
        return false;
    };
    QTRY_VERIFY_WITH_TIMEOUT(listed(file) && listed(folder), 2000);
}

TEST(MainWindow, DropLabelFollowsTheLanguage)
{
    ShellFixture f;
    f.store->setLangZh(true);
    EXPECT_EQ(f.window->findChild<QLabel*>("dropLabel")->text(), "松开以添加文件");
}
