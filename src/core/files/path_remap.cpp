#include "files/path_remap.h"

#include <QDir>

namespace PathRemap {

QString clean(const QString& path)
{
    return path.startsWith('/') ? QDir::cleanPath(path) : PathText::standardized(path);
}

namespace {
bool isStrictlyInside(const QString& path, const QString& folder)
{
    if (folder == QLatin1String("/"))
        return path.size() > 1 && path.startsWith('/');
    return path.size() > folder.size() && path.startsWith(folder) && path.at(folder.size()) == '/';
}
}  // namespace

QString remapUnderRenamedFolder(const QString& path, const MoveBatch& moves)
{
    QString r = clean(path);
    for (const Move& m : moves) {
        const QString f = clean(m.from);
        const QString t = clean(m.to);
        if (r == f)
            r = t;
        else if (isStrictlyInside(r, f))
            r = clean(t + '/' + r.mid(f == QLatin1String("/") ? 1 : f.size() + 1));
    }
    return r;
}

void refreshNames(FileItem& item)
{
    item.name = PathText::lastComponent(item.url);
    if (item.isDir) {
        item.stem = item.name;
        item.ext.clear();
    } else {
        item.stem = PathText::withoutExtension(item.name);
        item.ext = PathText::extension(item.name);
    }
}

}  // namespace PathRemap
