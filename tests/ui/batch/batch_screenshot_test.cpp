// Writes pictures of the Batch Rules screen with a conflict shown, in both languages, when
// BRINDLECOVE_SCREENSHOTS names a folder; skipped otherwise.
#include "batch/rules/rules_form.h"
#include "batch_fixture.h"

#include <QDir>
#include <QImage>
#include <QPixmap>
#include <QTest>
#include <gtest/gtest.h>

TEST(BatchScreenshot, ConflictShownInBothLanguages)
{
    const QString dir = qEnvironmentVariable("BRINDLECOVE_SCREENSHOTS");
    if (dir.isEmpty())
        GTEST_SKIP() << "set BRINDLECOVE_SCREENSHOTS to a folder to write the pictures";
    BatchFixture f;
    f.view->setRulesPanel(new RulesForm(*f.store, f.dialogs));
    QStringList names = f.numbered(10, "A001_C%1_take 1.mov");
    names << "B002_C0001_take 2 with a rather long name that wraps onto a second line.mov";
    f.list(names);
    f.env.makeFile("Reel_A001_C0003_take_1.mov");  // takes one new name
    f.store->editRules([](RuleSettings& r) {
        r.prefixEnabled = true;
        r.prefixText = "Reel_";
        r.spaceMode = SpaceMode::underscore;
    });
    f.view->resize(1280, 820);
    f.view->show();
    f.view->refreshConflicts();
    QTest::qWait(50);  // let the layouts follow the new texts
    ASSERT_EQ(f.view->conflicts().size(), 1);
    QDir().mkpath(dir);
    EXPECT_TRUE(f.view->grab().save(QDir(dir).filePath("batch_view_en.png")));
    f.store->setLangZh(true);
    f.view->refreshConflicts();
    QTest::qWait(50);
    EXPECT_TRUE(f.view->grab().save(QDir(dir).filePath("batch_view_zh.png")));
}
