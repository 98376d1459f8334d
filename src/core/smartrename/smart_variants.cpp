#include "smartrename/smart_variants.h"

#include "model/file_dates.h"
#include "model/presets.h"
#include "model/rule_engine.h"
#include "model/store.h"
#include "platform/lang.h"

namespace SmartRename {

RuleSettings variantRuleSettings(const GUIPreset& rules)
{
    RuleSettings settings;
    rules.applyTo(settings);
    return settings;
}

std::optional<QString> variantExtension(const GUIPreset& rules)
{
    if (!rules.extEnabled.value_or(false))
        return std::nullopt;
    return cleanExtensionText(rules.extText.value_or(QString()));
}

bool applyRulesToRow(const QString& name, const GUIPreset& rules, SmartRenameRow& row, int index, int total,
                     const QList<BatchRuleKind>& order)
{
    const QString base = row.preVariantName.value_or(row.corrected);
    row.preVariantName = base;
    const RuleSettings settings = variantRuleSettings(rules);
    std::optional<QString> path;
    std::optional<QDateTime> captureDate;
    if (row.sourceItem) {
        path = row.sourceItem->url;
        captureDate = row.sourceItem->captureDate;
    }
    QString dateText = ruleSetDateText(settings, path, captureDate);
    const bool today = dateText.isEmpty() && settings.dateEnabled && row.sourceItem;
    if (today)
        dateText = ruleSetDateText(settings, std::nullopt, std::nullopt);
    row.corrected = ::applyRules(settings, base, index, total, dateText, order);
    row.variantName = name;
    row.variantExt = row.sourceItem ? variantExtension(rules) : std::nullopt;
    return today;
}

AppliedRules applyRuleSet(QList<SmartRenameRow> rows, const QString& name, const GUIPreset& rules,
                          const std::optional<QUuid>& rowId, const QList<BatchRuleKind>& order)
{
    AppliedRules out;
    const int total = int(rows.size());
    for (int i = 0; i < total; ++i) {
        if (rowId && rows[i].id != *rowId)
            continue;
        if (applyRulesToRow(name, rules, rows[i], i, total, order))
            ++out.todayFallbacks;
    }
    out.rows = std::move(rows);
    return out;
}

QString appliedStatus(const QString& name, int total, bool oneRow, int todayFallbacks)
{
    const QString n = QString::number(total);
    QString status = oneRow ? L(QStringLiteral("Applied “%1”.").arg(name), QStringLiteral("已套用「%1」。").arg(name))
                            : L(QStringLiteral("Applied “%1” to %2 name(s).").arg(name, n),
                                QStringLiteral("已把「%1」套用到 %2 个名字。").arg(name, n));
    if (todayFallbacks >= 1) {
        const QString d = QString::number(todayFallbacks);
        status += L(QStringLiteral(" %1 had no readable file date, so today's date was used.").arg(d),
                    QStringLiteral(" 其中 %1 个读不到文件日期,已改用今天的日期。").arg(d));
    }
    return status;
}

}  // namespace SmartRename

std::optional<GUIPreset> SmartVariants::currentRulesOrRefuse()
{
    const GUIPreset rules = m_store.presets().current();
    if (!rules.summary().isEmpty())
        return rules;
    m_store.setStatus(L("Batch Rules has nothing switched on — turn some rules on first.",
                        "Batch Rules 里没有开启任何规则 —— 先开启一些规则。"));
    return std::nullopt;
}

void SmartVariants::saveCurrentRulesAsVariant(const std::function<std::optional<QString>()>& askName)
{
    const std::optional<GUIPreset> rules = currentRulesOrRefuse();
    if (!rules)
        return;
    const std::optional<QString> answer = askName();
    const QString name = answer ? answer->trimmed() : QString();
    if (name.isEmpty())
        return;
    QList<SmartVariant> list = m_store.smart().smartVariants;
    list.append({QUuid::createUuid(), name, *rules});
    m_store.setSmartVariants(list);
    m_store.setStatus(L("Saved variant: ", "已保存变体:") + name);
}

void SmartVariants::copyPresetAsVariant(const QString& presetName)
{
    const std::optional<GUIPreset> rules = m_store.presets().read(presetName);
    if (!rules)
        return;
    QList<SmartVariant> list = m_store.smart().smartVariants;
    list.append({QUuid::createUuid(), presetName, *rules});
    m_store.setSmartVariants(list);
}

void SmartVariants::updateVariantFromCurrentRules(const QUuid& id)
{
    const std::optional<GUIPreset> rules = currentRulesOrRefuse();
    if (!rules)
        return;
    QList<SmartVariant> list = m_store.smart().smartVariants;
    for (SmartVariant& v : list)
        if (v.id == id)
            v.rules = *rules;
    m_store.setSmartVariants(list);
}

void SmartVariants::deleteVariant(const QUuid& id)
{
    QList<SmartVariant> list = m_store.smart().smartVariants;
    list.removeIf([&](const SmartVariant& v) { return v.id == id; });
    m_store.setSmartVariants(list);
}

// The name is written when the field finishes editing, so that quitting right after typing it
// does not lose it.
void SmartVariants::renameVariant(const QUuid& id, const QString& name, bool finished)
{
    QList<SmartVariant> list = m_store.smart().smartVariants;
    bool changed = false;
    for (SmartVariant& v : list) {
        if (v.id == id && v.name != name) {
            v.name = name;
            changed = true;
        }
    }
    if (changed || finished)
        m_store.setSmartVariants(list, finished);
}

void SmartVariants::applyRules(const QString& name, const GUIPreset& rules, const std::optional<QUuid>& rowId)
{
    SmartRename::AppliedRules applied = SmartRename::applyRuleSet(m_store.smart().smartRenameRows, name, rules, rowId,
                                                                  m_store.rules().batchRuleOrder);
    const int total = int(applied.rows.size());
    m_store.setSmartRenameRows(std::move(applied.rows));
    m_store.setStatus(SmartRename::appliedStatus(name, total, rowId.has_value(), applied.todayFallbacks));
}

void SmartVariants::applySavedPreset(const QString& presetName, const std::optional<QUuid>& rowId)
{
    if (const std::optional<GUIPreset> rules = m_store.presets().read(presetName))
        applyRules(presetName, *rules, rowId);
}

void SmartVariants::resetToRecognized(const std::optional<QUuid>& rowId)
{
    m_store.setSmartRenameRows(SmartRename::resetToRecognized(m_store.smart().smartRenameRows, rowId));
}
