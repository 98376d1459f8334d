#pragma once
// Edits of the file list: reordering, clearing and removing rows, the AI checkbox of one row,
// and where Undo goes.
#include "files/text_undo_router.h"
#include "model/store.h"

#include <memory>

class ListOperations {
public:
    explicit ListOperations(Store& store) : m_store(store) {}

    // Each assigns the whole list so the list observer runs.
    void sortByName();
    void sortByDateModified();
    void reverseOrder();
    // The date sort's order: a before b when a's modification date is earlier.
    static bool modifiedDateAscending(const FileItem& a, const FileItem& b, const QHash<QUuid, QDateTime>& dates);
    // Moves the rows at `sourceOffsets` (in list order) to before row `destination`.
    void moveItems(const QList<int>& sourceOffsets, int destination);
    void setUseAI(const QUuid& id, bool on);
    void clearFiles();
    void removeItem(const QUuid& id);
    void removeItems(const QSet<QUuid>& ids);

    // True when a keyboard undo/redo went to the focused editable text field instead.
    bool undoInFocusedTextView(bool redo);
    // The Undo button: the focused text field first, otherwise the newest rename batch.
    void undoFromButton();
    void setTextUndoRouter(std::shared_ptr<TextUndoRouter> router) { m_textUndo = std::move(router); }

private:
    Store& m_store;
    std::shared_ptr<TextUndoRouter> m_textUndo;
};
