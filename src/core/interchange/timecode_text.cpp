#include "timecode_text.h"

#include <QStringList>
#include <cmath>

namespace Exporter {
namespace {

// Counts far beyond any real media (and NaN) are held where sums of them cannot overflow.
qint64 roundHalfAway(double x)
{
    constexpr double limit = 1e15;
    return x >= limit ? qint64(limit) : x > 0 ? qint64(std::llround(x)) : 0;
}

// Frames dropped at each minute not divisible by ten: 2 at 29.97, 4 at 59.94.
int droppedPerMinute(int rate)
{
    return rate / 15;
}

bool dropFrameRate(double fps)
{
    const int rate = frameRate(fps);
    return isNtsc(fps) && (rate == 30 || rate == 60);
}

std::optional<qint64> integerPiece(const QString& piece)
{
    qsizetype i = (piece.startsWith(QLatin1Char('+')) || piece.startsWith(QLatin1Char('-'))) ? 1 : 0;
    if (i == piece.size())
        return std::nullopt;
    for (qsizetype j = i; j < piece.size(); ++j)
        if (piece[j] < QLatin1Char('0') || piece[j] > QLatin1Char('9'))
            return std::nullopt;
    bool ok = false;
    const qint64 v = piece.toLongLong(&ok);
    return ok ? std::optional<qint64>(v) : std::nullopt;
}

// ((h × 60 + m) × 60 + s) × rate + f, or nothing when it leaves the 64-bit range.
std::optional<qint64> countOf(const std::array<qint64, 4>& p, qint64 rate)
{
    qint64 t = 0;
    if (__builtin_mul_overflow(p[0], 60, &t) || __builtin_add_overflow(t, p[1], &t) || __builtin_mul_overflow(t, 60, &t)
        || __builtin_add_overflow(t, p[2], &t) || __builtin_mul_overflow(t, rate, &t)
        || __builtin_add_overflow(t, p[3], &t))
        return std::nullopt;
    return t;
}

// The label count of a real frame count: the dropped numbers added back.
qint64 labelCount(qint64 frames, int rate)
{
    const qint64 drop = droppedPerMinute(rate);
    const qint64 perMinute = rate * 60 - drop;
    const qint64 perTenMinutes = rate * 600 - drop * 9;
    const qint64 tens = frames / perTenMinutes, rest = frames % perTenMinutes;
    const qint64 minutes = rest > drop ? (rest - drop) / perMinute : 0;
    return frames + drop * 9 * tens + drop * minutes;
}

}  // namespace

int frameRate(double fps)
{
    return fps > 0 ? int(roundHalfAway(fps)) : 25;
}

double usableFps(double fps, double fallback)
{
    return fps >= 0.5 ? fps : fallback;
}

bool isNtsc(double fps)
{
    for (int base : {24, 30, 48, 60})
        if (std::abs(fps - base * 1000.0 / 1001.0) < 0.01)
            return true;
    return false;
}

qint64 frameCount(double seconds, double fps)
{
    const double rate = isNtsc(fps) ? frameRate(fps) * 1000.0 / 1001.0 : frameRate(fps);
    return roundHalfAway(seconds * rate);
}

QString timecodeText(qint64 frames, double fps, bool dropFrame)
{
    const int rate = frameRate(fps);
    frames = std::max<qint64>(frames, 0);
    dropFrame = dropFrame && dropFrameRate(fps);
    if (dropFrame)
        frames = labelCount(frames, rate);
    const qint64 total = frames / rate;
    return QString::asprintf(dropFrame ? "%02lld:%02lld:%02lld;%02lld" : "%02lld:%02lld:%02lld:%02lld", total / 3600,
                             total / 60 % 60, total % 60, frames - total * rate);
}

std::optional<std::array<qint64, 4>> timecodeParts(const QString& text)
{
    std::array<qint64, 4> parts{};
    int n = 0;
    qsizetype start = 0;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        if (i < text.size() && text[i] != QLatin1Char(':') && text[i] != QLatin1Char(';'))
            continue;
        const QString piece = text.mid(start, i - start);
        start = i + 1;
        const std::optional<qint64> v = integerPiece(piece);
        if (!v)
            continue;
        if (n == 4)
            return std::nullopt;
        parts[n++] = *v;
    }
    return n == 4 ? std::optional(parts) : std::nullopt;
}

qint64 frames(const QString& timecode, double fps)
{
    const auto parts = timecodeParts(timecode);
    return parts ? countOf(*parts, frameRate(fps)).value_or(0) : 0;
}

std::optional<qint64> dropFrameFrames(const QString& timecode, double fps)
{
    const auto parts = timecodeParts(timecode);
    const int rate = frameRate(fps);
    if (!parts || !dropFrameRate(fps))
        return std::nullopt;
    const auto count = countOf(*parts, rate);
    if (!count)
        return std::nullopt;
    const qint64 minutes = (*parts)[0] * 60 + (*parts)[1];
    return *count - droppedPerMinute(rate) * (minutes - minutes / 10);
}

bool isDropFrameText(const QString& timecode, double fps)
{
    return timecode.contains(QLatin1Char(';')) && dropFrameRate(fps) && timecodeParts(timecode);
}

}  // namespace Exporter
