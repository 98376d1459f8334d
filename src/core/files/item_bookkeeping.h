#pragma once
// Keeping the file list pointed at files after they moved on disk, the folder listing of
// folder mode, and the AI-name switch for every named item.
#include "model/store.h"

// A listed item a batch moves: its id, where its file was, where it is now (or, before the batch
// is carried out, where it is to go), and its place in the list the batch started from.
struct ItemMove {
    QUuid id;
    QString from;
    QString to;
    qsizetype position = -1;
};

class ItemBookkeeping {
public:
    explicit ItemBookkeeping(Store& store) : m_store(store) {}

    // Follows the moves in the list and in the files behind a folder listing. `itemMoves`, when the
    // batch knows them, lets the list follow without matching every listed path against the moves.
    void commitRenamed(const MoveBatch& moves, const QList<ItemMove>& itemMoves = {});
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
