#pragma once
// The tab-separated log exchange format: video rows out, any log or tab-separated table in.
#include "export_item.h"

namespace Exporter {

QString ale(const QList<ExportItem>& items);
// The header begins with "File Name", the file name found in each row.
ImportedTable importALE(const QString& text);

}  // namespace Exporter
