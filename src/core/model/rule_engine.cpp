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

void trimHorizontal(QString& s)
{
    qsizetype begin = 0, end = s.size();
    while (begin < end && isHorizontalSpace(s.at(begin)))
        ++begin;
    while (end > begin && isHorizontalSpace(s.at(end - 1)))
        --end;
    if (begin != 0 || end != s.size())
        s = s.mid(begin, end - begin);
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

// Each rule below changes `name` in place, and leaves it alone (not even copied) when it does
// not apply: a long list's names are worked out on several threads at once, and a copy of a
// shared text costs every thread a round of its counter.

void findReplace(const RuleSettings& r, QString& name, int index, int count)
{
    if (!r.findEnabled || r.find.isEmpty())
        return;
    QString numbered;
    if (r.replace.contains(u'#'))
        numbered = QString(r.replace).replace(u'#', sequenceNumberText(r, count, index));
    const QString& replacement = numbered.isNull() ? r.replace : numbered;
    if (!r.useRegex) {
        name.replace(r.find, replacement);
        return;
    }
    if (std::optional<QString> out = regexReplaceAll(r.find, name, replacement))
        name = std::move(*out);
}

void deleteBefore(const RuleSettings& r, QString& name)
{
    if (!r.delBeforeEnabled || r.delBefore.isEmpty())
        return;
    const qsizetype at = name.indexOf(r.delBefore);
    if (at >= 0)
        name = name.mid(r.delBeforeIncl ? at + r.delBefore.size() : at);
}

void deleteAfter(const RuleSettings& r, QString& name)
{
    if (!r.delAfterEnabled || r.delAfter.isEmpty())
        return;
    const qsizetype at = name.indexOf(r.delAfter);
    if (at >= 0)
        name = name.left(r.delAfterIncl ? at : at + r.delAfter.size());
}

void caseRule(const RuleSettings& r, QString& name)
{
    switch (r.caseMode) {
    case CaseMode::upper: name = name.toUpper(); break;
    case CaseMode::lower: name = name.toLower(); break;
    case CaseMode::title: name = titleCased(name); break;
    case CaseMode::none: break;
    }
}

void truncate(const RuleSettings& r, QString& name)
{
    if (!r.truncEnabled || r.keepN < 1)
        return;
    const qsizetype total = graphemeCount(name);
    if (total <= r.keepN)
        return;
    if (r.keepSide == KeepSide::last)
        name = name.mid(graphemeOffset(name, total - r.keepN));
    else
        name = name.left(graphemeOffset(name, r.keepN));
}

void whitespace(const RuleSettings& r, QString& name)
{
    switch (r.spaceMode) {
    case SpaceMode::underscore: name.replace(u' ', u'_'); break;
    case SpaceMode::hyphen: name.replace(u' ', u'-'); break;
    case SpaceMode::remove: name.remove(u' '); break;
    case SpaceMode::collapse: name = name.split(u' ', Qt::SkipEmptyParts).join(u' '); break;
    case SpaceMode::none: break;
    }
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

void sequentialNumber(const RuleSettings& r, QString& name, int index, int count)
{
    if (!r.numberEnabled)
        return;
    const QString number = sequenceNumberText(r, count, index);
    const QString& sep = r.numSep;
    switch (r.numPos) {
    case NumberPosition::prefix: name = number + sep + name; return;
    case NumberPosition::replace: name = number; return;
    case NumberPosition::renumber: name = renumbered(name, number, sep); return;
    case NumberPosition::custom: name = insertedAt(name, sep + number + sep, r.numCustomAt); return;
    case NumberPosition::suffix: break;
    }
    name.reserve(name.size() + sep.size() + number.size());
    name.append(sep).append(number);
}

void insertDate(const RuleSettings& r, QString& name, const QString& date)
{
    if (!r.dateEnabled || date.isEmpty())
        return;
    const QString& sep = r.dateSep;
    switch (r.datePos) {
    case NumberPosition::suffix:
    case NumberPosition::renumber: name = name + sep + date; return;
    case NumberPosition::replace: name = date; return;
    case NumberPosition::custom: name = insertedAt(name, sep + date + sep, r.dateCustomAt); return;
    case NumberPosition::prefix: break;
    }
    name = date + sep + name;
}

void applyOne(BatchRuleKind kind, const RuleSettings& r, QString& name, int index, int count, const QString& date)
{
    switch (kind) {
    case BatchRuleKind::findReplace: findReplace(r, name, index, count); return;
    case BatchRuleKind::deleteBefore: deleteBefore(r, name); return;
    case BatchRuleKind::deleteAfter: deleteAfter(r, name); return;
    case BatchRuleKind::remove:
        if (r.removeEnabled && !r.removeStr.isEmpty())
            name.remove(r.removeStr);
        return;
    case BatchRuleKind::caseRule: caseRule(r, name); return;
    case BatchRuleKind::truncate: truncate(r, name); return;
    case BatchRuleKind::whitespace: whitespace(r, name); return;
    case BatchRuleKind::prefix:
        if (r.prefixEnabled)
            name = r.prefixText + name;
        return;
    case BatchRuleKind::suffix:
        if (r.suffixEnabled)
            name = name + r.suffixText;
        return;
    case BatchRuleKind::sequentialNumber: sequentialNumber(r, name, index, count); return;
    case BatchRuleKind::insertDate: insertDate(r, name, date); return;
    }
}

}  // namespace

QString applyRules(const RuleSettings& rules, const QString& stem, int index, int count, const QString& dateText,
                   const QList<BatchRuleKind>& order)
{
    QString name = stem;
    for (BatchRuleKind kind : order)
        applyOne(kind, rules, name, index, count, dateText);
    trimHorizontal(name);
    return name;
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
