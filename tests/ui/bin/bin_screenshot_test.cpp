// Writes pictures of the bin with technical and logging columns, an offline row and formula
// cells, of its open Tools and Import / Export menus and of the CSV column sheet, in both
// languages, when BRINDLECOVE_SCREENSHOTS names a folder; skipped otherwise.
#include "bin/bin_columns.h"
#include "bin/bin_custom_columns.h"
#include "bin/bin_export_presets.h"
#include "bin/csv_field_map_view.h"
#include "bin_view_fixture.h"

#include <QDir>
#include <QMenu>
#include <QScrollBar>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

TEST(BinScreenshot, TechnicalAndLoggingColumnsInBothLanguages)
{
    const QString dir = qEnvironmentVariable("BRINDLECOVE_SCREENSHOTS");
    if (dir.isEmpty())
        GTEST_SKIP() << "set BRINDLECOVE_SCREENSHOTS to a folder to write the pictures";
    BinViewFixture f;
    f.list({"A001_C001_0531XY.mov", "A001_C002_0531XY.mov", "still_0001.jpg", "call sheet.pdf", "notes.txt"});
    f.bin().customColumns().addColumns(BinColumns::logging() + BinColumns::technical());
    QList<BinRow> rows = f.bin().rows();
    BinRow offline = BinViewFixture::offlineRow("A002_C010_0601ZZ.mov");
    offline.setValue("/Volumes/CARD_B/A002_C010_0601ZZ.mov", "custom:Source Path");
    rows.append(offline);
    const QStringList scenes = {"12", "12", "14", "", "", "15"};
    const QStringList takes = {"1", "2", "1", "", "", "3"};
    for (int i = 0; i < rows.size(); ++i) {
        rows[i].setValue(scenes[i], "custom:Scene");
        rows[i].setValue(takes[i], "custom:Take");
        if (i < 3)
            rows[i].setValue("%scene_%take", "clipname");
        if (rows[i].kind == MetaKind::video) {
            rows[i].fields.info = "ProRes 422 HQ · 3840×2160 · 25 fps · 00:00:12:05";
            rows[i].setValue("QuickTime", "custom:Format");
            rows[i].setValue("3840×2160", "custom:Resolution");
            rows[i].setValue("25", "custom:Frame Rate");
        }
    }
    rows[0].setValue("1", "custom:Circle");
    rows[1].setValue("%scene_%shot_%lens", "title");
    rows[2].setValue("2024-05-31 09:12:00", "date");
    f.bin().setRows(rows);
    f.store->setQuickEditMode(true);
    f.select({1});
    f.view->resize(1500, 560);
    QTest::qWait(50);
    QDir().mkpath(dir);
    // The first columns, then from the first logging and from the first technical column on.
    const auto shoot = [&](const QString& lang) {
        const QList<QPair<QString, QString>> views = {{"name", ""},
                                                      {"custom:Tape", "_logging"},
                                                      {"custom:Format", "_technical"}};
        for (const auto& [key, suffix] : views) {
            QHeaderView* header = f.table()->horizontalHeader();
            f.table()->horizontalScrollBar()->setValue(header->sectionPosition(f.model()->columnOf(key)));
            QTest::qWait(20);
            EXPECT_TRUE(f.view->grab().save(QDir(dir).filePath("bin_view_" + lang + suffix + ".png")));
        }
    };
    shoot("en");
    f.store->setLangZh(true);
    shoot("zh");
}

TEST(BinScreenshot, ToolsMenuInBothLanguages)
{
    const QString dir = qEnvironmentVariable("BRINDLECOVE_SCREENSHOTS");
    if (dir.isEmpty())
        GTEST_SKIP() << "set BRINDLECOVE_SCREENSHOTS to a folder to write the pictures";
    BinViewFixture f;
    f.list({"A001_C001_0531XY.mov", "still_0001.jpg"});
    QDir().mkpath(dir);
    for (const bool zh : {false, true}) {
        f.store->setLangZh(zh);
        QMenu* menu = f.toolbar()->toolsMenu();
        menu->popup(f.toolbar()->toolsButton()->mapToGlobal(QPoint(0, f.toolbar()->toolsButton()->height())));
        QMenu* translate = menu->actions().at(4)->menu();
        menu->setActiveAction(menu->actions().at(4));
        translate->popup(menu->mapToGlobal(menu->actionGeometry(menu->actions().at(4)).topRight()));
        QTest::qWait(50);
        const QString lang = zh ? "zh" : "en";
        EXPECT_TRUE(menu->grab().save(QDir(dir).filePath("bin_tools_menu_" + lang + ".png")));
        EXPECT_TRUE(translate->grab().save(QDir(dir).filePath("bin_tools_translate_" + lang + ".png")));
        translate->hide();
        menu->hide();
    }
}

TEST(BinScreenshot, ExportMenuAndCsvFieldMappingSheetInBothLanguages)
{
    const QString dir = qEnvironmentVariable("BRINDLECOVE_SCREENSHOTS");
    if (dir.isEmpty())
        GTEST_SKIP() << "set BRINDLECOVE_SCREENSHOTS to a folder to write the pictures";
    BinViewFixture f;
    f.list({"A001_C001_0531XY.mov", "still_0001.jpg"});
    f.bin().setCustomCols({"Scene", "Take", "Zoom"});
    f.bin().setCsvFields(QList<Exporter::CSVFieldMap>{{"name", "File Name"},
                                                      {"custom:Scene", "Sc"},
                                                      {"custom:Take", "Tk"},
                                                      {"clipName", "Clip"},
                                                      {"fps", "FPS"}});
    QDir().mkpath(dir);
    f.bin().exportPresets().saveExportPreset("Dailies", {{"name", "File Name"}});
    for (const bool zh : {false, true}) {
        f.store->setLangZh(zh);
        const QString lang = zh ? "zh" : "en";
        QMenu* menu = f.toolbar()->importExportButton()->menu();
        menu->popup(
            f.toolbar()->importExportButton()->mapToGlobal(QPoint(0, f.toolbar()->importExportButton()->height())));
        QMenu* out = menu->actions().at(1)->menu();
        menu->setActiveAction(menu->actions().at(1));
        out->popup(menu->mapToGlobal(menu->actionGeometry(menu->actions().at(1)).topRight()));
        QTest::qWait(50);
        EXPECT_TRUE(menu->grab().save(QDir(dir).filePath("bin_import_export_menu_" + lang + ".png")));
        EXPECT_TRUE(out->grab().save(QDir(dir).filePath("bin_export_submenu_" + lang + ".png")));
        out->hide();
        menu->hide();

        f.view->openFieldMapSheet();
        CSVFieldMapView* sheet = f.view->fieldMapSheet();
        ASSERT_NE(sheet, nullptr);
        QTest::qWait(50);
        EXPECT_TRUE(sheet->grab().save(QDir(dir).filePath("csv_field_map_sheet_" + lang + ".png")));
        QMenu* presets = sheet->presetsButton()->menu();
        presets->popup(sheet->presetsButton()->mapToGlobal(QPoint(0, sheet->presetsButton()->height())));
        QTest::qWait(50);
        EXPECT_TRUE(presets->grab().save(QDir(dir).filePath("csv_field_map_presets_" + lang + ".png")));
        presets->hide();
        QMenu* add = sheet->addFieldButton()->menu();
        add->popup(sheet->addFieldButton()->mapToGlobal(QPoint(0, sheet->addFieldButton()->height())));
        QTest::qWait(50);
        EXPECT_TRUE(add->grab().save(QDir(dir).filePath("csv_field_map_add_" + lang + ".png")));
        add->hide();
        sheet->reject();
        QTest::qWait(20);
    }
}
