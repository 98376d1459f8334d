#include "smart_rename_types.h"

#include "platform/json_util.h"
#include "platform/lang.h"

#include <QJsonArray>
#include <QJsonDocument>

namespace SmartRename {

QJsonObject CutType::toJson() const
{
    return {{"id", Json::uuidText(id)}, {"canonical", canonical}, {"variants", QJsonArray::fromStringList(variants)}};
}

std::optional<CutType> CutType::fromJson(const QJsonValue& v)
{
    const QJsonObject o = v.toObject();
    if (!v.isObject() || !o["id"].isString() || !o["canonical"].isString() || !o["variants"].isArray())
        return std::nullopt;
    CutType c;
    c.id = QUuid::fromString(o["id"].toString());
    if (c.id.isNull())
        return std::nullopt;
    c.canonical = o["canonical"].toString();
    for (const QJsonValue& s : o["variants"].toArray()) {
        if (!s.isString())
            return std::nullopt;
        c.variants << s.toString();
    }
    return c;
}

QByteArray encodeCutTypes(const QList<CutType>& list)
{
    QJsonArray a;
    for (const CutType& c : list)
        a.append(c.toJson());
    return QJsonDocument(a).toJson(QJsonDocument::Compact);
}

std::optional<QList<CutType>> decodeCutTypes(const QByteArray& data)
{
    const auto a = Json::parseArray(data);
    if (!a)
        return std::nullopt;
    QList<CutType> out;
    for (const QJsonValue& v : *a) {
        auto c = CutType::fromJson(v);
        if (!c)
            return std::nullopt;
        out << *c;
    }
    return out;
}

QList<CustomNamingConfig::SectionKind> CustomNamingConfig::allSections()
{
    return {SectionKind::code, SectionKind::spotName, SectionKind::cutType, SectionKind::timing, SectionKind::version};
}

QString CustomNamingConfig::rawValue(CaseStyle c)
{
    switch (c) {
    case CaseStyle::titleCase: return "TitleCase";
    case CaseStyle::upperCase: return "UPPERCASE";
    case CaseStyle::asIs: return "As-Is";
    }
    return {};
}

QString CustomNamingConfig::rawValue(SectionKind k)
{
    switch (k) {
    case SectionKind::code: return "code";
    case SectionKind::spotName: return "spotName";
    case SectionKind::cutType: return "cutType";
    case SectionKind::timing: return "timing";
    case SectionKind::version: return "version";
    }
    return {};
}

QString CustomNamingConfig::label(SectionKind k)
{
    switch (k) {
    case SectionKind::code: return L("Code", "代码");
    case SectionKind::spotName: return L("Spot Name", "片名");
    case SectionKind::cutType: return L("Type", "片型");
    case SectionKind::timing: return L("Timing", "时长");
    case SectionKind::version: return L("Version", "版本号");
    }
    return {};
}

QJsonObject CustomNamingConfig::toJson() const
{
    QJsonArray order;
    for (SectionKind k : sectionOrder)
        order.append(rawValue(k));
    return {{"separator", separator},
            {"caseStyle", rawValue(caseStyle)},
            {"includeProductionCode", includeProductionCode},
            {"quoteSpotName", quoteSpotName},
            {"spotNameSpaced", spotNameSpaced},
            {"versionPrefix", versionPrefix},
            {"timingPrefix", timingPrefix},
            {"sectionOrder", order}};
}

std::optional<CustomNamingConfig> CustomNamingConfig::fromJson(const QJsonObject& o)
{
    CustomNamingConfig c;
    bool ok = true;
    Json::optString(o, "separator", c.separator, ok);
    Json::optBool(o, "includeProductionCode", c.includeProductionCode, ok);
    Json::optBool(o, "quoteSpotName", c.quoteSpotName, ok);
    Json::optBool(o, "spotNameSpaced", c.spotNameSpaced, ok);
    Json::optString(o, "versionPrefix", c.versionPrefix, ok);
    Json::optString(o, "timingPrefix", c.timingPrefix, ok);
    const QJsonValue cs = o.value("caseStyle");
    if (!cs.isUndefined() && !cs.isNull()) {
        ok = ok && cs.isString();
        bool found = false;
        for (CaseStyle s : {CaseStyle::titleCase, CaseStyle::upperCase, CaseStyle::asIs})
            if (cs.toString() == rawValue(s)) {
                c.caseStyle = s;
                found = true;
            }
        ok = ok && found;
    }
    const QJsonValue so = o.value("sectionOrder");
    if (!so.isUndefined() && !so.isNull()) {
        if (!so.isArray())
            return std::nullopt;
        c.sectionOrder.clear();
        for (const QJsonValue& v : so.toArray()) {
            bool found = false;
            for (SectionKind k : allSections())
                if (v.isString() && v.toString() == rawValue(k)) {
                    c.sectionOrder << k;
                    found = true;
                }
            ok = ok && found;
        }
    }
    if (!ok)
        return std::nullopt;
    return c;
}

QByteArray CustomNamingConfig::encode() const
{
    return QJsonDocument(toJson()).toJson(QJsonDocument::Compact);
}

std::optional<CustomNamingConfig> CustomNamingConfig::decode(const QByteArray& data)
{
    const auto o = Json::parseObject(data);
    if (!o)
        return std::nullopt;
    return fromJson(*o);
}

QList<CutType> defaultCutTypes()
{
    static const QList<QPair<QString, QStringList>> table{
        {"Trlr", {"TRLR", "TRAILER"}},
        {"Tsr", {"TSR", "TEASER"}},
        {"Sizzle", {"SIZZLE", "SZL"}},
        {"Featurette", {"FEATURETTE"}},
        {"Misc", {"MISC"}},
        {"Radio", {"RADIO"}},
        {"Stringout", {"STRINGOUT"}},
        {"Select", {"SELECT"}},
        {"Graphic", {"GRAPHIC"}},
        {"Clip", {"CLIP"}},
        {"Digital Trlr", {"DIGITALTRAILER", "DIGITALTRLR", "DIGTRLR", "DTRLR"}},
    };
    QList<CutType> out;
    for (const auto& [canonical, variants] : table)
        out << CutType{QUuid::createUuid(), canonical, variants};
    return out;
}

const QSet<QString>& builtInCutTypeNames()
{
    static const QSet<QString> names{"Trlr",  "Tsr",       "Sizzle", "Featurette", "Misc",
                                     "Radio", "Stringout", "Select", "Graphic",    "Clip"};
    return names;
}

const QStringList& timingPrefixes()
{
    static const QStringList prefixes{"TV", "AV"};
    return prefixes;
}

const QStringList& versionMarkers()
{
    static const QStringList markers{"REV", "ALT"};
    return markers;
}

const QStringList& digitalLeadWords()
{
    static const QStringList words{"DIGITAL", "DIG", "D"};
    return words;
}

bool isDoubleQuoteCharacter(char32_t c)
{
    return c == 0x22 || c == 0x201C || c == 0x201D || c == 0x201E || c == 0x201F || c == 0x2033;
}

bool isZeroWidthCharacter(char32_t c)
{
    return c == 0x200B || c == 0x200C || c == 0x200D || c == 0x2060 || c == 0xFEFF;
}

bool isSingleQuoteCharacter(char32_t c)
{
    return c == 0x2018 || c == 0x2019 || c == 0x201A || c == 0x201B || c == 0x2032;
}

const QRegularExpression& quotedWordRegex()
{
    // Unicode properties so that \s and \S mean the same blanks as the cleaning step.
    thread_local const QRegularExpression re(QStringLiteral("(^|\\s)'(\\S|\\S.*?\\S)'(?=\\s|$)"),
                                             QRegularExpression::UseUnicodePropertiesOption);
    return re;
}

}  // namespace SmartRename

QJsonObject SmartVariant::toJson() const
{
    return {{"id", Json::uuidText(id)}, {"name", name}, {"rules", rules.toJson()}};
}

std::optional<SmartVariant> SmartVariant::fromJson(const QJsonValue& v)
{
    const QJsonObject o = v.toObject();
    if (!v.isObject() || !o["id"].isString() || !o["name"].isString() || !o["rules"].isObject())
        return std::nullopt;
    auto rules = GUIPreset::fromJson(o["rules"].toObject());
    const QUuid id = QUuid::fromString(o["id"].toString());
    if (!rules || id.isNull())
        return std::nullopt;
    return SmartVariant{id, o["name"].toString(), *rules};
}

QByteArray encodeSmartVariants(const QList<SmartVariant>& list)
{
    QJsonArray a;
    for (const SmartVariant& s : list)
        a.append(s.toJson());
    return QJsonDocument(a).toJson(QJsonDocument::Compact);
}

std::optional<QList<SmartVariant>> decodeSmartVariants(const QByteArray& data)
{
    const auto a = Json::parseArray(data);
    if (!a)
        return std::nullopt;
    QList<SmartVariant> out;
    for (const QJsonValue& v : *a) {
        auto s = SmartVariant::fromJson(v);
        if (!s)
            return std::nullopt;
        out << *s;
    }
    return out;
}

QByteArray encodeLearnedSplits(const QMap<QString, QStringList>& splits)
{
    QJsonObject o;
    for (auto it = splits.begin(); it != splits.end(); ++it)
        o.insert(it.key(), QJsonArray::fromStringList(it.value()));
    return QJsonDocument(o).toJson(QJsonDocument::Compact);
}

std::optional<QMap<QString, QStringList>> decodeLearnedSplits(const QByteArray& data)
{
    const auto o = Json::parseObject(data);
    if (!o)
        return std::nullopt;
    QMap<QString, QStringList> out;
    for (auto it = o->begin(); it != o->end(); ++it) {
        if (!it.value().isArray())
            return std::nullopt;
        QStringList parts;
        for (const QJsonValue& p : it.value().toArray()) {
            if (!p.isString())
                return std::nullopt;
            parts << p.toString();
        }
        out.insert(it.key(), parts);
    }
    return out;
}
