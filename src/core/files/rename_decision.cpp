#include "files/rename_decision.h"

#include "model/name_validation.h"
#include "platform/lang.h"

#include <QFile>
#include <QHash>
#include <QSet>
#include <dirent.h>
#include <optional>
#include <sys/stat.h>

namespace {

// Lower-cased text for comparing names that differ only by case. Most paths are ASCII, where a
// plain loop gives the same text far faster than the full Unicode mapping.
QString lowerKey(const QString& path)
{
    QString out(path.size(), Qt::Uninitialized);
    char16_t* dst = reinterpret_cast<char16_t*>(out.data());
    const char16_t* src = reinterpret_cast<const char16_t*>(path.constData());
    for (qsizetype i = 0; i < path.size(); ++i) {
        const char16_t c = src[i];
        if (c >= 0x80)
            return path.toLower();
        dst[i] = (c >= u'A' && c <= u'Z') ? char16_t(c + 32) : c;
    }
    return out;
}

// The path of `name` in `folder`. A valid name has no "/" and is not "." or "..", so the joined
// path is as clean as the folder's.
QString joined(const QString& folder, const QString& name)
{
    return folder.endsWith(u'/') ? folder + name : folder + u'/' + name;
}

// The entries of a folder as stored, and lower-cased for a second look on volumes that ignore case.
struct FolderListing {
    QSet<QByteArray> exact;
    QSet<QString> folded;
};

// Many targets in one folder are answered from one read of the folder instead of a lookup each;
// a lookup of a missing name costs far more than reading its entry. Nothing when the folder has
// few targets or cannot be read (each target is then looked up).
std::optional<FolderListing> listingFor(const QString& folder, qsizetype targets)
{
    constexpr qsizetype kListingThreshold = 64;
    if (targets < kListingThreshold)
        return std::nullopt;
    DIR* dir = ::opendir(QFile::encodeName(folder).constData());
    if (!dir)
        return std::nullopt;
    FolderListing listing;
    while (const dirent* entry = ::readdir(dir)) {
        const QByteArray name(entry->d_name);
        listing.exact.insert(name);
        listing.folded.insert(lowerKey(QFile::decodeName(name)));
    }
    ::closedir(dir);
    return listing;
}

bool hasEntry(const QString& folder, const QByteArray& name)
{
    DIR* dir = ::opendir(QFile::encodeName(folder).constData());
    if (!dir)
        return false;
    bool found = false;
    while (const dirent* entry = ::readdir(dir))
        if (name == entry->d_name) {
            found = true;
            break;
        }
    ::closedir(dir);
    return found;
}

}  // namespace

QString RenameDecision::reasonText(qsizetype row) const
{
    switch (verdicts.at(row)) {
    case RenameVerdict::invalid: return reasons.at(row);
    case RenameVerdict::duplicate:
        return L("another file in the list would get the same name", "列表里另一个文件会得到同样的名字");
    case RenameVerdict::heldInList:
    case RenameVerdict::taken: return L("a file with this name already exists in the folder", "文件夹里已有同名文件");
    case RenameVerdict::unchanged:
    case RenameVerdict::rename: break;
    }
    return {};
}

RenameDecision decideRenames(const QList<RenameCandidate>& rows, const TakenTargets& taken)
{
    const qsizetype n = rows.size();
    RenameDecision d;
    d.verdicts = QList<RenameVerdict>(n, RenameVerdict::unchanged);
    d.targets.resize(n);
    d.reasons.resize(n);

    QList<QString> keys(n);                // the lower-cased target of each row with a valid new name
    QHash<QString, qsizetype> owners;      // lower-cased target → the one row wanting it, -1 when several
    QHash<QString, qsizetype> movingFrom;  // exact path → the row whose file leaves it
    QSet<QString> staying;                 // lower-cased paths of listed files that keep their names
    owners.reserve(n);
    movingFrom.reserve(n);
    for (qsizetype i = 0; i < n; ++i) {
        const RenameCandidate& row = rows.at(i);
        if (row.proposed == row.name) {
            staying.insert(lowerKey(row.from));
            continue;
        }
        if (auto why = validateNewName(row.proposed, row.name)) {
            d.verdicts[i] = RenameVerdict::invalid;
            d.reasons[i] = *why;
            continue;
        }
        d.verdicts[i] = RenameVerdict::rename;
        d.targets[i] = joined(PathText::parent(row.from), row.proposed);
        keys[i] = lowerKey(d.targets[i]);
        const auto owner = owners.find(keys[i]);
        if (owner == owners.end())
            owners.insert(keys[i], i);
        else
            *owner = -1;
        movingFrom.insert(row.from, i);
    }
    for (qsizetype i = 0; i < n; ++i) {
        if (d.verdicts[i] != RenameVerdict::rename)
            continue;
        if (owners.value(keys[i]) < 0)
            d.verdicts[i] = RenameVerdict::duplicate;
        else if (staying.contains(keys[i]))
            d.verdicts[i] = RenameVerdict::heldInList;
    }

    // A target is left free only by a listed file that moves away from exactly that path; every
    // other target is looked up on the disk. A row whose own file turns out to stay hands the
    // lookup on to the row that waited for its place.
    QList<qsizetype> waiter(n, -1);
    QList<qsizetype> pending;
    for (qsizetype i = 0; i < n; ++i) {
        if (d.verdicts[i] != RenameVerdict::rename)
            continue;
        const qsizetype holder = movingFrom.value(d.targets[i], -1);
        if (holder >= 0 && d.verdicts[holder] == RenameVerdict::rename)
            waiter[holder] = i;  // one at most: a second row wanting the path is a duplicate
        else
            pending << i;
    }
    while (!pending.isEmpty()) {
        QHash<QString, QList<qsizetype>> byFolder;
        for (qsizetype i : std::as_const(pending))
            byFolder[PathText::parent(d.targets[i])] << i;
        pending.clear();
        for (auto it = byFolder.cbegin(); it != byFolder.cend(); ++it) {
            QList<Move> moves;
            moves.reserve(it->size());
            for (qsizetype i : *it)
                moves << Move{rows.at(i).from, d.targets[i]};
            const QList<bool> held = taken(it.key(), moves);
            for (qsizetype k = 0; k < it->size(); ++k) {
                if (!held.value(k))
                    continue;
                const qsizetype i = it->at(k);
                d.verdicts[i] = RenameVerdict::taken;
                if (waiter[i] >= 0)
                    pending << waiter[i];
            }
        }
    }
    d.willRename = int(std::count(d.verdicts.cbegin(), d.verdicts.cend(), RenameVerdict::rename));
    return d;
}

QList<bool> targetsTakenOnDisk(const QString& folder, const QList<Move>& moves)
{
    QList<bool> out(moves.size(), false);
    const std::optional<FolderListing> listing = listingFor(folder, moves.size());
    for (qsizetype k = 0; k < moves.size(); ++k) {
        const QString name = PathText::lastComponent(moves[k].to);
        const QByteArray nameBytes = QFile::encodeName(name);
        if (listing) {
            if (listing->exact.contains(nameBytes)) {
                out[k] = true;  // an entry of exactly this name: never the moving file's own
                continue;
            }
            if (!listing->folded.contains(lowerKey(name)))
                continue;
        }
        struct stat at {};
        if (::lstat(QFile::encodeName(moves[k].to).constData(), &at) != 0)
            continue;
        struct stat self {};
        const bool itself = ::lstat(QFile::encodeName(moves[k].from).constData(), &self) == 0
                         && self.st_dev == at.st_dev && self.st_ino == at.st_ino;
        // The moving file found under the target's spelling is either the file itself, reached
        // on a volume that ignores case, or a second hard link, an entry of its own.
        out[k] = !itself || (!listing && hasEntry(folder, nameBytes));
    }
    return out;
}
