#include "app/app_updater.h"
#include "app/install_location.h"
#include "app/updater_ui.h"
#include "test_support.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <gtest/gtest.h>

namespace {

QByteArray feedWith(const QString& version)
{
    return QString(R"(<?xml version="1.0" encoding="utf-8"?>
<rss version="2.0" xmlns:sp="http://example.invalid/ns"><channel><title>Brindlecove</title>
<item><title>Brindlecove %1</title><link>https://example.invalid/releases/%1</link>
<sp:version>%1</sp:version><enclosure url="https://example.invalid/b.AppImage" sp:version="%1"/></item>
</channel></rss>)")
        .arg(version)
        .toUtf8();
}

UpdateCheckResult runCheck(AppUpdater& updater, bool byUser)
{
    QSignalSpy done(&updater, &AppUpdater::checkFinished);
    byUser ? updater.checkForUpdates() : updater.checkInBackground();
    EXPECT_FALSE(updater.canCheckForUpdates());  // one check at a time
    EXPECT_TRUE(done.wait(5000));
    EXPECT_TRUE(updater.canCheckForUpdates());
    return done.isEmpty() ? UpdateCheckResult{} : done.first().first().value<UpdateCheckResult>();
}

struct Fixture {
    TestEnv env;
    std::unique_ptr<Store> store = env.makeStore();
    FakeDialogs dialogs;
    QList<QUrl> opened;

    std::unique_ptr<AppUpdater> updaterFor(const QByteArray& feed)
    {
        const QString path = env.makeFile("feed.xml", feed);
        return std::make_unique<AppUpdater>(QUrl::fromLocalFile(path), "1.0");
    }
};

}  // namespace

TEST(Updater, NewerVersionIsOfferedAndDownloadOpensTheReleasePage)
{
    Fixture f;
    auto updater = f.updaterFor(feedWith("1.2"));
    UpdateNotifier n(*updater, f.dialogs, [&](const QUrl& url) {
        f.opened << url;
        return true;
    });
    for (bool byUser : {false, true}) {
        f.dialogs.answerAlert(0);  // Download
        const UpdateCheckResult r = runCheck(*updater, byUser);
        EXPECT_EQ(r.kind, UpdateCheckResult::Kind::updateAvailable);
    }
    ASSERT_EQ(f.dialogs.alerts.size(), 2);
    EXPECT_EQ(f.dialogs.alerts[0].message, "A new version of Brindlecove is available");
    EXPECT_TRUE(f.dialogs.alerts[0].informative.contains("1.2"));
    EXPECT_EQ(f.dialogs.alerts[0].buttons, (QStringList{"Download", "Not Now"}));
    EXPECT_EQ(f.opened, (QList<QUrl>{QUrl("https://example.invalid/releases/1.2"),
                                     QUrl("https://example.invalid/releases/1.2")}));

    f.dialogs.answerAlert(1);  // Not Now
    runCheck(*updater, false);
    EXPECT_EQ(f.opened.size(), 2);
}

TEST(Updater, SameVersionAnswersOnlyACheckTheUserStarted)
{
    Fixture f;
    auto updater = f.updaterFor(feedWith("1.0.0"));
    UpdateNotifier n(*updater, f.dialogs, [&](const QUrl& url) {
        f.opened << url;
        return true;
    });
    EXPECT_EQ(runCheck(*updater, false).kind, UpdateCheckResult::Kind::upToDate);
    EXPECT_EQ(f.dialogs.callCount(), 0);
    runCheck(*updater, true);
    ASSERT_EQ(f.dialogs.alerts.size(), 1);
    EXPECT_EQ(f.dialogs.alerts[0].message, "You're up to date");
    EXPECT_TRUE(f.opened.isEmpty());
}

TEST(Updater, MalformedOrMissingFeedFailsQuietlyUnlessTheUserAsked)
{
    Fixture f;
    f.store->setLangZh(true);
    for (const QByteArray& feed : {QByteArray("<rss><channel><item><version>9.0</version>"), QByteArray()}) {
        f.dialogs.alerts.clear();
        auto updater = f.updaterFor(feed);
        UpdateNotifier n(*updater, f.dialogs);
        const UpdateCheckResult r = runCheck(*updater, false);
        EXPECT_EQ(r.kind, UpdateCheckResult::Kind::failed);
        EXPECT_EQ(f.dialogs.callCount(), 0);
        runCheck(*updater, true);
        ASSERT_EQ(f.dialogs.alerts.size(), 1);
        EXPECT_EQ(f.dialogs.alerts[0].message, "检查更新失败");
        EXPECT_FALSE(f.dialogs.alerts[0].informative.isEmpty());
    }
    AppUpdater missing(QUrl::fromLocalFile(f.env.path("nowhere.xml")), "1.0");
    EXPECT_EQ(runCheck(missing, true).kind, UpdateCheckResult::Kind::failed);
}

TEST(Updater, ReadsAFeedOverHttpOnLoopback)
{
    QTcpServer server;
    ASSERT_TRUE(server.listen(QHostAddress::LocalHost));
    QObject::connect(&server, &QTcpServer::newConnection, [&] {
        QTcpSocket* s = server.nextPendingConnection();
        QObject::connect(s, &QTcpSocket::readyRead, s, [s] {
            if (!s->readAll().contains("\r\n\r\n"))
                return;
            const QByteArray body = feedWith("2.0");
            s->write("HTTP/1.1 200 OK\r\nContent-Type: application/rss+xml\r\nConnection: close\r\nContent-Length: "
                     + QByteArray::number(body.size()) + "\r\n\r\n" + body);
            s->disconnectFromHost();
        });
    });
    AppUpdater updater(QUrl(QString("http://127.0.0.1:%1/appcast.xml").arg(server.serverPort())), "1.9.9");
    const UpdateCheckResult r = runCheck(updater, true);
    EXPECT_EQ(r.kind, UpdateCheckResult::Kind::updateAvailable) << r.error.toStdString();
    EXPECT_EQ(r.release.version, "2.0");
}

TEST(Updater, ShellHooksFollowWhetherACheckCanStart)
{
    Fixture f;
    AppUpdater unconfigured{QUrl(), "1.0"};
    EXPECT_FALSE(UpdaterHooks(unconfigured, f.dialogs, {}).canCheckForUpdates());

    auto updater = f.updaterFor(feedWith("1.0"));
    UpdaterHooks hooks(*updater, f.dialogs, {});
    EXPECT_TRUE(hooks.canCheckForUpdates());
    QSignalSpy changes(&hooks, &AppHooks::canCheckForUpdatesChanged);
    QSignalSpy done(updater.get(), &AppUpdater::checkFinished);
    hooks.checkForUpdates();
    EXPECT_FALSE(hooks.canCheckForUpdates());
    ASSERT_TRUE(done.wait(5000));
    EXPECT_TRUE(hooks.canCheckForUpdates());
    EXPECT_EQ(changes.size(), 2);
    EXPECT_TRUE(done.first().first().value<UpdateCheckResult>().userInitiated);
    EXPECT_EQ(f.dialogs.alerts.size(), 1);  // the user asked, so the answer shows

    hooks.startUpdater();  // an automatic check at launch: same version, nothing shown
    ASSERT_TRUE(done.wait(5000));
    EXPECT_FALSE(done.last().first().value<UpdateCheckResult>().userInitiated);
    EXPECT_EQ(f.dialogs.alerts.size(), 1);
}

namespace {
InstallLocation imageOutside(const TestEnv& env)
{
    InstallLocation l;
    l.imagePath = env.makeFile("Downloads/Brindlecove.AppImage", "image");
    l.applications = env.path("home/Applications");
    l.moveToTrash = [trash = env.path("trash")](const QString& path, QString*) {
        return QDir().mkpath(trash) && QFile::rename(path, QDir(trash).filePath(QFileInfo(path).fileName()));
    };
    return l;
}
}  // namespace

TEST(MoveToApplications, NotNowLeavesEverythingAndMoveStartsTheCopyBeforeQuitting)
{
    TestEnv env;
    auto store = env.makeStore();
    FakeDialogs dialogs;
    const InstallLocation l = imageOutside(env);
    QStringList events;
    MoveToApplicationsHooks hooks{[&](const QString& p) {
                                      events << "launch " + p;
                                      return true;
                                  },
                                  [&] { events << "quit"; }};

    dialogs.answerAlert(1);  // Not Now
    EXPECT_FALSE(moveToApplicationsIfNeeded(l, dialogs, hooks));
    ASSERT_EQ(dialogs.alerts.size(), 1);
    EXPECT_EQ(dialogs.alerts[0].message, "Move Brindlecove to the Applications folder?");
    EXPECT_EQ(dialogs.alerts[0].buttons, (QStringList{"Move to Applications", "Not Now"}));
    EXPECT_FALSE(QFile::exists(l.targetPath()));
    EXPECT_TRUE(events.isEmpty());

    dialogs.answerAlert(0);
    EXPECT_TRUE(moveToApplicationsIfNeeded(l, dialogs, hooks));
    EXPECT_EQ(events, (QStringList{"launch " + l.targetPath(), "quit"}));
    EXPECT_TRUE(QFile::exists(l.targetPath()));
}

TEST(MoveToApplications, NoPromptInsideApplicationsAndNoQuitWhenTheCopyFailsToStart)
{
    TestEnv env;
    auto store = env.makeStore();
    FakeDialogs dialogs;
    InstallLocation inside = imageOutside(env);
    inside.imagePath = env.makeFile("home/Applications/Brindlecove.AppImage");
    EXPECT_FALSE(moveToApplicationsIfNeeded(inside, dialogs));
    EXPECT_EQ(dialogs.callCount(), 0);

    bool quit = false;
    dialogs.answerAlert(0);
    EXPECT_FALSE(moveToApplicationsIfNeeded(imageOutside(env), dialogs,
                                            {[](const QString&) { return false; }, [&] { quit = true; }}));
    EXPECT_FALSE(quit);
    ASSERT_EQ(dialogs.alerts.size(), 2);
    EXPECT_EQ(dialogs.alerts[1].message, "Couldn't start the moved copy");
}

TEST(MoveToApplications, AFailedMoveExplainsAndKeepsRunning)
{
    TestEnv env;
    auto store = env.makeStore();
    store->setLangZh(true);
    FakeDialogs dialogs;
    InstallLocation l = imageOutside(env);
    env.makeFile("home/Applications/Brindlecove.AppImage", "old");
    l.moveToTrash = [](const QString&, QString* e) {
        *e = "trash refused";
        return false;
    };
    bool quit = false;
    dialogs.answerAlert(0);
    EXPECT_FALSE(moveToApplicationsIfNeeded(l, dialogs, {[](const QString&) { return true; }, [&] { quit = true; }}));
    EXPECT_FALSE(quit);
    ASSERT_EQ(dialogs.alerts.size(), 2);
    EXPECT_EQ(dialogs.alerts[1].message, "无法移动 Brindlecove");
    EXPECT_TRUE(dialogs.alerts[1].informative.startsWith("无法把"));
    EXPECT_TRUE(dialogs.alerts[1].informative.endsWith("\n请改为在文件管理器中把它拖进「应用程序」文件夹。"));
}
