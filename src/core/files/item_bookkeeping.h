#pragma once
// Keeping the file list pointed at files after they moved on disk, the folder listing of
// folder mode, and the AI-name switch for every named item.
#include "model/store.h"

class ItemBookkeeping {
public:
    explicit ItemBookkeeping(Store& store) : m_store(store) {}

    // Follows the moves in the list and in the files behind a folder listing.
    void commitRenamed(const MoveBatch& moves);
    static QStringList remapMovedURLs(const QStringList& urls, const MoveBatch& moves);
    // Moves made outside a rename batch: followed in the list and made undoable.
    void recordMovedFiles(const MoveBatch& moves);
    int aiNamedItemCount() const;
    void setUseAIForNamedItems(bool on);
    void setRenameFolders(bool on);
    static QList<FileItem> folderListing(const QList<FileItem>& items);

private:
    Store& m_store;
};
