#include "watch_move.h"

#include <QFile>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

int moveRefusingExisting(const QString& from, const QString& to)
{
    const QByteArray f = QFile::encodeName(from);
    const QByteArray t = QFile::encodeName(to);
    if (::renameat2(AT_FDCWD, f.constData(), AT_FDCWD, t.constData(), RENAME_NOREPLACE) == 0)
        return 0;
    if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP)
        return errno;
    // File systems without the flag: a hard link cannot replace anything either.
    if (::link(f.constData(), t.constData()) != 0)
        return errno;
    if (::unlink(f.constData()) != 0) {
        const int error = errno;
        ::unlink(t.constData());
        return error;
    }
    return 0;
}
