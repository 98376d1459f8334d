#include "file_icon_cache.h"

#include "model/file_item.h"

#include <QFileIconProvider>
#include <QFileInfo>
#include <QHash>
#include <QMutex>

namespace {
constexpr int kCacheBound = 501;  // emptied whole, never trimmed entry by entry
}

QIcon FileIconCache::icon(const QString& path, bool isDir)
{
    static QMutex mutex;
    static QHash<QString, QIcon> cache;
    const QString ext = PathText::extension(PathText::lastComponent(path)).toLower();
    const QString key = (isDir || ext.isEmpty() || ext == "app") ? "path:" + path : "ext:" + ext;
    QMutexLocker lock(&mutex);
    auto it = cache.constFind(key);
    if (it != cache.constEnd())
        return *it;
    const QIcon icon = QFileIconProvider().icon(QFileInfo(path));
    if (cache.size() >= kCacheBound)
        cache.clear();
    cache.insert(key, icon);
    return icon;
}
