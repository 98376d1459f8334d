#include "files/folder_watch.h"
#include "files/watch_scan.h"
#include "files_test_util.h"
#include "test_support.h"

#include <QDir>
#include <QFile>
#include <QTest>
#include <gtest/gtest.h>

namespace {

struct FolderWatchTest : ::testing::Test {
    TestEnv env;
    std::unique_ptr<Store> store = env.makeStore();
    QString watched = env.path("watched");

    void SetUp() override { QDir().mkpath(watched); }

    // One poll, waiting only for the background listing to come back.
    void tick()
    {
        store->watch().scanWatchFolder();
        ASSERT_TRUE(QTest::qWaitFor([&] { return !store->watch().watchScanning(); }, 5000));
    }
    void append(const QString& relative, const QByteArray& bytes)
    {
        QFile f(watched + "/" + relative);
        ASSERT_TRUE(f.open(QIODevice::Append));
        f.write(bytes);
    }
    QStringList files(const QString& relative = {}) const
    {
        return QDir(watched + "/" + relative).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    }
    void prefix(const QString& text)
    {
        store->editRules([&](RuleSettings& r) {
            r.prefixEnabled = true;
            r.prefixText = text;
        });
    }
};

}  // namespace

TEST_F(FolderWatchTest, RenamesNewFileOnlyAfterTwoEqualSizesAndLogsAuto)
{
    env.makeFile("watched/old.mov");
    prefix("W_");
    store->watch().startWatching(watched, false);
    EXPECT_TRUE(store->watch().watchTimerActive());
    EXPECT_EQ(store->status(), "Watching “watched” — new files auto-renamed.");

    append("new.mov", "0123456789");
    tick();
    EXPECT_EQ(files(), (QStringList{"new.mov", "old.mov"}));
    append("new.mov", "still copying");  // growing: starts over with the new size
    tick();
    EXPECT_EQ(files(), (QStringList{"new.mov", "old.mov"}));
    EXPECT_EQ(store->watch().watchPending().value(watched + "/new.mov"), 23);
    tick();
    EXPECT_EQ(files(), (QStringList{"W_new.mov", "old.mov"}));
    EXPECT_EQ(store->watchState().watchCount, 1);
    EXPECT_EQ(store->status(), "Auto-renamed new.mov → W_new.mov");
    ASSERT_EQ(store->historyState().renameLog.size(), 1);
    EXPECT_EQ(store->historyState().renameLog[0].action, RenameLogEntry::Action::automatic);
    EXPECT_EQ(store->historyState().renameLog[0].from, watched + "/new.mov");
    EXPECT_EQ(store->historyState().renameLog[0].to, watched + "/W_new.mov");
    EXPECT_TRUE(store->historyState().undoStack.isEmpty());
    EXPECT_TRUE(store->items().isEmpty());

    tick();
    tick();  // the renamed file and the file present at the start are left alone
    EXPECT_EQ(files(), (QStringList{"W_new.mov", "old.mov"}));
    EXPECT_EQ(store->historyState().renameLog.size(), 1);
}

TEST_F(FolderWatchTest, EmptyFileCountsAsReadyAndChineseReports)
{
    store->setLangZh(true);
    prefix("P_");
    store->watch().startWatching(watched, true);
    EXPECT_EQ(store->status(), "正在监控「watched」及其子文件夹 —— 新进文件将自动重命名。");
    env.makeFile("watched/empty.txt", {});
    tick();
    tick();
    EXPECT_EQ(files(), QStringList{"P_empty.txt"});
    EXPECT_EQ(store->status(), "自动重命名 empty.txt → P_empty.txt");
}

TEST_F(FolderWatchTest, NumberingCountsUpFromWatchCountWhateverDirectionAndRestarts)
{
    store->editRules([](RuleSettings& r) {
        r.numberEnabled = true;
        r.numDir = NumberDir::desc;
    });
    store->watch().startWatching(watched, false);
    env.makeFile("watched/a.mov");
    tick();
    env.makeFile("watched/b.mov");
    tick();  // a ready
    tick();  // b ready
    EXPECT_EQ(files(), (QStringList{"a_01.mov", "b_02.mov"}));

    store->watch().startWatching(watched, false);
    EXPECT_EQ(store->watchState().watchCount, 0);
    env.makeFile("watched/c.mov");
    tick();
    tick();
    EXPECT_EQ(files(), (QStringList{"a_01.mov", "b_02.mov", "c_01.mov"}));
}

TEST_F(FolderWatchTest, UnchangedInvalidOrTakenNamesAreLeftAloneForGood)
{
    store->watch().startWatching(watched, false);
    env.makeFile("watched/same.mov");
    tick();
    tick();
    EXPECT_EQ(files(), QStringList{"same.mov"});  // no rule changes it
    EXPECT_TRUE(store->historyState().renameLog.isEmpty());

    prefix("X_");
    env.makeFile("watched/X_taken.mov", "keep");  // there before the watch: known
    store->watch().startWatching(watched, false);
    env.makeFile("watched/taken.mov", "mine");
    tick();
    tick();
    EXPECT_EQ(files(), (QStringList{"X_taken.mov", "same.mov", "taken.mov"}));
    QFile occupant(watched + "/X_taken.mov");
    ASSERT_TRUE(occupant.open(QIODevice::ReadOnly));
    EXPECT_EQ(occupant.readAll(), "keep");
    EXPECT_TRUE(store->watch().watchKnown().contains(watched + "/taken.mov"));
    QFile::remove(watched + "/X_taken.mov");
    tick();
    tick();
    EXPECT_EQ(files(), (QStringList{"same.mov", "taken.mov"}));  // not tried again

    prefix("bad/");
    env.makeFile("watched/slash.mov");
    tick();
    tick();
    EXPECT_TRUE(files().contains("slash.mov"));
    EXPECT_TRUE(store->historyState().renameLog.isEmpty());
}

TEST_F(FolderWatchTest, SubfoldersOnlyWhenRecursiveAndHiddenNeverPickedUp)
{
    prefix("R_");
    QDir().mkpath(watched + "/sub");
    store->watch().startWatching(watched, false);
    env.makeFile("watched/sub/deep.mov");
    env.makeFile("watched/.hidden.mov");
    tick();
    tick();
    EXPECT_EQ(files("sub"), QStringList{"deep.mov"});
    EXPECT_EQ(files(), QStringList{".hidden.mov"});

    store->watch().startWatching(watched, true);
    env.makeFile("watched/sub/new.mov");
    env.makeFile("watched/.cache/inside.mov");
    tick();
    tick();
    EXPECT_EQ(files("sub"), (QStringList{"R_new.mov", "deep.mov"}));
    EXPECT_EQ(files(".cache"), QStringList{"inside.mov"});
}

TEST_F(FolderWatchTest, StoppingWhileListingDropsTheResult)
{
    prefix("S_");
    store->watch().startWatching(watched, false);
    env.makeFile("watched/a.mov");
    tick();  // pending
    store->watch().scanWatchFolder();
    store->watch().stopWatching();
    EXPECT_FALSE(store->watch().watchTimerActive());
    EXPECT_FALSE(store->watchState().watchFolder.has_value());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !store->watch().watchScanning(); }, 5000));
    EXPECT_EQ(files(), QStringList{"a.mov"});
    EXPECT_TRUE(store->watch().watchPending().contains(watched + "/a.mov"));
    store->watch().scanWatchFolder();  // off: does nothing
    EXPECT_FALSE(store->watch().watchScanning());
}

TEST_F(FolderWatchTest, ListingSkipsLinksAndNamesThatAreNotUtf8)
{
    env.makeFile("watched/a.mov", "12345");
    ASSERT_EQ(::symlink("a.mov", QFile::encodeName(watched + "/link.mov").constData()), 0);
    const NonUtf8File bad(watched);
    const QList<WatchScanEntry> listed = listFolderFiles(watched, false);
    EXPECT_EQ(listed, (QList<WatchScanEntry>{{watched + "/a.mov", 5}}));
    EXPECT_TRUE(listFolderFiles(env.path("missing"), true).isEmpty());
}
