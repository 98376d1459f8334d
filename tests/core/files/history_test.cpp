#include "files_fixture.h"

#include "files/history.h"
#include "files/history_file.h"
#include "files/renamer.h"
#include "platform/json_util.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QTest>
#include <QTimeZone>

class HistoryTest : public FilesTest {
protected:
    // Records a batch of moves as if they had happened (the files need not exist).
    void record(int moves, const QString& tag = "f")
    {
        MoveBatch batch;
        for (int i = 0; i < moves; ++i)
            batch << Move{work(QStringLiteral("%1%2").arg(tag).arg(i)),
                          work(QStringLiteral("%1%2.new").arg(tag).arg(i))};
        store->history().editUndoStack([&](QList<MoveBatch>& stack) { stack << batch; });
    }
    QByteArray read(const QString& path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
};

TEST_F(HistoryTest, UndoAfterRestartReadsTheSavedFiles)
{
    file("a");
    file("b");
    const QUuid a = add("a");
    const QUuid b = add("b");
    store->renamer().applyRenames({{a, "b"}, {b, "a"}});
    store->history().flushPendingSaves();
    EXPECT_FALSE(store->history().historyWriter().ranOnMainThread());

    // The stored forms stay readable across versions: upper-case ids, dates in reference seconds.
    const auto log = Json::parseArray(read(store->history().renameLogFilePath()));
    ASSERT_TRUE(log && log->size() == 3);
    const QJsonObject first = log->at(0).toObject();
    EXPECT_EQ(first.value("id").toString(), first.value("id").toString().toUpper());
    EXPECT_EQ(first.value("action").toString(), "rename");
    EXPECT_NEAR(first.value("date").toDouble(), Json::referenceSeconds(QDateTime::currentDateTime()), 60);
    const auto saved = Json::parseArray(read(store->history().historyFilePath()));
    ASSERT_TRUE(saved && saved->size() == 1);
    EXPECT_EQ(saved->at(0).toObject().value("moves").toArray().size(), 3);
    EXPECT_EQ(QByteArray::fromBase64(
                  saved->at(0).toObject().value("folderBookmarks").toArray().at(0).toString().toLatin1()),
              work().toUtf8());

    store.reset();
    store = newStore();
    ASSERT_EQ(store->historyState().undoStack.size(), 1);
    EXPECT_EQ(store->historyState().undoDates.size(), 1);
    EXPECT_EQ(store->historyState().renameLog.size(), 3);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !store->historyState().historyScopedFolders.isEmpty(); }, 5000));
    EXPECT_EQ(store->historyState().historyScopedFolders, QStringList{work()});

    store->history().undoLast();
    EXPECT_EQ(store->status(), "Undid 3 rename(s).");
    EXPECT_EQ(content("a"), "a");
    EXPECT_EQ(content("b"), "b");
    EXPECT_EQ(store->historyState().renameLog.last().action, RenameLogEntry::Action::undo);
}

TEST_F(HistoryTest, KeepsTheNewestFiftyBatchesAndTwentyThousandEntries)
{
    for (int i = 0; i < 51; ++i)
        record(1, QStringLiteral("b%1_").arg(i));
    const HistoryState& h = store->historyState();
    EXPECT_EQ(h.undoStack.size(), 50);
    EXPECT_EQ(h.undoDates.size(), 50);
    EXPECT_EQ(h.undoBookmarks.size(), 50);
    EXPECT_EQ(h.undoStack.first().first().from, work("b1_0"));
    EXPECT_EQ(h.renameLog.size(), 51);  // trimming the history writes no log entries

    record(19949, "big");
    EXPECT_EQ(h.renameLog.size(), 20000);
    QSet<QUuid> ids;
    for (const RenameLogEntry& e : h.renameLog) {
        ids.insert(e.id);
        EXPECT_EQ(e.id.version(), QUuid::Random);
        EXPECT_EQ(e.id.variant(), QUuid::DCE);
    }
    EXPECT_EQ(ids.size(), 20000);
    record(1, "last");
    EXPECT_EQ(h.renameLog.size(), 20000);
    EXPECT_EQ(h.renameLog.first().from, work("b1_0"));  // the oldest entry went first
    store->history().flushPendingSaves();
    EXPECT_EQ(HistoryFile::decodeLog(read(store->history().renameLogFilePath()))->size(), 20000);
    EXPECT_EQ(HistoryFile::decodeHistory(read(store->history().historyFilePath()))->size(), 50);
}

// A batch keeps a bookmark for each folder it touched, in the order first met, however long it is.
TEST_F(HistoryTest, ABatchBookmarksEachFolderOnceInTheOrderMet)
{
    MoveBatch batch;
    auto moves = [&](const QString& from, const QString& to, int n) {
        for (int i = 0; i < n; ++i)
            batch << Move{work(QStringLiteral("%1/%2").arg(from).arg(batch.size())),
                          work(QStringLiteral("%1/%2").arg(to).arg(batch.size()))};
    };
    moves("p", "p", 5000);
    moves("q", "r", 5000);
    moves("p", "p", 3000);
    moves("s", "q", 1);
    store->history().record(batch);
    QList<QByteArray> expected;
    for (const char* folder : {"p", "q", "r", "s"})
        expected << access->bookmark(work(folder));
    EXPECT_EQ(store->historyState().undoBookmarks.last(), expected);
}

TEST_F(HistoryTest, SavesAreMergedAndRunOffTheMainThread)
{
    store.reset();
    StoreServices s = env.services();
    s.saveDelayMs = 50;
    store = std::make_unique<Store>(std::move(s));
    record(1, "x");
    record(1, "y");
    record(1, "z");
    const HistoryWriter& writer = store->history().historyWriter();
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            return writer.writesOf(store->history().historyFilePath()) == 1
                && writer.writesOf(store->history().renameLogFilePath()) == 1;
        },
        5000));
    store->history().flushPendingSaves();
    EXPECT_EQ(writer.writesOf(store->history().historyFilePath()), 1);
    EXPECT_EQ(writer.writesOf(store->history().renameLogFilePath()), 1);
    EXPECT_FALSE(writer.ranOnMainThread());
    EXPECT_EQ(HistoryFile::decodeHistory(read(store->history().historyFilePath()))->size(), 3);
}

TEST_F(HistoryTest, DamagedFilesAreSetAsideBeforeAnythingOverwritesThem)
{
    store.reset();
    const QString historyPath = env.makeFile("support/undo-history.json", "[{\"date\": 1, \"moves\": []}]");
    const QString logPath = env.makeFile("support/rename-log.json", "[]");
    store = newStore();
    EXPECT_TRUE(store->historyState().historyLoaded);
    EXPECT_TRUE(store->historyState().undoStack.isEmpty());
    EXPECT_TRUE(store->status().startsWith(
        "The undo history could not be read; the file was kept as “undo-history.json.damaged-"))
        << store->status().toStdString();

    record(1);
    store->history().flushPendingSaves();
    const QStringList aside = QDir(env.path("support")).entryList({"undo-history.json.damaged-*"});
    ASSERT_EQ(aside.size(), 1);
    EXPECT_EQ(read(env.path("support/" + aside[0])), "[{\"date\": 1, \"moves\": []}]");
    EXPECT_EQ(HistoryFile::decodeHistory(read(historyPath))->size(), 1);
    EXPECT_EQ(HistoryFile::decodeLog(read(logPath))->size(), 1);  // the good log kept loading

    // A damaged log does not stop the history from loading.
    store.reset();
    env.makeFile("support/rename-log.json", "not json");
    store = newStore();
    EXPECT_EQ(store->historyState().undoStack.size(), 1);
    EXPECT_TRUE(store->status().startsWith("The rename log could not be read"));
    EXPECT_EQ(QDir(env.path("support")).entryList({"rename-log.json.damaged-*"}).size(), 1);
}

TEST_F(HistoryTest, FirstLaunchWritesNothing)
{
    EXPECT_TRUE(store->historyState().historyLoaded);
    store->history().flushPendingSaves();
    EXPECT_FALSE(QDir(env.path("support")).exists());
}

// A move that can't be undone stays in the history, with its batch's date, so undo can be tried
// again once its cause is gone.
TEST_F(HistoryTest, UndoIntoATakenNameKeepsTheBatchForAnotherTry)
{
    file("a");
    const QUuid a = add("a");
    store->renamer().applyRenames({{a, "b"}});
    const QList<QDateTime> dates = store->historyState().undoDates;
    file("a");  // someone made a new file under the old name
    store->history().undoLast();
    EXPECT_EQ(store->status(), "Undid 0 rename(s); 1 couldn't be restored: An item named “a” already exists.");
    EXPECT_EQ(store->historyState().undoStack, (QList<MoveBatch>{{{work("a"), work("b")}}}));
    EXPECT_EQ(store->historyState().undoDates, dates);
    EXPECT_EQ(store->historyState().renameLog.size(), 1);  // nothing moved, nothing logged
    EXPECT_EQ(content("b"), "a");
    store->history().flushPendingSaves();
    EXPECT_EQ(HistoryFile::decodeHistory(read(store->history().historyFilePath()))->size(), 1);

    QFile::remove(work("a"));
    store->history().undoLast();
    EXPECT_EQ(store->status(), "Undid 1 rename(s).");
    EXPECT_EQ(names(), QStringList{"a"});
    EXPECT_EQ(item(a).name, "a");
    EXPECT_TRUE(store->historyState().undoStack.isEmpty());

    store->history().undoLast();  // empty history: nothing changes
    EXPECT_EQ(store->status(), "Undid 1 rename(s).");
}

TEST_F(HistoryTest, RestoreAllUndoesEveryBatchAndReportsFailures)
{
    store->history().restoreAll();
    EXPECT_EQ(store->status(), "Nothing to restore — no renames yet.");

    file("a");
    file("c");
    const QUuid a = add("a");
    const QUuid c = add("c");
    store->renamer().applyRenames({{a, "b"}});
    store->renamer().applyRenames({{c, "d"}});
    EXPECT_EQ(store->history().historySummaries().size(), 2);
    EXPECT_TRUE(store->history().historySummaries()[0].startsWith("1. 1 rename(s) · "));
    store->history().restoreAll();
    EXPECT_EQ(store->status(), "Restored all 2 file(s) to their original names.");
    EXPECT_EQ(names(), (QStringList{"a", "c"}));

    store->renamer().applyRenames({{a, "b"}});
    store->renamer().applyRenames({{c, "d"}});
    file("c");
    store->history().restoreAll();
    EXPECT_EQ(store->status(), "Restored 1 file(s); 1 couldn't be restored: An item named “c” already exists.");
    EXPECT_EQ(store->historyState().undoStack, (QList<MoveBatch>{{{work("c"), work("d")}}}));
    EXPECT_EQ(store->historyState().undoDates.size(), 1);
    EXPECT_EQ(names(), (QStringList{"a", "c", "d"}));
}

// "Undo back to" tries each batch once: one that can't be undone stays, the older one is undone.
TEST_F(HistoryTest, UndoBackToGoesPastABatchThatStays)
{
    file("a");
    file("c");
    const QUuid a = add("a");
    const QUuid c = add("c");
    store->renamer().applyRenames({{a, "b"}});
    store->renamer().applyRenames({{c, "d"}});
    file("c");
    store->history().undoBackTo(1);
    EXPECT_EQ(store->status(), "Undid 1 rename(s); 1 couldn't be restored: An item named “c” already exists.");
    EXPECT_EQ(names(), (QStringList{"a", "c", "d"}));
    EXPECT_EQ(store->historyState().undoStack, (QList<MoveBatch>{{{work("c"), work("d")}}}));
}

// Undoing a chain moves a file back through its temporary name. When the name beyond it is
// still taken (here because the first file's old name was reused meanwhile), the file must not
// stay hidden: it goes back to where the batch had put it, and the whole way back stays in the
// history for another try.
TEST_F(HistoryTest, UndoNeverLeavesAFileUnderATemporaryName)
{
    for (const bool all : {false, true}) {
        SCOPED_TRACE(all ? "restore all" : "undo");
        store.reset();  // its saves land before the next Store reads them
        QDir(work()).removeRecursively();
        QDir(env.path("support")).removeRecursively();
        store = newStore();
        file("a");
        file("b");
        const QUuid a = add("a");
        const QUuid b = add("b");
        store->renamer().applyRenames({{a, "b"}, {b, "c"}});
        const QList<MoveBatch> applied = store->historyState().undoStack;
        ASSERT_EQ(applied.value(0).size(), 3);
        env.makeFile("w/a", "new");

        all ? store->history().restoreAll() : store->history().undoLast();
        EXPECT_EQ(names(), (QStringList{"a", "b", "c"}));
        EXPECT_EQ(content("a"), "new");
        EXPECT_EQ(content("b"), "a");
        EXPECT_EQ(content("c"), "b");
        EXPECT_EQ(item(b).name, "c");
        EXPECT_EQ(store->historyState().undoStack, applied);
        if (!all)
            EXPECT_EQ(store->status(), "Undid 0 rename(s); 3 couldn't be restored: An item named “b” already exists.");
        else
            EXPECT_EQ(store->status(), "Restored 0 file(s); 3 couldn't be restored: An item named “b” already exists.");
        for (const RenameLogEntry& e : store->historyState().renameLog)
            EXPECT_NE(e.action, RenameLogEntry::Action::undo);

        QFile::remove(work("a"));
        all ? store->history().restoreAll() : store->history().undoLast();
        EXPECT_EQ(names(), (QStringList{"a", "b"}));
        EXPECT_EQ(content("a"), "a");
        EXPECT_EQ(content("b"), "b");
        EXPECT_EQ(item(a).name, "a");
        EXPECT_EQ(item(b).name, "b");
        EXPECT_TRUE(store->historyState().undoStack.isEmpty());
    }
}

// A save that can't be written (here the file's place is taken by a folder; a full disk or a
// read-only support folder fail the same way) keeps what was there and tells the user.
TEST_F(HistoryTest, FailedSaveKeepsTheOldFileAndSaysSo)
{
    QDir().mkpath(store->history().historyFilePath());
    env.makeFile("support/rename-log.json", "[]");
    record(1);
    store->history().flushPendingSaves();
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return store->status().startsWith("The undo history could not be saved: "); }, 5000))
        << store->status().toStdString();
    EXPECT_TRUE(QFileInfo(store->history().historyFilePath()).isDir());
    EXPECT_EQ(HistoryFile::decodeLog(read(store->history().renameLogFilePath()))->size(), 1);
}

TEST(HistoryFileDates, NumbersNoDateCanHoldMarkTheFileDamaged)
{
    const QByteArray uuid = "\"00000000-0000-0000-0000-000000000001\"";
    for (const QByteArray date : {"1e308", "-1e308", "1e12", "1"}) {
        const bool fits = date == "1";
        const QByteArray batch = "[{\"date\": " + date + ", \"moves\": [], \"folderBookmarks\": []}]";
        const QByteArray entry = "[{\"id\": " + uuid + ", \"date\": " + date
                               + ", \"action\": \"rename\", \"from\": \"a\", \"to\": \"b\"}]";
        EXPECT_EQ(HistoryFile::decodeHistory(batch).has_value(), fits) << date.constData();
        EXPECT_EQ(HistoryFile::decodeLog(entry).has_value(), fits) << date.constData();
    }
}

// The stored forms are written piece by piece; they must stay the documents earlier versions
// wrote and read back, whatever the paths and bookmarks hold.
TEST(HistoryFileForm, WrittenFilesAreTheStoredDocumentsAndReadBack)
{
    const QString odd = QString::fromUtf16(u"/v/引号\"\\\t\n\U0001F3AC.mov");
    const QList<MoveBatch> stack = {{{"/v/a.mov", "/v/b.mov"}, {odd, "/v/c.mov"}}, {}};
    const QDateTime when(QDate(2024, 5, 31), QTime(9, 30, 15, 250), QTimeZone::utc());
    const QList<QDateTime> dates = {when, when.addDays(1)};
    const QList<QList<QByteArray>> marks = {{QByteArray("\x00\xff/v", 4)}, {}};

    QJsonArray expected;
    for (qsizetype i = 0; i < stack.size(); ++i) {
        QJsonArray moves;
        for (const Move& m : stack[i])
            moves.append(QJsonObject{{"from", m.from}, {"to", m.to}});
        QJsonArray b64;
        for (const QByteArray& b : marks[i])
            b64.append(QString::fromLatin1(b.toBase64()));
        expected.append(
            QJsonObject{{"date", Json::referenceSeconds(dates[i])}, {"moves", moves}, {"folderBookmarks", b64}});
    }
    const QByteArray history = HistoryFile::encodeHistory(stack, dates, marks);
    EXPECT_EQ(QJsonDocument::fromJson(history).array(), expected);
    const auto batches = HistoryFile::decodeHistory(history);
    ASSERT_TRUE(batches.has_value());
    ASSERT_EQ(batches->size(), 2);
    EXPECT_EQ(batches->at(0).moves.at(1).from, odd);
    EXPECT_EQ(batches->at(0).date, when);
    EXPECT_EQ(batches->at(0).folderBookmarks, marks[0]);

    const QList<RenameLogEntry> log = {
        {QUuid::createUuid(), when, RenameLogEntry::Action::rename, odd, "/v/x.mov"},
        {QUuid::createUuid(), when.addSecs(1), RenameLogEntry::Action::undo, "/v/x.mov", odd},
    };
    QJsonArray expectedLog;
    for (const RenameLogEntry& e : log)
        expectedLog.append(QJsonObject{{"id", Json::uuidText(e.id)},
                                       {"date", Json::referenceSeconds(e.date)},
                                       {"action", rawValue(e.action)},
                                       {"from", e.from},
                                       {"to", e.to}});
    const QByteArray logData = HistoryFile::encodeLog(log);
    EXPECT_EQ(QJsonDocument::fromJson(logData).array(), expectedLog);
    const auto entries = HistoryFile::decodeLog(logData);
    ASSERT_TRUE(entries.has_value());
    ASSERT_EQ(entries->size(), 2);
    EXPECT_EQ(entries->at(1).to, odd);
    EXPECT_EQ(entries->at(1).id, log[1].id);
    EXPECT_EQ(entries->at(1).action, RenameLogEntry::Action::undo);
}
