#pragma once
// One bin row as the interchange writers see it, the table every reader returns, and the
// built-in export keys of the CSV columns.
#include "metadata/meta_fields.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

struct BinRow;

struct ExportItem {
    QString name;  // the stored file name, extension included
    QString url;   // the file's path; for an offline row the name alone
    MetaFields f;  // formula cells already expanded

    // `resolved` is the row's fields with formulas expanded, which needs the Store's tokens.
    static ExportItem fromRow(const BinRow& row, const MetaFields& resolved);
};

struct ImportedTable {
    QStringList header;
    QList<QStringList> rows;
    bool operator==(const ImportedTable&) const = default;
};

namespace Exporter {

struct CSVFieldMap {
    QString key;     // a built-in export key or "custom:" + a custom column name
    QString header;  // the header cell written for the column
    bool operator==(const CSVFieldMap&) const = default;
};

QString value(const QString& key, const ExportItem& item);
QString dateText(const std::optional<QDateTime>& date);
// The built-in columns in their fixed order, then one column per given custom name.
QList<CSVFieldMap> defaultCSVFields(const QStringList& customColumns);

// Shared by the writers: the item's metadata entry, the empty text when absent.
inline QString custom(const ExportItem& item, const QString& name)
{
    return item.f.custom.value(name);
}
// `f.clipName`, else `f.title`, else the file name.
QString label(const ExportItem& item);
QList<const ExportItem*> videos(const QList<ExportItem>& items);
// Line breaks and tabs become spaces: a value that must stay within its line or tab column.
QString singleLine(QString v);

}  // namespace Exporter
