#pragma once
// The undo history and the rename log: recording batches, undo, restore all, and the saves
// that keep both across restarts. State lives in the Store's HistoryState; this class changes
// it only through Store::editHistory and keeps its own save bookkeeping and writer.
#include "files/history_writer.h"
#include "model/store.h"

#include <QObject>
#include <QSet>
#include <functional>

class History : public QObject {
public:
    explicit History(Store& store) : m_store(store) {}

    // Every change of the undo stack goes through here: new batches are dated, bookmarked and
    // logged, the stack is trimmed, and a save is scheduled.
    template <typename F> void editUndoStack(F&& f)
    {
        m_store.editHistory([&](HistoryState& h) {
            const int before = int(h.undoStack.size());
            f(h.undoStack);
            historyDidChange(h, before);
        });
    }
    // A batch just carried out on disk becomes the newest undo step.
    void record(const MoveBatch& moves)
    {
        editUndoStack([&](QList<MoveBatch>& stack) { stack << moves; });
    }

    // A batch just applied: recorded and saved at once, without waiting to merge saves. The
    // apply's journal (may be empty) is removed once the history and the log are both stored.
    void recordApplied(const MoveBatch& moves, const QString& journal);

    void loadHistory();
    // Turns the journals of applies a crash interrupted into undo batches; called at launch
    // once the history is loaded. Returns what the user is told, empty when there were none.
    QString recoverJournals();
    void appendRenameLog(const MoveBatch& moves, RenameLogEntry::Action action);
    void clearRenameLog();
    QList<QByteArray> folderBookmarks(const MoveBatch& moves) const;
    void undoLast();
    // Undoes the newest `position` + 1 batches, newest first (the history menu's "Undo back to").
    void undoBackTo(int position);
    void restoreAll();
    // Puts the moves that undoing the batch at `index` could not carry out in its place, with the
    // batch's date, so undo can be tried again; with none left the batch leaves the history. No
    // log entry is written: nothing moved.
    void keepNotUndone(qsizetype index, const MoveBatch& kept);
    QStringList historySummaries() const;
    void saveHistoryAsync();
    void saveRenameLogAsync();
    // Runs pending saves now and waits for the writer; called when quitting.
    void flushPendingSaves();
    QString historyFilePath() const;
    QString renameLogFilePath() const;
    const HistoryWriter& historyWriter() const { return m_historyWriter; }

private:
    void historyDidChange(HistoryState& h, int previousCount);
    void scheduleSave(bool& flag, void (History::*save)());
    bool saveHistory(const std::function<void()>& failed);
    bool saveRenameLog(const std::function<void()>& failed);
    void saveNow(const QString& journal);
    void addHistoryScopedFolders(const QStringList& folders);
    void resolveHistoryBookmarks(const QList<QByteArray>& bookmarks);
    std::function<void(const QString&)> saveFailureReporter(bool history, std::function<void()> failed = {});

    Store& m_store;
    bool m_historySaveScheduled = false;
    bool m_logSaveScheduled = false;
    QSet<QString> m_unwritableFiles;  // damaged files that could not be moved aside
    HistoryWriter m_historyWriter;
};
