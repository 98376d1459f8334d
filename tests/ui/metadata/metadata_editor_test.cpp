// The Metadata tab offscreen: modes, the file list and selection, the form of each media kind,
// its rows and its actions, on files made in the test.
#include "common/open_panels.h"
#include "common/segmented_control.h"
#include "files/intake.h"
#include "media_tools.h"
#include "metadata/metadata_drafts.h"
#include "metadata/metadata_editor.h"
#include "metadata/metadata_view.h"
#include "model/store.h"
#include "test_support.h"
#include "ui_events.h"

#include <QCheckBox>
#include <QDateTimeEdit>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QToolButton>
#include <QTreeView>
#include <gtest/gtest.h>

namespace {

struct EditorFixture {
    TestEnv env;
    std::unique_ptr<Store> store;
    FakeDialogs dialogs;
    std::unique_ptr<MetadataView> view;

    explicit EditorFixture(const QStringList& languages = {"en-US"}) : store(env.makeStore(languages)) {}
    void open()
    {
        view = std::make_unique<MetadataView>(*store, dialogs);
        view->resize(1000, 900);
        view->show();
        view->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(view.get()));
    }
    MetadataEditor& ed() { return *view->editor(); }
    QList<FileItem> list(const QStringList& paths)
    {
        QList<FileItem> items;
        for (const QString& p : paths)
            items << (QFileInfo(p).isDir() ? FileItem::folder(p) : FileItem::file(p));
        store->setItems(items);
        return items;
    }
    void select(const QList<int>& rows)
    {
        QSet<QUuid> ids;
        for (int r : rows)
            ids.insert(store->items().at(r).id);
        ed().setSelection(ids);
    }
    // Clicks on rows of the file list, Ctrl held after the first, as a user picks them.
    void clickRows(const QList<int>& rows)
    {
        QTreeView* list = ed().fileList();
        bool first = true;
        for (int r : rows) {
            const QRect rect = list->visualRect(list->model()->index(r, 0));
            QTest::mouseClick(list->viewport(), Qt::LeftButton, first ? Qt::NoModifier : Qt::ControlModifier,
                              rect.center());
            first = false;
        }
    }
    void type(const QString& label, const QString& text)
    {
        QLineEdit* edit = ed().field(label);
        ASSERT_TRUE(edit) << label.toStdString();
        edit->setFocus();
        ui::typeText(edit, text);
    }
    QString image(const QString& name)
    {
        const QString p = env.path(name);
        EXPECT_TRUE(makeImage(p));
        return p;
    }
    QString pdf(const QString& name) { return env.makeFile(name, handWrittenPdf("/Title (Call sheet)")); }
    QString movie(const QString& name)
    {
        const QString p = env.path(name);
        EXPECT_TRUE(makeMovie(p, {"title=Read title"}));
        return p;
    }
    bool waitIdle()
    {
        return QTest::qWaitFor([&] { return !store->metaDrafts().busy(); }, 60000);
    }
};

QString missingMediaTools()
{
    return missingTool({"ffmpeg", "exiftool"});
}

TEST(MetadataTab, ModesListAndPlaceholderInBothLanguages)
{
    EditorFixture f;
    f.store->intake().setOpenPanels(std::make_shared<DialogsOpenPanels>(f.dialogs));
    f.open();
    SegmentedControl* picker = f.view->modePicker();
    ASSERT_EQ(picker->count(), 3);
    EXPECT_EQ(f.ed().emptyPlaceholder()->isVisible(), true);
    const QString photo = f.env.makeFile("a.jpg");
    f.dialogs.answerOpen({photo});
    QTest::mouseDClick(f.ed().emptyPlaceholder(), Qt::LeftButton);
    ASSERT_EQ(f.dialogs.opens.size(), 1);
    ASSERT_EQ(f.store->items().size(), 1);
    EXPECT_FALSE(f.ed().emptyPlaceholder()->isVisible());
    EXPECT_TRUE(f.ed().fileList()->isVisible());

    f.env.makeFile("Reel/x");
    f.list({photo, f.env.makeFile("b.pdf"), f.env.makeFile("c.mov"), f.env.path("Reel"), f.env.makeFile("d.txt")});
    struct Lang {
        bool zh;
        QStringList picker;
        QStringList kinds;
    };
    for (const Lang& l : {Lang{false, {"Editor", "Bin (table)", "Log"}, {"Image", "PDF", "Video", "Folder", "—"}},
                          Lang{true, {"编辑器", "表格", "打板记录"}, {"图片", "PDF", "视频", "文件夹", "—"}}}) {
        f.store->setLangZh(l.zh);
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(picker->segment(i)->text(), l.picker[i]);
        QStringList kinds;
        for (int r = 0; r < 5; ++r)
            kinds << f.ed().fileList()->model()->index(r, 1).data().toString();
        EXPECT_EQ(kinds, l.kinds);
    }

    // The other modes are made anew each time; back in the editor the selection is kept.
    f.store->setLangZh(false);
    f.select({2});
    QTest::mouseClick(picker->segment(1), Qt::LeftButton);
    QWidget* bin = f.view->modePage();
    ASSERT_TRUE(bin);
    QTest::mouseClick(picker->segment(2), Qt::LeftButton);
    EXPECT_NE(f.view->modePage(), nullptr);
    QTest::mouseClick(picker->segment(0), Qt::LeftButton);
    EXPECT_EQ(f.view->modePage(), nullptr);
    EXPECT_EQ(f.ed().primary()->name, "c.mov");
}

TEST(MetadataTab, FirstFileIsShownAndListOrderPicksThePrimary)
{
    if (const QString m = missingMediaTools(); !m.isEmpty())
        GTEST_SKIP() << m.toStdString();
    EditorFixture f;
    f.list({f.image("a.jpg"), f.pdf("b.pdf"), f.image("c.jpg"), f.movie("d.mov")});
    f.open();
    EXPECT_EQ(f.ed().primary()->name, "a.jpg");
    EXPECT_TRUE(f.store->meta().metaDraft.contains(f.store->items()[0].id));  // read at once

    f.clickRows({2, 0, 1});  // rows 3 and 1, then a PDF
    EXPECT_EQ(f.ed().primary()->name, "a.jpg");
    EXPECT_EQ(f.ed().targets().size(), 2);
    EXPECT_EQ(f.ed().findChild<QLabel*>("multiHeader")->text(),
              "Editing 2 Image files — Save applies to all selected.");
    EXPECT_EQ(f.ed().saveButton()->text(), "Save to 2 selected");
    EXPECT_EQ(f.ed().nameField(), nullptr);
    f.store->setLangZh(true);
    EXPECT_EQ(f.ed().findChild<QLabel*>("multiHeader")->text(), "正在编辑 2 个图片文件 —— 保存会应用到所有所选。");
    EXPECT_EQ(f.ed().saveButton()->text(), "保存到 2 个所选");
    EXPECT_EQ(f.ed().applyButton()->text(), "应用到全部图片");

    f.store->setLangZh(false);
    f.select({0, 3});  // an image and a video: only the image is a target
    EXPECT_EQ(f.ed().targets().size(), 1);
    ASSERT_TRUE(f.ed().nameField());
    EXPECT_EQ(f.ed().saveButton()->text(), "Save to file");
    EXPECT_EQ(f.ed().applyButton()->text(), "Apply to all Image");
}

TEST(MetadataTab, EachKindShowsItsRows)
{
    if (const QString m = missingMediaTools(); !m.isEmpty())
        GTEST_SKIP() << m.toStdString();
    EditorFixture f;
    f.env.makeFile("Reel/x");
    f.list({f.image("a.jpg"), f.pdf("b.pdf"), f.movie("c.mov"), f.env.path("Reel")});
    f.store->editMeta([](MetaDrafts& m) { m.binCustomCols = {"Scene", "Format", "Mood"}; });
    f.open();
    const QString clip = "Clip Name (Avid/Premiere display name; never renames the file)";
    QStringList custom;
    for (const char* k : {"Tape", "Reel", "Scene", "Shot", "Take", "Camera Roll", "Sound Roll", "Lab Roll", "Slate",
                          "Log Note", "Comments", "Description", "Color", "Mood"})
        custom << k;  // Circle and Good are checkboxes
    struct Case {
        int row;
        QStringList rows;
        bool actions;
    };
    const QList<Case> cases{
        {0,
         {"Description", "Author (By-line)", "Copyright", "Keywords (comma-separated)", "City", "Country",
          "GPS (lat, long)"},
         true},
        {1, {"Title", "Author", "Subject", "Keywords (comma-separated)"}, true},
        {2, {"Title", "Artist", "Description", "Copyright"}, true},
        {3, {}, false},
    };
    for (const Case& c : cases) {
        f.select({c.row});
        ASSERT_TRUE(QTest::qWaitFor([&] { return !f.ed().reading(); }, 30000));
        EXPECT_EQ(f.ed().fieldLabels(), c.rows + QStringList({clip}) + custom) << c.row;
        EXPECT_EQ(f.ed().saveButton() != nullptr, c.actions) << c.row;
        EXPECT_TRUE(f.ed().flag("Circle") && f.ed().flag("Good"));
        EXPECT_EQ(f.ed().dateSwitch() != nullptr, c.row == 0 || c.row == 2);
    }
    f.select({2});
    EXPECT_EQ(f.ed().draft().title, "Read title");
    EXPECT_TRUE(f.ed().technicalKeys().contains("Codec"));
    EXPECT_EQ(f.ed().findChildren<QLabel*>("infoLine").size(), 1);
    f.select({0});
    EXPECT_EQ(f.ed().findChildren<QLabel*>("infoLine").size(), 2);
    f.select({3});
    EXPECT_TRUE(f.ed().findChild<QLabel*>("unsupportedNote")->isVisible());
    MetaFields folder = f.ed().draft();
    folder.custom.insert("Codec", "");
    f.store->metaDrafts().storeDraft(f.store->items()[3].id, folder);
    f.select({});
    EXPECT_TRUE(f.ed().selectPrompt()->isVisible());
    f.select({3});
    EXPECT_TRUE(f.ed().technicalKeys().contains("Source Path"));
    EXPECT_FALSE(f.ed().technicalKeys().contains("Codec"));
}

TEST(MetadataTab, MovieFieldsFillWhenTheReadEndsAndCannotBeSavedBefore)
{
    if (const QString m = missingMediaTools(); !m.isEmpty())
        GTEST_SKIP() << m.toStdString();
    EditorFixture f;
    const auto items = f.list({f.movie("a.mov"), f.image("b.jpg")});
    f.open();
    f.select({1});
    f.store->metaDrafts().revert({items[0].id});
    f.select({0});
    EXPECT_TRUE(f.ed().reading());
    EXPECT_EQ(f.ed().draft().kind, MetaKind::video);
    EXPECT_EQ(f.ed().field("Title")->text(), "");
    EXPECT_FALSE(f.ed().form()->isEnabled());  // nothing to save over the movie yet
    ASSERT_TRUE(QTest::qWaitFor([&] { return !f.ed().reading(); }, 30000));
    EXPECT_EQ(f.ed().field("Title")->text(), "Read title");
    EXPECT_TRUE(f.ed().form()->isEnabled());
    EXPECT_EQ(f.store->meta().metaDraft.value(items[0].id).title, "Read title");
}

TEST(MetadataTab, FieldEditsUndoStepByStep)
{
    if (const QString m = missingMediaTools(); !m.isEmpty())
        GTEST_SKIP() << m.toStdString();
    EditorFixture f;
    const auto items = f.list({f.pdf("a.pdf"), f.pdf("b.pdf")});
    f.open();
    EXPECT_FALSE(f.ed().undoButton()->isEnabled());
    EXPECT_EQ(f.ed().undoButton()->toolTip(), "Undo the last metadata field edit (Ctrl+Shift+Z).");
    f.type("Title", "AB");
    f.type("Author", "C");
    EXPECT_EQ(f.ed().historySize(), 2);
    EXPECT_EQ(f.store->meta().metaDraft.value(items[0].id).author, "C");
    EXPECT_EQ(f.store->unsavedMetaItems(), 1);  // the quit question counts editor edits

    const QKeySequence undoKeys(Qt::CTRL | Qt::SHIFT | Qt::Key_Z);
    QTest::keySequence(QApplication::focusWidget(), undoKeys);  // the focused field keeps it as its redo
    EXPECT_EQ(f.ed().historySize(), 2);
    f.ed().fileList()->setFocus();
    QTest::keySequence(f.ed().fileList(), undoKeys);
    EXPECT_EQ(f.ed().draft().title, "Call sheetAB");
    EXPECT_EQ(f.ed().draft().author, "");
    EXPECT_EQ(f.store->status(), "Undid metadata edit.");
    f.type("Title", "D");  // a new step: the undo cleared the last field
    EXPECT_EQ(f.ed().historySize(), 2);
    ui::click(f.ed().undoButton());
    ui::click(f.ed().undoButton());
    EXPECT_EQ(f.ed().draft().title, "Call sheet");
    EXPECT_EQ(f.ed().field("Title")->text(), "Call sheet");
    EXPECT_FALSE(f.ed().undoButton()->isEnabled());
    f.ed().undoMetaEdit();
    EXPECT_EQ(f.store->status(), "No metadata edit to undo.");

    // The language is part of the key: the same row in another language starts a new step.
    f.type("Title", "x");
    f.store->setLangZh(true);
    f.type("标题", "y");
    EXPECT_EQ(f.ed().historySize(), 2);
    f.select({1});  // another file: the history starts empty
    EXPECT_EQ(f.ed().historySize(), 0);
    f.select({0});
    EXPECT_EQ(f.ed().draft().title, "Call sheetxy");  // its draft, not read again

    // Back from another mode the draft is loaded anew, with what was edited there.
    f.type("标题", "z");
    f.view->setMode(1);
    MetaFields fromBin = f.store->meta().metaDraft.value(items[0].id);
    fromBin.title = "From the bin";
    f.store->metaDrafts().storeDraft(items[0].id, fromBin);
    f.view->setMode(0);
    EXPECT_EQ(f.ed().draft().title, "From the bin");
    EXPECT_EQ(f.ed().historySize(), 0);
}

TEST(MetadataTab, DateSwitchAndCheckboxFieldsRecordSteps)
{
    if (const QString m = missingMediaTools(); !m.isEmpty())
        GTEST_SKIP() << m.toStdString();
    EditorFixture f;
    const auto items = f.list({f.image("a.jpg")});
    f.open();
    QCheckBox* date = f.ed().dateSwitch();
    EXPECT_FALSE(date->isChecked());
    EXPECT_FALSE(f.ed().datePicker()->isVisible());
    ui::click(date);
    ASSERT_TRUE(f.ed().draft().date.has_value());
    EXPECT_LT(qAbs(f.ed().draft().date->secsTo(QDateTime::currentDateTime())), 60);
    EXPECT_TRUE(f.ed().datePicker()->isVisible());
    f.ed().datePicker()->setDateTime(QDateTime(QDate(2020, 5, 6), QTime(7, 8)));
    EXPECT_EQ(f.ed().draft().date, QDateTime(QDate(2020, 5, 6), QTime(7, 8)));
    EXPECT_EQ(f.ed().historySize(), 1);  // the picker records no step of its own
    // A wheel turn passing over the picker changes nothing unless it was clicked into.
    f.ed().datePicker()->clearFocus();
    ui::wheel(f.ed().datePicker(), 1);
    EXPECT_EQ(f.ed().draft().date, QDateTime(QDate(2020, 5, 6), QTime(7, 8)));
    ui::click(f.ed().dateSwitch());
    EXPECT_FALSE(f.ed().draft().date);
    EXPECT_FALSE(f.ed().datePicker()->isVisible());
    ui::click(f.ed().undoButton());
    EXPECT_EQ(f.ed().draft().date, QDateTime(QDate(2020, 5, 6), QTime(7, 8)));

    struct Case {
        const char* stored;
        bool ticked;
    };
    for (const Case& c : {Case{"yes", true}, Case{"x", true}, Case{"0", false}, Case{"false", false},
                          Case{"off", false}, Case{"", false}}) {
        f.store->metaDrafts().storeDraft(items[0].id, [&] {
            MetaFields d = f.ed().draft();
            d.custom.insert("Circle", c.stored);
            return d;
        }());
        f.select({});
        f.select({0});
        EXPECT_EQ(f.ed().flag("Circle")->isChecked(), c.ticked) << c.stored;
    }
    ui::click(f.ed().flag("Good"));
    EXPECT_EQ(f.ed().draft().custom.value("Good"), "1");
    ui::click(f.ed().flag("Good"));
    EXPECT_TRUE(f.ed().draft().custom.contains("Good"));
    EXPECT_EQ(f.ed().draft().custom.value("Good"), "");
    EXPECT_EQ(f.ed().historySize(), 2);
    f.type("Scene", "4");
    f.type("Scene", "2");
    EXPECT_EQ(f.store->meta().binCustomCols.count("Scene"), 1);
    EXPECT_EQ(f.store->meta().binCustomCols.count("Good"), 1);
    EXPECT_EQ(f.store->meta().metaDraft.value(items[0].id).custom.value("Scene"), "42");
}

TEST(MetadataTab, RenameRowAsksAndRenamesOnDisk)
{
    EditorFixture f({"zh-CN"});
    const auto items = f.list({f.env.makeFile("a.txt"), f.env.makeFile("taken.txt")});
    f.open();
    QLineEdit* name = f.ed().nameField();
    EXPECT_EQ(name->text(), "a.txt");
    EXPECT_FALSE(f.ed().renameButton()->isEnabled());
    name->setFocus();
    name->selectAll();
    ui::typeText(name, "   ");
    EXPECT_FALSE(f.ed().renameButton()->isEnabled());
    name->selectAll();
    ui::typeText(name, " a.txt ");
    EXPECT_TRUE(f.ed().renameButton()->isEnabled());
    ui::click(f.ed().renameButton());
    EXPECT_TRUE(f.dialogs.alerts.isEmpty());  // the trimmed name is the current one

    name->selectAll();
    ui::typeText(name, "taken.txt");
    f.dialogs.answerAlert(0);
    ui::click(f.ed().renameButton());
    ASSERT_EQ(f.dialogs.alerts.size(), 1);
    EXPECT_EQ(f.dialogs.alerts[0].message, "要在磁盘上重命名这个文件吗?");
    EXPECT_EQ(f.dialogs.alerts[0].informative,
              "「a.txt」→「taken.txt」\n\n这会更改磁盘上的实际文件名,不只是本 app 里的显示。可以用 Ctrl+Z 撤销。");
    EXPECT_EQ(f.dialogs.alerts[0].buttons, (QStringList{"重命名", "取消"}));
    EXPECT_EQ(f.ed().nameDraft(), "taken.txt");  // refused: the Store says why
    EXPECT_TRUE(f.store->status().contains("taken.txt"));
    EXPECT_TRUE(QFile::exists(f.env.path("a.txt")));

    f.store->setLangZh(false);
    name = f.ed().nameField();
    name->setFocus();
    name->selectAll();
    ui::typeText(name, "b.txt");
    ui::click(f.ed().renameButton());  // cancelled
    EXPECT_TRUE(QFile::exists(f.env.path("a.txt")));
    f.dialogs.answerAlert(0);
    ui::click(f.ed().renameButton());
    EXPECT_EQ(f.dialogs.alerts.last().informative,
              "“a.txt” → “b.txt”\n\nThis changes the actual file name on disk, not just this app's display. "
              "This can be undone with Ctrl+Z.");
    EXPECT_TRUE(QFile::exists(f.env.path("b.txt")));
    EXPECT_EQ(f.store->items()[0].name, "b.txt");
    EXPECT_EQ(f.ed().nameField()->text(), "b.txt");
    EXPECT_FALSE(f.ed().renameButton()->isEnabled());
}

TEST(MetadataTab, SaveApplyAndRevertFromTheActionBar)
{
    if (const QString m = missingMediaTools(); !m.isEmpty())
        GTEST_SKIP() << m.toStdString();
    EditorFixture f;
    const auto items = f.list({f.image("a.jpg"), f.image("b.jpg"), f.env.makeFile("c.jpg", "broken")});
    f.open();
    f.select({0, 1, 2});
    f.type("Description", "Pier");
    ui::click(f.ed().saveButton());
    EXPECT_FALSE(f.ed().saveButton()->isEnabled());
    EXPECT_FALSE(f.ed().revertButton()->isEnabled());
    EXPECT_TRUE(f.ed().progress()->isVisible());
    EXPECT_TRUE(f.ed().undoButton()->isEnabled());
    ASSERT_TRUE(f.waitIdle());
    EXPECT_EQ(f.store->status(), "Saved metadata to 2/3 selected file(s).");
    EXPECT_TRUE(f.ed().saveButton()->isEnabled());
    EXPECT_FALSE(f.ed().progress()->isVisible());
    EXPECT_EQ(f.store->unsavedMetaItems(), 0);

    f.type("Description", " at dusk");
    f.select({0, 1});
    f.type("Copyright", "©");
    EXPECT_EQ(f.store->unsavedMetaItems(), 1);
    ui::click(f.ed().revertButton());
    EXPECT_EQ(f.ed().draft().caption, "Pier");  // read anew from the file
    EXPECT_EQ(f.ed().draft().copyright, "");
    EXPECT_EQ(f.ed().historySize(), 0);
    EXPECT_FALSE(f.ed().undoButton()->isEnabled());
    EXPECT_FALSE(f.store->meta().metaDraft.contains(items[1].id));

    f.store->setLangZh(true);
    f.type("版权", "Brindle");
    ui::click(f.ed().applyButton());
    ASSERT_TRUE(f.waitIdle());
    EXPECT_EQ(f.store->status(), "元数据已应用到 2 个文件。");
    for (int i : {0, 1})
        EXPECT_EQ(exiftool(items[i].url, {"-IPTC:CopyrightNotice"}).value("CopyrightNotice").toString(), "Brindle");
}

TEST(MetadataTab, Screenshots)
{
    const QString dir = qEnvironmentVariable("BRINDLECOVE_SCREENSHOTS");
    if (dir.isEmpty())
        GTEST_SKIP() << "set BRINDLECOVE_SCREENSHOTS to a folder to write the pictures";
    if (const QString m = missingMediaTools(); !m.isEmpty())
        GTEST_SKIP() << m.toStdString();
    EditorFixture f;
    f.list({f.image("harbour.jpg"), f.image("pier.jpg"), f.pdf("call sheet.pdf"), f.movie("A001_C002.mov")});
    f.store->metaDrafts().load(f.store->items()[3]);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !f.store->metaDrafts().isReading(f.store->items()[3].id); }, 30000));
    f.open();
    QDir().mkpath(dir);
    const QList<QPair<QString, QList<int>>> shots{{"image", {0}}, {"pdf", {2}}, {"video", {3}}, {"multi", {0, 1}}};
    for (bool zh : {false, true}) {
        f.store->setLangZh(zh);
        for (const auto& [name, rows] : shots) {
            f.select(rows);
            QTest::qWait(50);
            const QString lang = zh ? QStringLiteral("zh") : QStringLiteral("en");
            EXPECT_TRUE(f.view->grab().save(QDir(dir).filePath(QStringLiteral("metadata_%1_%2.png").arg(name, lang))));
            // The whole form, its action bar included.
            EXPECT_TRUE(f.ed().form()->grab().save(
                QDir(dir).filePath(QStringLiteral("metadata_%1_%2_form.png").arg(name, lang))));
        }
    }
}

}  // namespace
