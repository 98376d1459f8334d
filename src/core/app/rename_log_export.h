#pragma once
// The rename log as the log sheet shows it and as its CSV export writes it.
#include "model/store.h"

#include <QList>
#include <QString>

// What the sheet and the export read of one log entry.
struct RenameLogRow {
    QDateTime date;
    QString action;  // stored text value: "rename", "undo", "auto"
    QString from;
    QString to;
};
RenameLogRow renameLogRow(const RenameLogEntry& entry);

// The entries to list, newest first: all of them for an empty query, otherwise those whose old
// or new path contains the query, letter case ignored (a folder name matches its whole folder).
QList<RenameLogRow> filterRenameLog(const QList<RenameLogEntry>& log, const QString& query);

// One CSV field: quoted, with quotes doubled, when it holds a comma, a quote, a line feed or a
// carriage return.
QString csvField(const QString& text);
// The whole log, oldest first, with its header line; lines end in a line feed.
QString renameLogCsv(const QList<RenameLogEntry>& log);
// Writes the CSV as UTF-8 (no byte-order mark) through a temporary file; the error text, or
// empty on success.
QString writeRenameLogCsv(const QList<RenameLogEntry>& log, const QString& path);
