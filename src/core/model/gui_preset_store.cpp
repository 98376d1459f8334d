// The mapping between the Store's rule settings and a GUIPreset, in both directions.
#include "store.h"

GUIPreset Store::currentPreset() const
{
    const RuleSettings& r = m_rules;
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
    p.extEnabled = m_sections.extEnabled;
    p.extText = m_sections.extText;
    return p;
}

namespace {
template <typename T> void assignIfPresent(T& target, const std::optional<T>& value)
{
    if (value)
        target = *value;
}
} // namespace

// Fields that older preset files lack: the include flags, number format, direction and custom
// position fall back to their defaults, while absent date and extension fields keep whatever the
// user has now (those rules did not exist when such a file was written).
void Store::applyPreset(const GUIPreset& p)
{
    editRules([&](RuleSettings& r) {
        r.findEnabled = p.findEnabled;
        r.find = p.find;
        r.replace = p.replace;
        r.useRegex = p.useRegex;
        r.delBeforeEnabled = p.delBeforeEnabled;
        r.delBefore = p.delBefore;
        r.delBeforeIncl = p.delBeforeIncl.value_or(false);
        r.delAfterEnabled = p.delAfterEnabled;
        r.delAfter = p.delAfter;
        r.delAfterIncl = p.delAfterIncl.value_or(false);
        r.removeEnabled = p.removeEnabled;
        r.removeStr = p.removeStr;
        r.caseMode = lookupRawValue<CaseMode>(p.caseMode).value_or(CaseMode::none);
        r.truncEnabled = p.truncEnabled;
        r.keepSide = p.keepSide == QLatin1String("last") ? KeepSide::last : KeepSide::first;
        r.keepN = p.keepN;
        r.spaceMode = lookupRawValue<SpaceMode>(p.spaceMode).value_or(SpaceMode::none);
        r.prefixEnabled = p.prefixEnabled;
        r.prefixText = p.prefixText;
        r.suffixEnabled = p.suffixEnabled;
        r.suffixText = p.suffixText;
        r.numberEnabled = p.numberEnabled;
        r.numStart = p.numStart;
        r.numPad = p.numPad;
        r.numSep = p.numSep;
        r.numPos = lookupRawValue<NumberPosition>(p.numPos).value_or(NumberPosition::suffix);
        r.numFormat = p.numFormat == QLatin1String("upper")   ? NumberFormat::upper
                      : p.numFormat == QLatin1String("lower") ? NumberFormat::lower
                                                              : NumberFormat::digit;
        r.numDir = p.numDir == QLatin1String("desc") ? NumberDir::desc : NumberDir::asc;
        r.numCustomAt = p.numCustomAt.value_or(0);
        assignIfPresent(r.dateEnabled, p.dateEnabled);
        if (p.dateSource)
            assignIfPresent(r.dateSource, lookupRawValue<DateSource>(*p.dateSource));
        assignIfPresent(r.dateFormat, p.dateFormat);
        if (p.datePos)
            assignIfPresent(r.datePos, lookupRawValue<NumberPosition>(*p.datePos));
        assignIfPresent(r.dateSep, p.dateSep);
        assignIfPresent(r.dateCustomAt, p.dateCustomAt);
    });
    editSections([&](NameSections& s) {
        assignIfPresent(s.extEnabled, p.extEnabled);
        assignIfPresent(s.extText, p.extText);
    });
}

const GUIPreset& Store::rulesSnapshot() const
{
    if (!m_rulesSnapshot)
        m_rulesSnapshot = currentPreset();
    return *m_rulesSnapshot;
}
