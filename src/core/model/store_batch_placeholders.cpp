// PLACEHOLDERS for the list operations the Batch Rules screen calls until intake lands; delete
// this file when their real definitions arrive.
#include "model/store.h"

void Store::removeItem(const QUuid& id) { removeItems({id}); }

void Store::removeItems(const QSet<QUuid>& ids)
{
    editItems([&ids](QList<FileItem>& list) {
        list.removeIf([&ids](const FileItem& item) { return ids.contains(item.id); });
    });
}

void Store::addSampleFiles() {}
