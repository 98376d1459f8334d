#pragma once
// Export items for the format tests, and the independent readers that check our output.
#include "interchange/export_item.h"
#include "test_support.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

inline ExportItem videoItem(const QString& name, double fps, double seconds, const QMap<QString, QString>& custom = {})
{
    ExportItem item;
    item.name = name;
    item.url = QStringLiteral("/media/shoot day/") + name;
    item.f.kind = MetaKind::video;
    item.f.fps = fps;
    item.f.durSec = seconds;
    item.f.custom = custom;
    return item;
}

inline ExportItem stillItem(const QString& name, MetaKind kind = MetaKind::image)
{
    ExportItem item;
    item.name = name;
    item.url = QStringLiteral("/media/") + name;
    item.f.kind = kind;
    return item;
}

// Runs a tool on `content` saved in a private file; the tool's exit code, stdout and stderr.
struct ToolRun {
    bool found = false;
    int exitCode = -1;
    QByteArray out, err;
};

inline ToolRun runOnFile(const QString& tool, QStringList args, const QString& content)
{
    ToolRun run;
    const QString program = QStandardPaths::findExecutable(tool);
    if (program.isEmpty())
        return run;
    run.found = true;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("export.txt"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(content.toUtf8()) < 0)
        return run;
    file.close();
    args << path;
    QProcess p;
    p.start(program, args);
    p.waitForFinished(60000);
    run.exitCode = p.exitCode();
    run.out = p.readAllStandardOutput();
    run.err = p.readAllStandardError();
    return run;
}

// Every XML export must be well-formed for an independent parser.
#define EXPECT_XMLLINT_ACCEPTS(text)                                                                                   \
    do {                                                                                                               \
        const ToolRun lint = runOnFile(QStringLiteral("xmllint"), {QStringLiteral("--noout")}, (text));                \
        if (!lint.found)                                                                                               \
            GTEST_SKIP() << "xmllint is not installed (package libxml2-utils)";                                        \
        EXPECT_EQ(lint.exitCode, 0) << lint.err.toStdString();                                                         \
        EXPECT_TRUE(lint.err.isEmpty()) << lint.err.toStdString();                                                     \
    } while (false)

// The cells Python's csv module reads from a text, as a header and rows.
inline std::optional<ImportedTable> pythonCsvTable(const QString& text)
{
    const ToolRun run = runOnFile(QStringLiteral("python3"),
                                  {QStringLiteral("-c"),
                                   QStringLiteral("import csv, json, sys\n"
                                                  "with open(sys.argv[1], newline='', encoding='utf-8') as f:\n"
                                                  "    sys.stdout.write(json.dumps(list(csv.reader(f))))\n")},
                                  text);
    if (!run.found || run.exitCode != 0)
        return std::nullopt;
    QList<QStringList> records;
    for (const QJsonValue& record : QJsonDocument::fromJson(run.out).array()) {
        QStringList cells;
        for (const QJsonValue& cell : record.toArray())
            cells << cell.toString();
        records << cells;
    }
    ImportedTable table;
    if (!records.isEmpty())
        table.header = records.takeFirst();
    table.rows = records;
    return table;
}

inline void PrintTo(const ImportedTable& t, std::ostream* os)
{
    *os << "header [" << t.header.join(QLatin1Char('|')).toStdString() << "]";
    for (const QStringList& r : t.rows)
        *os << " row [" << r.join(QLatin1Char('|')).toStdString() << "]";
}
