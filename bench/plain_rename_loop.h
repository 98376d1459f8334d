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

// Runs of the plain loop and of the code measured against it, taken in pairs close in time. A
// disk shared with other work runs faster or slower for minutes at a time and slows a single run
// by a third now and then: each pair's ratio cancels the first, their median drops the second.
struct PairedRuns {
    std::vector<double> plain, measured;
    void add(double plainSeconds, double measuredSeconds)
    {
        plain.push_back(plainSeconds);
        measured.push_back(measuredSeconds);
    }
    // The median of plain ÷ measured: 1.0 = as fast as the plain loop.
    double speedVsPlain() const
    {
        std::vector<double> r;
        for (size_t i = 0; i < plain.size(); ++i)
            r.push_back(plain[i] / measured[i]);
        std::sort(r.begin(), r.end());
        return r.empty() ? 0 : r.size() % 2 ? r[r.size() / 2] : (r[r.size() / 2 - 1] + r[r.size() / 2]) / 2;
    }
    static double mean(const std::vector<double>& s)
    {
        double sum = 0;
        for (double x : s)
            sum += x;
        return s.empty() ? 0 : sum / double(s.size());
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
