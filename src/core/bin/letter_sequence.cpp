#include "letter_sequence.h"

#include <limits>

namespace {
// Twelve letters keep every value and a step of one inside 64 bits.
constexpr int kMaxLetters = 12;

bool isAsciiLetter(QChar c)
{
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z');
}

bool isTrimmedSpace(QChar c)
{
    return c == u'\t' || c.category() == QChar::Separator_Space;
}

QString trimmed(const QString& text)
{
    qsizetype begin = 0, end = text.size();
    while (begin < end && isTrimmedSpace(text[begin]))
        ++begin;
    while (end > begin && isTrimmedSpace(text[end - 1]))
        --end;
    return text.mid(begin, end - begin);
}

// An optional sign and digits only, within 64 bits.
std::optional<qint64> decimal(const QString& text)
{
    const qsizetype digitsAt = (text.startsWith(u'+') || text.startsWith(u'-')) ? 1 : 0;
    if (text.size() == digitsAt)
        return std::nullopt;
    for (qsizetype i = digitsAt; i < text.size(); ++i)
        if (text[i] < u'0' || text[i] > u'9')
            return std::nullopt;
    bool ok = false;
    const qint64 n = text.toLongLong(&ok);
    return ok ? std::optional<qint64>(n) : std::nullopt;
}
}  // namespace

namespace LetterSequence {

bool isLettersOnly(const QString& text)
{
    if (text.isEmpty())
        return false;
    for (QChar c : text)
        if (!isAsciiLetter(c))
            return false;
    return true;
}

qint64 value(const QString& letters)
{
    qint64 v = 0;
    for (QChar c : letters.toUpper())
        v = v * 26 + (c.unicode() - u'A' + 1);
    return v;
}

QString letters(qint64 n, bool lowercase)
{
    QString out;
    while (n > 0) {
        const qint64 d = (n - 1) % 26;
        out.prepend(QChar(char16_t(u'A' + d)));
        n = (n - 1) / 26;
    }
    return lowercase ? out.toLower() : out;
}

std::optional<QString> step(const QString& text, qint64 delta)
{
    const QString t = trimmed(text);
    if (t.isEmpty())
        return QString::number(std::max<qint64>(delta, 1));
    if (const auto n = decimal(t)) {
        qint64 sum = 0;
        if (__builtin_add_overflow(*n, delta, &sum))
            return t;
        return QString::number(std::max<qint64>(sum, 1));
    }
    if (!isLettersOnly(t) || t.size() > kMaxLetters)
        return std::nullopt;
    const bool lower = t[0].isLower();
    qint64 sum = 0;
    if (__builtin_add_overflow(value(t), delta, &sum))
        sum = delta < 0 ? 1 : std::numeric_limits<qint64>::max();
    return letters(std::max<qint64>(sum, 1), lower);
}

}  // namespace LetterSequence
