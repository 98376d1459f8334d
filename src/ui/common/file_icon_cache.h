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
} // namespace FileIconCache
