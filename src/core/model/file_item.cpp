#include "file_item.h"

#include "platform/random_ids.h"

#include <QDir>
#include <QFileInfo>

#include <array>

QString PathText::lastComponent(const QString& path)
{
    QString p = path;
    while (p.size() > 1 && p.endsWith('/'))
        p.chop(1);
    const qsizetype slash = p.lastIndexOf('/');
    return slash < 0 ? p : p.mid(slash + 1);
}

QString PathText::parent(const QString& path)
{
    QString p = path;
    while (p.size() > 1 && p.endsWith('/'))
        p.chop(1);
    const qsizetype slash = p.lastIndexOf('/');
    if (slash < 0)
        return QStringLiteral(".");
    return slash == 0 ? QStringLiteral("/") : p.left(slash);
}

QString PathText::extension(const QString& name)
{
    const qsizetype dot = name.lastIndexOf('.');
    // A leading dot (".profile") is a hidden name, not an extension.
    if (dot <= 0)
        return {};
    return name.mid(dot + 1);  // "" for a trailing dot
}

QString PathText::withoutExtension(const QString& name)
{
    const qsizetype dot = name.lastIndexOf('.');
    // A trailing dot is no extension and stays with the stem: stem + "." + ext must give the
    // name back, or "clip." would be renamed "clip" with no rule on.
    if (dot <= 0 || dot == name.size() - 1)
        return name;
    return name.left(dot);
}

namespace {

// Absolute, no empty, "." or ".." component and no trailing "/": what cleaning would give back.
bool isCleanAbsolute(QStringView path)
{
    if (path.isEmpty() || path[0] != u'/')
        return false;
    if (path.size() == 1)
        return true;
    if (path.back() == u'/')
        return false;
    qsizetype start = 1;  // of the current component
    for (qsizetype i = 1; i <= path.size(); ++i) {
        if (i < path.size() && path[i] != u'/')
            continue;
        const qsizetype length = i - start;
        if (length == 0 || (length == 1 && path[start] == u'.')
            || (length == 2 && path[start] == u'.' && path[start + 1] == u'.'))
            return false;
        start = i + 1;
    }
    return true;
}

}  // namespace

QString PathText::standardized(const QString& path)
{
    // Listing a folder standardizes every path in it: a clean one is kept as it is (and shared).
    if (isCleanAbsolute(path))
        return path;
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

namespace {

// A long list holds few different extensions: equal ones share one text instead of each
// holding a copy.
QString sharedExtension(const QString& ext)
{
    thread_local std::array<QString, 8> recent;
    thread_local size_t next = 0;
    if (ext.isEmpty())
        return ext;
    for (const QString& r : recent)
        if (r == ext)
            return r;
    recent[next++ % recent.size()] = ext;
    return ext;
}

}  // namespace

FileItem FileItem::file(const QString& path, const std::optional<QString>& fromFolder)
{
    FileItem f;
    f.id = randomId();
    f.url = PathText::standardized(path);
    f.isDir = false;
    if (fromFolder)
        f.fromFolder = PathText::standardized(*fromFolder);
    f.name = PathText::lastComponent(f.url);
    f.stem = PathText::withoutExtension(f.name);
    f.ext = sharedExtension(PathText::extension(f.name));
    return f;
}

FileItem FileItem::folder(const QString& path)
{
    FileItem f;
    f.id = randomId();
    f.url = PathText::standardized(path);
    f.isDir = true;
    f.name = PathText::lastComponent(f.url);
    f.stem = f.name;
    return f;
}
