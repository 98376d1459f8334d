// Writing the recognised parts in one of the four delivery styles.
#include "smartrename/smart_rename_format.h"

#include <functional>

namespace SmartRename {

namespace {

using CaseFn = std::function<QString(const QString&)>;

QString upper(const QString& s)
{
    return s.toUpper();
}
QString asIs(const QString& s)
{
    return s;
}

QString withoutBlanks(QString s)
{
    return s.remove(u' ');
}

QString withoutApostrophes(QString s)
{
    return s.remove(u'\'');
}

QString joinedSpot(const QStringList& words, const CaseFn& caseFn, const QString& glue)
{
    QStringList cased;
    cased.reserve(words.size());
    for (const QString& w : words)
        cased << caseFn(w);
    return cased.join(glue);
}

// Number followed by each marker's name (cased) and value, without separators: 2Rev2, 3A.
QString versionText(const Parts& p, const CaseFn& caseFn)
{
    QString text = *p.versionNumber;
    for (const Marker& m : p.markers)
        text += caseFn(m.name) + m.value;
    return text;
}

// "V.2 Rev 2", "V.2 Alt", "V.3A".
QString emailVersion(const Parts& p)
{
    QString text = "V." + *p.versionNumber;
    for (const Marker& m : p.markers) {
        if (m.name.isEmpty()) {
            text += m.value;
            continue;
        }
        text += " " + titleCase(m.name);
        if (!m.value.isEmpty())
            text += " " + m.value;
    }
    return text;
}

std::optional<QString> nonEmpty(const QString& s)
{
    return s.isEmpty() ? std::nullopt : std::optional<QString>(s);
}

// Fields every style fills the same way; the style then sets corrected, spotName, cutType and
// version.
Result baseResult(const Parts& p)
{
    Result r;
    r.productionCode = nonEmpty(p.code);
    r.timing = p.timing;
    r.missingVersion = !p.versionNumber.has_value();
    return r;
}

Result formatJoined(const Parts& p, const CaseFn& caseFn)
{
    Result r = baseResult(p);
    QStringList out;
    if (!p.code.isEmpty())
        out << p.code;
    const QString spot = withoutApostrophes(joinedSpot(p.spotWords, caseFn, QString()));
    if (!spot.isEmpty())
        out << spot;
    r.spotName = nonEmpty(spot);
    if (p.cutType) {
        r.cutType = withoutBlanks(caseFn(*p.cutType));
        out << *r.cutType;
    }
    if (p.timing)
        out << *p.timing;
    if (p.versionNumber) {
        r.version = versionText(p, caseFn);
        out << "V" + *r.version;
    }
    r.corrected = out.join(u'_');
    return r;
}

Result formatEmail(const Parts& p)
{
    Result r = baseResult(p);
    QStringList out;
    const QString spot = joinedSpot(p.spotWords, titleCase, " ");
    if (!spot.isEmpty())
        out << "\"" + spot + "\"";
    r.spotName = nonEmpty(spot);
    if (p.cutType) {
        r.cutType = p.cutType;
        out << *p.cutType;
    }
    if (p.timing)
        out << ":" + *p.timing;
    if (p.versionNumber) {
        r.version = versionText(p, titleCase);
        out << emailVersion(p);
    }
    r.corrected = out.join(u' ');
    return r;
}

CaseFn customCase(CustomNamingConfig::CaseStyle style)
{
    switch (style) {
    case CustomNamingConfig::CaseStyle::titleCase: return titleCase;
    case CustomNamingConfig::CaseStyle::upperCase: return upper;
    case CustomNamingConfig::CaseStyle::asIs: return asIs;
    }
    return asIs;
}

Result formatCustom(const Parts& p, const CustomNamingConfig& config)
{
    using Kind = CustomNamingConfig::SectionKind;
    const CaseFn caseFn = customCase(config.caseStyle);
    Result r = baseResult(p);
    QMap<Kind, QString> sections;
    if (config.includeProductionCode && !p.code.isEmpty())
        sections[Kind::code] = p.code;
    const QString glue = config.spotNameSpaced ? " " : "";
    const QString spot = withoutApostrophes(joinedSpot(p.spotWords, caseFn, glue));
    r.spotName = nonEmpty(spot);
    if (!spot.isEmpty())
        sections[Kind::spotName] = config.quoteSpotName ? "\"" + spot + "\"" : spot;
    if (p.cutType) {
        r.cutType = withoutBlanks(caseFn(*p.cutType));
        sections[Kind::cutType] = *r.cutType;
    }
    if (p.timing)
        sections[Kind::timing] = config.timingPrefix + *p.timing;
    if (p.versionNumber) {
        r.version = versionText(p, caseFn);
        sections[Kind::version] = config.versionPrefix + *r.version;
    }
    QStringList out;
    for (Kind k : config.sectionOrder)
        if (sections.contains(k))
            out << sections[k];
    r.corrected = out.join(config.separator);
    return r;
}

}  // namespace

QString titleCaseWord(const QString& word)
{
    qsizetype first = 0;
    while (first < word.size() && !word[first].isLetter())
        ++first;
    if (first == word.size())
        return word.toLower();
    return word.left(first) + word.mid(first, 1).toUpper() + word.mid(first + 1).toLower();
}

QString titleCase(const QString& text)
{
    QStringList pieces = text.split(u' ');
    for (QString& p : pieces)
        p = titleCaseWord(p);
    return pieces.join(u' ');
}

Result format(const Parts& parts, SmartRenameStyle style, const CustomNamingConfig& config)
{
    switch (style) {
    case SmartRenameStyle::finishing: return formatJoined(parts, titleCase);
    case SmartRenameStyle::posting: return formatJoined(parts, upper);
    case SmartRenameStyle::email: return formatEmail(parts);
    case SmartRenameStyle::custom: return formatCustom(parts, config);
    }
    return formatJoined(parts, titleCase);
}

}  // namespace SmartRename
