#include "platform/natural_sort.h"

#include "platform/in_parts.h"

#include <QLocale>
#include <algorithm>
#include <optional>
#include <vector>

QCollator naturalCollator()
{
    QLocale locale;
    // The C locale ignores numeric ordering, so fall back to US English there.
    if (locale.language() == QLocale::C)
        locale = QLocale(QLocale::English, QLocale::UnitedStates);
    QCollator c(locale);
    c.setNumericMode(true);
    c.setCaseSensitivity(Qt::CaseInsensitive);
    return c;
}

namespace {

// Languages whose collation leaves printable ASCII in the root order, checked against the
// collator by the natural-order tests. Others (with contractions such as "ch" or "aa")
// always take the collator.
bool asciiOrderedPerCharacter(QLocale::Language language)
{
    switch (language) {
    case QLocale::C:
    case QLocale::English:
    case QLocale::Chinese:
    case QLocale::German:
    case QLocale::French:
    case QLocale::Japanese: return true;
    default: return false;
    }
}

// ICU orders a run of up to 254 digits by its value; longer ones are split.
constexpr qsizetype kLongestDigitRun = 254;

inline bool isDigit(unsigned c)
{
    return c - '0' < 10;
}

}  // namespace

NaturalAsciiKeys::NaturalAsciiKeys()
{
    const QCollator collator = naturalCollator();
    if (!asciiOrderedPerCharacter(collator.locale().language()))
        return;
    // The digit block stands in as "0": numeric collation keeps every number together.
    std::vector<char> chars;
    for (char c = 0x20; c < 0x7f; ++c)
        if (!isDigit(static_cast<unsigned char>(c)) || c == '0')
            chars.push_back(c);
    std::vector<QCollatorSortKey> keys;
    keys.reserve(chars.size());
    for (char c : chars)
        keys.push_back(collator.sortKey(QString(QLatin1Char(c))));
    const QCollatorSortKey empty = collator.sortKey(QString());
    std::vector<size_t> order(chars.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return keys[a].compare(keys[b]) < 0; });
    int rank = 0;
    for (size_t i = 0; i < order.size(); ++i) {
        const size_t at = order[i];
        if (keys[at].compare(empty) == 0)
            return;  // an ignorable character: per-character ranks would not hold
        if (i == 0 || keys[order[i - 1]].compare(keys[at]) != 0)
            ++rank;
        m_rank[size_t(chars[at])] = static_cast<unsigned char>(rank);
    }
    // Every other character must fall outside the digit block.
    const QCollatorSortKey zero = collator.sortKey(QStringLiteral("0"));
    const QCollatorSortKey nine = collator.sortKey(QStringLiteral("9"));
    for (size_t i = 0; i < chars.size(); ++i)
        if (chars[i] != '0' && keys[i].compare(zero) > 0 && keys[i].compare(nine) < 0)
            return;
    m_digits = m_rank[size_t('0')];
    for (char d = '1'; d <= '9'; ++d)
        m_rank[size_t(d)] = m_digits;
    m_usable = rank > 0 && rank < 250;
}

bool NaturalAsciiKeys::append(std::string& key, const char* text, qsizetype size) const
{
    // A key is never longer than three bytes a character (a lone digit); it is written into
    // a scratch buffer and appended in one go.
    thread_local std::string scratch;
    if (scratch.size() < 3 * size_t(size))
        scratch.resize(3 * size_t(size));
    char* const begin = scratch.data();
    char* out = begin;
    for (qsizetype i = 0; i < size;) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c >= 0x80 || m_rank[c] == 0)
            return false;
        if (!isDigit(c)) {
            *out++ = char(m_rank[c]);
            ++i;
            continue;
        }
        qsizetype end = i;
        while (end < size && isDigit(static_cast<unsigned char>(text[end])))
            ++end;
        if (end - i > kLongestDigitRun)
            return false;
        while (i < end && text[i] == '0')  // leading zeros do not count
            ++i;
        *out++ = char(m_digits);
        *out++ = char(end - i);  // more digits, larger number
        out = std::copy(text + i, text + end, out);
        i = end;
    }
    key.append(begin, size_t(out - begin));
    return true;
}

bool NaturalAsciiKeys::append(std::string& key, QStringView text) const
{
    char buffer[256];
    std::string longer;
    char* bytes = buffer;
    if (text.size() > qsizetype(sizeof buffer)) {
        longer.resize(size_t(text.size()));
        bytes = longer.data();
    }
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c >= 0x80)
            return false;
        bytes[i] = char(c);
    }
    return append(key, bytes, text.size());
}

QList<int> naturalOrder(const QStringList& texts)
{
    QList<int> order(texts.size());
    for (int i = 0; i < order.size(); ++i)
        order[i] = i;
    {
        const NaturalAsciiKeys ascii;
        std::vector<std::string> keys(size_t(ascii.usable() ? texts.size() : 0));
        bool all = ascii.usable();
        for (qsizetype i = 0; all && i < texts.size(); ++i)
            all = ascii.append(keys[size_t(i)], texts[i]);
        if (all) {
            std::stable_sort(order.begin(), order.end(),
                             [&](int a, int b) { return keys[size_t(a)] < keys[size_t(b)]; });
            return order;
        }
    }
    // Building the collation keys is the costly part of sorting a whole drive, so it is spread
    // over the thread pool in parts, each with a collator of its own.
    std::vector<std::optional<QCollatorSortKey>> keys(size_t(texts.size()));
    inParts(texts.size(), [&](qsizetype begin, qsizetype end) {
        const QCollator collator = naturalCollator();
        for (qsizetype i = begin; i < end; ++i)
            keys[size_t(i)].emplace(collator.sortKey(texts[i]));
    });
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return keys[size_t(a)]->compare(*keys[size_t(b)]) < 0; });
    return order;
}
