#pragma once
// The rules panel of the Batch Rules tab: header with the presets menu, preset buttons, the AI
// section, the template and Smart Rename sections, the eleven reorderable rule cards and the
// extension section. It holds no rule state: every control writes the Store at once, and every
// Store change is reflected back into the controls.
#include "ai/ai_name.h"
#include "common/lang_binder.h"
#include "model/enums.h"

#include <QHash>
#include <QList>
#include <QPointer>
#include <QWidget>
#include <functional>

class Dialogs;
class QCheckBox;
class QComboBox;
#include <QDialog>
class QLabel;
class QLineEdit;
class QMenu;
class QSpinBox;
class QToolButton;
class QVBoxLayout;
class QHBoxLayout;
class QScrollArea;
class RuleCard;
class SectionBox;
class Store;
struct RuleSettings;
struct NameSections;

class RulesForm : public QWidget {
    Q_OBJECT
public:
    // The AI section's model: whether it can answer (default AIName::availability) and the run
    // that names every listed file (default the Store's AI runner).
    struct AIServices {
        std::function<AIName::Availability()> availability;
        std::function<void()> runNaming;
    };

    RulesForm(Store& store, Dialogs& dialogs, QWidget* parent = nullptr);
    ~RulesForm() override;

    void setAIServices(AIServices services);
    // The AI section's "Suggest names for all" and "Stop".
    void startAINaming();
    void stopAI();
    // Where the AI section says the model is unavailable: the server settings.
    void openAIServerSettings();

    // Moves the dragged rule (the first dropped string, a rule kind's raw value) to the place of
    // the receiving card; false when the drop is refused and nothing changed.
    bool dropRule(const QStringList& dropped, BatchRuleKind target);

    // Template references the first listed file can't resolve, in the order reported.
    QStringList unrecognizedTemplateTokens() const;

    // Presets menu actions.
    void savePreset();
    void exportPresetsToFile();
    void importPresetsFromFile();

    // The regular-expression help sheet, while it is open.
    QDialog* regexHelp() const { return m_regexHelp; }
    void showRegexHelp();

    // For the hosting tab and tests.
    RuleCard* card(BatchRuleKind kind) const { return m_cards.value(kind); }
    QList<BatchRuleKind> shownCardOrder() const;
    QMenu* presetsMenu() const { return m_presetsMenu; }
    QWidget* presetButtonRow() const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    template <typename T> struct Field {
        std::function<T()> get;
        std::function<void(const T&)> set;
    };
    template <typename T> Field<T> rule(T RuleSettings::*member);
    template <typename T> Field<T> section(T NameSections::*member);

    // Controls bound to one Store field; each registers how it follows the Store.
    QLineEdit* textField(Field<QString> f, const char* en, const char* zh, int width = 0);
    QCheckBox* checkBox(Field<bool> f, const char* en, const char* zh, bool caption = false);
    template <typename E> QComboBox* enumPicker(Field<E> f, QList<E> cases, int width);
    QSpinBox* stepper(Field<int> f, int lo, int hi, const char* enPrefix, const char* zhPrefix,
                      const char* zhSuffix = "", int width = 0);
    QLabel* smallHelp(const char* en, const char* zh);
    QLabel* smallHelp(std::function<QString()> text);
    SectionBox* sectionBox(Field<bool> f, const char* en, const char* zh, QWidget* editor);
    void onSync(std::function<void()> f) { m_syncers.push_back(std::move(f)); }
    void syncAll();

    // Parts of the panel, top to bottom.
    QWidget* buildHeader();
    QWidget* buildPresetButtons();
    QWidget* buildAISection();
    QWidget* buildAIControls();
    QWidget* buildTemplateEditor();
    QWidget* buildSmartRenameSection();
    QWidget* buildExtensionEditor();
    QWidget* buildEditor(BatchRuleKind kind);
    RuleCard* buildCard(BatchRuleKind kind);

    // Rule editors.
    QWidget* findReplaceEditor();
    QWidget* deleteEditor(bool before);
    QWidget* removeEditor();
    QWidget* caseEditor();
    QWidget* truncateEditor();
    QWidget* whitespaceEditor();
    QWidget* prefixEditor();
    QWidget* suffixEditor();
    QWidget* numberEditor();
    QWidget* dateEditor();
    QWidget* positionEditor(Field<QString> sep, Field<NumberPosition> pos, QList<NumberPosition> offered,
                            Field<int> customAt);

    // Capture-date reading (stamp false) or stamping file dates from them (stamp true).
    void startCaptureDateWork(bool stamp);
    void rebuildPresetsMenu();
    void rebuildPresetButtons();
    void syncCardOrder();
    void updateTemplateWarning();

    Store& m_store;
    Dialogs& m_dialogs;
    LangBinder m_tr;
    QList<std::function<void()>> m_syncers;
    QHash<BatchRuleKind, RuleCard*> m_cards;
    QVBoxLayout* m_cardsLayout = nullptr;
    QList<BatchRuleKind> m_shownOrder;
    QMenu* m_presetsMenu = nullptr;
    QScrollArea* m_presetScroll = nullptr;
    QHBoxLayout* m_presetButtonsLayout = nullptr;
    QWidget* m_templateWarning = nullptr;
    QLabel* m_templateWarningText = nullptr;
    QPointer<QDialog> m_regexHelp;
    AIServices m_ai{[] { return AIName::availability(); }, {}};
};
