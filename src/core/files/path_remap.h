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
}  // namespace PathRemap
