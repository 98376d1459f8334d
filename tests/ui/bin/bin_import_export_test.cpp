// The bin's Import / Export menu: the submenus and their enabling, an import merged from a chosen
// file, and an export of every row written where the save panel says.
#include "bin_view_fixture.h"
#include "ui_events.h"

#include <QFile>
#include <QMenu>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

QMenu* importExportMenu(BinViewFixture& f)
{
    QMenu* menu = f.toolbar()->importExportButton()->menu();
    emit menu->aboutToShow();
    return menu;
}

TEST(BinImportExportMenu, ExportIsOfferedOnlyWithListedFilesAndEntriesAreInOrder)
{
    BinViewFixture f;
    QMenu* menu = importExportMenu(f);
    ASSERT_EQ(menu->actions().size(), 2);
    EXPECT_EQ(menu->actions()[0]->text(), "Import");
    EXPECT_TRUE(menu->actions()[0]->isEnabled());
    EXPECT_EQ(menu->actions()[1]->text(), "Export");
    EXPECT_FALSE(menu->actions()[1]->isEnabled());
    EXPECT_EQ(ui::menuTexts(menu->actions()[0]->menu()),
              (QStringList{"CSV / TSV", "ALE (Avid)", "FCPXML", "XML (FCP 7)"}));

    f.list({"A001.mov"});
    f.store->setLangZh(true);
    menu = importExportMenu(f);
    EXPECT_EQ(menu->actions()[0]->text(), QString::fromUtf8("导入"));
    EXPECT_EQ(menu->actions()[1]->text(), QString::fromUtf8("导出"));
    EXPECT_TRUE(menu->actions()[1]->isEnabled());
    EXPECT_EQ(ui::menuTexts(menu->actions()[1]->menu()),
              (QStringList{"CSV / TSV", "ALE (Avid)", "FCPXML", "XML (FCP 7)", "EDL (CMX 3600)", "-",
                           QString::fromUtf8("CSV 字段映射…")}));
}

TEST(BinImportExportMenu, ExportWritesEveryRowAndImportMergesItBack)
{
    BinViewFixture f;
    f.list({"A001.mov", "A002.mov"});
    BinRow first = f.row(0);
    first.setValue("Wide %name", "title");
    f.bin().writeRow(0, first);

    const QString out = f.env.path("out/metadata.csv");
    QDir().mkpath(f.env.path("out"));
    f.dialogs.saveAnswers.push_back(out);
    ui::menuAction(importExportMenu(f)->actions()[1]->menu(), "CSV / TSV")->trigger();
    ASSERT_EQ(f.dialogs.saves.size(), 1);
    EXPECT_EQ(f.dialogs.saves[0].fileName, "metadata.csv");
    EXPECT_EQ(f.store->status(), "Exported metadata.csv");
    QFile file(out);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(file.readAll());
    EXPECT_TRUE(text.contains("Wide A001")) << text.toStdString();
    EXPECT_TRUE(text.contains("A002.mov"));

    // The same file brought back after the cell was cleared fills it again.
    first = f.row(0);
    first.setValue("", "title");
    f.bin().writeRow(0, first);
    f.dialogs.answerOpen({out});
    ui::menuAction(importExportMenu(f)->actions()[0]->menu(), "CSV / TSV")->trigger();
    EXPECT_EQ(f.row(0).value("title"), "Wide A001");

    f.dialogs.saveAnswers.push_back(f.env.path("missing/folder/metadata.ale"));
    ui::menuAction(importExportMenu(f)->actions()[1]->menu(), "ALE (Avid)")->trigger();
    EXPECT_EQ(f.store->status(), "Export failed.");
}

}  // namespace
