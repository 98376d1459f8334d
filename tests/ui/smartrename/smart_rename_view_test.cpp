#include "model/store.h"
#include "smartrename/smart_rename_results_model.h"
#include "smartrename/smart_rename_run.h"
#include "smartrename/smart_rename_toolbar.h"
#include "smartrename/smart_rename_view.h"
#include "test_support.h"

#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>

namespace {

struct SmartViewFixture {
    TestEnv env;
    std::unique_ptr<Store> store = env.makeStore();
    FakeDialogs dialogs;
    std::unique_ptr<SmartRenameView> view = std::make_unique<SmartRenameView>(*store, dialogs);
    SmartRenameToolbar& bar() { return *view->toolbar(); }
    void paste(const QString& text) { view->inputEditor()->setPlainText(text); }
    void recognize() { QTest::mouseClick(bar().recognizeButton(), Qt::LeftButton); }
    const QList<SmartRenameRow>& rows() const { return store->smart().smartRenameRows; }
};

TEST(SmartRenameView, ToolbarFollowsTextRowsAndRun)
{
    SmartViewFixture f;
    EXPECT_TRUE(f.bar().recognizeButton()->isEnabled());
    EXPECT_FALSE(f.bar().clearButton()->isEnabled());
    EXPECT_TRUE(f.bar().copyAllButton()->isHidden());
    EXPECT_FALSE(f.view->placeholder()->isHidden());

    f.paste(" ");
    EXPECT_TRUE(f.bar().clearButton()->isEnabled());  // blanks count as text
    f.recognize();
    EXPECT_TRUE(f.rows().isEmpty());
    EXPECT_FALSE(f.view->placeholder()->isHidden());

    QStringList lines;
    for (int i = 1; i <= 45; ++i)
        lines << QStringLiteral("ABC_Spot_:30_V%1").arg(i);
    f.paste(lines.join('\n'));
    f.recognize();
    EXPECT_FALSE(f.bar().recognizeButton()->isEnabled());
    EXPECT_FALSE(f.bar().clearButton()->isEnabled());
    EXPECT_FALSE(f.bar().progressLabel()->isHidden());
    EXPECT_EQ(f.bar().progressLabel()->text(), "Recognizing 20 / 45");
    ASSERT_TRUE(QTest::qWaitFor([&] { return f.rows().size() == 45; }, 20000));
    EXPECT_TRUE(f.bar().recognizeButton()->isEnabled());
    EXPECT_TRUE(f.bar().progressLabel()->isHidden());
    EXPECT_FALSE(f.bar().copyAllButton()->isHidden());
    EXPECT_EQ(f.view->resultsModel()->rowCount(), 45);
    EXPECT_TRUE(f.view->placeholder()->isHidden());

    QTest::mouseClick(f.bar().clearButton(), Qt::LeftButton);
    EXPECT_TRUE(f.view->inputEditor()->toPlainText().isEmpty());
    EXPECT_TRUE(f.rows().isEmpty());
    EXPECT_FALSE(f.bar().clearButton()->isEnabled());
}

TEST(SmartRenameView, DuplicatesMarkedAndEditsWrittenBack)
{
    SmartViewFixture f;
    f.paste("ABC_Spot_:30_V1\nabc_spot_:30_v1\nXYZ_Other_:15_V2");
    f.recognize();
    SmartRenameResultsModel& model = *f.view->resultsModel();
    ASSERT_EQ(model.rowCount(), 3);
    ASSERT_EQ(f.rows().at(0).corrected.toLower(), f.rows().at(1).corrected.toLower());
    EXPECT_FALSE(f.view->duplicateWarning()->isHidden());
    EXPECT_TRUE(model.marks(0).contains("duplicate"));
    EXPECT_TRUE(model.marks(1).contains("duplicate"));
    EXPECT_FALSE(model.marks(2).contains("duplicate"));

    EXPECT_TRUE(model.setData(model.index(1, SmartRenameResultsModel::Corrected), "Hand_Edit", Qt::EditRole));
    EXPECT_EQ(f.rows().at(1).corrected, "Hand_Edit");
    EXPECT_FALSE(model.marks(0).contains("duplicate"));
    EXPECT_TRUE(f.view->duplicateWarning()->isHidden());
    EXPECT_EQ(model.rowCount(), 3);

    QTest::mouseClick(f.bar().copyAllButton(), Qt::LeftButton);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), SmartRename::joinedResults(f.rows()));
}

TEST(SmartRenameView, LoadedFilesRowAndOptions)
{
    SmartViewFixture f;
    EXPECT_EQ(f.view->loadedCount()->text(), "No files loaded.");
    EXPECT_FALSE(f.view->useLoadedButton()->isEnabled());
    f.store->editItems([&](QList<FileItem>& items) { items << FileItem::file(f.env.makeFile("ABC_Spot_V1.MOV")); });
    EXPECT_EQ(f.view->loadedCount()->text(), "1 file(s) loaded.");
    f.store->setLangZh(true);
    EXPECT_EQ(f.view->loadedCount()->text(), "已加载 1 个文件。");
    EXPECT_EQ(f.bar().recognizeButton()->text(), "识别");

    f.view->keepExtBox()->setChecked(true);
    QTest::keyClicks(f.view->ignoreField(), "_x , ,_y");
    EXPECT_TRUE(f.env.settings->boolValue("smartRenameKeepExt").value_or(false));
    EXPECT_EQ(f.env.settings->stringValue("smartRenameIgnoreText").value_or(""), "_x , ,_y");
    QTest::mouseClick(f.view->useLoadedButton(), Qt::LeftButton);
    ASSERT_EQ(f.rows().size(), 1);
    EXPECT_TRUE(f.rows().at(0).corrected.endsWith(".MOV"));
    EXPECT_TRUE(f.rows().at(0).sourceItem);
}

TEST(SmartRenameView, TextAndResultsOutliveTheScreen)
{
    SmartViewFixture f;
    f.paste("ABC_Spot_:30_V1");
    f.recognize();
    f.view = std::make_unique<SmartRenameView>(*f.store, f.dialogs);
    EXPECT_EQ(f.view->inputEditor()->toPlainText(), "ABC_Spot_:30_V1");
    EXPECT_EQ(f.view->resultsModel()->rowCount(), 1);

    // A long run goes on while the screen is gone; the new screen shows its progress.
    f.store->setLangZh(true);
    f.paste(QStringList(45, "ABC_Spot_:30_V1").join('\n'));
    f.recognize();
    f.view = std::make_unique<SmartRenameView>(*f.store, f.dialogs);
    EXPECT_EQ(f.bar().progressLabel()->text(), "识别中 20 / 45");
    EXPECT_FALSE(f.bar().recognizeButton()->isEnabled());
    EXPECT_FALSE(f.view->useLoadedButton()->isEnabled());
    ASSERT_TRUE(QTest::qWaitFor([&] { return f.rows().size() == 45; }, 20000));
    EXPECT_EQ(f.view->resultsModel()->rowCount(), 45);
    EXPECT_TRUE(f.bar().progressLabel()->isHidden());
}

TEST(SmartRenameScreenshot, ResultsInBothLanguages)
{
    const QString dir = qEnvironmentVariable("BRINDLECOVE_SCREENSHOTS");
    if (dir.isEmpty())
        GTEST_SKIP() << "set BRINDLECOVE_SCREENSHOTS to a folder to write the pictures";
    SmartViewFixture f;
    f.store->editItems([&](QList<FileItem>& items) { items << FileItem::file(f.env.makeFile("a.mov")); });
    f.paste("ABC_HolidayPromo_:30_V2.mov\nabc_holidaypromo_:30_v2.mov\nXYZ Brand Anthem 60 final\n"
            "\"Summer Sale\" :15 V.3\nDEF_Launch_Teaser_:06_V1");
    f.recognize();
    f.view->resize(1100, 640);
    f.view->show();
    QTest::qWait(50);
    QDir().mkpath(dir);
    EXPECT_TRUE(f.view->grab().save(QDir(dir).filePath("smart_rename_en.png")));
    f.store->setLangZh(true);
    QTest::qWait(50);
    EXPECT_TRUE(f.view->grab().save(QDir(dir).filePath("smart_rename_zh.png")));
}

}  // namespace
