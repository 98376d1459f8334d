#pragma once
// A batch of renames worked out move by move: the entries the preview's decision skips
// (rename_decision.h), the order (deepest first), and which files of the batch are parked under a
// temporary name to free a target.
// The batch asks a BatchDisk about the disk and has it move; with a SimulatedDisk it only plans,
// so the moves can be checked and measured without a Store or a file system.
#include "files/item_bookkeeping.h"
#include "model/store.h"
#include "platform/safe_move.h"

#include <QHash>
#include <QSet>
#include <QUuid>
#include <optional>

// Maps an item id to its proposed full name.
using RenamePlan = QHash<QUuid, QString>;

class BatchDisk {
public:
    virtual ~BatchDisk() = default;
    virtual bool exists(const QString& path) const = 0;
    virtual bool sameFile(const QString& a, const QString& b) const = 0;
    // For each move of one folder: true when its target is held by something other than the
    // moving file. By default: something exists there that sameFile() does not recognise.
    virtual QList<bool> taken(const QString& folder, const QList<Move>& moves) const;
    // True when taken() is targetsTakenOnDisk(): the decision then asks the disk itself.
    virtual bool takenOnRealDisk() const { return false; }
    // A no-replace move.
    virtual std::optional<MoveError> move(const QString& from, const QString& to) = 0;
    // Asks for access after a refused move and retries it once; true when it then worked.
    virtual bool retryWithAccess(const QString& from, const QString& to, const std::optional<MoveError>& error) = 0;
    virtual QString temporaryName() = 0;
};

// A disk that only exists in memory: a set of paths. Moves succeed unless the target is taken.
class SimulatedDisk : public BatchDisk {
public:
    explicit SimulatedDisk(QSet<QString> existing) : m_paths(std::move(existing)) {}
    bool exists(const QString& path) const override { return m_paths.contains(path); }
    bool sameFile(const QString& a, const QString& b) const override { return a == b; }
    std::optional<MoveError> move(const QString& from, const QString& to) override;
    bool retryWithAccess(const QString&, const QString&, const std::optional<MoveError>&) override { return false; }
    QString temporaryName() override;

private:
    QSet<QString> m_paths;
    int m_temporaries = 0;
};

struct RenameBatchResult {
    // In the order carried out, parking moves included. When they are exactly the batch's
    // entries, they are the entries' own list.
    MoveBatch moves;
    int renamed = 0;
    int skipped = 0;
    QString reason;          // why the last skipped entry was skipped, when known
    bool anyToMove = false;  // false: every entry was skipped or already had its name
    int leftHidden = 0;      // files of the batch still under a temporary name (undo brings them back)
    // Where each listed item the batch moved ended up, so the list can follow without matching paths.
    ItemMoves itemMoves;
};

// A batch decided but not yet carried out: the entries to move (each a listed item's), deepest
// first, and the rows skipped so far (counted in `result`). Once every entry has reached its
// target, the entries are also the record of where each listed item went.
struct DecidedBatch {
    ItemMoves entries;
    RenameBatchResult result;
    // True when no entry's target is where another entry's file starts: every move can go
    // straight to its target, and nothing is ever parked unless the disk changes meanwhile.
    bool chainFree() const;
};

// The entries of `plan` that decideRenames() lets through, asking `disk` once which targets are
// taken. Items keep their list order until the deepest-first sort.
DecidedBatch decideBatch(const QList<FileItem>& items, const RenamePlan& plan, const BatchDisk& disk);
// Carries out a decided batch on `disk`.
RenameBatchResult carryOutBatch(DecidedBatch batch, BatchDisk& disk);

// True for a clean path whose last component is a temporary name (looked at in place: batches
// ask this for every move).
bool endsInTemporaryName(const QString& path);

// Renames the listed items that `plan` names, on `disk`: decideBatch() then carryOutBatch().
RenameBatchResult runRenameBatch(const QList<FileItem>& items, const RenamePlan& plan, BatchDisk& disk);

// The moves of a batch when every move works, on a disk holding exactly `existing`.
RenameBatchResult planRenameBatch(const QList<FileItem>& items, const RenamePlan& plan, const QSet<QString>& existing);
