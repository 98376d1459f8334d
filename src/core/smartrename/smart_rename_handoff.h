#pragma once
// What takes the Smart Rename results out of the tab: renaming the files behind rows from loaded
// files (through the Store's one batch rename, so moves never replace a file and the batch can
// be undone and is logged), and handing the rows' name parts to the Email tab.
#include "email/email_template.h"
#include "files/rename_batch.h"
#include "smartrename/smart_rename_row.h"

#include <QList>
#include <QUuid>

class Store;

namespace SmartRename {

// The new full name of every row's file, later rows for the same file winning. With
// `keepExtension` a shown ending of "." and the file's own extension (any letter case) is not
// part of the stem; a variant's extension replaces the file's own, an empty one drops it.
RenamePlan renamePlan(const QList<SmartRenameRow>& rows, bool keepExtension);
EmailFileContext emailContext(const SmartRenameRow& row);

}  // namespace SmartRename

class SmartRenameHandOff {
public:
    explicit SmartRenameHandOff(Store& store) : m_store(store) {}

    // Renames the files, then rebuilds the rows from the loaded files under their new names.
    void applyRename();
    // Every row, or the one row with `rowId`, to the Email tab, which is then shown.
    void generateEmail();
    void generateEmailForRow(const QUuid& rowId);

private:
    void handOver(QList<EmailFileContext> contexts);

    Store& m_store;
};
