// Empty bodies for the Store operations the shell calls before the list operations, intake,
// history and folder watch exist. Each is replaced by its real definition; delete this file then.
#include "store.h"

void Store::sortByName() {}
void Store::sortByDateModified() {}
void Store::reverseOrder() {}
void Store::clearFiles() { setItems({}); }
void Store::addFilesPanel() {}
void Store::addFoldersPanel() {}
void Store::addURLs(const QStringList& paths)
{
    editItems([&](QList<FileItem>& items) {
        for (const QString& p : paths)
            items.append(FileItem::file(p));
    });
}
void Store::queueDrops(const QString& path) { addURLs({path}); }
void Store::startWatching(const QString&, bool) {}
void Store::stopWatching() {}
