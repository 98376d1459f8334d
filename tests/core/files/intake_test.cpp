#include "files/intake.h"
#include "files/scoped_access.h"
#include "files_test_util.h"
#include "test_support.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace {

struct IntakeTest : ::testing::Test {
    TestEnv env;
    std::unique_ptr<Store> store = env.makeStore();

    void setRenameFolders(bool on)
    {
        store->editSections([on](NameSections& s) { s.renameFolders = on; });
    }
};

}  // namespace

TEST_F(IntakeTest, DropBurstAddsDirectRegularFilesOfFolderAndLooseFilesInOneReport)
{
    const QString shoot = env.path("shoot");
    env.makeFile("shoot/a.mov");
    env.makeFile("shoot/b.mov");
    env.makeFile("shoot/.hidden.mov");
    env.makeFile("shoot/sub/deep.mov");
    ASSERT_EQ(::symlink("a.mov", QFile::encodeName(shoot + "/link.mov").constData()), 0);
    ASSERT_EQ(::mkfifo(QFile::encodeName(shoot + "/pipe").constData(), 0600), 0);
    const QString loose = env.makeFile("loose.txt");
    const QString dotfile = env.makeFile(".dotfile");

    QSignalSpy reports(store.get(), &Store::activityChanged);
    for (const QString& p : {shoot, loose, loose, dotfile, env.path("missing.mov")})
        store->intake().queueDrops(p);
    EXPECT_EQ(store->intake().pendingDrops().size(), 5);
    EXPECT_TRUE(store->items().isEmpty());  // nothing until the burst is over
    ASSERT_TRUE(QTest::qWaitFor([&] { return !store->items().isEmpty(); }, 2000));

    EXPECT_TRUE(store->intake().pendingDrops().isEmpty());
    EXPECT_EQ(itemNameSet(*store), (QSet<QString>{"a.mov", "b.mov", "loose.txt", ".dotfile"}));
    EXPECT_EQ(store->items().size(), 4);
    for (const FileItem& i : store->items()) {
        const bool inFolder = i.name.endsWith(".mov");
        EXPECT_EQ(i.fromFolder, inFolder ? std::optional<QString>(shoot) : std::nullopt) << i.name.toStdString();
        EXPECT_FALSE(i.isDir);
        EXPECT_TRUE(i.useAI);
    }
    EXPECT_EQ(reports.count(), 1);
    EXPECT_EQ(store->status(), "4 file(s).");
    EXPECT_EQ(store->access().scopedFolderRoots(), QStringList{shoot});
}

TEST_F(IntakeTest, AlreadyListedFileIsSkippedAndReportCountsWholeList)
{
    QStringList paths;
    for (int i = 0; i < 5; ++i)
        paths << env.makeFile(QString("clip%1.mov").arg(i));
    store->intake().addURLs(paths);
    const QList<FileItem> before = store->items();
    store->intake().addURLs({paths[2], env.path("./clip2.mov")});
    EXPECT_EQ(store->items(), before);
    EXPECT_EQ(store->status(), "5 file(s).");
    store->setLangZh(true);
    store->intake().addURLs({paths[0]});
    EXPECT_EQ(store->status(), "共 5 个文件。");
}

TEST_F(IntakeTest, MissingPathLeavesStatusAlone)
{
    store->setStatus("before");
    store->intake().addURLs({env.path("nope.mov")});
    EXPECT_TRUE(store->items().isEmpty());
    EXPECT_EQ(store->status(), "before");
}

TEST_F(IntakeTest, EmptyFolderReportsOrBecomesFolderItem)
{
    QDir().mkpath(env.path("empty/sub"));
    env.makeFile("empty/.only-hidden");
    store->intake().addURLs({env.path("empty")});
    EXPECT_TRUE(store->items().isEmpty());
    EXPECT_EQ(store->status(), "That folder has no files.");
    store->setLangZh(true);
    store->intake().addURLs({env.path("empty")});
    EXPECT_EQ(store->status(), "该文件夹没有文件。");

    store->setLangZh(false);
    setRenameFolders(true);
    store->intake().addURLs({env.path("empty"), env.path("empty/")});
    ASSERT_EQ(store->items().size(), 1);
    EXPECT_TRUE(store->items()[0].isDir);
    EXPECT_EQ(store->items()[0].name, "empty");
    EXPECT_EQ(store->items()[0].ext, "");
    EXPECT_EQ(store->status(), "1 folder(s).");
}

TEST_F(IntakeTest, FolderModeListsFoldersOfAllFilesAndDropsEmptyFolderOfSameGesture)
{
    setRenameFolders(true);
    env.makeFile("A/a1.mov");
    env.makeFile("A/a2.mov");
    const QString loose = env.makeFile("loose.mov");
    QDir().mkpath(env.path("E"));
    store->intake().addURLs({env.path("A"), loose, env.path("E")});
    EXPECT_EQ(itemNames(*store), (QStringList{"A", "loose.mov"}));
    EXPECT_TRUE(store->items()[0].isDir);
    EXPECT_EQ(store->fileBackup().size(), 3);
    EXPECT_EQ(store->status(), "2 folder(s).");
    store->setLangZh(true);
    store->intake().addURLs({env.path("A")});  // already in the backup: nothing new
    EXPECT_EQ(store->fileBackup().size(), 3);
    EXPECT_EQ(store->status(), "共 2 个文件夹。");
}

TEST_F(IntakeTest, NamesThatAreNotUtf8AreSkippedWithReason)
{
    env.makeFile("cards/good.mov");
    const NonUtf8File bad(env.path("cards"));
    if (!bad.made)
        GTEST_SKIP() << "file system refuses non-UTF-8 names";
    store->intake().addURLs({env.path("cards")});
    EXPECT_EQ(itemNames(*store), QStringList{"good.mov"});
    EXPECT_EQ(store->status(), "1 file(s). Skipped 1 name(s) that are not valid UTF-8.");
}

TEST_F(IntakeTest, MediaDriveModeScansDroppedFolderAndLooseFilesReplaceItsReport)
{
    store->setMediaDriveMode(true);
    env.makeFile("drive/A/clip.mov");
    env.makeFile("drive/notes.txt");
    store->intake().addURLs({env.path("drive")});
    EXPECT_EQ(itemNames(*store), QStringList{"clip.mov"});
    EXPECT_EQ(store->status(), "Media Drive: loaded 1 clip(s) from “drive”.");
    store->intake().addURLs({env.makeFile("extra.txt"), env.path("drive")});
    EXPECT_EQ(store->status(), "2 file(s).");
}

TEST_F(IntakeTest, SampleFilesGoIntoFreshPrivateFolderAndReplaceReport)
{
    // Another user planted links at the names the samples would use.
    const QString tmp = env.path("tmp");
    QDir().mkpath(tmp);
    QDir().mkpath(env.path("victim"));
    const qint64 now = QDateTime::currentSecsSinceEpoch();
    for (qint64 t = now; t < now + 3; ++t)
        ASSERT_EQ(::symlink(QFile::encodeName(env.path("victim")).constData(),
                            QFile::encodeName(tmp + QString("/Brindlecove Samples %1").arg(t)).constData()),
                  0);
    qputenv("TMPDIR", QFile::encodeName(tmp));
    store->intake().addSampleFiles();
    qunsetenv("TMPDIR");

    EXPECT_EQ(itemNames(*store),
              (QStringList{"IMG_0412.JPG", "IMG_0413.JPG", "IMG_0414.JPG", "PNCH_POWER_TRLR_AV30_V1.mov",
                           "Holiday video FINAL final (2).mp4", "meeting notes 2024-05-01.txt"}));
    EXPECT_EQ(store->status(), "Sample files added (a temporary folder) — try any rule, Apply and Undo.");
    EXPECT_TRUE(QDir(env.path("victim")).isEmpty());
    const QString folder = PathText::parent(store->items()[0].url);
    EXPECT_TRUE(PathText::lastComponent(folder).startsWith("Brindlecove Samples "));
    const QFileInfo info(folder);
    EXPECT_FALSE(info.isSymLink());
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(folder).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    for (const FileItem& i : store->items())
        EXPECT_EQ(QFileInfo(i.url).size(), 0);
}

TEST_F(IntakeTest, SampleFilesFailureReportsReasonInBothLanguages)
{
    const QString blocker = env.makeFile("blocker");
    qputenv("TMPDIR", QFile::encodeName(blocker + "/tmp"));
    store->intake().addSampleFiles();
    EXPECT_TRUE(store->status().startsWith("Couldn't create sample files: ")) << store->status().toStdString();
    EXPECT_GT(store->status().size(), QString("Couldn't create sample files: ").size());
    store->setLangZh(true);
    store->intake().addSampleFiles();
    qunsetenv("TMPDIR");
    EXPECT_TRUE(store->status().startsWith("无法创建示例文件:"));
    EXPECT_TRUE(store->items().isEmpty());
}
