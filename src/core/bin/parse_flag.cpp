#include "parse_flag.h"

namespace {
bool isTrimmed(QChar c)
{
    return c == QLatin1Char('\t') || c.category() == QChar::Separator_Space;
}
}  // namespace

bool parseFlag(const QString& text)
{
    qsizetype begin = 0, end = text.size();
    while (begin < end && isTrimmed(text[begin]))
        ++begin;
    while (end > begin && isTrimmed(text[end - 1]))
        --end;
    const QString t = text.mid(begin, end - begin).toLower();
    return !(t.isEmpty() || t == QLatin1String("0") || t == QLatin1String("false") || t == QLatin1String("no")
             || t == QLatin1String("off"));
}
