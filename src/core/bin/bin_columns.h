#pragma once
// The fixed groups of custom columns the Columns menu adds at once; the export presets and the
// import merge read them too.
#include <QStringList>

namespace BinColumns {
// Filled from each file's technical facts when it is read (27 names).
const QStringList& technical();
// The logging columns of an editing system's bin, filled by the user (15 names).
const QStringList& logging();
}  // namespace BinColumns
