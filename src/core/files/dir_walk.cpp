#include "dir_walk.h"

#include "platform/lang.h"

#include <QFile>
#include <QSet>

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

struct Walker {
    const Options& options;
    const std::function<void(const Entry&)>& visit;
    Result result;

    // Takes ownership of fd.
    void walkFd(int fd, const QString& path)
    {
        DIR* dir = ::fdopendir(fd);
        if (!dir) {
            ::close(fd);
            return;
        }
        while (const dirent* d = ::readdir(dir)) {
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
            Entry e;
            e.folder = &path;
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
            visit(e);
            if (e.kind == Kind::Directory && options.recursive && !(options.skipPackages && isPackageName(e.name))) {
                const int sub = ::openat(::dirfd(dir), raw, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
                if (sub >= 0)
                    walkFd(sub, e.path());
            }
        }
        ::closedir(dir);
    }
};

}  // namespace

Result walk(const QString& folder, const Options& options, const std::function<void(const Entry&)>& visit)
{
    Walker w{options, visit, {}};
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return w.result;
    w.result.opened = true;
    QString base = folder;
    while (base.size() > 1 && base.endsWith('/'))
        base.chop(1);
    if (base == QLatin1String("/"))
        base.clear();
    w.walkFd(fd, base);
    return w.result;
}

}  // namespace DirWalk

QString skippedNamesNotice(int count)
{
    if (count <= 0)
        return {};
    return L("Skipped %1 name(s) that are not valid UTF-8.", "已跳过 %1 个不是有效 UTF-8 的名称。").arg(count);
}
