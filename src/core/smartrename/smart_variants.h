#pragma once
// Variants: saved Batch Rules sets applied on top of recognised names, and the operations of the
// variants manager. The free functions are pure apart from reading file dates; SmartVariants is
// owned by the Store and changes the variant list and the result rows through it.
#include "model/enums.h"
#include "model/gui_preset.h"
#include "model/rule_settings.h"
#include "smartrename/smart_rename_row.h"
#include "smartrename/smart_rename_types.h"

#include <QList>
#include <QString>
#include <QUuid>
#include <functional>
#include <optional>

class Store;

namespace SmartRename {

// The engine's form of a variant's rules. What the stored set leaves out takes its default, not
// the user's current setting: a variant applies only what it carries.
RuleSettings variantRuleSettings(const GUIPreset& rules);
// The extension the rule set gives a file: its own text less dots and blanks while the extension
// rule is on; nothing while it is off.
std::optional<QString> variantExtension(const GUIPreset& rules);

// Applies the rule set named `name` to one row at `index` of `total` rows, always starting from
// the recognised name. True when the row's file had no readable date and today's date was used.
bool applyRulesToRow(const QString& name, const GUIPreset& rules, SmartRenameRow& row, int index, int total,
                     const QList<BatchRuleKind>& order);

struct AppliedRules {
    QList<SmartRenameRow> rows;
    int todayFallbacks = 0;  // rows from files whose date could not be read
};
// The rule set applied to every row, or only to the row with `rowId`; numbering always counts
// the row's place in the whole list.
AppliedRules applyRuleSet(QList<SmartRenameRow> rows, const QString& name, const GUIPreset& rules,
                          const std::optional<QUuid>& rowId, const QList<BatchRuleKind>& order);
// The status line after applying a rule set.
QString appliedStatus(const QString& name, int total, bool oneRow, int todayFallbacks);

}  // namespace SmartRename

class SmartVariants {
public:
    explicit SmartVariants(Store& store) : m_store(store) {}

    // Saves the current Batch Rules under the name `askName` gives (nothing on cancel or a blank
    // name). With no rule switched on nothing is asked or stored and the status says so.
    void saveCurrentRulesAsVariant(const std::function<std::optional<QString>()>& askName);
    void copyPresetAsVariant(const QString& presetName);
    void updateVariantFromCurrentRules(const QUuid& id);
    void deleteVariant(const QUuid& id);
    // A name typed into the manager: kept in memory while typing, written when `finished`.
    void renameVariant(const QUuid& id, const QString& name, bool finished);

    void applyRules(const QString& name, const GUIPreset& rules, const std::optional<QUuid>& rowId = {});
    void applyVariantToAll(const SmartVariant& variant) { applyRules(variant.name, variant.rules); }
    // Applies a saved Batch Rules preset; nothing happens when it cannot be read.
    void applySavedPreset(const QString& presetName, const std::optional<QUuid>& rowId = {});
    void resetToRecognized(const std::optional<QUuid>& rowId = {});

private:
    // The current Batch Rules, or nothing (and the status says why) when no rule is on.
    std::optional<GUIPreset> currentRulesOrRefuse();

    Store& m_store;
};
