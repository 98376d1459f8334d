// The eleven batch rules on the typed rule set.
#include "model/rule_engine.h"
#include "model/regex_replace.h"

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

QString insertedAt(const QString& name, const QString& piece, int at)
{
    const qsizetype pos = std::max<qsizetype>(0, at);
    QString out = name;
    out.insert(graphemeOffset(name, pos), piece);
    return out;
}

QString findReplace(const RuleSettings& r, const QString& name, int index, int count)
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

QString deleteBefore(const RuleSettings& r, const QString& name)
{
    if (!r.delBeforeEnabled || r.delBefore.isEmpty())
        return name;
    const qsizetype at = name.indexOf(r.delBefore);
    if (at < 0)
        return name;
    return name.mid(r.delBeforeIncl ? at + r.delBefore.size() : at);
}

QString deleteAfter(const RuleSettings& r, const QString& name)
{
    if (!r.delAfterEnabled || r.delAfter.isEmpty())
        return name;
    const qsizetype at = name.indexOf(r.delAfter);
    if (at < 0)
        return name;
    return name.left(r.delAfterIncl ? at : at + r.delAfter.size());
}

QString caseRule(const RuleSettings& r, const QString& name)
{
    switch (r.caseMode) {
    case CaseMode::upper: return name.toUpper();
    case CaseMode::lower: return name.toLower();
    case CaseMode::title: return titleCased(name);
    case CaseMode::none: break;
    }
    return name;
}

QString truncate(const RuleSettings& r, const QString& name)
{
    if (!r.truncEnabled || r.keepN < 1)
        return name;
    const qsizetype total = graphemeCount(name);
    if (total <= r.keepN)
        return name;
    if (r.keepSide == KeepSide::last)
        return name.mid(graphemeOffset(name, total - r.keepN));
    return name.left(graphemeOffset(name, r.keepN));
}

QString whitespace(const RuleSettings& r, const QString& name)
{
    QString out = name;
    switch (r.spaceMode) {
    case SpaceMode::underscore: return out.replace(u' ', u'_');
    case SpaceMode::hyphen: return out.replace(u' ', u'-');
    case SpaceMode::remove: return out.remove(u' ');
    case SpaceMode::collapse: return name.split(u' ', Qt::SkipEmptyParts).join(u' ');
    case SpaceMode::none: break;
    }
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

QString sequentialNumber(const RuleSettings& r, const QString& name, int index, int count)
{
    if (!r.numberEnabled)
        return name;
    const QString number = sequenceNumberText(r, count, index);
    const QString& sep = r.numSep;
    switch (r.numPos) {
    case NumberPosition::prefix: return number + sep + name;
    case NumberPosition::replace: return number;
    case NumberPosition::renumber: return renumbered(name, number, sep);
    case NumberPosition::custom: return insertedAt(name, sep + number + sep, r.numCustomAt);
    case NumberPosition::suffix: break;
    }
    return name + sep + number;
}

QString insertDate(const RuleSettings& r, const QString& name, const QString& date)
{
    if (!r.dateEnabled || date.isEmpty())
        return name;
    const QString& sep = r.dateSep;
    switch (r.datePos) {
    case NumberPosition::suffix:
    case NumberPosition::renumber: return name + sep + date;
    case NumberPosition::replace: return date;
    case NumberPosition::custom: return insertedAt(name, sep + date + sep, r.dateCustomAt);
    case NumberPosition::prefix: break;
    }
    return date + sep + name;
}

QString applyOne(BatchRuleKind kind, const RuleSettings& r, const QString& name, int index, int count,
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

}  // namespace

QString applyRules(const RuleSettings& rules, const QString& stem, int index, int count, const QString& dateText,
                   const QList<BatchRuleKind>& order)
{
    QString name = stem;
    for (BatchRuleKind kind : order)
        name = applyOne(kind, rules, name, index, count, dateText);
    return trimmedHorizontal(name);
}

QString sequenceNumberText(const RuleSettings& rules, int count, int index)
{
    // 64-bit throughout: a preset may hold any start value, and start + index must not wrap.
    qint64 n = index;
    if (rules.numDir == NumberDir::desc)
        n = (qint64(std::max(count, 1)) - 1) - index;
    const qint64 v = qint64(rules.numStart) + n;
    if (rules.numFormat == NumberFormat::upper)
        return sequenceLetters(v);
    if (rules.numFormat == NumberFormat::lower)
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

QString newExtension(const NameSections& sections, const QString& ext)
{
    if (!sections.extEnabled)
        return ext;
    return cleanExtensionText(sections.extText);
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
