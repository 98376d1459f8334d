#pragma once
// The desktop's icon for a listed file. Files of one type share one icon (keyed by extension);
// folders, files without an extension and .app bundles are keyed by their path.
#include <QIcon>
#include <QString>

namespace FileIconCache {
QIcon icon(const QString& path, bool isDir);
// The key an item's icon is kept under ("ext:pdf", "path:/a/folder").
QString keyFor(const QString& path, bool isDir);
// Icons held now.
int cachedIconCount();
// The theme icons that stand for the file's type, most exact first ("image-jpeg",
// "image-x-generic"); a folder's is "folder". Found from the name alone: nothing is read.
QStringList themeNames(const QString& path, bool isDir);
}  // namespace FileIconCache
