#include "file_icon_cache.h"

#include "model/file_item.h"

#include <QFileIconProvider>
#include <QFileInfo>
#include <QHash>
#include <QMutex>

namespace {
constexpr int kCacheBound = 501;  // emptied whole, never trimmed entry by entry

QMutex mutex;
QHash<QString, QIcon> cache;
}

QString FileIconCache::keyFor(const QString& path, bool isDir)
{
    const QString ext = PathText::extension(PathText::lastComponent(path)).toLower();
    return (isDir || ext.isEmpty() || ext == "app") ? "path:" + path : "ext:" + ext;
}

int FileIconCache::cachedIconCount()
{
    QMutexLocker lock(&mutex);
    return int(cache.size());
}

QIcon FileIconCache::icon(const QString& path, bool isDir)
{
    const QString key = keyFor(path, isDir);
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
