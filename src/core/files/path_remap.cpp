#include "files/path_remap.h"

#include <QDir>

#include <algorithm>

namespace PathRemap {

namespace {
// An absolute path with no empty, "." or ".." component and no trailing "/": what cleaning gives.
bool isClean(QStringView path)
{
    const qsizetype n = path.size();
    if (n == 1)
        return true;
    if (path.back() == u'/')
        return false;
    // One pass: every "/" must start a component that is neither empty, "." nor "..". The last
    // character is no "/", so one always follows.
    const char16_t* c = path.utf16();
    for (qsizetype i = qsizetype(path.indexOf(u'/')); i >= 0 && i + 1 < n; ++i) {
        if (c[i] != u'/')
            continue;
        if (c[i + 1] == u'/')
            return false;
        if (c[i + 1] != u'.')
            continue;
        qsizetype end = i + 2;  // past "." or, with a second dot, past ".."
        if (end < n && c[end] == u'.')
            ++end;
        if (end == n || c[end] == u'/')
            return false;
    }
    return true;
}
}  // namespace

QString clean(const QString& path)
{
    // Listed paths are clean already; they are handed back as they are, without a copy.
    if (path.startsWith('/'))
        return isClean(path) ? path : QDir::cleanPath(path);
    return PathText::standardized(path);
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

namespace {
// Writes `text` over `target`'s characters when they are its own and have room.
bool overwrite(QString& target, QStringView text)
{
    if (!target.isDetached() || target.capacity() < text.size())
        return false;
    target.resize(text.size());
    std::copy(text.begin(), text.end(), target.data());
    return true;
}
}  // namespace

bool refreshNamesInPlace(FileItem& item)
{
    const qsizetype slash = item.url.lastIndexOf('/');
    if (item.isDir || slash < 0 || slash == item.url.size() - 1)
        return false;
    const QStringView name = QStringView(item.url).sliced(slash + 1);
    const qsizetype dot = name.lastIndexOf('.');
    if (dot <= 0 || dot == name.size() - 1 || name.sliced(dot + 1) != item.ext)
        return false;
    return overwrite(item.name, name) && overwrite(item.stem, name.first(dot));
}

void refreshNames(FileItem& item)
{
    const qsizetype slash = item.url.lastIndexOf('/');
    item.name = item.url.size() > 1 && item.url.endsWith('/') ? PathText::lastComponent(item.url)
                                                              : item.url.sliced(slash + 1);
    if (item.isDir) {
        item.stem = item.name;
        item.ext.clear();
        return;
    }
    item.stem = PathText::withoutExtension(item.name);
    // A rename seldom changes the extension: the item keeps its text, often shared with other
    // items', instead of a copy of its own for every file of a large batch.
    const qsizetype dot = item.name.lastIndexOf('.');
    if (dot <= 0 || item.ext.isEmpty() || QStringView(item.name).sliced(dot + 1) != item.ext)
        item.ext = PathText::extension(item.name);
}

}  // namespace PathRemap
