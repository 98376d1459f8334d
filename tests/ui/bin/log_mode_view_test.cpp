#include "../../core/bin/bin_support.h"
#include "bin/bin_logging.h"
#include "bin/log_mode_view.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

// Log mode over a Store of listed files whose metadata comes from a recording reader.
struct LogFixture : BinFixture {
    std::unique_ptr<LogModeView> view;

    ~LogFixture()
    {
        view.reset();
        store->setLangZh(false);
    }
    void show(const QStringList& names)
    {
        ids.clear();
        for (const FileItem& item : list(names))
            ids.append(item.id);
        view = std::make_unique<LogModeView>(*store);
        view->resize(700, 560);
        view->show();
        QApplication::setActiveWindow(view.get());
        QTest::qWait(10);
    }
    // Types into the focused field, then presses Return there.
    void enter(const QString& text)
    {
        QWidget* field = QApplication::focusWidget();
        if (!text.isEmpty())
            QTest::keyClicks(field, text);
        QTest::keyClick(field, Qt::Key_Return);
    }
    void key(Qt::Key k, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        QTest::keyClick(QApplication::focusWidget(), k, mods);
    }
    QString custom(int i, const QString& key) { return draft(ids[i]).custom.value(key); }
    QList<QUuid> ids;
};

}  // namespace

TEST(LogModeView, ReturnWalksSceneTakeAndFillsTheNextUnloggedClip)
{
    LogFixture f;
    f.show({"a.jpg", "b.jpg", "c.jpg"});
    EXPECT_EQ(f.view->focusField(), LogModeView::Field::scene);
    EXPECT_EQ(f.view->counter()->text(), "1 / 3");
    EXPECT_EQ(f.view->nameLabel()->text(), "a.jpg");

    f.enter("12");
    EXPECT_EQ(f.view->focusField(), LogModeView::Field::take);
    EXPECT_EQ(f.view->idx(), 0);  // Return in Scene only moves the focus
    f.enter("1");
    EXPECT_EQ(f.custom(0, "Scene"), "12");
    EXPECT_EQ(f.custom(0, "Take"), "1");

    EXPECT_EQ(f.view->idx(), 1);
    EXPECT_EQ(f.view->counter()->text(), "2 / 3");
    EXPECT_EQ(f.view->focusField(), LogModeView::Field::scene);
    EXPECT_EQ(f.view->scene(), "12");
    EXPECT_EQ(f.view->take(), "2");
    // Both filled values are in the draft, the unchanged Scene too, so Save writes them.
    EXPECT_EQ(f.custom(1, "Scene"), "12");
    EXPECT_EQ(f.custom(1, "Take"), "2");
    EXPECT_EQ(f.draft(f.ids[1]).title, "read b.jpg");

    f.enter("");
    f.enter("");
    EXPECT_EQ(f.view->idx(), 2);
    EXPECT_EQ(f.view->scene(), "12");
    EXPECT_EQ(f.view->take(), "3");
    EXPECT_EQ(f.custom(2, "Take"), "3");

    // On the last clip Return in Take only releases the focus.
    f.enter("");
    f.enter("");
    EXPECT_EQ(f.view->idx(), 2);
    EXPECT_EQ(f.view->focusField(), std::nullopt);
    EXPECT_FALSE(f.view->sceneEdit()->hasFocus());
    EXPECT_FALSE(f.view->takeEdit()->hasFocus());
}

TEST(LogModeView, AdvancingFillsOnlyUnloggedClipsAndStepsTheTake)
{
    struct Case {
        QString take;        // typed on the first clip
        QString ownTake;     // the second clip's own Take before logging
        QString shownScene;  // on the second clip after advancing
        QString shownTake;
    };
    const QList<Case> cases = {
        {"07", "", "5", "8"},  {"-1", "", "5", "0"}, {"+4", "", "5", "5"}, {"A", "", "5", "A"},
        {"3b", "", "5", "3b"}, {"", "", "5", ""},    {"1", "7", "", "7"},  // a clip with its own Take keeps it and gets
                                                                           // no Scene
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.take.toStdString() + "/" + c.ownTake.toStdString());
        LogFixture f;
        const QList<FileItem> items = f.list({"a.jpg", "b.jpg"});
        if (!c.ownTake.isEmpty())
            f.store->editMeta([&](MetaDrafts& m) {
                MetaFields own;
                own.custom.insert("Take", c.ownTake);
                m.metaDraft.insert(items[1].id, own);
            });
        f.view = std::make_unique<LogModeView>(*f.store);
        f.ids = {items[0].id, items[1].id};
        f.view->show();
        QApplication::setActiveWindow(f.view.get());
        f.enter("5");
        f.enter(c.take);
        EXPECT_EQ(f.view->scene(), c.shownScene);
        EXPECT_EQ(f.view->take(), c.shownTake);
        EXPECT_EQ(f.custom(1, "Take"), c.shownTake);
        EXPECT_EQ(f.custom(1, "Scene"), c.shownScene);
    }
}

TEST(LogModeView, MovingChangesNothingAndStopsAtTheEnds)
{
    LogFixture f;
    f.show({"a.jpg", "b.jpg"});
    f.store->editMeta([&](MetaDrafts& m) { m.metaDraft[f.ids[1]].custom.insert("Scene", "4"); });
    const MetaDrafts before = f.store->meta();
    EXPECT_FALSE(f.view->previousButton()->isEnabled());
    f.key(Qt::Key_Left, Qt::ControlModifier);
    EXPECT_EQ(f.view->idx(), 0);

    f.key(Qt::Key_Right, Qt::ControlModifier);
    EXPECT_EQ(f.view->idx(), 1);
    EXPECT_EQ(f.view->scene(), "4");
    EXPECT_EQ(f.view->focusField(), LogModeView::Field::scene);  // the focus stays
    EXPECT_FALSE(f.view->nextButton()->isEnabled());
    f.view->nextButton()->click();
    EXPECT_EQ(f.view->idx(), 1);
    f.view->previousButton()->click();
    EXPECT_EQ(f.view->idx(), 0);
    EXPECT_EQ(f.store->meta().metaDraft, before.metaDraft);

    // Erasing a logged Scene keeps its key with empty text.
    f.key(Qt::Key_Right, Qt::ControlModifier);
    f.key(Qt::Key_Backspace);
    EXPECT_TRUE(f.draft(f.ids[1]).custom.contains("Scene"));
    EXPECT_EQ(f.custom(1, "Scene"), "");
}

TEST(LogModeView, AMovieReadLandingAfterTypingKeepsTheTypedSceneAndFilledTake)
{
    LogFixture f;
    auto reader = std::make_shared<DeferredReader>();
    f.store.reset();
    StoreServices s = f.env.services();
    s.metadataReader = reader;
    f.store = std::make_unique<Store>(std::move(s));
    f.show({"a.jpg", "b.mov"});
    f.enter("3");
    f.enter("9");  // b.mov is read while it shows Scene "3", Take "10"
    EXPECT_EQ(f.view->take(), "10");
    f.key(Qt::Key_Backspace);
    QTest::keyClicks(QApplication::focusWidget(), "4");
    MetaFields onDisk;
    onDisk.kind = MetaKind::video;
    onDisk.title = "on disk";
    onDisk.custom.insert("Scene", "1");
    onDisk.custom.insert("Take", "1");
    reader->land("b.mov", onDisk);

    EXPECT_EQ(f.view->scene(), "4");
    EXPECT_EQ(f.view->take(), "10");
    EXPECT_EQ(f.draft(f.ids[1]).title, "on disk");
    EXPECT_EQ(f.custom(1, "Scene"), "4");
    EXPECT_EQ(f.custom(1, "Take"), "10");
}

TEST(LogModeView, ShowsTheHintForAnEmptyListAndNothingPastItsEnd)
{
    LogFixture f;
    f.show({});
    EXPECT_TRUE(f.view->hint()->isVisible());
    EXPECT_FALSE(f.view->clipArea()->isVisible());
    EXPECT_EQ(f.view->hint()->text(), "Drag files in first — Batch Rules or Editor.");

    f.view.reset();
    f.show({"a.jpg", "b.jpg"});
    f.view->nextButton()->click();
    f.store->editItems([](QList<FileItem>& items) { items.removeLast(); });
    EXPECT_FALSE(f.view->hint()->isVisible());
    EXPECT_FALSE(f.view->clipArea()->isVisible());
    EXPECT_FALSE(f.view->nextButton()->isVisible());
}

TEST(LogModeView, TextsInBothLanguages)
{
    LogFixture f;
    f.show({"a.jpg"});
    const auto labels = [&f] {
        QStringList texts;
        for (QLabel* label : f.view->findChildren<QLabel*>())
            if (!label->text().isEmpty() && label != f.view->counter() && label != f.view->nameLabel())
                texts.append(label->text());
        texts.append(f.view->previousButton()->accessibleName());
        texts.append(f.view->nextButton()->accessibleName());
        texts.sort();
        return texts;
    };
    QStringList en = {
        "Drag files in first — Batch Rules or Editor.",
        "Next file",
        "Previous file",
        "Return: Scene → Take → next clip (auto-fills the next unlogged clip's Scene/Take)  ·  Ctrl+← / Ctrl+→: "
        "move without changing anything",
        "Scene",
        "Take"};
    en.sort();
    EXPECT_EQ(labels(), en);
    f.store->setLangZh(true);
    QStringList zh = {QString::fromUtf8("先拖入文件 —— 批量规则或编辑器页面。"),
                      QString::fromUtf8("上一个文件"),
                      QString::fromUtf8("下一个文件"),
                      QString::fromUtf8("回车:场次 → 条次 → 下一个片段(自动带入下一个未记录片段的场次/条次) · "
                                        "Ctrl+← / Ctrl+→:仅移动,不改动内容"),
                      QString::fromUtf8("场次"),
                      QString::fromUtf8("条次")};
    zh.sort();
    EXPECT_EQ(labels(), zh);
}

TEST(LogModeScreenshot, BothLanguages)
{
    const QString dir = qEnvironmentVariable("BRINDLECOVE_SCREENSHOTS");
    if (dir.isEmpty())
        GTEST_SKIP() << "set BRINDLECOVE_SCREENSHOTS to a folder to write the pictures";
    LogFixture f;
    f.show({"A001_C001_0531XY_a_rather_long_clip_name_from_camera_card_B.jpg", "A001_C002.jpg", "A001_C003.jpg"});
    f.enter("12");
    f.enter("1");
    QDir().mkpath(dir);
    EXPECT_TRUE(f.view->grab().save(QDir(dir).filePath("log_mode_en.png")));
    f.store->setLangZh(true);
    QTest::qWait(20);
    EXPECT_TRUE(f.view->grab().save(QDir(dir).filePath("log_mode_zh.png")));
}
