#pragma once
// The older XML interchange document (xmeml version 5): a bin of one clip per video.
#include "export_item.h"

namespace Exporter {

QString fcp7XML(const QList<ExportItem>& items);
// One row per file referenced by a clip item; an empty table when the text is no XML.
ImportedTable importFCP7XML(const QString& text);

}  // namespace Exporter
