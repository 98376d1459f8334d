#include "bin/log_take.h"

#include <limits>

namespace LogTake {

QString next(const QString& previous)
{
    const qsizetype digitsAt = (previous.startsWith(u'+') || previous.startsWith(u'-')) ? 1 : 0;
    if (previous.size() == digitsAt)
        return previous;
    for (qsizetype i = digitsAt; i < previous.size(); ++i)
        if (previous[i] < u'0' || previous[i] > u'9')
            return previous;
    bool ok = false;
    const qint64 n = previous.mid(digitsAt).toLongLong(&ok);
    // "-9223372036854775808" does not fit as a magnitude, but is in range as a whole.
    if (!ok) {
        if (previous.startsWith(u'-') && previous.mid(1) == QStringLiteral("9223372036854775808"))
            return QString::number(std::numeric_limits<qint64>::min() + 1);
        return previous;
    }
    const qint64 value = previous.startsWith(u'-') ? -n : n;
    if (value == std::numeric_limits<qint64>::max())
        return previous;
    return QString::number(value + 1);
}

}  // namespace LogTake
