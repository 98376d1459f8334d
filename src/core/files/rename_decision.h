#pragma once
// Which rows of a batch will be renamed and why the others won't. The preview shows this
// decision and Apply carries it out, so the two never disagree about a row.
//
// The stricter reading is kept throughout: new names that differ only in letter case collide
// (files are copied to cards and shares that fold case), and a target is taken unless a listed
// file that really moves away leaves exactly that path (same letters, same case).
#include "model/store.h"

#include <QHash>
#include <QList>
#include <QMutex>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

struct RenameCandidate {
    QString from;      // the listed file's path
    QString name;      // its current name
    QString proposed;  // the new full name
};

enum class RenameVerdict {
    unchanged,  // the proposed name is the current one
    rename,
    invalid,     // the name itself can't be used (the reason says why)
    duplicate,   // another row of the batch would get the same name, letter case aside
    heldInList,  // a listed file that keeps its name already has it, letter case aside
    taken,       // something on the disk that stays holds the target
};

struct RenameDecision {
    QList<RenameVerdict> verdicts;      // one per candidate, in the candidates' order
    QList<QString> targets;             // the target path of each row to rename
    QHash<qsizetype, QString> reasons;  // the validation reason of each invalid row, by row
    int willRename = 0;
    // The reason the preview shows for a row, in the current interface language.
    QString reasonText(qsizetype row) const;
};

// Asked once per folder for the targets the list alone cannot settle: true for each move whose
// target is held by something other than the moving file itself.
using TakenTargets = std::function<QList<bool>(const QString& folder, const QList<Move>& moves)>;

RenameDecision decideRenames(const QList<RenameCandidate>& candidates, const TakenTargets& taken);

// A candidate whose texts are kept elsewhere (a batch's list and plan): a large batch is decided
// without a copy of each.
struct CandidateRef {
    const QString& from;
    const QString& name;
    const QString& proposed;
};
// The decision on such rows leaves `targets` empty: targetPath() gives a row's.
RenameDecision decideRenames(const std::vector<CandidateRef>& candidates, const TakenTargets& taken);
// decideRenames() asking the real disk, as targetsTakenOnDisk() answers, without a list of
// moves built for each folder.
RenameDecision decideRenamesOnDisk(const std::vector<CandidateRef>& candidates);
// The path a row's file is renamed to: its folder, as the list spells it, joined with the new
// (valid) name.
QString targetPath(const QString& from, const QString& name);

class FolderListings;
// The same decision for the preview, without the target paths (`targets` stays empty): the
// disk is asked through the listings kept in `listings`, or as targetsTakenOnDisk() does when
// there are none.
RenameDecision previewDecision(const QList<RenameCandidate>& candidates, FolderListings* listings);

// The real disk's answer. A target is free when nothing is there, or when what is there is the
// moving file itself reached through another spelling (a volume that ignores case); a second
// hard link to the same file is a separate name and holds the target.
QList<bool> targetsTakenOnDisk(const QString& folder, const QList<Move>& moves);

// Folder listings kept from one preview to the next, so that a check after each keystroke does
// not read a large folder again. A listing is used only while its folder is unchanged (same
// device, inode and modification time), and kept only once that time is far enough behind the
// moment it was read that a change within the same clock tick cannot hide. Apply never asks
// here: it looks at the disk itself. Safe to share between threads.
class FolderListings {
public:
    FolderListings();
    ~FolderListings();
    FolderListings(const FolderListings&) = delete;
    FolderListings& operator=(const FolderListings&) = delete;

    // The answer of targetsTakenOnDisk, from a kept listing where there is one.
    QList<bool> taken(const QString& folder, const QList<Move>& moves);
    // Folders whose listing is kept.
    qsizetype size() const;

    struct Listing;
    // The folder's kept listing, read now when there is none and `moves` targets are many
    // enough to pay for it; nothing when each target is to be looked up.
    std::shared_ptr<const Listing> listing(const QString& folder, qsizetype moves);

private:
    mutable QMutex m_mutex;
    QHash<QString, std::shared_ptr<const Listing>> m_kept;
};
