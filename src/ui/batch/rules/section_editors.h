#pragma once
// The fixed sections around the rule cards: the name template (with its check of the tokens
// against the first listed file), Smart Rename and the extension.
#include "rule_controls.h"

#include <QStringList>

class QLabel;
class QWidget;

class SectionEditors {
public:
    explicit SectionEditors(RuleControls& controls) : m_c(controls) {}

    QWidget* templateEditor();
    QWidget* smartRenameSection();
    QWidget* extensionEditor();

    // Template references the first listed file can't resolve, in the order reported.
    QStringList unrecognizedTemplateTokens() const;
    // Shows or hides the template editor's warning about those references.
    void updateTemplateWarning();

private:
    RuleControls& m_c;
    QWidget* m_templateWarning = nullptr;
    QLabel* m_templateWarningText = nullptr;
};
