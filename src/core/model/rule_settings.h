#pragma once
// The typed rule set the engine runs on: the eleven batch rules and the fixed sections around
// them. Stored files carry it as a GUIPreset (raw-value strings); see gui_preset.h.
#include "model/enums.h"

#include <QList>
#include <QString>

// The eleven rules and their options.
struct RuleSettings {
    bool findEnabled = false;
    QString find;
    QString replace;
    bool useRegex = false;
    bool delBeforeEnabled = false;
    QString delBefore;
    bool delBeforeIncl = false;
    bool delAfterEnabled = false;
    QString delAfter;
    bool delAfterIncl = false;
    bool removeEnabled = false;
    QString removeStr;
    CaseMode caseMode = CaseMode::none;
    bool truncEnabled = false;
    KeepSide keepSide = KeepSide::first;
    int keepN = 5;
    SpaceMode spaceMode = SpaceMode::none;
    bool prefixEnabled = false;
    QString prefixText;
    bool suffixEnabled = false;
    QString suffixText;
    bool numberEnabled = false;
    int numStart = 1;
    int numPad = 2;
    QString numSep = "_";
    NumberPosition numPos = NumberPosition::suffix;
    NumberFormat numFormat = NumberFormat::digit;
    NumberDir numDir = NumberDir::asc;
    int numCustomAt = 0;
    bool dateEnabled = false;
    DateSource dateSource = DateSource::capture;
    QString dateFormat = "yyyy-MM-dd";
    NumberPosition datePos = NumberPosition::prefix;
    QString dateSep = "_";
    int dateCustomAt = 0;
    QList<BatchRuleKind> batchRuleOrder;  // persisted through Store::setBatchRuleOrder

    bool operator==(const RuleSettings&) const = default;
};

// The fixed sections around the rules: template, Smart Rename, AI name, extension, scope.
struct NameSections {
    bool extEnabled = false;
    QString extText;
    bool scopeAllFiles = true;
    bool templateEnabled = false;
    QString templateText = "%scene_%shot_%take";
    bool smartRenameEnabled = false;
    SmartRenameStyle smartRenameStyle = SmartRenameStyle::finishing;
    bool useAIName = false;
    NameLang aiLang = NameLang::automatic;  // persisted through Store::setAiLang
    bool renameFolders = false;

    bool operator==(const NameSections&) const = default;
};
