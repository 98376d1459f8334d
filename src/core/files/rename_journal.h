#pragma once
// A record on disk of the batch being applied, so that a crash part-way (a kill, an out-of-memory
// kill, a power cut) loses neither the undo of the renames already done nor a file parked under a
// temporary name. Before the first move the whole plan (every move, the temporary names
// included) is written and synced; each move is marked as it completes in a mapped part of the
// same file (a store to memory, so the apply stays close to the bare moves), synced in chunks
// beside the moves and in full once the batch is done.
// The file goes once the batch is in the stored history; one left behind is recovered at launch.
#include "files/rename_batch.h"

#include <QDateTime>
#include <QFuture>
#include <QString>
#include <QStringList>
#include <optional>

class RenameJournal {
public:
    // Journals live in the support folder under this pattern, one per apply.
    static constexpr const char* kFilePattern = "rename-journal-*.json";
    static QString newPathIn(const QString& supportFolder);
    // The journals in the support folder, oldest first.
    static QStringList pathsIn(const QString& supportFolder);

    // `path` empty: the batch runs without a journal.
    explicit RenameJournal(QString path);
    ~RenameJournal();
    RenameJournal(const RenameJournal&) = delete;
    RenameJournal& operator=(const RenameJournal&) = delete;

    // Runs the batch on `disk`. When the plan can't be written (a full or read-only support
    // folder) the batch still runs, without a record; written() says which happened.
    RenameBatchResult run(const QList<FileItem>& items, const RenamePlan& plan, BatchDisk& disk);
    bool written() const { return m_fd >= 0; }
    const QString& path() const { return m_path; }

    // Removes plans a crash cut off while they were being written (nothing had moved yet).
    static void removeUnfinished(const QString& supportFolder);
    // Removes a journal whose batch is safely stored.
    static void discard(const QString& path);

    // What a journal left behind by an interrupted apply comes to. The completed moves are
    // verified against the disk where the record can't tell (the move under way when the
    // process died); a file still under a temporary name goes on to its intended name or back
    // to its old one, never over anything.
    struct Recovery {
        QDateTime date;
        MoveBatch moves;          // in the order carried out, the moves out of hiding last
        int completed = 0;        // moves of the batch found done
        int unhidden = 0;         // parked files moved to a visible name
        QStringList stillHidden;  // parked files every visible name was refused for
        bool damaged = false;     // the file could not be read; set aside (or not: see error)
        QString keptAs;
        QString error;
    };
    static Recovery recover(const QString& path);

    // Tests: the moves a journal file plans (nothing when it can't be read).
    static std::optional<MoveBatch> plannedMoves(const QString& path);

    // Progress bookkeeping used while the batch runs (by the disk wrapper in the .cpp).
    qsizetype beginMove(const QString& from, const QString& to);
    void endMove(qsizetype token, bool done);

private:
    bool open(MoveBatch plan);
    void syncChunk();
    void syncNow();

    QString m_path;
    int m_fd = -1;
    // The moves planned: the batch's own entries, shared, when each goes straight to its target;
    // else the moves worked out with the parking.
    MoveBatch m_plan;
    QHash<QString, qsizetype> m_planIndex;  // built on the first move off the plan's order
    qsizetype m_cursor = 0;                 // the next planned move expected
    char* m_map = nullptr;
    qsizetype m_mapSize = 0;
    char* m_marks = nullptr;  // one byte per planned move
    int m_sinceSync = 0;
    QFuture<void> m_chunkSync;
};
