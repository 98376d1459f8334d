#include "app/install_location.h"
#include "app/update_feed.h"
#include "test_support.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

TEST(UpdateFeed, VersionsCompareByNumberedParts)
{
    struct Case {
        const char* a;
        const char* b;
        std::optional<int> order;
    };
    const Case cases[] = {
        {"1.10", "1.9", 1},     {"1.2", "1.2.0", 0},           {"0.1.0", "0.2", -1},      {"2", "10", -1},
        {"1.2-beta", "1.2", 0}, {"beta", "1.0", std::nullopt}, {"", "1.0", std::nullopt},
    };
    for (const Case& c : cases) {
        std::optional<int> got = compareVersions(c.a, c.b);
        if (got)
            got = (*got > 0) - (*got < 0);
        EXPECT_EQ(got, c.order) << c.a << " vs " << c.b;
    }
}

TEST(UpdateFeed, TakesTheHighestVersionWhateverTheItemOrder)
{
    const QByteArray xml = R"(<?xml version="1.0"?>
<rss version="2.0" xmlns:sp="http://example.invalid/ns">
 <channel>
  <title>Releases</title>
  <link>https://example.invalid/releases</link>
  <item><title>Version 1.9</title><link>https://example.invalid/1.9</link>
   <enclosure url="https://example.invalid/x" sp:version="1.9"/></item>
  <item><title>Version 1.10</title><link>https://example.invalid/1.10</link>
   <sp:version>1.10</sp:version><sp:shortVersionString>1.10 (spring)</sp:shortVersionString></item>
  <item><title>no version</title></item>
  <item><title>Version 1.2</title><sp:version>1.2</sp:version></item>
 </channel>
</rss>)";
    const FeedReadResult r = readReleaseFeed(xml);
    ASSERT_TRUE(r.newest) << r.error.toStdString();
    EXPECT_EQ(r.newest->version, "1.10");
    EXPECT_EQ(r.newest->displayVersion, "1.10 (spring)");
    EXPECT_EQ(r.newest->releasePage, QUrl("https://example.invalid/1.10"));
}

TEST(UpdateFeed, ReleasePageIsAWebPageOrTheChannelLink)
{
    const QByteArray xml = R"(<rss><channel><link>https://example.invalid/all</link>
<item><version>3.0</version><link>file:///etc/passwd</link></item></channel></rss>)";
    const FeedReadResult r = readReleaseFeed(xml);
    ASSERT_TRUE(r.newest);
    EXPECT_EQ(r.newest->releasePage, QUrl("https://example.invalid/all"));
}

TEST(UpdateFeed, BrokenOrEmptyFeedsGiveAnError)
{
    for (const QByteArray& xml :
         {QByteArray(), QByteArray("<rss><channel><item><version>2.0</version>"), QByteArray("not xml at all"),
          QByteArray("<rss><channel><item><title>x</title></item></channel></rss>")}) {
        const FeedReadResult r = readReleaseFeed(xml);
        EXPECT_FALSE(r.newest) << xml.constData();
        EXPECT_FALSE(r.error.isEmpty()) << xml.constData();
    }
}

namespace {
InstallLocation locationIn(const TestEnv& env)
{
    InstallLocation l;
    l.imagePath = env.makeFile("Downloads/Brindlecove-0.2-x86_64.AppImage", "new image");
    QFile::setPermissions(l.imagePath, QFile::permissions(l.imagePath) | QFileDevice::ExeOwner);
    l.applications = env.path("home/Applications");
    return l;
}
}  // namespace

TEST(InstallLocation, OffersTheMoveOnlyForAnImageOutsideApplications)
{
    TestEnv env;
    InstallLocation l = locationIn(env);
    EXPECT_TRUE(l.shouldOfferMove());
    l.imagePath = env.makeFile("home/Applications/Brindlecove.AppImage");
    EXPECT_FALSE(l.shouldOfferMove());
    l.imagePath.clear();  // not started from an image
    EXPECT_FALSE(l.shouldOfferMove());
}

TEST(InstallLocation, MoveCopiesAnExecutableImageAndLeavesNoTemporaryFile)
{
    TestEnv env;
    const InstallLocation l = locationIn(env);
    const InstallLocation::MoveResult r = l.moveIntoApplications();
    ASSERT_TRUE(r.ok) << r.error.toStdString();
    EXPECT_EQ(readFile(l.targetPath()), "new image");
    EXPECT_TRUE(QFileInfo(l.targetPath()).isExecutable());
    EXPECT_EQ(QDir(l.applications).entryList(QDir::Files | QDir::Hidden), QStringList{"Brindlecove.AppImage"});
    EXPECT_TRUE(QFileInfo::exists(l.imagePath));  // the running copy stays until it quits
}

TEST(InstallLocation, AnOlderCopyGoesToTheTrashBeforeTheNewOneTakesItsPlace)
{
    TestEnv env;
    InstallLocation l = locationIn(env);
    env.makeFile("home/Applications/Brindlecove.AppImage", "old image");
    QStringList trashed;
    l.moveToTrash = [&](const QString& path, QString*) {
        // The new copy must already be complete when the old one leaves.
        const QStringList beside = QDir(l.applications).entryList(QDir::Files | QDir::Hidden);
        EXPECT_EQ(beside.size(), 2);
        trashed << path;
        QDir().mkpath(env.path("trash"));
        return QFile::rename(path, env.path("trash/old"));
    };
    ASSERT_TRUE(l.moveIntoApplications().ok);
    EXPECT_EQ(trashed, QStringList{l.targetPath()});
    EXPECT_EQ(readFile(l.targetPath()), "new image");
}

TEST(InstallLocation, AnOlderCopyThatCannotBeTrashedStaysAndNothingIsLeftBehind)
{
    TestEnv env;
    InstallLocation l = locationIn(env);
    env.makeFile("home/Applications/Brindlecove.AppImage", "old image");
    l.moveToTrash = [](const QString&, QString* error) {
        *error = "no trash here";
        return false;
    };
    const InstallLocation::MoveResult r = l.moveIntoApplications();
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.error.contains("no trash here"));
    EXPECT_EQ(readFile(l.targetPath()), "old image");
    EXPECT_EQ(QDir(l.applications).entryList(QDir::Files | QDir::Hidden), QStringList{"Brindlecove.AppImage"});
}

TEST(InstallLocation, WithoutATrashAnOlderCopyIsNeverReplaced)
{
    TestEnv env;
    InstallLocation l = locationIn(env);
    env.makeFile("home/Applications/Brindlecove.AppImage", "old image");
    EXPECT_FALSE(l.moveIntoApplications().ok);
    EXPECT_EQ(readFile(l.targetPath()), "old image");
    EXPECT_EQ(QDir(l.applications).entryList(QDir::Files | QDir::Hidden), QStringList{"Brindlecove.AppImage"});
}
