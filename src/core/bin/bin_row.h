#pragma once
// One row of the bin table, and the column keys every cell, tool, import and export goes
// through: "name", "clipname", "online", "title", "author", "extra", "ext", "city", "country",
// "gps", "keywords", "date" and "custom:" + a custom column's name.
#include "metadata/meta_fields.h"

#include <QStringList>
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

    bool operator==(const BinRow&) const = default;

    bool isOffline() const { return !url.has_value(); }

    // The row's text for a column key; never fails (an unknown key is a custom column).
    QString value(const QString& column) const;
    // Writes without asking isEditable(); cell editors ask first.
    void setValue(const QString& text, const QString& column);
    bool isEditable(const QString& column) const;

    // The cell as shown: a text holding "%" is a formula expanded against the row's tokens.
    QString displayValue(const QString& column) const;
    // The references of the cell's formula that name no token, as the expander reports them.
    QStringList formulaDiagnostics(const QString& column) const;
    // The fields with every formula expanded; exports and Save write these.
    MetaFields resolvedFields() const;

    QString dateText() const;
    // Empty text or text that does not parse clears the date.
    void setDateText(const QString& text);
    const QString& infoText() const { return fields.info; }

    // "yyyy-MM-dd HH:mm:ss" in en_US_POSIX, the shared date text of bin cells and exports.
    static QString formatDate(const QDateTime& date);
    static std::optional<QDateTime> parseDate(const QString& text);
};

// The ten built-in field columns of the table, in order.
const QStringList& binFieldKeys();
// The column title of a built-in field key in the current language.
QString binFieldTitle(const QString& key);
