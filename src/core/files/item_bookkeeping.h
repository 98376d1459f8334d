#pragma once
// Keeping the file list pointed at files after they moved on disk, the folder listing of
// folder mode, and the AI-name switch for every named item.
#include "model/store.h"

// Listed items a batch moves: moves[k] takes the item at positions[k] of the list the batch
// started from, from where its file was to where it is now (or, before the batch is carried out,
// to where it is to go). The two lists are kept apart so that the moves can double as the
// batch's record of what it did, shared rather than copied.
struct ItemMoves {
    MoveBatch moves;
    QList<qsizetype> positions;
    qsizetype size() const { return moves.size(); }
};

class ItemBookkeeping {
public:
    explicit ItemBookkeeping(Store& store) : m_store(store) {}

    // Follows the moves in the list and in the files behind a folder listing. `itemMoves`, when the
    // batch knows them, lets the list follow without matching every listed path against the moves.
    void commitRenamed(const MoveBatch& moves, const ItemMoves& itemMoves = {});
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
