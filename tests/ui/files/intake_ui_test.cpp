#include "common/focused_text_undo.h"
#include "common/open_panels.h"
#include "test_support.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>
#include <gtest/gtest.h>

namespace {

// Answers the next modal file dialog from inside its event loop.
void answerNextDialog(std::function<void(QFileDialog*)> answer)
{
    QTimer::singleShot(0, [answer] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        answer(dialog);
    });
}

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

} // namespace

TEST(OpenPanelsUi, FilesPanelReturnsChosenFileAndCancelReturnsNothing)
{
    TestEnv env;
    const QString file = env.makeFile("clip.mov");
    QtOpenPanels panels;
    answerNextDialog([&](QFileDialog* d) {
        EXPECT_EQ(d->fileMode(), QFileDialog::ExistingFiles);
        d->setDirectory(env.path());
        d->selectFile(file);
        static_cast<QDialog*>(d)->accept();
    });
    EXPECT_EQ(panels.chooseFiles(), QStringList{file});
    answerNextDialog([](QFileDialog* d) { d->reject(); });
    EXPECT_TRUE(panels.chooseFiles().isEmpty());
}

TEST(OpenPanelsUi, FolderPanelShowsPromptAllowsSeveralAndAddsThroughStore)
{
    TestEnv env;
    env.makeFile("Card/a.mov");
    auto store = env.makeStore();
    store->setOpenPanels(std::make_shared<QtOpenPanels>());
    answerNextDialog([&](QFileDialog* d) {
        EXPECT_EQ(d->fileMode(), QFileDialog::Directory);
        EXPECT_EQ(d->labelText(QFileDialog::Accept), "Add Folder");
        auto* list = d->findChild<QAbstractItemView*>("listView");
        ASSERT_NE(list, nullptr);
        EXPECT_EQ(list->selectionMode(), QAbstractItemView::ExtendedSelection);
        d->setDirectory(env.path());
        d->selectFile(env.path("Card"));
        static_cast<QDialog*>(d)->accept();
    });
    store->addFoldersPanel();
    ASSERT_EQ(store->items().size(), 1);
    EXPECT_EQ(store->items()[0].name, "a.mov");
    EXPECT_EQ(store->status(), "1 file(s).");
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
    store->setTextUndoRouter(router);
    UndoWindow w;
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w.window));
    w.field->setFocus();
    QTest::keyClicks(w.field, "xy");
    store->undoFromButton();  // keyboard: the field's typing is undone
    EXPECT_EQ(w.field->text(), "");
    EXPECT_TRUE(store->undoInFocusedTextView(true));
    EXPECT_EQ(w.field->text(), "xy");
}
