#pragma once
// The XML interchange document of version 1.10: one asset and one spine clip per video.
#include "export_item.h"

namespace Exporter {

QString fcpxml(const QList<ExportItem>& items);
// One row per asset clip; an empty table when the text is no well-formed XML.
ImportedTable importFCPXML(const QString& text);

}  // namespace Exporter
