#pragma once
// The editors inside the eleven rule cards. Each binds its controls to the rule's settings
// through the panel's RuleControls.
#include "model/enums.h"
#include "rule_controls.h"

#include <functional>

class QWidget;

class RuleEditors {
public:
    // `showRegexHelp` opens the regular-expression help sheet from the Find & Replace editor.
    RuleEditors(RuleControls& controls, std::function<void()> showRegexHelp);

    QWidget* build(BatchRuleKind kind);

private:
    template <typename T> using Field = RuleControls::Field<T>;

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

    RuleControls& m_c;
    std::function<void()> m_showRegexHelp;
};
