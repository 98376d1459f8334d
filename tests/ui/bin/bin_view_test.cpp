#include "bin/dialogs_bin_desk.h"
#include "bin_view_fixture.h"
#include "common/open_panels.h"
#include "files/intake.h"

#include <QLabel>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

TEST(BinToolbar, EnablingFollowsTheListTheHistoryAndBusy)
{
    BinViewFixture f;
    BinToolbar* t = f.toolbar();
    EXPECT_FALSE(t->editButton()->isEnabled());
    EXPECT_FALSE(t->toolsButton()->isEnabled());
    for (QWidget* w :
         std::initializer_list<QWidget*>{t->columnsButton(), t->reloadButton(), t->mediaDriveButton(),
                                         t->quickEditButton(), t->importExportButton(), t->saveAllButton()})
        EXPECT_TRUE(w->isEnabled());
    EXPECT_FALSE(t->undoButton()->isEnabled());
    EXPECT_FALSE(t->stopButton()->isVisible());

    f.list({"a.jpg", "b.jpg"});
    EXPECT_TRUE(t->editButton()->isEnabled());
    EXPECT_TRUE(t->toolsButton()->isEnabled());
    EXPECT_FALSE(t->undoButton()->isEnabled());
    f.bin().commitFieldEdit("x", f.row(0).id, "title");
    f.bin().commitFieldEdit("y", f.row(1).id, "title");
    EXPECT_TRUE(t->undoButton()->isEnabled());
    ui::click(t->undoButton());
    EXPECT_TRUE(t->undoButton()->isEnabled());
    QTest::keyClick(f.view.get(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_FALSE(t->undoButton()->isEnabled());
    EXPECT_EQ(f.row(0).value("title"), "");

    f.bin().setBusy(true);
    EXPECT_FALSE(t->importExportButton()->isEnabled());
    EXPECT_FALSE(t->toolsButton()->isEnabled());
    EXPECT_FALSE(t->saveAllButton()->isEnabled());
    EXPECT_TRUE(t->stopButton()->isVisible());
    EXPECT_TRUE(t->progress()->isVisible());
    ui::click(t->stopButton());
    EXPECT_TRUE(f.bin().stopRequested());
    f.bin().setBusy(false);
    EXPECT_TRUE(t->saveAllButton()->isEnabled());
}

TEST(BinToolbar, TextsInBothLanguages)
{
    BinViewFixture f;
    BinToolbar* t = f.toolbar();
    const auto texts = [t] {
        return QStringList{t->reloadButton()->text(),       t->mediaDriveButton()->text(), t->columnsButton()->text(),
                           t->editButton()->text(),         t->undoButton()->text(),       t->quickEditButton()->text(),
                           t->importExportButton()->text(), t->toolsButton()->text(),      t->stopButton()->text(),
                           t->saveAllButton()->text()};
    };
    EXPECT_EQ(texts(), QStringList({"Reload", "Media Drive", "Columns", "Edit", "Undo edit", "Quick Edit",
                                    "Import / Export", "Tools", "Stop", "Save all changes"}));
    EXPECT_EQ(t->undoButton()->toolTip(),
              QString::fromUtf8("Undo the last metadata edit — cell, batch input, fill down, paste (Ctrl+Shift+Z)."));
    EXPECT_EQ(t->quickEditButton()->toolTip().split('\n').size(), 6);
    f.store->setLangZh(true);
    EXPECT_EQ(texts(), QStringList({"重新读取", "媒体盘", "列", "编辑", "撤销编辑", "快捷编辑", "导入 / 导出", "工具",
                                    "停止", "保存全部更改"}));
    EXPECT_EQ(t->reloadButton()->toolTip(), QString::fromUtf8("从磁盘重新读取元数据(丢弃未保存的编辑)"));
    EXPECT_TRUE(
        t->quickEditButton()->toolTip().startsWith(QString::fromUtf8("快捷编辑模式 —— 当某个格子处于编辑状态时:\n")));

    // The Save label counts edited files and pending names.
    f.list({"a.jpg", "b.jpg"});
    f.bin().commitFieldEdit("x", f.row(0).id, "title");
    f.bin().commitFieldEdit("new.jpg", f.row(1).id, "name");
    EXPECT_TRUE(QTest::qWaitFor([t] { return t->saveAllButton()->text() == QString::fromUtf8("保存全部更改(2)"); }));
    f.store->setLangZh(false);
    EXPECT_EQ(t->saveAllButton()->text(), "Save all changes (2)");
}

TEST(BinToolbar, ColumnsAndEditMenusOfferTheirEntries)
{
    BinViewFixture f;
    f.list({"a.jpg", "b.jpg"});
    QMenu* columns = f.toolbar()->columnsMenu();
    EXPECT_EQ(ui::menuTexts(columns),
              QStringList({"Add custom column", "Add technical columns (auto-read)",
                           "Add logging columns (Scene/Take…)", "Add all Avid bin columns", "-", "Save bin preset"}));
    ui::menuAction(columns, "Add logging columns (Scene/Take…)")->trigger();
    EXPECT_EQ(f.bin().customCols().size(), 15);
    EXPECT_EQ(f.model()->columnCount(), 4 + 10 + 15);
    f.bin().setDesk(std::make_shared<DialogsBinDesk>(f.dialogs));  // questions through the dialogs
    f.dialogs.promptAnswers.push_back(QString("Mine"));
    ui::menuAction(columns, "Save bin preset")->trigger();
    columns = f.toolbar()->columnsMenu();
    EXPECT_EQ(ui::menuTexts(columns).mid(6), QStringList({"Load preset", "Delete preset"}));

    QMenu* edit = f.toolbar()->editMenu();
    EXPECT_EQ(ui::menuTexts(edit), QStringList({"Batch input", "Fill down", "-", "Set Clip Name formula (bulk)", "-",
                                                "Copy column", "Paste column"}));
    EXPECT_FALSE(ui::menuAction(edit, "Fill down")->isEnabled());
    EXPECT_FALSE(ui::menuAction(edit, "Paste column")->isEnabled());
    f.select({0, 1});
    edit = f.toolbar()->editMenu();
    EXPECT_TRUE(ui::menuAction(edit, "Fill down")->isEnabled());
    f.store->setLangZh(true);
    edit = f.toolbar()->editMenu();
    EXPECT_EQ(ui::menuTexts(edit).first(), QString::fromUtf8("批量输入"));
}

TEST(BinScreen, EmptyPromptHintLinesAndStatus)
{
    BinViewFixture f;
    f.store->intake().setOpenPanels(std::make_shared<DialogsOpenPanels>(f.dialogs));
    EXPECT_FALSE(f.view->showsTable());
    EXPECT_TRUE(f.view->headerTips()->isVisible());
    EXPECT_FALSE(f.view->quickEditHelp()->isVisible());
    EXPECT_TRUE(ui::findByText<QLabel>(f.view.get(), "Drag files here to build the bin table"));
    QTest::mouseDClick(f.view->emptyState(), Qt::LeftButton);
    EXPECT_EQ(f.dialogs.opens.size(), 1);  // the Add Files panel

    ui::click(f.toolbar()->quickEditButton());
    EXPECT_TRUE(f.store->prefs().quickEditMode);
    EXPECT_TRUE(f.view->quickEditHelp()->isVisible());
    EXPECT_TRUE(f.view->quickEditHelp()->text().startsWith("Quick Edit Mode:  ← → ±1"));
    f.list({"a.jpg", "b.jpg"});
    EXPECT_TRUE(f.view->showsTable());
    QList<BinRow> rows = f.bin().rows();
    rows.append(BinViewFixture::offlineRow("gone.mov"));
    f.bin().setRows(rows);
    f.select({0, 1});
    EXPECT_EQ(f.view->statusLine()->text(), QString::fromUtf8("3 clips · 2 selected · 1 offline"));
    f.store->setLangZh(true);
    EXPECT_EQ(f.view->statusLine()->text(), QString::fromUtf8("3 个片段 · 已选 2 · 1 离线"));
    EXPECT_TRUE(f.view->headerTips()->text().startsWith(QString::fromUtf8("右键表头可显示/隐藏")));
    ui::click(f.toolbar()->quickEditButton());
    EXPECT_FALSE(f.view->quickEditHelp()->isVisible());
}

}  // namespace
