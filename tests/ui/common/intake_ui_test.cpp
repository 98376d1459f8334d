#include "common/focused_text_undo.h"
#include "common/open_panels.h"
#include "files/intake.h"
#include "files/list_operations.h"
#include "test_support.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>

namespace {

struct UndoWindow {
    QWidget window;
    QLineEdit* field = new QLineEdit;
    QPushButton* button = new QPushButton("Undo");
    UndoWindow()
    {
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(field);
        layout->addWidget(button);
        window.show();
        window.activateWindow();
    }
};

}  // namespace

TEST(OpenPanelsUi, PanelsAskForFilesOrFoldersAndAddTheAnswerThroughStore)
{
    TestEnv env;
    const QString loose = env.makeFile("clip.mov");
    env.makeFile("Card/a.mov");
    auto store = env.makeStore();
    FakeDialogs dialogs;
    store->intake().setOpenPanels(std::make_shared<DialogsOpenPanels>(dialogs));

    store->intake().addFilesPanel();  // unscripted: cancelled
    ASSERT_EQ(dialogs.opens.size(), 1);
    EXPECT_TRUE(dialogs.opens[0].chooseFiles);
    EXPECT_FALSE(dialogs.opens[0].chooseDirectories);
    EXPECT_TRUE(dialogs.opens[0].multiple);
    EXPECT_TRUE(dialogs.opens[0].prompt.isEmpty());
    EXPECT_TRUE(store->items().isEmpty());

    dialogs.answerOpen({loose});
    store->intake().addFilesPanel();
    EXPECT_EQ(store->status(), "1 file(s).");

    store->setLangZh(true);
    dialogs.answerOpen({env.path("Card")});
    store->intake().addFoldersPanel();
    ASSERT_EQ(dialogs.opens.size(), 3);
    EXPECT_FALSE(dialogs.opens[2].chooseFiles);
    EXPECT_TRUE(dialogs.opens[2].chooseDirectories);
    EXPECT_TRUE(dialogs.opens[2].multiple);
    EXPECT_EQ(dialogs.opens[2].prompt, "添加文件夹");
    EXPECT_EQ(store->items().size(), 2);
    EXPECT_EQ(store->status(), "共 2 个文件。");
}

TEST(FocusedTextUndoUi, KeyboardUndoGoesToEditableFieldAndClickDoesNot)
{
    FocusedTextUndo router;
    UndoWindow w;
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w.window));
    w.field->setFocus();
    QTest::keyClicks(w.field, "abc");
    ASSERT_EQ(w.field->text(), "abc");

    EXPECT_TRUE(router.undoInFocusedTextView(false));
    EXPECT_EQ(w.field->text(), "");
    EXPECT_TRUE(router.undoInFocusedTextView(true));
    EXPECT_EQ(w.field->text(), "abc");

    // A click on the Undo button keeps the field's focus policy out of it.
    w.button->setFocusPolicy(Qt::NoFocus);
    QTest::mouseClick(w.button, Qt::LeftButton);
    EXPECT_FALSE(router.undoInFocusedTextView(false));
    EXPECT_EQ(w.field->text(), "abc");

    w.field->setReadOnly(true);
    QTest::keyClick(w.field, Qt::Key_Left);
    EXPECT_FALSE(router.undoInFocusedTextView(false));
}

TEST(FocusedTextUndoUi, StoreRoutesUndoButtonThroughRouter)
{
    TestEnv env;
    auto store = env.makeStore();
    auto router = std::make_shared<FocusedTextUndo>();
    store->list().setTextUndoRouter(router);
    UndoWindow w;
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w.window));
    w.field->setFocus();
    QTest::keyClicks(w.field, "xy");
    store->list().undoFromButton();  // keyboard: the field's typing is undone
    EXPECT_EQ(w.field->text(), "");
    EXPECT_TRUE(store->list().undoInFocusedTextView(true));
    EXPECT_EQ(w.field->text(), "xy");
}

// The access question goes through Dialogs: Continue is the second button, and the folder panel
// answers one folder or nothing.
TEST(AccessPrompterUi, ContinueThenFolderPanel)
{
    FakeDialogs dialogs;
    DialogsAccessPrompter prompter(dialogs);
    dialogs.answerAlert(1);
    EXPECT_TRUE(prompter.confirm({"Allow access?", "why", "Continue", "Cancel"}));
    EXPECT_EQ(dialogs.alerts.last().buttons, (QStringList{"Cancel", "Continue"}));
    dialogs.answerAlert(0);
    EXPECT_FALSE(prompter.confirm({"Allow access?", "why", "Continue", "Cancel"}));

    dialogs.answerOpen({"/tmp/shoot"});
    EXPECT_EQ(prompter.chooseFolder({"/tmp", "Grant", "Open"}), QString("/tmp/shoot"));
    EXPECT_TRUE(dialogs.opens.last().chooseDirectories);
    EXPECT_EQ(prompter.chooseFolder({"/tmp", "Grant", "Open"}), std::nullopt);
}
