// PLACEHOLDERS for the Batch Rules screen until apply, list operations and intake land; delete
// this file when their real definitions arrive.
#include "model/store.h"

void Store::applyInScope(const QSet<QUuid>&) {}

void Store::setRenameFolders(bool on)
{
    editSections([on](NameSections& s) { s.renameFolders = on; });
}

void Store::removeItem(const QUuid& id) { removeItems({id}); }

void Store::removeItems(const QSet<QUuid>& ids)
{
    editItems([&ids](QList<FileItem>& list) {
        list.removeIf([&ids](const FileItem& item) { return ids.contains(item.id); });
    });
}

void Store::addFilesPanel() {}

void Store::addSampleFiles() {}
