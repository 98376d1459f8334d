#include "dir_walk.h"

#include "platform/lang.h"

#include <QFile>
#include <QList>
#include <QSet>

#include <cerrno>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace DirWalk {

bool roundTrips(const QByteArray& name)
{
    bool ascii = true;
    for (char c : name)
        if (static_cast<unsigned char>(c) >= 0x80) {
            ascii = false;
            break;
        }
    return ascii || QFile::encodeName(QFile::decodeName(name)) == name;
}

bool isPackageName(const QString& name)
{
    static const QSet<QString> packages = {"app", "bundle", "framework", "plugin", "fcpbundle", "photoslibrary"};
    const qsizetype dot = name.lastIndexOf('.');
    return dot > 0 && packages.contains(name.mid(dot + 1).toLower());
}

namespace {

Kind kindOf(const struct stat& st)
{
    if (S_ISREG(st.st_mode))
        return Kind::Regular;
    if (S_ISDIR(st.st_mode))
        return Kind::Directory;
    return Kind::Other;
}

// An entry read from a folder, waiting for its turn to be visited.
struct Listed {
    QString name;
    Kind kind = Kind::Other;
    qint64 size = -1;
};

struct Folder {
    QString path;  // "" for the root folder "/"
    QList<Listed> entries;
    qsizetype next = 0;
};

struct Walker {
    const Options& options;
    Result result;

    // Reads the whole folder and closes it (takes ownership of fd). False when reading failed
    // part-way; what was read is kept.
    bool read(int fd, QList<Listed>& out)
    {
        DIR* dir = ::fdopendir(fd);
        if (!dir) {
            ::close(fd);
            return false;
        }
        bool ok = true;
        for (;;) {
            errno = 0;
            const dirent* d = ::readdir(dir);
            if (!d) {
                ok = errno == 0;
                break;
            }
            const char* raw = d->d_name;
            if (raw[0] == '.' && (raw[1] == 0 || (raw[1] == '.' && raw[2] == 0)))
                continue;
            if (options.skipHidden && raw[0] == '.')
                continue;
            const QByteArray bytes(raw);
            if (!roundTrips(bytes)) {
                ++result.skippedNames;
                continue;
            }
            Listed e;
            e.name = QFile::decodeName(bytes);
            struct stat st {};
            bool statted = false;
            switch (d->d_type) {
            case DT_REG: e.kind = Kind::Regular; break;
            case DT_DIR: e.kind = Kind::Directory; break;
            case DT_UNKNOWN:
                if (::fstatat(::dirfd(dir), raw, &st, AT_SYMLINK_NOFOLLOW) != 0)
                    continue;  // vanished or unreadable: passed over
                statted = true;
                e.kind = kindOf(st);
                break;
            default: e.kind = Kind::Other; break;
            }
            if (options.wantSize && e.kind == Kind::Regular) {
                if (statted || ::fstatat(::dirfd(dir), raw, &st, AT_SYMLINK_NOFOLLOW) == 0)
                    e.size = st.st_size;
            }
            out << e;
        }
        ::closedir(dir);
        return ok;
    }

    void unopened(const QString& path)
    {
        if (result.unopenedFolders++ == 0)
            result.firstUnopened = path;
    }

    void walk(int rootFd, const QString& rootPath, const std::function<void(const Entry&)>& visit)
    {
        std::vector<Folder> stack(1);
        stack[0].path = rootPath;
        if (!read(rootFd, stack[0].entries))
            unopened(rootPath.isEmpty() ? QStringLiteral("/") : rootPath);
        while (!stack.empty()) {
            Folder& top = stack.back();
            if (top.next >= top.entries.size()) {
                stack.pop_back();
                continue;
            }
            Listed listed = std::move(top.entries[top.next++]);
            Entry e;
            e.folder = &top.path;
            e.name = std::move(listed.name);
            e.kind = listed.kind;
            e.size = listed.size;
            visit(e);
            if (e.kind != Kind::Directory || !options.recursive || (options.skipPackages && isPackageName(e.name)))
                continue;
            Folder below;
            below.path = e.path();
            const int fd = ::open(QFile::encodeName(below.path).constData(),
                                  O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
            if (fd < 0) {
                if (errno != ENOENT)  // gone since it was listed: nothing to report
                    unopened(below.path);
                continue;
            }
            if (!read(fd, below.entries))
                unopened(below.path);
            stack.push_back(std::move(below));  // `top` and `e` are not used past this point
        }
    }
};

}  // namespace

Result walk(const QString& folder, const Options& options, const std::function<void(const Entry&)>& visit)
{
    Walker w{options, {}};
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return w.result;
    w.result.opened = true;
    QString base = folder;
    while (base.size() > 1 && base.endsWith('/'))
        base.chop(1);
    if (base == QLatin1String("/"))
        base.clear();
    w.walk(fd, base, visit);
    return w.result;
}

}  // namespace DirWalk

QString skippedNamesNotice(int count)
{
    if (count <= 0)
        return {};
    return L("Skipped %1 name(s) that are not valid UTF-8.", "已跳过 %1 个不是有效 UTF-8 的名称。").arg(count);
}

QString unopenedFoldersNotice(int count, const QString& first)
{
    if (count <= 0)
        return {};
    const QString n = QString::number(count);
    return L(QStringLiteral("Could not open %1 folder(s); the first was “%2”.").arg(n, first),
             QStringLiteral("无法打开 %1 个文件夹;第一个是「%2」。").arg(n, first));
}
