#pragma once
// Following moved files and folders through a batch of moves.
#include "model/store.h"

namespace PathRemap {
// Absolute, clean form of a path; cheap for paths that are already absolute.
QString clean(const QString& path);
// The path rebased under the moves' destinations, the moves applied in order.
QString remapUnderRenamedFolder(const QString& path, const MoveBatch& moves);
// Brings an item's name, stem and extension in line with its path.
void refreshNames(FileItem& item);
// The same for the usual file (a name with an extension the item already has), written over the
// name's and stem's own characters: nothing is allocated, so any thread may do it for its own
// items. False when that can't be done; refreshNames() then brings the item in line.
bool refreshNamesInPlace(FileItem& item);
}  // namespace PathRemap
