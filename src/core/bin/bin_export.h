#pragma once
// Writing every bin row, offline or not, into one interchange file: CSV, ALE, FCPXML, FCP7 XML
// or EDL. The text is made from the rows as they stand (formulas expanded, pending renames not
// applied) and written atomically.
#include "bin/bin_row.h"
#include "interchange/export_item.h"

#include <QList>
#include <QString>
#include <optional>

class Store;

namespace BinExport {

struct FileText {
    QString text;
    QString extension;  // of the proposed file name
};

// "ale", "fcpxml", "xml7", "edl"; any other id writes CSV with `csvFields` (none: the automatic
// columns).
FileText render(const QList<BinRow>& rows, const QString& formatId,
                const std::optional<QList<Exporter::CSVFieldMap>>& csvFields = std::nullopt);
// "metadata." + the format's extension.
QString proposedFileName(const QString& formatId);
// Writes the text and reports "Exported <name>" or "Export failed." in the status line.
bool writeFile(Store& store, const QString& path, const QString& text);

}  // namespace BinExport
