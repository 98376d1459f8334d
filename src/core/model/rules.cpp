// The eleven batch rules.
#include "model/regex_replace.h"
#include "model/rule_engine.h"

#include <QTextBoundaryFinder>
#include <algorithm>
#include <cstdio>
#include <unicode/locid.h>
#include <unicode/unistr.h>

namespace {

bool plainAscii(const QString& s)
{
    // Without CR every ASCII character is a cluster of its own.
    for (QChar c : s)
        if (c.unicode() >= 0x80 || c == u'\r')
            return false;
    return true;
}

bool isHorizontalSpace(QChar c)
{
    return c == u'\t' || c.category() == QChar::Separator_Space;
}

QString trimmedHorizontal(const QString& s)
{
    qsizetype begin = 0, end = s.size();
    while (begin < end && isHorizontalSpace(s.at(begin)))
        ++begin;
    while (end > begin && isHorizontalSpace(s.at(end - 1)))
        --end;
    return begin == 0 && end == s.size() ? s : s.mid(begin, end - begin);
}

QString titleCased(const QString& s)
{
    icu::UnicodeString u(reinterpret_cast<const char16_t*>(s.utf16()), int32_t(s.size()));
    u.toTitle(nullptr, icu::Locale::getRoot());
    return QString(reinterpret_cast<const QChar*>(u.getBuffer()), u.length());
}

QString insertedAt(const QString& name, const QString& piece, std::optional<int> at)
{
    const qsizetype pos = std::max<qsizetype>(0, at.value_or(0));
    QString out = name;
    out.insert(graphemeOffset(name, pos), piece);
    return out;
}

QString findReplace(const GUIPreset& r, const QString& name, int index, int count)
{
    if (!r.findEnabled || r.find.isEmpty())
        return name;
    QString replacement = r.replace;
    if (replacement.contains(u'#'))
        replacement.replace(u'#', sequenceNumberText(r, count, index));
    if (!r.useRegex) {
        QString out = name;
        return out.replace(r.find, replacement);
    }
    return regexReplaceAll(r.find, name, replacement).value_or(name);
}

QString deleteBefore(const GUIPreset& r, const QString& name)
{
    if (!r.delBeforeEnabled || r.delBefore.isEmpty())
        return name;
    const qsizetype at = name.indexOf(r.delBefore);
    if (at < 0)
        return name;
    return name.mid(r.delBeforeIncl.value_or(false) ? at + r.delBefore.size() : at);
}

QString deleteAfter(const GUIPreset& r, const QString& name)
{
    if (!r.delAfterEnabled || r.delAfter.isEmpty())
        return name;
    const qsizetype at = name.indexOf(r.delAfter);
    if (at < 0)
        return name;
    return name.left(r.delAfterIncl.value_or(false) ? at : at + r.delAfter.size());
}

QString caseRule(const GUIPreset& r, const QString& name)
{
    if (r.caseMode == QLatin1String("upper"))
        return name.toUpper();
    if (r.caseMode == QLatin1String("lower"))
        return name.toLower();
    if (r.caseMode == QLatin1String("title"))
        return titleCased(name);
    return name;
}

QString truncate(const GUIPreset& r, const QString& name)
{
    if (!r.truncEnabled || r.keepN < 1)
        return name;
    const qsizetype total = graphemeCount(name);
    if (total <= r.keepN)
        return name;
    if (r.keepSide == QLatin1String("last"))
        return name.mid(graphemeOffset(name, total - r.keepN));
    return name.left(graphemeOffset(name, r.keepN));
}

QString whitespace(const GUIPreset& r, const QString& name)
{
    QString out = name;
    if (r.spaceMode == QLatin1String("underscore"))
        return out.replace(u' ', u'_');
    if (r.spaceMode == QLatin1String("hyphen"))
        return out.replace(u' ', u'-');
    if (r.spaceMode == QLatin1String("remove"))
        return out.remove(u' ');
    if (r.spaceMode == QLatin1String("collapse"))
        return name.split(u' ', Qt::SkipEmptyParts).join(u' ');
    return name;
}

QString renumbered(const QString& name, const QString& number, const QString& sep)
{
    qsizetype start = 0;
    while (start < name.size() && !(name.at(start) >= u'0' && name.at(start) <= u'9'))
        ++start;
    if (start == name.size())
        return name + sep + number;
    qsizetype end = start;
    while (end < name.size() && name.at(end) >= u'0' && name.at(end) <= u'9')
        ++end;
    return name.left(start) + number + name.mid(end);
}

QString sequentialNumber(const GUIPreset& r, const QString& name, int index, int count)
{
    if (!r.numberEnabled)
        return name;
    const QString number = sequenceNumberText(r, count, index);
    const QString& sep = r.numSep;
    if (r.numPos == QLatin1String("prefix"))
        return number + sep + name;
    if (r.numPos == QLatin1String("replace"))
        return number;
    if (r.numPos == QLatin1String("renumber"))
        return renumbered(name, number, sep);
    if (r.numPos == QLatin1String("custom"))
        return insertedAt(name, sep + number + sep, r.numCustomAt);
    return name + sep + number;
}

QString insertDate(const GUIPreset& r, const QString& name, const QString& date)
{
    if (!r.dateEnabled.value_or(false) || date.isEmpty())
        return name;
    const QString sep = r.dateSep.value_or(QStringLiteral("_"));
    const QString pos = r.datePos.value_or(QString());
    if (pos == QLatin1String("suffix") || pos == QLatin1String("renumber"))
        return name + sep + date;
    if (pos == QLatin1String("replace"))
        return date;
    if (pos == QLatin1String("custom"))
        return insertedAt(name, sep + date + sep, r.dateCustomAt);
    return date + sep + name;
}

QString applyOne(BatchRuleKind kind, const GUIPreset& r, const QString& name, int index, int count,
                 const QString& date)
{
    switch (kind) {
    case BatchRuleKind::findReplace: return findReplace(r, name, index, count);
    case BatchRuleKind::deleteBefore: return deleteBefore(r, name);
    case BatchRuleKind::deleteAfter: return deleteAfter(r, name);
    case BatchRuleKind::remove:
        if (r.removeEnabled && !r.removeStr.isEmpty())
            return QString(name).remove(r.removeStr);
        return name;
    case BatchRuleKind::caseRule: return caseRule(r, name);
    case BatchRuleKind::truncate: return truncate(r, name);
    case BatchRuleKind::whitespace: return whitespace(r, name);
    case BatchRuleKind::prefix: return r.prefixEnabled ? r.prefixText + name : name;
    case BatchRuleKind::suffix: return r.suffixEnabled ? name + r.suffixText : name;
    case BatchRuleKind::sequentialNumber: return sequentialNumber(r, name, index, count);
    case BatchRuleKind::insertDate: return insertDate(r, name, date);
    }
    return name;
}

} // namespace

QString applyRules(const GUIPreset& rules, const QString& stem, int index, int count,
                   const QString& dateText, const QList<BatchRuleKind>& order)
{
    QString name = stem;
    for (BatchRuleKind kind : order)
        name = applyOne(kind, rules, name, index, count, dateText);
    return trimmedHorizontal(name);
}

QString sequenceNumberText(const GUIPreset& rules, int count, int index)
{
    // 64-bit throughout: a preset may hold any start value, and start + index must not wrap.
    qint64 n = index;
    if (rules.numDir.value_or(QString()) == QLatin1String("desc"))
        n = (qint64(std::max(count, 1)) - 1) - index;
    const qint64 v = qint64(rules.numStart) + n;
    const QString format = rules.numFormat.value_or(QString());
    if (format == QLatin1String("upper"))
        return sequenceLetters(v);
    if (format == QLatin1String("lower"))
        return sequenceLetters(v).toLower();
    if (rules.numPad < 1)
        return QString::number(v);
    // A hostile preset must not ask for a giant field: widths above 255 are held at 255.
    const int pad = std::min(rules.numPad, 255);
    char buffer[300];
    std::snprintf(buffer, sizeof buffer, "%0*lld", pad, static_cast<long long>(v));
    return QString::fromLatin1(buffer);
}

QString sequenceLetters(qint64 n)
{
    qint64 m = std::max<qint64>(n, 1);
    QString out;
    qint64 d = 0;
    do {
        d = m - 1;
        out.prepend(QChar(u'A' + char16_t(d % 26)));
        m = d / 26;
    } while (d > 25);
    return out;
}

QString cleanExtensionText(const QString& text)
{
    qsizetype begin = 0, end = text.size();
    const auto strip = [](QChar c) { return c == u'.' || c == u' '; };
    while (begin < end && strip(text.at(begin)))
        ++begin;
    while (end > begin && strip(text.at(end - 1)))
        --end;
    return text.mid(begin, end - begin);
}

QString newExtension(const GUIPreset& rules, const QString& ext)
{
    if (!rules.extEnabled.value_or(false))
        return ext;
    return cleanExtensionText(rules.extText.value_or(QString()));
}

qsizetype graphemeCount(const QString& s)
{
    if (plainAscii(s))
        return s.size();
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, s);
    qsizetype count = 0;
    while (finder.toNextBoundary() >= 0)
        ++count;
    return count;
}

qsizetype graphemeOffset(const QString& s, qsizetype n)
{
    if (n <= 0)
        return 0;
    if (plainAscii(s))
        return std::min(n, s.size());
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, s);
    qsizetype offset = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const qsizetype next = finder.toNextBoundary();
        if (next < 0)
            break;
        offset = next;
    }
    return offset;
}
