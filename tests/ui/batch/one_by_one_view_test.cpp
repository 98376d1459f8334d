#include "batch/one_by_one_view.h"
#include "test_support.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>

namespace {

struct RenameCall {
    QUuid id;
    QString stem;
    std::optional<QString> ext;
};

// A view over three files, with the model operations it calls recorded.
struct Fixture {
    TestEnv env;
    std::unique_ptr<Store> store = env.makeStore();
    QList<RenameCall> renames;
    std::function<bool(const RenameCall&)> renameAnswer = [](const RenameCall&) { return true; };
    QList<bool> folderSwitches;
    int addFilesCalls = 0;
    AIName::Availability ai = AIName::Availability::unavailable;
    QList<std::function<void(std::optional<QString>)>> pendingText, pendingName;
    std::unique_ptr<OneByOneView> view;

    explicit Fixture(const QStringList& names = {"alpha.txt", "beta.mov", "gamma"}, bool realModel = false)
    {
        QList<FileItem> items;
        for (const QString& n : names)
            items << FileItem::file(env.makeFile("shots/" + n));
        store->setItems(items);
        OneByOneView::Services s;
        if (!realModel) {
            s.renameItem = [this](const QUuid& id, const QString& stem, const std::optional<QString>& ext) {
                renames.append({id, stem, ext});
                return renameAnswer(renames.last());
            };
            s.setRenameFolders = [this](bool on) { folderSwitches << on; };
        }
        s.addFiles = [this] { ++addFilesCalls; };
        s.aiAvailability = [this] { return ai; };
        s.aiContentText = [this](const QString&, QObject*, auto done) { pendingText << done; };
        s.aiSuggestName = [this](const QString&, const QString&, QObject*, auto done) { pendingName << done; };
        view = std::make_unique<OneByOneView>(*store, s);
        view->resize(700, 640);
        view->show();
        QApplication::setActiveWindow(view.get());
        EXPECT_TRUE(QTest::qWaitForWindowActive(view.get()));
        settle();
    }
    static void settle() { QCoreApplication::processEvents(); }
    const FileItem& item(int i) const { return store->items()[i]; }
    void key(Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier)
    {
        ui::key(QApplication::focusWidget() ? QApplication::focusWidget() : view.get(), k, m);
        settle();
    }
    void type(const QString& text)
    {
        view->nameField()->selectAll();
        ui::typeText(view->nameField(), text);
    }
};

}  // namespace

TEST(OneByOne, KeysMoveThroughTheListFromTheNameField)
{
    Fixture f;
    EXPECT_EQ(QApplication::focusWidget(), f.view->nameField());
    EXPECT_EQ(f.view->counterLabel()->text(), "1 / 3");
    EXPECT_EQ(f.view->draft(), "alpha");
    EXPECT_FALSE(f.view->prevButton()->isEnabled());
    f.key(Qt::Key_Left, Qt::ControlModifier);  // at the first file: nothing
    EXPECT_EQ(f.view->index(), 0);

    f.type("typed");
    f.key(Qt::Key_Escape);
    EXPECT_EQ(f.view->index(), 1);
    EXPECT_EQ(f.view->draft(), "beta");
    EXPECT_EQ(f.view->nameLabel()->text(), "beta.mov");
    EXPECT_TRUE(f.renames.isEmpty());

    // Ctrl+Left must beat the field's own word-left.
    f.view->nameField()->setCursorPosition(4);
    f.key(Qt::Key_Left, Qt::ControlModifier);
    EXPECT_EQ(f.view->index(), 0);
    EXPECT_EQ(f.view->draft(), "alpha");  // typed text of a file left behind is gone

    f.key(Qt::Key_Escape);
    f.key(Qt::Key_Escape);
    EXPECT_EQ(f.view->counterLabel()->text(), "3 / 3");
    f.store->setStatus("before");
    f.key(Qt::Key_Escape);
    EXPECT_EQ(f.view->index(), 2);
    EXPECT_EQ(f.store->status(), "Reached the end.");
}

TEST(OneByOne, ReturnRenamesAndMovesOnWhateverTheOutcome)
{
    Fixture f;
    f.type("Opening");
    f.key(Qt::Key_Return);
    ASSERT_EQ(f.renames.size(), 1);
    EXPECT_EQ(f.renames[0].id, f.item(0).id);
    EXPECT_EQ(f.renames[0].stem, "Opening");
    EXPECT_EQ(f.renames[0].ext, std::nullopt);  // the file keeps its extension
    EXPECT_EQ(f.view->index(), 1);

    // An own extension for this file only, typed in its field; Return there renames too.
    f.view->editExtBox()->click();
    f.settle();
    EXPECT_EQ(QApplication::focusWidget(), f.view->nameField());  // typing goes back to the name
    f.view->extField()->setFocus();
    f.view->extField()->selectAll();
    ui::typeText(f.view->extField(), "mp4");
    f.renameAnswer = [&](const RenameCall&) {
        f.store->setStatus("Skipped: refused");
        return false;
    };
    f.key(Qt::Key_Return);
    ASSERT_EQ(f.renames.size(), 2);
    EXPECT_EQ(f.renames[1].stem, "beta");
    EXPECT_EQ(f.renames[1].ext, std::optional<QString>("mp4"));
    EXPECT_EQ(f.view->index(), 2);
    EXPECT_FALSE(f.view->editExt());  // reset on the move
    EXPECT_EQ(f.store->status(), "Skipped: refused");

    // On the last file a refusal keeps its message…
    f.view->renameButton()->click();
    EXPECT_EQ(f.view->index(), 2);
    EXPECT_EQ(f.store->status(), "Skipped: refused");
    // …while a rename that went through (or an empty name, which posts nothing) ends the list.
    f.renameAnswer = [](const RenameCall&) { return true; };
    f.view->renameButton()->click();
    EXPECT_EQ(f.store->status(), "Reached the end.");
    f.store->setStatus("x");
    f.renameAnswer = [](const RenameCall&) { return false; };
    f.type("   ");
    f.view->renameButton()->click();
    EXPECT_EQ(f.store->status(), "Reached the end.");
}

TEST(OneByOne, PreviewShowsTheNameTheFileWillGet)
{
    Fixture f({"clip.mov", "noext"});
    struct Case {
        int file;
        QString draft;
        bool editExt;
        QString ext;
        QString preview;
    };
    const Case cases[] = {
        {0, "A", false, "", "A.mov"},   {0, "", false, "", " "},          {0, "A", true, "", "A"},
        {0, "A", true, "mxf", "A.mxf"}, {0, "A", true, ".mxf", "A..mxf"}, {1, "B", false, "", "B"},
    };
    for (const Case& c : cases) {
        f.view->advance(c.file - f.view->index(), f.view->index());
        f.view->editExtBox()->setChecked(c.editExt);
        f.view->nameField()->setText(c.draft);
        f.view->extField()->setText(c.ext);
        EXPECT_EQ(f.view->previewLabel()->text(), c.preview) << c.draft.toStdString() << c.ext.toStdString();
    }
}

TEST(OneByOne, FieldsFollowTheFileThatComesToStandAtTheCard)
{
    Fixture f({"a.txt", "b.txt", "c.txt", "d.txt"});
    f.view->advance(+1, 0);
    f.view->advance(+1, 1);
    f.type("typed for c");
    // A file before the card goes: d now stands at the card's place and must not get c's name.
    f.store->editItems([](QList<FileItem>& items) { items.removeAt(0); });
    EXPECT_EQ(f.view->nameLabel()->text(), "d.txt");
    EXPECT_EQ(f.view->draft(), "d");
    // Removing the file shown at the end moves the card to the new last file.
    f.store->editItems([](QList<FileItem>& items) { items.removeLast(); });
    EXPECT_EQ(f.view->index(), 1);
    EXPECT_EQ(f.view->draft(), "c");
    EXPECT_EQ(f.view->counterLabel()->text(), "2 / 2");
    f.store->setItems({});
    EXPECT_EQ(f.view->index(), 0);
    EXPECT_TRUE(f.view->dropZone()->isVisible());
    EXPECT_FALSE(f.view->card()->isVisible());
    QTest::mouseDClick(f.view->dropZone(), Qt::LeftButton, {}, QPoint(5, 5));  // anywhere in the zone
    EXPECT_EQ(f.addFilesCalls, 1);
    f.view->renameFoldersBox()->click();
    EXPECT_EQ(f.folderSwitches, QList<bool>{true});
}

TEST(OneByOne, FolderCardHasABadgeAndNoExtensionSwitch)
{
    Fixture f;
    QDir().mkpath(f.env.path("shots/Reel.01"));
    f.store->setItems({FileItem::folder(f.env.path("shots/Reel.01"))});
    EXPECT_TRUE(f.view->editExtBox()->isHidden());
    EXPECT_EQ(f.view->nameLabel()->text(), "Reel.01");
    bool badge = false;
    for (QLabel* l : f.view->findChildren<QLabel*>())
        badge = badge || (l->text() == "Folder" && l->isVisible());
    EXPECT_TRUE(badge);
    EXPECT_TRUE(f.view->folderBadgeIcon()->isVisible());
    f.store->setItems({FileItem::file(f.env.makeFile("shots/clip.mov"))});
    EXPECT_FALSE(f.view->folderBadge()->isVisible());
    EXPECT_FALSE(f.view->folderBadgeIcon()->isVisible());
}

TEST(OneByOne, EditorBlockTakesTheCardWidthUpTo520)
{
    Fixture f({"A001_C002_20240315_Take 1.mov"});
    QWidget* editor = f.view->nameField()->parentWidget();
    EXPECT_EQ(editor->width(), 520);
    EXPECT_GT(f.view->nameField()->width(), 400);
    f.view->resize(480, 640);
    Fixture::settle();
    EXPECT_LT(editor->width(), 520);
    EXPECT_GE(editor->width(), 360);
}

TEST(OneByOne, SmartFixWorksOnTheFileNameNotOnWhatWasTyped)
{
    Fixture f({"ABC_welcomeback_trailer_30_v02.mov", "\"Spot\" Trailer :30 V.3.mov"});
    EXPECT_EQ(f.view->smartFixButton()->text(), "Smart Fix (FINISHING)");
    f.type("something else");
    f.view->smartFixButton()->click();
    EXPECT_EQ(f.view->draft(), "ABC_WelcomeBack_Trlr_30_V2");
    EXPECT_EQ(f.view->previewLabel()->text(), "ABC_WelcomeBack_Trlr_30_V2.mov");
    // The e-mail form finds no version as it stands; its underscore form does.
    f.view->advance(+1, 0);
    f.view->smartFixButton()->click();
    EXPECT_EQ(f.view->draft(), "Spot_Trlr_30_V3");

    f.store->setLangZh(true);
    f.store->editSections([](NameSections& s) { s.smartRenameStyle = SmartRenameStyle::posting; });
    EXPECT_EQ(f.view->smartFixButton()->text(), "智能修正(POSTING)");
    EXPECT_EQ(f.view->renameButton()->text(), "重命名并下一个");
    EXPECT_EQ(f.view->findChildren<QLabel*>().last()->text(), "回车 = 重命名并下一个 · Esc = 跳过 · Ctrl+← 上一个");
}

TEST(OneByOne, AISuggestionIsDroppedWhenTheCardHasMovedOn)
{
    Fixture f;
    EXPECT_TRUE(f.view->aiButton()->isHidden());  // left out while the model can't answer
    f.ai = AIName::Availability::available;
    f.view->reloadCurrent();
    ASSERT_FALSE(f.view->aiButton()->isHidden());
    EXPECT_EQ(f.view->aiButton()->text(), "AI suggest");

    f.view->aiButton()->click();
    EXPECT_EQ(f.view->aiButton()->text(), "Thinking…");
    EXPECT_FALSE(f.view->aiButton()->isEnabled());
    ASSERT_EQ(f.pendingText.size(), 1);
    f.pendingText.takeFirst()(QString("shot notes"));
    ASSERT_EQ(f.pendingName.size(), 1);
    f.key(Qt::Key_Escape);  // the user moves on before the model answers
    f.pendingName.takeFirst()(QString("Harbour At Dawn"));
    EXPECT_EQ(f.view->draft(), "beta");
    EXPECT_TRUE(f.view->aiButton()->isEnabled());

    f.view->aiButton()->click();
    f.pendingText.takeFirst()(QString("notes"));
    f.pendingName.takeFirst()(QString("Harbour At Dawn"));
    EXPECT_EQ(f.view->draft(), "Harbour At Dawn");
    EXPECT_EQ(f.view->aiButton()->text(), "AI suggest");

    f.view->aiButton()->click();
    f.pendingName.clear();
    f.pendingText.takeFirst()(std::nullopt);
    EXPECT_EQ(f.store->status(), "Can't read this file's text for AI.");
    EXPECT_TRUE(f.pendingName.isEmpty());
    EXPECT_EQ(f.view->draft(), "Harbour At Dawn");
}

TEST(OneByOne, RenamesTheFileOnDiskAsItsOwnUndoStep)
{
    Fixture f({"A001_C001.mov", "A001_C002.mov", "taken.mov"}, true);
    f.type("Opening");
    f.key(Qt::Key_Return);
    EXPECT_TRUE(QFile::exists(f.env.path("shots/Opening.mov")));
    EXPECT_FALSE(QFile::exists(f.env.path("shots/A001_C001.mov")));
    EXPECT_EQ(f.item(0).name, "Opening.mov");
    EXPECT_EQ(f.store->historyState().undoStack.size(), 1);
    EXPECT_EQ(f.view->index(), 1);

    // A refused name: the file stays, the message stays readable, and the next file comes up.
    f.type("taken");
    f.key(Qt::Key_Return);
    EXPECT_TRUE(QFile::exists(f.env.path("shots/A001_C002.mov")));
    EXPECT_EQ(f.store->status(), "Skipped: \"taken.mov\" already exists.");
    EXPECT_EQ(f.view->index(), 2);
    EXPECT_EQ(f.store->historyState().undoStack.size(), 1);

    // On the last file a refusal is not replaced by "Reached the end.".
    f.type("a/b");
    f.key(Qt::Key_Return);
    EXPECT_TRUE(f.store->status().startsWith("Skipped: ")) << f.store->status().toStdString();
    EXPECT_EQ(f.view->index(), 2);

    // "Edit extension" with an empty field gives a name without extension, as the preview says.
    f.view->editExtBox()->click();
    f.view->extField()->clear();
    f.type("Final");
    EXPECT_EQ(f.view->previewLabel()->text(), "Final");
    f.key(Qt::Key_Return);
    EXPECT_TRUE(QFile::exists(f.env.path("shots/Final")));
    EXPECT_EQ(f.store->status(), "Reached the end.");
}

TEST(OneByOne, TheAIButtonAppearsWhenAProbeFindsTheModel)
{
    Fixture f;
    EXPECT_TRUE(f.view->aiButton()->isHidden());
    f.ai = AIName::Availability::available;
    emit AIName::AvailabilityNotifier::instance().availabilityChanged();
    EXPECT_FALSE(f.view->aiButton()->isHidden());
}
