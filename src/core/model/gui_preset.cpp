#include "model/gui_preset.h"

#include "model/rule_settings.h"

#include "platform/json_util.h"
#include "platform/lang.h"

#include <QJsonDocument>

namespace {

// Strict field readers: a missing required key or a wrong JSON type fails the decode.
struct Reader {
    const QJsonObject& o;
    QString error;

    template <typename T> void req(const char* key, T& out)
    {
        const QJsonValue v = o.value(QLatin1String(key));
        if (!take(v, out) && error.isEmpty())
            error = QStringLiteral("missing or invalid \"%1\"").arg(QLatin1String(key));
    }
    template <typename T> void opt(const char* key, std::optional<T>& out)
    {
        const QJsonValue v = o.value(QLatin1String(key));
        if (v.isUndefined() || v.isNull())
            return;
        T value{};
        if (!take(v, value)) {
            if (error.isEmpty())
                error = QStringLiteral("invalid \"%1\"").arg(QLatin1String(key));
            return;
        }
        out = value;
    }

    static bool take(const QJsonValue& v, bool& out)
    {
        if (!v.isBool())
            return false;
        out = v.toBool();
        return true;
    }
    static bool take(const QJsonValue& v, QString& out)
    {
        if (!v.isString())
            return false;
        out = v.toString();
        return true;
    }
    static bool take(const QJsonValue& v, int& out)
    {
        if (!v.isDouble())
            return false;
        const auto i = Json::wholeInt(v);
        if (!i)
            return false;
        out = *i;
        return true;
    }
};

template <typename T> void put(QJsonObject& o, const char* key, const std::optional<T>& v)
{
    if (v)
        o.insert(QLatin1String(key), *v);
}

}  // namespace

std::optional<GUIPreset> GUIPreset::fromJson(const QJsonObject& o, QString* error)
{
    GUIPreset p;
    Reader r{o, {}};
    r.req("findEnabled", p.findEnabled);
    r.req("find", p.find);
    r.req("replace", p.replace);
    r.req("useRegex", p.useRegex);
    r.req("delBeforeEnabled", p.delBeforeEnabled);
    r.req("delBefore", p.delBefore);
    r.req("delAfterEnabled", p.delAfterEnabled);
    r.req("delAfter", p.delAfter);
    r.opt("delBeforeIncl", p.delBeforeIncl);
    r.opt("delAfterIncl", p.delAfterIncl);
    r.req("removeEnabled", p.removeEnabled);
    r.req("removeStr", p.removeStr);
    r.req("caseMode", p.caseMode);
    r.req("truncEnabled", p.truncEnabled);
    r.req("keepSide", p.keepSide);
    r.req("keepN", p.keepN);
    r.req("spaceMode", p.spaceMode);
    r.req("prefixEnabled", p.prefixEnabled);
    r.req("prefixText", p.prefixText);
    r.req("suffixEnabled", p.suffixEnabled);
    r.req("suffixText", p.suffixText);
    r.req("numberEnabled", p.numberEnabled);
    r.req("numStart", p.numStart);
    r.req("numPad", p.numPad);
    r.req("numSep", p.numSep);
    r.req("numPos", p.numPos);
    r.opt("numFormat", p.numFormat);
    r.opt("numDir", p.numDir);
    r.opt("numCustomAt", p.numCustomAt);
    r.opt("dateEnabled", p.dateEnabled);
    r.opt("dateSource", p.dateSource);
    r.opt("dateFormat", p.dateFormat);
    r.opt("datePos", p.datePos);
    r.opt("dateSep", p.dateSep);
    r.opt("dateCustomAt", p.dateCustomAt);
    r.opt("extEnabled", p.extEnabled);
    r.opt("extText", p.extText);
    if (!r.error.isEmpty()) {
        if (error)
            *error = r.error;
        return std::nullopt;
    }
    return p;
}

std::optional<GUIPreset> GUIPreset::fromJsonData(const QByteArray& data, QString* error)
{
    const auto o = Json::parseObject(data);
    if (!o) {
        if (error)
            *error = QStringLiteral("not a JSON object");
        return std::nullopt;
    }
    return fromJson(*o, error);
}

QJsonObject GUIPreset::toJson() const
{
    QJsonObject o{
        {"findEnabled", findEnabled},
        {"find", find},
        {"replace", replace},
        {"useRegex", useRegex},
        {"delBeforeEnabled", delBeforeEnabled},
        {"delBefore", delBefore},
        {"delAfterEnabled", delAfterEnabled},
        {"delAfter", delAfter},
        {"removeEnabled", removeEnabled},
        {"removeStr", removeStr},
        {"caseMode", caseMode},
        {"truncEnabled", truncEnabled},
        {"keepSide", keepSide},
        {"keepN", keepN},
        {"spaceMode", spaceMode},
        {"prefixEnabled", prefixEnabled},
        {"prefixText", prefixText},
        {"suffixEnabled", suffixEnabled},
        {"suffixText", suffixText},
        {"numberEnabled", numberEnabled},
        {"numStart", numStart},
        {"numPad", numPad},
        {"numSep", numSep},
        {"numPos", numPos},
    };
    put(o, "delBeforeIncl", delBeforeIncl);
    put(o, "delAfterIncl", delAfterIncl);
    put(o, "numFormat", numFormat);
    put(o, "numDir", numDir);
    put(o, "numCustomAt", numCustomAt);
    put(o, "dateEnabled", dateEnabled);
    put(o, "dateSource", dateSource);
    put(o, "dateFormat", dateFormat);
    put(o, "datePos", datePos);
    put(o, "dateSep", dateSep);
    put(o, "dateCustomAt", dateCustomAt);
    put(o, "extEnabled", extEnabled);
    put(o, "extText", extText);
    return o;
}

QString GUIPreset::summary() const
{
    QStringList parts;
    if (findEnabled && !find.isEmpty())
        parts << find + QStringLiteral(" → ") + replace;
    if (delBeforeEnabled && !delBefore.isEmpty())
        parts << L("del before ", "删除之前 ") + delBefore;
    if (delAfterEnabled && !delAfter.isEmpty())
        parts << L("del after ", "删除之后 ") + delAfter;
    if (removeEnabled && !removeStr.isEmpty())
        parts << L("remove ", "移除 ") + removeStr;
    if (caseMode == "upper" || caseMode == "lower" || caseMode == "title")
        parts << L("case: ", "大小写:") + caseMode;
    if (truncEnabled && keepN >= 1)
        parts << (Lang::zh() ? QStringLiteral("保留 %1 个(%2)").arg(keepN).arg(keepSide)
                             : QStringLiteral("keep %1 %2").arg(keepN).arg(keepSide));
    if (spaceMode == "underscore" || spaceMode == "hyphen" || spaceMode == "remove" || spaceMode == "collapse")
        parts << L("spaces: ", "空格:") + spaceMode;
    if (prefixEnabled && !prefixText.isEmpty())
        parts << L("prefix ", "前缀 ") + prefixText;
    if (suffixEnabled && !suffixText.isEmpty())
        parts << L("suffix ", "后缀 ") + suffixText;
    if (dateEnabled.value_or(false))
        parts << L("date", "日期");
    if (numberEnabled)
        parts << L("numbering", "编号");
    if (extEnabled.value_or(false))
        parts << L("extension → ", "扩展名 → ") + extText.value_or(QString());
    return parts.join(QStringLiteral(" · "));
}

GUIPreset GUIPreset::fromRules(const RuleSettings& r, const NameSections& s)
{
    GUIPreset p;
    p.findEnabled = r.findEnabled;
    p.find = r.find;
    p.replace = r.replace;
    p.useRegex = r.useRegex;
    p.delBeforeEnabled = r.delBeforeEnabled;
    p.delBefore = r.delBefore;
    p.delAfterEnabled = r.delAfterEnabled;
    p.delAfter = r.delAfter;
    p.delBeforeIncl = r.delBeforeIncl;
    p.delAfterIncl = r.delAfterIncl;
    p.removeEnabled = r.removeEnabled;
    p.removeStr = r.removeStr;
    p.caseMode = rawValue(r.caseMode);
    p.truncEnabled = r.truncEnabled;
    p.keepSide = rawValue(r.keepSide);
    p.keepN = r.keepN;
    p.spaceMode = rawValue(r.spaceMode);
    p.prefixEnabled = r.prefixEnabled;
    p.prefixText = r.prefixText;
    p.suffixEnabled = r.suffixEnabled;
    p.suffixText = r.suffixText;
    p.numberEnabled = r.numberEnabled;
    p.numStart = r.numStart;
    p.numPad = r.numPad;
    p.numSep = r.numSep;
    p.numPos = rawValue(r.numPos);
    p.numFormat = rawValue(r.numFormat);
    p.numDir = rawValue(r.numDir);
    p.numCustomAt = r.numCustomAt;
    p.dateEnabled = r.dateEnabled;
    p.dateSource = rawValue(r.dateSource);
    p.dateFormat = r.dateFormat;
    p.datePos = rawValue(r.datePos);
    p.dateSep = r.dateSep;
    p.dateCustomAt = r.dateCustomAt;
    p.extEnabled = s.extEnabled;
    p.extText = s.extText;
    return p;
}

namespace {
template <typename T> void assignIfPresent(T& target, const std::optional<T>& value)
{
    if (value)
        target = *value;
}
}  // namespace

// Fields that older preset files lack: the include flags, number format, direction and custom
// position fall back to their defaults, while absent date and extension fields keep whatever the
// user has now (those rules did not exist when such a file was written). A raw value this
// version does not know reads as the first case of its picker.
void GUIPreset::applyTo(RuleSettings& r) const
{
    r.findEnabled = findEnabled;
    r.find = find;
    r.replace = replace;
    r.useRegex = useRegex;
    r.delBeforeEnabled = delBeforeEnabled;
    r.delBefore = delBefore;
    r.delBeforeIncl = delBeforeIncl.value_or(false);
    r.delAfterEnabled = delAfterEnabled;
    r.delAfter = delAfter;
    r.delAfterIncl = delAfterIncl.value_or(false);
    r.removeEnabled = removeEnabled;
    r.removeStr = removeStr;
    r.caseMode = lookupRawValue<CaseMode>(caseMode).value_or(CaseMode::none);
    r.truncEnabled = truncEnabled;
    r.keepSide = lookupRawValue<KeepSide>(keepSide).value_or(KeepSide::first);
    r.keepN = keepN;
    r.spaceMode = lookupRawValue<SpaceMode>(spaceMode).value_or(SpaceMode::none);
    r.prefixEnabled = prefixEnabled;
    r.prefixText = prefixText;
    r.suffixEnabled = suffixEnabled;
    r.suffixText = suffixText;
    r.numberEnabled = numberEnabled;
    r.numStart = numStart;
    r.numPad = numPad;
    r.numSep = numSep;
    r.numPos = lookupRawValue<NumberPosition>(numPos).value_or(NumberPosition::suffix);
    r.numFormat = lookupRawValue<NumberFormat>(numFormat.value_or(QString())).value_or(NumberFormat::digit);
    r.numDir = lookupRawValue<NumberDir>(numDir.value_or(QString())).value_or(NumberDir::asc);
    r.numCustomAt = numCustomAt.value_or(0);
    assignIfPresent(r.dateEnabled, dateEnabled);
    if (dateSource)
        assignIfPresent(r.dateSource, lookupRawValue<DateSource>(*dateSource));
    assignIfPresent(r.dateFormat, dateFormat);
    if (datePos)
        assignIfPresent(r.datePos, lookupRawValue<NumberPosition>(*datePos));
    assignIfPresent(r.dateSep, dateSep);
    assignIfPresent(r.dateCustomAt, dateCustomAt);
}

void GUIPreset::applyTo(NameSections& s) const
{
    assignIfPresent(s.extEnabled, extEnabled);
    assignIfPresent(s.extText, extText);
}
