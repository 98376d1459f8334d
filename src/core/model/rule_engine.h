#pragma once
// The batch rules as a pure text transformation of one stem. The functions take the rule set as
// their first argument; NamePreview::applyBatchRules feeds them the Store's own settings.
#include "model/enums.h"
#include "model/rule_settings.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <optional>

// Runs the rules in `order` (a kind listed twice runs twice) and trims surrounding horizontal
// whitespace. `count` is the number of listed items, `index` the item's place among them.
QString applyRules(const RuleSettings& rules, const QString& stem, int index, int count, const QString& dateText,
                   const QList<BatchRuleKind>& order);

// The number text of the numbering rule and of "#" in a replacement.
QString sequenceNumberText(const RuleSettings& rules, int count, int index);
// Bijective base-26 capitals: 1 A, 26 Z, 27 AA; 0 and below give A.
QString sequenceLetters(qint64 n);

// The extension the rule set gives a file's extension.
QString newExtension(const NameSections& sections, const QString& ext);
// Extension text as typed, less surrounding dots and blanks (".mov", " mov " → "mov").
QString cleanExtensionText(const QString& text);

// Number of user-perceived characters (grapheme clusters).
qsizetype graphemeCount(const QString& s);
// UTF-16 offset where the n-th user-perceived character starts (clamped to 0 … size).
qsizetype graphemeOffset(const QString& s, qsizetype n);
