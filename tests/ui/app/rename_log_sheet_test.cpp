#include "app/rename_log_sheet.h"
#include "files/history.h"
#include "files/history_file.h"
#include "test_support.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTableView>
#include <QTimeZone>
#include <gtest/gtest.h>

namespace {

RenameLogEntry entry(const QString& action, const QString& from, const QString& to, const QDateTime& date)
{
    RenameLogEntry e;
    e.id = QUuid::createUuid();
    e.date = date;
    e.action = *lookupRawValue<RenameLogEntry::Action>(action);
    e.from = from;
    e.to = to;
    return e;
}

const QDateTime t0(QDate(2026, 1, 31), QTime(9, 5, 7), Qt::UTC);

struct Fixture {
    TestEnv env;
    Store store{env.services()};
    FakeDialogs dialogs;
    int clears = 0;
    RenameLogSheet sheet{store, dialogs, [this] {
                             ++clears;
                             setLog({});
                         }};

    // The log as the store finds it on disk when it loads.
    void setLog(const QList<RenameLogEntry>& log)
    {
        const QString path = store.history().renameLogFilePath();
        QDir().mkpath(PathText::parent(path));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(HistoryFile::encodeLog(log));
        file.close();
        store.history().loadHistory();
    }

    QStringList oldNames() const
    {
        QStringList out;
        for (const RenameLogRow& r : sheet.filteredEntries())
            out << PathText::lastComponent(r.from);
        return out;
    }
};

// Parses a CSV file with python's csv module: an independent reader.
QList<QStringList> parseWithPython(const QString& path)
{
    QProcess p;
    p.start("python3", {"-c",
                        "import csv, json, sys\n"
                        "with open(sys.argv[1], newline='', encoding='utf-8') as f:\n"
                        "    print(json.dumps(list(csv.reader(f))))\n",
                        path});
    EXPECT_TRUE(p.waitForFinished(20000));
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    QList<QStringList> rows;
    for (const QJsonValue& row : QJsonDocument::fromJson(p.readAllStandardOutput()).array()) {
        QStringList fields;
        for (const QJsonValue& v : row.toArray())
            fields << v.toString();
        rows << fields;
    }
    return rows;
}

}  // namespace

TEST(RenameLogSheet, EmptyLogShowsItsNoteAndExportsOnlyTheHeader)
{
    Fixture f;
    EXPECT_FALSE(f.sheet.emptyLabel()->isHidden());
    EXPECT_EQ(f.sheet.countLabel()->text(), "0 entries");
    // Secondary, not the faint disabled look.
    for (QLabel* l : {f.sheet.emptyLabel(), f.sheet.countLabel()}) {
        EXPECT_TRUE(l->isEnabled());
        EXPECT_EQ(l->foregroundRole(), QPalette::PlaceholderText);
    }
    const QString path = f.env.path("empty.csv");
    f.dialogs.saveAnswers.push_back(path);
    f.sheet.exportButton()->click();
    ASSERT_EQ(f.dialogs.saves.size(), 1);
    EXPECT_EQ(f.dialogs.saves[0].fileName, "Brindlecove Log.csv");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), "Time,Action,Old Name,New Name,Folder,Old Path,New Path\n");
    EXPECT_EQ(f.store.status(), "Exported empty.csv");
}

TEST(RenameLogSheet, SearchFiltersPathsNewestFirstWhileTheCountStaysWhole)
{
    Fixture f;
    f.setLog({
        entry("rename", "/media/Reel_A/a001.mov", "/media/Reel_A/Opening.mov", t0),
        entry("auto", "/media/Reel_B/b002.mov", "/media/Reel_B/Harbour.mov", t0.addSecs(60)),
        entry("undo", "/media/Reel_A/Opening.mov", "/media/Reel_A/a001.mov", t0.addSecs(120)),
    });
    EXPECT_TRUE(f.sheet.emptyLabel()->isHidden());
    EXPECT_EQ(f.oldNames(), (QStringList{"Opening.mov", "b002.mov", "a001.mov"}));
    EXPECT_EQ(f.sheet.table()->model()->rowCount(), 3);
    EXPECT_EQ(f.sheet.table()->model()->index(0, 1).data().toString(), "Undo");
    EXPECT_EQ(f.sheet.table()->model()->index(1, 1).data().toString(), "Auto");

    f.sheet.searchField()->setText("reel_a");  // a folder name matches its whole folder
    EXPECT_EQ(f.oldNames(), (QStringList{"Opening.mov", "a001.mov"}));
    EXPECT_EQ(f.sheet.table()->model()->rowCount(), 2);
    EXPECT_EQ(f.sheet.countLabel()->text(), "3 entries");
    f.sheet.searchField()->setText("HARBOUR");
    EXPECT_EQ(f.oldNames(), QStringList{"b002.mov"});
    f.sheet.searchField()->setText("nothing like it");
    EXPECT_EQ(f.sheet.table()->model()->rowCount(), 0);
    EXPECT_TRUE(f.sheet.emptyLabel()->isHidden());  // an empty result is not an empty log

    f.store.setLangZh(true);
    EXPECT_EQ(f.sheet.countLabel()->text(), "共 3 条");
    EXPECT_EQ(f.sheet.table()->model()->headerData(2, Qt::Horizontal).toString(), "原名称");
}

TEST(RenameLogSheet, ExportQuotesWhatCsvReadersNeedAndListsOldestFirstInUtc)
{
    Fixture f;
    const QString tricky[] = {"a,b.mov", "say \"hi\".mov", "two\nlines.mov", "cr\ronly.mov", "镜头 01.mov"};
    QList<RenameLogEntry> log;
    for (int i = 0; i < 5; ++i)
        log << entry("rename", "/shots/old" + QString::number(i), "/shots/x,y/" + tricky[i], t0.addSecs(i));
    log << entry("auto", "/shots/late.mov", "/shots/Late.mov", t0.toTimeZone(QTimeZone(8 * 3600)).addDays(1));
    f.setLog(log);
    f.sheet.searchField()->setText("late");  // the export ignores the search

    const QString path = f.env.path("out/log.csv");
    QDir().mkpath(f.env.path("out"));
    f.dialogs.saveAnswers.push_back(path);
    f.sheet.exportCSV();
    const QList<QStringList> rows = parseWithPython(path);
    ASSERT_EQ(rows.size(), 7);
    EXPECT_EQ(rows[0], (QStringList{"Time", "Action", "Old Name", "New Name", "Folder", "Old Path", "New Path"}));
    for (int r = 0; r < 5; ++r) {
        EXPECT_EQ(rows[r + 1], (QStringList{QString("2026-01-31T09:05:%1Z").arg(7 + r, 2, 10, QChar(u'0')), "rename",
                                            "old" + QString::number(r), tricky[r], "/shots/x,y",
                                            "/shots/old" + QString::number(r), "/shots/x,y/" + tricky[r]}));
    }
    EXPECT_EQ(rows[6][0], "2026-02-01T09:05:07Z");
    EXPECT_EQ(rows[6][1], "auto");

    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_FALSE(bytes.startsWith("\xEF\xBB\xBF"));
    EXPECT_TRUE(bytes.contains(",\"say \"\"hi\"\".mov\","));
    EXPECT_EQ(csvField("plain name.mov"), "plain name.mov");
}

TEST(RenameLogSheet, ClearAsksFirstAndAFailedExportIsReported)
{
    Fixture f;
    f.setLog({entry("rename", "/a/1.mov", "/a/2.mov", t0)});
    f.dialogs.answerAlert(0);  // Cancel
    f.sheet.clearButton()->click();
    ASSERT_EQ(f.dialogs.alerts.size(), 1);
    EXPECT_EQ(f.dialogs.alerts[0].message, "Clear the whole rename log?");
    EXPECT_EQ(f.dialogs.alerts[0].informative, "Files aren't changed, and Undo keeps working.");
    EXPECT_EQ(f.dialogs.alerts[0].buttons.value(1), "Clear Log");
    EXPECT_EQ(f.clears, 0);
    f.dialogs.answerAlert(1);
    f.sheet.clearButton()->click();
    EXPECT_EQ(f.clears, 1);
    EXPECT_FALSE(f.sheet.emptyLabel()->isHidden());

    f.store.setLangZh(true);
    f.sheet.exportCSV();  // cancelled: nothing happens
    f.store.setStatus("unchanged");
    f.dialogs.saveAnswers.push_back(f.env.path("no/such/folder/log.csv"));
    f.sheet.exportCSV();
    EXPECT_TRUE(f.store.status().startsWith("导出失败:")) << f.store.status().toStdString();

    int finished = 0;
    QObject::connect(&f.sheet, &RenameLogSheet::finished, [&] { ++finished; });
    f.sheet.doneButton()->click();
    EXPECT_EQ(finished, 1);
}

TEST(RenameLogSheet, ClearingEmptiesTheStoresLogAndLeavesUndo)
{
    TestEnv env;
    auto store = env.makeStore();
    store->history().appendRenameLog({{"/a/1.mov", "/a/2.mov"}}, RenameLogEntry::Action::rename);
    FakeDialogs dialogs;
    RenameLogSheet sheet(*store, dialogs);
    EXPECT_EQ(sheet.countLabel()->text(), "1 entries");
    dialogs.answerAlert(1);
    sheet.clearLog();
    EXPECT_TRUE(store->historyState().renameLog.isEmpty());
    EXPECT_EQ(sheet.countLabel()->text(), "0 entries");
}
