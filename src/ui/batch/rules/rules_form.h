#pragma once
// The rules panel of the Batch Rules tab: header with the presets menu, preset buttons, the AI
// section, the template and Smart Rename sections, the eleven reorderable rule cards and the
// extension section. It holds no rule state: every control writes the Store at once, and every
// Store change is reflected back into the controls. Its parts live beside it: the bound controls
// (rule_controls.h), the card editors (rule_editors.h), the fixed sections (section_editors.h),
// the presets header (presets_header.h) and the AI section (ai_section.h).
#include "ai_section.h"
#include "common/lang_binder.h"
#include "model/enums.h"
#include "presets_header.h"
#include "rule_controls.h"
#include "rule_editors.h"
#include "section_editors.h"

#include <QDialog>
#include <QHash>
#include <QList>
#include <QPointer>
#include <QWidget>
#include <functional>

class Dialogs;
class QMenu;
class QVBoxLayout;
class RuleCard;
class Store;

class RulesForm : public QWidget {
    Q_OBJECT
public:
    using AIServices = AISection::Services;

    RulesForm(Store& store, Dialogs& dialogs, QWidget* parent = nullptr);
    ~RulesForm() override;

    void setAIServices(AIServices services) { m_ai->setServices(std::move(services)); }
    // The AI section's "Suggest names for all" and "Stop".
    void startAINaming() { m_ai->startNaming(); }
    void stopAI() { m_ai->stop(); }
    // Where the AI section says the model is unavailable: the server settings.
    void openAIServerSettings() { m_ai->openServerSettings(); }

    // Moves the dragged rule (the first dropped string, a rule kind's raw value) to the place of
    // the receiving card; false when the drop is refused and nothing changed.
    bool dropRule(const QStringList& dropped, BatchRuleKind target);

    // Template references the first listed file can't resolve, in the order reported.
    QStringList unrecognizedTemplateTokens() const { return m_sections.unrecognizedTemplateTokens(); }

    // Presets menu actions.
    void savePreset() { m_presets->savePreset(); }
    void exportPresetsToFile() { m_presets->exportPresetsToFile(); }
    void importPresetsFromFile() { m_presets->importPresetsFromFile(); }

    // The regular-expression help sheet, while it is open.
    QDialog* regexHelp() const { return m_regexHelp; }
    void showRegexHelp();

    // For the hosting tab and tests.
    RuleCard* card(BatchRuleKind kind) const { return m_cards.value(kind); }
    QList<BatchRuleKind> shownCardOrder() const { return m_shownOrder; }
    QMenu* presetsMenu() const { return m_presets->presetsMenu(); }
    QWidget* presetButtonRow() const { return m_presets->buttonRow(); }

protected:
    void showEvent(QShowEvent* event) override;

private:
    RuleCard* buildCard(BatchRuleKind kind);
    void syncAll();
    void syncCardOrder();

    Store& m_store;
    LangBinder m_tr;
    RuleControls m_controls;
    RuleEditors m_editors;
    SectionEditors m_sections;
    PresetsHeader* m_presets = nullptr;
    AISection* m_ai = nullptr;
    QHash<BatchRuleKind, RuleCard*> m_cards;
    QVBoxLayout* m_cardsLayout = nullptr;
    QList<BatchRuleKind> m_shownOrder;
    QPointer<QDialog> m_regexHelp;
};
