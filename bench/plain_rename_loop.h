#pragma once
// The baseline the rename benchmarks measure against: a bare no-replace renameat2 loop over the
// same files, and the names both sides give them.
#include <QByteArray>
#include <QElapsedTimer>
#include <QList>
#include <QString>
#include <cstdlib>
#include <fcntl.h>
#include <sys/syscall.h>
#include <unistd.h>

inline QString benchFileName(const char* prefix, int i)
{
    return QStringLiteral("%1_%2.mov").arg(prefix).arg(i, 6, 10, QChar('0'));
}

// Seconds for renaming from[i] to to[i]; a refused move aborts, as it would falsify the figure.
inline double plainRenameLoop(const QList<QByteArray>& from, const QList<QByteArray>& to)
{
    QElapsedTimer t;
    t.start();
    for (qsizetype i = 0; i < from.size(); ++i)
        if (::syscall(SYS_renameat2, AT_FDCWD, from[i].constData(), AT_FDCWD, to[i].constData(), 1 /* NOREPLACE */)
            != 0)
            std::abort();
    return t.nsecsElapsed() / 1e9;
}
