#include "safe_move.h"

#include "model/file_item.h"
#include "platform/lang.h"

#include <QFile>
#include <QUuid>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#ifndef RENAME_NOREPLACE
#define RENAME_NOREPLACE (1 << 0)
#endif

namespace {

QString nameOf(const QString& path)
{
    return PathText::lastComponent(path);
}

int renameNoReplace(const QByteArray& from, const QByteArray& to)
{
    // Called through syscall() so the build does not depend on the C library's wrapper.
    return int(::syscall(SYS_renameat2, AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE));
}

bool isDirectory(const QByteArray& path)
{
    struct stat st {};
    return ::lstat(path.constData(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool sameObject(const QByteArray& a, const QByteArray& b)
{
    struct stat sa {
    }, sb{};
    return ::lstat(a.constData(), &sa) == 0 && ::lstat(b.constData(), &sb) == 0 && sa.st_dev == sb.st_dev
        && sa.st_ino == sb.st_ino;
}

// Rename guarded by a look at the destination first. Only used where neither the kernel call
// nor hard links are available; the gap between check and rename is the price of such volumes.
int checkedRename(const QByteArray& from, const QByteArray& to)
{
    struct stat st {};
    if (::lstat(to.constData(), &st) == 0) {
        errno = EEXIST;
        return -1;
    }
    if (errno != ENOENT)
        return -1;
    return ::rename(from.constData(), to.constData());
}

int linkThenUnlink(const QByteArray& from, const QByteArray& to)
{
    if (::linkat(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), 0) != 0)
        return -1;
    if (::unlink(from.constData()) != 0) {
        const int err = errno;
        ::unlink(to.constData());  // the new link is ours; the original stays where it was
        errno = err;
        return -1;
    }
    return 0;
}

bool linksUnsupported(int err)
{
    return err == EPERM || err == EOPNOTSUPP || err == EMLINK || err == ENOSYS;
}

int moveOnce(const QByteArray& from, const QByteArray& to, SafeMove::Method method)
{
    using SafeMove::Method;
    if (method == Method::Auto) {
        if (renameNoReplace(from, to) == 0)
            return 0;
        if (errno != EINVAL && errno != ENOSYS)
            return -1;
        method = Method::LinkUnlink;
    }
    if (method == Method::LinkUnlink && !isDirectory(from)) {
        if (linkThenUnlink(from, to) == 0)
            return 0;
        if (!linksUnsupported(errno))
            return -1;
    }
    return checkedRename(from, to);
}

}  // namespace

QString MoveError::text() const
{
    const QString name = nameOf(to);
    const QString source = nameOf(from);
    switch (code) {
    case EEXIST:
    case ENOTEMPTY:
        return L(QStringLiteral("An item named “%1” already exists.").arg(name),
                 QStringLiteral("已存在名为「%1」的项目。").arg(name));
    case EROFS: return L("The volume is read-only.", "该卷是只读的。");
    case ENOENT:
        return L(QStringLiteral("“%1” could not be found.").arg(source), QStringLiteral("找不到「%1」。").arg(source));
    case EACCES:
    case EPERM:
        return L(QStringLiteral("You don't have permission to rename “%1”.").arg(source),
                 QStringLiteral("没有权限重命名「%1」。").arg(source));
    case ENOSPC:
    case EDQUOT: return L("There is not enough space on the volume.", "卷上空间不足。");
    case EXDEV:
        return L(QStringLiteral("“%1” can't be moved to another volume.").arg(source),
                 QStringLiteral("无法将「%1」移动到其他卷。").arg(source));
    case ENAMETOOLONG:
        return L(QStringLiteral("The name “%1” is too long.").arg(name), QStringLiteral("名称「%1」太长。").arg(name));
    default: {
        const QString sys = QString::fromLocal8Bit(std::strerror(code));
        return L(QStringLiteral("“%1” couldn't be renamed: %2").arg(source, sys),
                 QStringLiteral("无法重命名「%1」:%2").arg(source, sys));
    }
    }
}

bool MoveError::exists() const
{
    return code == EEXIST || code == ENOTEMPTY;
}
bool MoveError::readOnly() const
{
    return code == EROFS;
}

namespace SafeMove {

bool exists(const QString& path)
{
    struct stat st {};
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0;
}

QString temporaryName()
{
    return QStringLiteral(".rntmp_") + QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper();
}

bool isTemporaryName(QStringView name)
{
    return name.startsWith(QLatin1String(".rntmp_"));
}

bool isCaseOnlyChange(const QString& from, const QString& to)
{
    return from != to && PathText::parent(from) == PathText::parent(to)
        && PathText::lastComponent(from).compare(PathText::lastComponent(to), Qt::CaseInsensitive) == 0;
}

std::optional<MoveError> move(const QString& from, const QString& to, Method method)
{
    const QByteArray src = QFile::encodeName(from);
    const QByteArray dst = QFile::encodeName(to);
    if (moveOnce(src, dst, method) == 0)
        return std::nullopt;
    const MoveError err{errno, from, to};
    // On a volume that ignores case, a change of letter case only finds the item itself at the
    // target, so the direct call refuses. Park the item under a temporary name and come back.
    // Where the other spelling is a separate file, the refusal stands and nothing was touched.
    if (!err.exists() || !isCaseOnlyChange(from, to) || !sameObject(src, dst))
        return err;
    const QString parked = PathText::parent(from) + '/' + temporaryName();
    const QByteArray tmp = QFile::encodeName(parked);
    if (moveOnce(src, tmp, method) != 0)
        return MoveError{errno, from, to};
    if (moveOnce(tmp, dst, method) == 0)
        return std::nullopt;
    const MoveError second{errno, from, to};
    moveOnce(tmp, src, method);
    return second;
}

}  // namespace SafeMove
