// Writes pictures of the bin with technical and logging columns, an offline row and formula
// cells, and of its open Tools menu, in both languages, when BRINDLECOVE_SCREENSHOTS names a
// folder; skipped otherwise.
#include "bin/bin_columns.h"
#include "bin/bin_custom_columns.h"
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
