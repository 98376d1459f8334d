#include "bin_import.h"

#include "bin/bin_columns.h"
#include "bin/bin_controller.h"
#include "interchange/ale_format.h"
#include "interchange/csv_format.h"
#include "interchange/fcp7_xml_format.h"
#include "interchange/fcpxml_format.h"
#include "model/file_item.h"
#include "model/store.h"
#include "platform/lang.h"
#include "platform/random_ids.h"

#include <QFile>
#include <QHash>
#include <QSet>
#include <QStringDecoder>

namespace {
const QString kExt = QStringLiteral("ext");

const QHash<QString, QString>& headerKeys()
{
    static const QHash<QString, QString> keys = {
        {"clip name", "clipname"},
        {"name", "clipname"},
        {"title", "title"},
        {"author", "author"},
        {"extra", "extra"},
        {"keywords", "keywords"},
        {"date", "date"},
        {"creation date", "date"},
        {"city", "city"},
        {"country", "country"},
        {"gps", "gps"},
        {"extension", "ext"},
        {"ext", "ext"},
    };
    return keys;
}

// Columns the bin computes from the file itself.
const QStringList& ignoredHeaders()
{
    static const QStringList names = {"file name", "kind",   "duration(s)", "duration", "resolution",
                                      "fps",       "tracks", "start",       "end",      "source file"};
    return names;
}

QString firstCaseless(const QStringList& names, const QString& text)
{
    for (const QString& name : names)
        if (name.compare(text, Qt::CaseInsensitive) == 0)
            return name;
    return {};
}

// A header outside the map names a custom column, spelled as the column groups or the bin's
// existing custom columns spell it.
QString customColumnName(const QString& header, const QStringList& customCols)
{
    for (const QStringList* group : {&BinColumns::technical(), &BinColumns::logging(), &customCols})
        if (const QString name = firstCaseless(*group, header); !name.isEmpty())
            return name;
    return header;
}

struct Plan {
    qsizetype fileColumn = -1;
    QList<QPair<qsizetype, QString>> columns;  // cell index and the column key it fills
};

Plan planColumns(const QStringList& header, QStringList& customCols)
{
    Plan plan;
    for (qsizetype i = 0; i < header.size() && plan.fileColumn < 0; ++i)
        if (header[i].compare(QLatin1String("File Name"), Qt::CaseInsensitive) == 0)
            plan.fileColumn = i;
    if (plan.fileColumn < 0)
        return plan;
    for (qsizetype i = 0; i < header.size(); ++i) {
        if (i == plan.fileColumn)
            continue;
        const QString lower = header[i].toLower();
        if (const auto key = headerKeys().constFind(lower); key != headerKeys().cend()) {
            plan.columns.append({i, *key});
            continue;
        }
        if (ignoredHeaders().contains(lower))
            continue;
        const QString name = customColumnName(header[i], customCols);
        if (!customCols.contains(name))
            customCols.append(name);
        plan.columns.append({i, QStringLiteral("custom:") + name});
    }
    return plan;
}

// Blanks and tabs only: a line break inside a quoted cell is part of the name.
QString trimBlanks(const QString& text)
{
    const auto blank = [](QChar c) { return c == u'\t' || c.category() == QChar::Separator_Space; };
    qsizetype from = 0;
    qsizetype to = text.size();
    while (from < to && blank(text[from]))
        ++from;
    while (to > from && blank(text[to - 1]))
        --to;
    return text.mid(from, to - from);
}

BinRow offlineRow(const QString& name)
{
    BinRow row;
    row.id = randomId();
    row.kind = metaKindForPath(name);
    row.name = name;
    row.fields.kind = row.kind;
    return row;
}

// What the file is called now; a pending extension change is not what an equal cell repeats.
QString currentExtension(const BinRow& row)
{
    return PathText::extension(row.url ? PathText::lastComponent(*row.url) : row.name);
}

void writeCell(BinRow& row, const QString& key, const QString& cell)
{
    if (key == kExt) {
        if (!cell.isEmpty() && cell != currentExtension(row))
            row.setValue(cell, key);
    } else if (row.isEditable(key)) {
        row.setValue(cell, key);
    }
}

// Rows by name, the first of each name: exact names, and names folded for a caseless match.
struct NameIndex {
    QHash<QString, int> exact;
    QHash<QString, int> folded;

    void add(const QString& name, int index)
    {
        exact.insert(name, exact.value(name, index));
        const QString key = name.toCaseFolded();
        folded.insert(key, folded.value(key, index));
    }
    // The first exact match wins over an earlier caseless one: "a001.mov" and "A001.MOV" can
    // be two files.
    int find(const QString& name) const
    {
        const int index = exact.value(name, -1);
        return index >= 0 ? index : folded.value(name.toCaseFolded(), -1);
    }
};
}  // namespace

namespace BinImport {

std::optional<QString> readText(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8(bytes);
    if (!utf8.hasError())
        return text;
    return QString::fromLatin1(bytes);
}

ImportedTable parse(const QString& formatId, const QString& text)
{
    if (formatId == QLatin1String("ale"))
        return Exporter::importALE(text);
    if (formatId == QLatin1String("fcpxml"))
        return Exporter::importFCPXML(text);
    if (formatId == QLatin1String("xml7"))
        return Exporter::importFCP7XML(text);
    return Exporter::importCSV(text);
}

QString displayName(const QString& formatId)
{
    return formatId == QLatin1String("xml7") ? QStringLiteral("XML") : formatId.toUpper();
}

void importTable(Store& store, const ImportedTable& table, const QString& name)
{
    if (table.header.isEmpty()) {
        store.setStatus(L(name + QString::fromUtf8(": couldn't parse this file — check it's a valid ") + name
                              + QStringLiteral(" export."),
                          name + QString::fromUtf8(":无法解析该文件 —— 请确认它是有效的 ") + name
                              + QString::fromUtf8(" 导出文件。")));
        return;
    }
    BinController& bin = store.bin();
    QStringList customCols = bin.customCols();
    const Plan plan = planColumns(table.header, customCols);
    if (plan.fileColumn < 0) {
        store.setStatus(L(name + QStringLiteral(": no \"File Name\" column found."),
                          name + QString::fromUtf8(":未找到「File Name」列。")));
        return;
    }
    if (customCols != bin.customCols())
        bin.setCustomCols(customCols);

    bin.pushToolSnapshot();
    int filled = 0;
    int added = 0;
    bin.editRows([&](QList<BinRow>& rows) {
        NameIndex names;
        for (int i = 0; i < rows.size(); ++i)
            names.add(rows[i].name, i);
        QList<int> changed;
        QSet<int> seen;
        for (const QStringList& cells : table.rows) {
            if (cells.size() <= plan.fileColumn)
                continue;
            const QString fileName = trimBlanks(cells[plan.fileColumn]);
            if (fileName.isEmpty())
                continue;
            int index = names.find(fileName);
            if (index >= 0) {
                ++filled;
            } else {
                index = int(rows.size());
                rows.append(offlineRow(fileName));
                names.add(fileName, index);
                ++added;
            }
            for (const auto& [column, key] : plan.columns)
                if (column < cells.size())
                    writeCell(rows[index], key, cells[column]);
            if (!seen.contains(index)) {
                seen.insert(index);
                changed.append(index);
            }
        }
        return changed;
    });
    store.setStatus(L(QStringLiteral("Imported ") + name + QString::fromUtf8(" — filled ") + QString::number(filled)
                          + QStringLiteral(", added ") + QString::number(added)
                          + QStringLiteral(" offline row(s). Use Relink to link files."),
                      QString::fromUtf8("已导入 ") + name + QString::fromUtf8(" —— 填充 ") + QString::number(filled)
                          + QString::fromUtf8(" 个,新增 ") + QString::number(added)
                          + QString::fromUtf8(" 个离线行。用 Relink 关联文件。")));
}

void importFile(Store& store, const QString& path, const QString& formatId)
{
    const std::optional<QString> text = readText(path);
    if (!text) {
        store.setStatus(L("Couldn't read the file.", "无法读取该文件。"));
        return;
    }
    importTable(store, parse(formatId, *text), displayName(formatId));
}

}  // namespace BinImport
