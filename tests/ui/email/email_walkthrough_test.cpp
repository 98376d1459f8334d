// A new user's road through the Email tab in the main window: five names recognised in Smart
// Rename are handed over, the per-file template is picked, a value typed and every e-mail copied.
// With BRINDLECOVE_SCREENSHOTS naming a folder it also writes pictures in both languages.
#include "../app/shell_fixture.h"
#include "common/clipboard.h"
#include "email/email_results_view.h"
#include "email/email_template_row.h"
#include "email/email_view.h"
#include "smartrename/smart_rename_run.h"

#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

TEST(EmailWalkthrough, FiveRecognisedNamesBecomeCopiedEmails)
{
    ShellFixture f;
    f.window->resize(1100, 900);
    f.window->show();
    f.store->setSmartRenameInputText("abc_summer sale_trlr_30_v1.mov\nABC_SummerSale_Teaser_15_V2.mov\n"
                                     "xyz_winter_tv_60_v3.mxf\nXYZ_Winter_Cutdown_06_V1\nabc_spring_promo_20_v4.mp4");
    f.store->smartRun().recognize();
    QTRY_COMPARE(f.store->smart().smartRenameRows.size(), 5);
    // What Smart Rename's Generate Email hands over: one context per row, in row order.
    QList<EmailFileContext> handOver;
    for (const SmartRenameRow& r : f.store->smart().smartRenameRows)
        handOver << EmailFileContext{r.original, r.corrected, r.code, r.spotName, r.cutType, r.timing, r.version};
    f.store->setPendingEmailContexts(handOver);
    f.store->setActiveTab(4);

    auto* view = qobject_cast<EmailView*>(f.window->modeScreen());
    ASSERT_TRUE(view);
    EmailResultsView* results = view->results();
    EXPECT_TRUE(results->batchView()->isVisibleTo(view));
    EXPECT_TRUE(results->batchEditor()->toPlainText().contains("following 5 files ready"));

    QComboBox* picker = view->templateRow()->picker();
    picker->setCurrentIndex(1);
    emit picker->activated(1);
    QLineEdit* recipient = nullptr;
    for (QLineEdit* e : view->findChildren<QLineEdit*>())
        if (e->placeholderText() == "recipient" && e->isVisibleTo(view))
            recipient = e;
    ASSERT_TRUE(recipient);
    recipient->setFocus();
    QTest::keyClicks(recipient, "Dana");
    ui::click(view->generateButton());
    ASSERT_EQ(results->cardEditors().size(), 5);
    ui::click(results->copyAllButton());
    const QString copied = SystemClipboard::instance().text();
    EXPECT_EQ(copied.count("Hi Dana,"), 5);
    EXPECT_EQ(copied.count("\n\n----------\n\n"), 4);

    const QString dir = qEnvironmentVariable("BRINDLECOVE_SCREENSHOTS");
    if (dir.isEmpty())
        return;
    QDir().mkpath(dir);
    view->templateRow()->editButton()->click();
    QTest::qWait(50);
    EXPECT_TRUE(f.window->grab().save(QDir(dir).filePath("email_view_en.png")));
    f.store->setLangZh(true);
    QTest::qWait(50);
    EXPECT_TRUE(f.window->grab().save(QDir(dir).filePath("email_view_zh.png")));
}
