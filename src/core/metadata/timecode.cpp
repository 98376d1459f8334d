#include "timecode.h"

#include <cmath>
#include <limits>

namespace {

QString twoDigits(quint64 n)
{
    return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
}

QString hmsf(quint64 totalSeconds, quint64 frames, QChar separator)
{
    return twoDigits(totalSeconds / 3600) + u':' + twoDigits((totalSeconds / 60) % 60) + u':'
         + twoDigits(totalSeconds % 60) + separator + twoDigits(frames);
}

// Drop-frame numbering skips the first frame labels of every minute except each tenth, so a
// stored frame number must have those labels added back before it is split.
quint64 dropFrameLabel(quint64 frameNumber, quint64 base)
{
    const quint64 drop = base / 15;  // 2 at 30, 4 at 60
    const quint64 perMinute = base * 60 - drop;
    const quint64 perTenMinutes = base * 600 - 9 * drop;
    const quint64 tens = frameNumber / perTenMinutes;
    const quint64 rest = frameNumber % perTenMinutes;
    quint64 added = 9 * drop * tens;
    if (rest > drop)
        added += drop * ((rest - drop) / perMinute);
    return frameNumber + added;
}

}  // namespace

qint64 Timecode::wholeRate(double fps)
{
    if (!(fps > 0) || !std::isfinite(fps))
        return 25;
    const double r = std::round(fps);
    if (r < 1)
        return 25;
    return r >= 1e9 ? qint64(1e9) : qint64(r);
}

QString Timecode::string(qint64 frames, double fps)
{
    const quint64 rate = quint64(wholeRate(fps));
    const quint64 f = frames < 0 ? 0 : quint64(frames);
    return hmsf(f / rate, f % rate, u':');
}

QString Timecode::stringFromSeconds(double seconds, double fps)
{
    const double exact = seconds * double(wholeRate(fps));
    qint64 frames = 0;
    if (std::isfinite(exact) && exact > 0)
        frames = exact >= 9.2e18 ? std::numeric_limits<qint64>::max() : qint64(std::round(exact));
    return string(frames, fps);
}

QString Timecode::startText(quint64 frameNumber, quint64 base, bool dropFrame, QChar separator)
{
    if (base < 2)
        return hmsf(frameNumber, 0, separator);
    if (dropFrame && (base == 30 || base == 60) && frameNumber < (quint64(1) << 62))
        frameNumber = dropFrameLabel(frameNumber, base);
    return hmsf(frameNumber / base, frameNumber % base, separator);
}
