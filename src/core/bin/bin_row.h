#pragma once
// One row of the bin table.
#include "metadata/meta_fields.h"

#include <QUuid>
#include <optional>

struct BinRow {
    QUuid id;
    std::optional<QString> url;  // absent for an offline row
    MetaKind kind = MetaKind::unsupported;
    bool isDir = false;
    QString name;
    std::optional<QString> pendingName;
    MetaFields fields;
    std::optional<QString> newExt;

    // The row's text for a column key ("clipname", "title", "author", "extra", "city",
    // "country", "gps", "keywords", "ext", "custom:<name>"); never fails.
    QString value(const QString& column) const;

    // "yyyy-MM-dd HH:mm:ss" in en_US_POSIX, the shared date text of bin cells and exports.
    static QString formatDate(const QDateTime& date);
};
