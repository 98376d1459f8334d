#pragma once
// A cuts-only edit decision list laying the video rows end to end. Export only.
#include "export_item.h"

namespace Exporter {

// One frame rate for the whole list: the first video's that has one, else 25.
QString edl(const QList<ExportItem>& items);

}  // namespace Exporter
