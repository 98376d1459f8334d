#pragma once
// The Smart Rename settings the user edits on the tab: taught word splits, the cut types of the
// CUSTOM style and its naming layout. Every change is written at once and empties the rule
// engine's Smart Rename memo (the Store's setters do both). The text rules are free functions.
#include "smartrename/smart_rename_types.h"

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QUuid>
#include <optional>

class Store;

namespace SmartRename {

// Tabs and space separators (not line breaks) trimmed from both ends.
QString trimBlanks(const QString& text);
// The key a taught word is stored under: blanks trimmed, upper-cased.
QString taughtWordKey(const QString& word);
// The words of a taught split: cut at every space, empty pieces dropped, the rest as typed.
QStringList taughtSplitWords(const QString& splitAs);
// Whether the two teach fields hold something to save.
bool canTeach(const QString& word, const QString& splitAs);

// A cut type's variants as the field shows them, and as typed text is stored: cut at commas,
// trimmed of blanks, upper-cased, empty pieces dropped, duplicates kept.
QString cutTypeVariantsText(const CutType& cutType);
QStringList parseCutTypeVariants(const QString& text);

// The section order after dropping the dragged section (the first dropped text, a raw value)
// onto `target`; nothing when the drop is refused.
std::optional<QList<CustomNamingConfig::SectionKind>> movedSection(const QList<CustomNamingConfig::SectionKind>& order,
                                                                   const QStringList& dropped,
                                                                   CustomNamingConfig::SectionKind target);

}  // namespace SmartRename

class SmartRenameEditors {
public:
    explicit SmartRenameEditors(Store& store) : m_store(store) {}

    // Teaches a split (replacing an earlier one of the same word) and recognises the pasted text
    // again; false, changing nothing, when either field is blank.
    bool teachWord(const QString& word, const QString& splitAs);
    void forgetWord(const QString& key);

    void addCutType();
    void resetCutTypes();
    void deleteCutType(const QUuid& id);
    void setCutTypeName(const QUuid& id, const QString& name);
    void setCutTypeVariants(const QUuid& id, const QString& text);

    void setNamingConfig(const SmartRename::CustomNamingConfig& config);
    bool moveSection(const QStringList& dropped, SmartRename::CustomNamingConfig::SectionKind target);
    void resetSectionOrder();

private:
    template <typename F> void editCutType(const QUuid& id, F&& f);

    Store& m_store;
};
