#include "file_swap.h"

#include <QFile>
#include <QFileInfo>
#include <QUuid>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString errnoText(int code)
{
    return qt_error_string(code);
}

void fail(QString* error, const QString& text)
{
    if (error)
        *error = text;
}

// Mode bits and owner of the original, given to the new file before it takes the original's
// place. A group the user may not hand out fails the swap rather than changing the owner.
bool copyModeAndOwner(int fd, const struct stat& original)
{
    if (::fchmod(fd, original.st_mode & 07777) != 0)
        return false;
    struct stat now {};
    if (::fstat(fd, &now) != 0)
        return false;
    if (now.st_uid == original.st_uid && now.st_gid == original.st_gid)
        return true;
    if (::fchown(fd, original.st_uid, original.st_gid) != 0)
        return false;
    // chown may clear set-id bits; put them back.
    return ::fchmod(fd, original.st_mode & 07777) == 0;
}

}  // namespace

FileSwap::~FileSwap() = default;

FileSwap& FileSwap::standard()
{
    static FileSwap swap;
    return swap;
}

QString FileSwap::resolveTarget(const QString& path)
{
    const QFileInfo info(path);
    const QString real = info.canonicalFilePath();
    if (real.isEmpty() || !QFileInfo(real).isFile())
        return {};
    return real;
}

bool FileSwap::writeAll(int fd, const QByteArray& data)
{
    const char* p = data.constData();
    qsizetype left = data.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, size_t(left));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        p += n;
        left -= n;
    }
    return ::fsync(fd) == 0;
}

bool FileSwap::renameOver(const QString& from, const QString& to)
{
    return ::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
}

bool FileSwap::replaceContent(const QString& target, const QByteArray& data, QString* error)
{
    const QString real = resolveTarget(target);
    struct stat original {};
    if (real.isEmpty() || ::stat(QFile::encodeName(real).constData(), &original) != 0) {
        fail(error, errnoText(ENOENT));
        return false;
    }
    const QFileInfo info(real);
    const QString temp = info.absolutePath() + "/.rnmeta_"
                       + QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper() + "." + info.suffix();
    const QByteArray tempName = QFile::encodeName(temp);
    const int fd = ::open(tempName.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0) {
        fail(error, errnoText(errno));
        return false;
    }
    bool ok = writeAll(fd, data) && copyModeAndOwner(fd, original);
    int code = ok ? 0 : errno;
    if (::close(fd) != 0 && ok) {
        ok = false;
        code = errno;
    }
    if (!ok) {
        fail(error, errnoText(code));
        ::unlink(tempName.constData());
        return false;
    }
    if (!renameOver(temp, real)) {
        fail(error, errnoText(errno));
        ::unlink(tempName.constData());
        return false;
    }
    return true;
}

bool FileSwap::swapIn(const QString& tempPath, const QString& target, QString* error)
{
    const QByteArray tempName = QFile::encodeName(tempPath);
    const QString real = resolveTarget(target);
    struct stat original {};
    if (real.isEmpty() || ::stat(QFile::encodeName(real).constData(), &original) != 0) {
        fail(error, errnoText(ENOENT));
        ::unlink(tempName.constData());
        return false;
    }
    const int fd = ::open(tempName.constData(), O_RDONLY | O_CLOEXEC);
    const bool ready = fd >= 0 && ::fsync(fd) == 0 && copyModeAndOwner(fd, original);
    const int code = errno;
    if (fd >= 0)
        ::close(fd);
    if (!ready || !renameOver(tempPath, real)) {
        fail(error, errnoText(ready ? errno : code));
        ::unlink(tempName.constData());
        return false;
    }
    return true;
}
