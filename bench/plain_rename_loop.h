#pragma once
// The baseline the rename benchmarks measure against: a bare no-replace renameat2 loop over the
// same files, and the names both sides give them.
#include <QByteArray>
#include <QElapsedTimer>
#include <QList>
#include <QString>
#include <algorithm>
#include <cstdlib>
#include <fcntl.h>
#include <sys/syscall.h>
#include <unistd.h>
#include <vector>

inline QString benchFileName(const char* prefix, int i)
{
    return QStringLiteral("%1_%2.mov").arg(prefix).arg(i, 6, 10, QChar('0'));
}

// Runs of the plain loop and of the code measured against it, taken in turn. A disk shared with
// other work slows a single run by up to a third now and then and never speeds one up: the
// fastest run of each side is compared.
struct PairedRuns {
    std::vector<double> plain, measured;
    void add(double plainSeconds, double measuredSeconds)
    {
        plain.push_back(plainSeconds);
        measured.push_back(measuredSeconds);
    }
    // The fastest plain run's time over the fastest measured run's: 1.0 = as fast as the plain loop.
    double speedVsPlain() const { return fastest(plain) / fastest(measured); }
    static double fastest(const std::vector<double>& s)
    {
        return s.empty() ? 0 : *std::min_element(s.begin(), s.end());
    }
};

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
