// The CSV column sheet opened from the Export submenu: its list, the Add field and Presets
// menus, Done on Return, Reset to automatic, and a CSV export that follows the stored list.
#include "bin/bin_export_presets.h"
#include "bin/csv_field_map_view.h"
#include "bin_view_fixture.h"
#include "ui_events.h"

#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

QMenu* exportMenu(BinViewFixture& f)
{
    QMenu* menu = f.toolbar()->importExportButton()->menu();
    emit menu->aboutToShow();
    return menu->actions()[1]->menu();
}

QMenu* shownMenu(QToolButton* button)
{
    emit button->menu()->aboutToShow();
    return button->menu();
}

CSVFieldMapView* openSheet(BinViewFixture& f)
{
    ui::menuAction(exportMenu(f), f.store->langZh() ? QString::fromUtf8("CSV 字段映射…") : "CSV field mapping…")
        ->trigger();
    return f.view->fieldMapSheet();
}

QStringList rowTitles(CSVFieldMapView* sheet)
{
    QCoreApplication::processEvents();  // the rows are rebuilt once the click is over
    QStringList titles;
    for (int i = 0; i < sheet->list()->count(); ++i)
        titles << sheet->list()->itemWidget(sheet->list()->item(i))->findChild<QLabel*>("fieldTitle")->text();
    return titles;
}

TEST(CSVFieldMapView, TheExportSubmenuOpensTheSheetInBothLanguages)
{
    BinViewFixture f;
    f.list({"A001.mov"});
    QMenu* out = exportMenu(f);
    const QStringList entries = ui::menuTexts(out);
    EXPECT_EQ(entries.mid(entries.size() - 2), (QStringList{"-", "CSV field mapping…"}));
    EXPECT_EQ(ui::menuAction(out, "CSV field mapping…")->toolTip(),
              "Choose which columns CSV export includes, their order, and header names — save as a reusable preset.");

    CSVFieldMapView* sheet = openSheet(f);
    ASSERT_NE(sheet, nullptr);
    EXPECT_TRUE(sheet->isVisible());
    EXPECT_EQ(sheet->list()->count(), 17 + 15 + 27);
    EXPECT_EQ(ui::menuTexts(shownMenu(sheet->addFieldButton())), QStringList{"All fields added"});
    EXPECT_EQ(ui::menuTexts(shownMenu(sheet->presetsButton())), QStringList{"Save as preset…"});
    EXPECT_EQ(sheet->resetButton()->toolTip(), "Include every builtin field plus every custom column actually "
                                               "present when exporting — the original default.");
    sheet->reject();
    QCoreApplication::processEvents();
    EXPECT_FALSE(f.bin().csvFields().has_value());  // closing without Done changes nothing

    f.store->setLangZh(true);
    out = exportMenu(f);
    EXPECT_EQ(ui::menuTexts(out).last(), QString::fromUtf8("CSV 字段映射…"));
    EXPECT_EQ(ui::menuAction(out, QString::fromUtf8("CSV 字段映射…"))->toolTip(),
              QString::fromUtf8("选择 CSV 导出包含哪些列、顺序、以及表头名称 —— 可存成预设复用。"));
    sheet = openSheet(f);
    ASSERT_NE(sheet, nullptr);
    EXPECT_NE(ui::findByText<QLabel>(sheet, QString::fromUtf8("CSV 导出字段")), nullptr);
    EXPECT_EQ(ui::menuTexts(shownMenu(sheet->addFieldButton())), QStringList{QString::fromUtf8("已全部添加")});
    EXPECT_EQ(sheet->addFieldButton()->text(), QString::fromUtf8("添加字段"));
    EXPECT_EQ(sheet->resetButton()->text(), QString::fromUtf8("恢复自动模式"));
    EXPECT_EQ(sheet->presetsButton()->text(), QString::fromUtf8("预设"));
    EXPECT_NE(ui::findByText<QPushButton>(sheet, QString::fromUtf8("完成")), nullptr);
    EXPECT_EQ(
        sheet->list()->itemWidget(sheet->list()->item(0))->findChild<QToolButton*>("removeField")->accessibleName(),
        QString::fromUtf8("移除字段"));
    sheet->presetsButton()->menu()->actions().first()->trigger();
    ASSERT_EQ(f.dialogs.prompts.size(), 1);  // cancelled: nothing saved
    EXPECT_EQ(f.dialogs.prompts[0].title, QString::fromUtf8("保存预设"));
    EXPECT_EQ(f.dialogs.prompts[0].message, QString::fromUtf8("预设名:"));
    sheet->reject();
}

TEST(CSVFieldMapView, EditedColumnsAreStoredOnReturnAndExportedInTheirOrder)
{
    BinViewFixture f;
    f.list({"A001.mov"});
    f.bin().setCustomCols({"Zoom"});
    f.bin().setCsvFields(QList<Exporter::CSVFieldMap>{{"name", "Clip"}, {"title", "Title"}, {"custom:Zoom", "Z"}});
    CSVFieldMapView* sheet = openSheet(f);
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(rowTitles(sheet), (QStringList{"File Name", "Title", "Zoom"}));

    // Remove Title: it is offered again last; adding it back appends it.
    ui::click(sheet->list()->itemWidget(sheet->list()->item(1))->findChild<QToolButton*>("removeField"));
    EXPECT_EQ(rowTitles(sheet), (QStringList{"File Name", "Zoom"}));
    QMenu* add = shownMenu(sheet->addFieldButton());
    EXPECT_EQ(ui::menuTexts(add).last(), "Title");
    ui::menuAction(add, "Title")->trigger();
    EXPECT_EQ(rowTitles(sheet), (QStringList{"File Name", "Zoom", "Title"}));

    // Drag Title to the top, then rename its header.
    sheet->list()->model()->moveRow({}, 2, {}, 0);
    EXPECT_EQ(rowTitles(sheet), (QStringList{"Title", "File Name", "Zoom"}));
    auto* header = sheet->list()->itemWidget(sheet->list()->item(0))->findChild<QLineEdit*>("fieldHeader");
    EXPECT_EQ(header->text(), "Title");
    EXPECT_EQ(header->placeholderText(), "Header");
    header->setFocus();
    header->selectAll();
    ui::typeText(header, "Shot");
    ui::key(header, Qt::Key_Return);  // the Done button is the default
    QCoreApplication::processEvents();
    EXPECT_EQ(f.view->fieldMapSheet(), nullptr);
    ASSERT_TRUE(f.bin().csvFields().has_value());
    EXPECT_EQ(*f.bin().csvFields(),
              (QList<Exporter::CSVFieldMap>{{"title", "Shot"}, {"name", "Clip"}, {"custom:Zoom", "Z"}}));

    const QString out = f.env.path("metadata.csv");
    f.dialogs.saveAnswers.push_back(out);
    ui::menuAction(exportMenu(f), "CSV / TSV")->trigger();
    EXPECT_TRUE(readFile(out).startsWith("Shot,Clip,Z\r\n") || readFile(out).startsWith("Shot,Clip,Z\n"))
        << readFile(out).toStdString();

    sheet = openSheet(f);
    ui::click(sheet->resetButton());
    QCoreApplication::processEvents();
    EXPECT_EQ(f.view->fieldMapSheet(), nullptr);
    EXPECT_FALSE(f.bin().csvFields().has_value());
}

TEST(CSVFieldMapView, PresetsAreSavedLoadedAndDeletedFromItsMenu)
{
    BinViewFixture f;
    f.list({"A001.mov"});
    f.bin().setCsvFields(QList<Exporter::CSVFieldMap>{{"name", "Clip"}});
    CSVFieldMapView* sheet = openSheet(f);
    ASSERT_NE(sheet, nullptr);
    f.dialogs.promptAnswers.push_back(QString("  "));  // blank: nothing saved
    f.dialogs.promptAnswers.push_back(QString("Day 1"));
    ui::menuAction(shownMenu(sheet->presetsButton()), "Save as preset…")->trigger();
    ui::menuAction(shownMenu(sheet->presetsButton()), "Save as preset…")->trigger();
    EXPECT_EQ(f.dialogs.prompts[0].title, "Save Preset");
    EXPECT_EQ(f.store->status(), "Saved export preset: Day 1");
    EXPECT_EQ(f.bin().exportPresets().exportPresetNames(), QStringList{"Day 1"});

    QMenu* presets = shownMenu(sheet->presetsButton());
    EXPECT_EQ(ui::menuTexts(presets), (QStringList{"Save as preset…", "-", "Load preset", "Delete preset"}));
    ui::click(sheet->list()->itemWidget(sheet->list()->item(0))->findChild<QToolButton*>("removeField"));
    EXPECT_TRUE(rowTitles(sheet).isEmpty());
    ui::menuAction(ui::menuAction(presets, "Load preset")->menu(), "Day 1")->trigger();
    EXPECT_EQ(rowTitles(sheet), QStringList{"File Name"});
    EXPECT_EQ(f.store->status(), "Loaded export preset: Day 1");

    ui::menuAction(ui::menuAction(shownMenu(sheet->presetsButton()), "Delete preset")->menu(), "Day 1")->trigger();
    EXPECT_TRUE(f.bin().exportPresets().exportPresetNames().isEmpty());
    EXPECT_EQ(ui::menuTexts(shownMenu(sheet->presetsButton())), QStringList{"Save as preset…"});
    sheet->reject();
}

}  // namespace
