#include "file_icon_cache.h"

#include "model/file_item.h"

#include <QFileIconProvider>
#include <QFileInfo>
#include <QHash>
#include <QMimeDatabase>
#include <QMutex>

namespace {
constexpr int kCacheBound = 501;  // emptied whole, never trimmed entry by entry

QMutex mutex;
QHash<QString, QIcon> cache;
}  // namespace

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

QStringList FileIconCache::themeNames(const QString& path, bool isDir)
{
    if (isDir)
        return {QStringLiteral("folder")};
    const QMimeType type = QMimeDatabase().mimeTypeForFile(path, QMimeDatabase::MatchExtension);
    QStringList names{type.iconName(), type.genericIconName()};
    names.removeAll(QString());
    return names;
}

namespace {
// Without a desktop's platform theme the provider gives every file one generic icon: the
// type's theme icon comes first.
QIcon lookUp(const QString& path, bool isDir)
{
    for (const QString& name : FileIconCache::themeNames(path, isDir))
        if (QIcon::hasThemeIcon(name))
            return QIcon::fromTheme(name);
    return QFileIconProvider().icon(QFileInfo(path));
}
}  // namespace

QIcon FileIconCache::icon(const QString& path, bool isDir)
{
    const QString key = keyFor(path, isDir);
    QMutexLocker lock(&mutex);
    auto it = cache.constFind(key);
    if (it != cache.constEnd())
        return *it;
    const QIcon icon = lookUp(path, isDir);
    if (cache.size() >= kCacheBound)
        cache.clear();
    cache.insert(key, icon);
    return icon;
}
