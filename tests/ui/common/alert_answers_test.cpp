#include "../batch/batch_fixture.h"
#include "app/app_updater.h"
#include "app/install_location.h"
#include "app/quit_guard.h"
#include "app/updater_ui.h"
#include "common/dialogs.h"
#include "common/open_panels.h"
#include "common/prompts.h"
#include "platform/lang.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

namespace {
// Shows the alert in a real message box and lets `act` look at it and answer it. A box that
// ignores the answer is closed by its first button after a while, so a failing test never hangs.
Dialogs::AlertResult answerReally(const Dialogs::Alert& alert, std::function<void(QMessageBox*)> act)
{
    QtDialogs dialogs;
    QTimer::singleShot(0, [&] {
        QPointer<QMessageBox> box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        act(box);
        QTimer::singleShot(1500, [box] {
            if (box)
                box->buttons().first()->click();
        });
    });
    return dialogs.alert(alert);
}

// The alerts the screens raise with two answers, each with the text of its refusing answer.
QList<QPair<Dialogs::Alert, QString>> twoButtonAlerts(bool zh)
{
    QList<QPair<Dialogs::Alert, QString>> out;
    const QString cancel = zh ? "取消" : "Cancel";
    const QString notNow = zh ? "以后再说" : "Not Now";
    FakeDialogs fake;

    BatchFixture batch;
    batch.store->setLangZh(zh);
    batch.list(batch.numbered(100));
    batch.prefix("x_");
    batch.view->refreshConflicts();
    batch.view->confirmLargeRename();
    out.append({batch.dialogs.alerts.takeLast(), cancel});

    TestEnv env;
    auto store = env.makeStore();
    store->setLangZh(zh);
    store->setItems({FileItem::file("/tmp/clip.mov")});
    store->editMeta([&](MetaDrafts& m) {
        MetaFields edited;
        edited.title = "changed";
        m.metaOriginal.insert(store->items().first().id, MetaFields());
        m.metaDraft.insert(store->items().first().id, edited);
    });
    confirmQuitWithUnsavedMetadata(*store, fake);
    out.append({fake.alerts.takeLast(), cancel});

    fake.question(zh ? "要清空全部改名记录吗?" : "Clear the whole rename log?", "", cancel, zh ? "清空" : "Clear",
                  true);
    out.append({fake.alerts.takeLast(), cancel});

    AppUpdater updater(QUrl(), "1.0");
    UpdateNotifier notifier(updater, fake, [](const QUrl&) { return true; });
    UpdateCheckResult update;
    update.kind = UpdateCheckResult::Kind::updateAvailable;
    update.release.displayVersion = "2.0";
    notifier.show(update);
    out.append({fake.alerts.takeLast(), notNow});

    InstallLocation outside;
    outside.imagePath = env.makeFile("Downloads/Brindlecove.AppImage", "image");
    outside.applications = env.path("home/Applications");
    moveToApplicationsIfNeeded(outside, fake);
    out.append({fake.alerts.takeLast(), notNow});

    DialogsAccessPrompter prompter(fake);
    prompter.confirm({"Allow access?", "", "Continue", cancel});
    out.append({fake.alerts.takeLast(), cancel});
    Lang::setZh(false);
    return out;
}
}  // namespace

TEST(AlertAnswers, EscapeAndTheCloseButtonGiveTheRefusingAnswer)
{
    const auto alerts = twoButtonAlerts(false) + twoButtonAlerts(true);
    ASSERT_EQ(alerts.size(), 12);
    for (const auto& [alert, refusal] : alerts) {
        const int expected = int(alert.buttons.indexOf(refusal));
        ASSERT_GE(expected, 0) << alert.message.toStdString();
        const auto escape = answerReally(alert, [](QMessageBox* box) { QTest::keyClick(box, Qt::Key_Escape); });
        EXPECT_EQ(escape.button, expected) << "Escape: " << alert.message.toStdString();
        const auto closed = answerReally(alert, [](QMessageBox* box) { box->close(); });
        EXPECT_EQ(closed.button, expected) << "close: " << alert.message.toStdString();
    }
}

TEST(AlertAnswers, AnAlertWithoutANamedRefusalStillAnswersEscape)
{
    Dialogs::Alert a;
    a.message = "Three ways";
    a.buttons = {"One", "Two", "Three"};
    EXPECT_EQ(answerReally(a, [](QMessageBox* box) { QTest::keyClick(box, Qt::Key_Escape); }).button, -1);
    Dialogs::Alert single;
    single.message = "Done";
    EXPECT_EQ(answerReally(single, [](QMessageBox* box) { QTest::keyClick(box, Qt::Key_Escape); }).button, 0);
}

TEST(AlertAnswers, ChineseBoxesAreWideEnoughForWholeLines)
{
    Lang::setZh(true);
    Dialogs::Alert a;
    a.message = "要重命名 100 个文件吗?";
    a.informative = "3 个文件会被跳过(红色显示)。可以用 Ctrl+Z 撤销,退出 app 后也可以。";
    a.buttons = {"重命名", "取消"};
    a.cancelButton = 1;
    int messageLines = 0;
    int informativeLines = 0;
    answerReally(a, [&](QMessageBox* box) {
        auto lines = [box](const char* name) {
            auto* label = box->findChild<QLabel*>(name);
            return label ? label->height() / label->fontMetrics().lineSpacing() : 0;
        };
        messageLines = lines("qt_msgbox_label");
        informativeLines = lines("qt_msgbox_informativelabel");
        QTest::keyClick(box, Qt::Key_Escape);
    });
    Lang::setZh(false);
    EXPECT_EQ(messageLines, 1);
    EXPECT_GE(informativeLines, 1);
    EXPECT_LE(informativeLines, 2);
}

// Writes pictures of the Chinese alerts for a person to look at when BRINDLECOVE_SCREENSHOTS
// names a folder; otherwise it is skipped.
TEST(AlertAnswers, PicturesOfTheChineseAlerts)
{
    const QString dir = qEnvironmentVariable("BRINDLECOVE_SCREENSHOTS");
    if (dir.isEmpty())
        GTEST_SKIP() << "set BRINDLECOVE_SCREENSHOTS to a folder to write the pictures";
    int n = 0;
    for (const auto& [alert, refusal] : twoButtonAlerts(true)) {
        const QString file = QStringLiteral("%1/alert-zh-%2.png").arg(dir).arg(++n);
        answerReally(alert, [&](QMessageBox* box) {
            box->grab().save(file);
            QTest::keyClick(box, Qt::Key_Escape);
        });
    }
}
