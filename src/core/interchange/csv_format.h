#pragma once
// Comma-separated text: the bin's rows out, any spreadsheet's table in.
#include "export_item.h"

namespace Exporter {

// Absent `fields`: the built-in columns, then every custom entry of the items by name.
QString csv(const QList<ExportItem>& items, const std::optional<QList<CSVFieldMap>>& fields);
// First record is the header. Never fails: unreadable text gives an empty table.
ImportedTable importCSV(const QString& text);

}  // namespace Exporter
