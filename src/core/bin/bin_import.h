#pragma once
// Bringing an interchange file into the bin: its table is merged by file name, filling the
// matched rows' cells and adding an offline row for every name the bin lacks. The merge is an
// edit like any tool's: one undo snapshot first, then every changed row's fields stored as its
// draft, so it can be undone, outlives a switch of modes and is counted by Save.
#include "interchange/export_item.h"

#include <QString>
#include <optional>

class Store;

namespace BinImport {

// The whole file as UTF-8, else as ISO Latin-1; none when it cannot be read.
std::optional<QString> readText(const QString& path);
// The reader of a format id: "ale", "fcpxml", "xml7"; any other id reads comma-separated text.
ImportedTable parse(const QString& formatId, const QString& text);
// The format's name in messages: "XML" for "xml7", else the id in capitals.
QString displayName(const QString& formatId);

// Merges the table into the bin's rows and custom columns and reports in the status line;
// `name` is the format's name in the messages. A table without a header or without a
// "File Name" column changes nothing.
void importTable(Store& store, const ImportedTable& table, const QString& name);
// Reads, parses and merges one file of the given format.
void importFile(Store& store, const QString& path, const QString& formatId);

}  // namespace BinImport
