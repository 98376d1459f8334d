#include "files/rename_decision.h"

#include "model/name_validation.h"
#include "platform/lang.h"

#include <QFile>
#include <QHash>
#include <QSet>
#include <ctime>
#include <dirent.h>
#include <sys/stat.h>
#include <vector>

namespace {

// Lower-cased text for comparing names that differ only by case. Most paths are ASCII, where a
// plain loop gives the same text far faster than the full Unicode mapping.
QString lowerKey(const QString& path)
{
    // Already lower case: the text itself, shared rather than copied.
    qsizetype first = 0;
    for (const char16_t* c = reinterpret_cast<const char16_t*>(path.constData()); first < path.size(); ++first) {
        if (c[first] >= 0x80 || (c[first] >= u'A' && c[first] <= u'Z'))
            break;
    }
    if (first == path.size())
        return path;
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

// Many targets in one folder are answered from one read of the folder instead of a lookup each;
// a lookup of a missing name costs far more than reading its entry.
constexpr qsizetype kListingThreshold = 64;
// A folder changed this close to the moment it was read may change again within the same tick
// of its clock (two seconds on FAT) without a new modification time.
constexpr qint64 kSettledNs = 2'000'000'000;
constexpr qsizetype kKeptListings = 32;

// The hash of a name's lower-cased text (lowerKey), without building that text for ASCII names.
size_t foldedHash(QStringView name)
{
    constexpr qsizetype kBuffer = 256;
    char16_t buffer[kBuffer];
    if (name.size() <= kBuffer) {
        qsizetype i = 0;
        for (; i < name.size(); ++i) {
            const char16_t c = name.at(i).unicode();
            if (c >= 0x80)
                break;
            buffer[i] = (c >= u'A' && c <= u'Z') ? char16_t(c + 32) : c;
        }
        if (i == name.size())
            return qHashBits(buffer, size_t(i) * sizeof(char16_t));
    }
    const QString lowered = lowerKey(name.toString());
    return qHashBits(lowered.constData(), size_t(lowered.size()) * sizeof(QChar));
}

qint64 nanoseconds(const struct timespec& t)
{
    return qint64(t.tv_sec) * 1'000'000'000 + t.tv_nsec;
}

}  // namespace

// The entries of a folder as stored: their bytes back to back, a table of them by hash, and the
// hashes of their lower-cased names for a second look on volumes that ignore case (a match
// there is only a hint, settled by a lookup of the target).
struct FolderListings::Listing {
    QByteArray names;
    std::vector<quint32> ends;    // entry i is names[ends[i-1] (or 0) .. ends[i])
    std::vector<quint32> exact;   // open addressing: entry number + 1, 0 for a free slot
    std::vector<quint64> folded;  // open addressing: hash | 1, 0 for a free slot
    dev_t device = 0;
    ino_t inode = 0;
    qint64 modified = 0;
    bool settled = false;  // read long enough after its last change to be kept

    QByteArrayView entry(quint32 i) const
    {
        const quint32 begin = i == 0 ? 0 : ends[i - 1];
        return QByteArrayView(names.constData() + begin, ends[i] - begin);
    }
    static size_t exactHash(QByteArrayView name) { return qHashBits(name.data(), size_t(name.size())); }

    bool hasExact(QByteArrayView name) const
    {
        const size_t mask = exact.size() - 1;
        for (size_t slot = exactHash(name) & mask; exact[slot] != 0; slot = (slot + 1) & mask)
            if (entry(exact[slot] - 1) == name)
                return true;
        return false;
    }
    bool mayHoldFolded(QStringView name) const
    {
        const quint64 h = quint64(foldedHash(name)) | 1;
        const size_t mask = folded.size() - 1;
        for (size_t slot = (h >> 1) & mask; folded[slot] != 0; slot = (slot + 1) & mask)
            if (folded[slot] == h)
                return true;
        return false;
    }
    void index()
    {
        const size_t n = ends.size();
        size_t width = 16;
        while (width < 2 * n)
            width *= 2;
        exact.assign(width, 0);
        folded.assign(width, 0);
        for (quint32 i = 0; i < n; ++i) {
            const QByteArrayView name = entry(i);
            size_t slot = exactHash(name) & (width - 1);
            while (exact[slot] != 0)
                slot = (slot + 1) & (width - 1);
            exact[slot] = i + 1;

            bool ascii = true;
            for (char c : name)
                ascii = ascii && uchar(c) < 0x80;
            const quint64 h = quint64(ascii ? foldedHash(QString::fromLatin1(name))
                                            : foldedHash(QFile::decodeName(name.toByteArray())))
                            | 1;
            size_t f = (h >> 1) & (width - 1);
            while (folded[f] != 0 && folded[f] != h)
                f = (f + 1) & (width - 1);
            folded[f] = h;
        }
    }
    bool unchanged(const QString& folder) const
    {
        struct stat st {};
        return ::stat(QFile::encodeName(folder).constData(), &st) == 0 && st.st_dev == device && st.st_ino == inode
            && nanoseconds(st.st_mtim) == modified;
    }
};

namespace {

// Nothing when the folder cannot be read (each target is then looked up).
std::shared_ptr<FolderListings::Listing> readListing(const QString& folder)
{
    struct timespec readAt {};
    ::clock_gettime(CLOCK_REALTIME, &readAt);
    DIR* dir = ::opendir(QFile::encodeName(folder).constData());
    if (!dir)
        return nullptr;
    auto listing = std::make_shared<FolderListings::Listing>();
    struct stat st {};
    if (::fstat(::dirfd(dir), &st) == 0) {
        listing->device = st.st_dev;
        listing->inode = st.st_ino;
        listing->modified = nanoseconds(st.st_mtim);
        listing->settled = nanoseconds(readAt) - listing->modified >= kSettledNs;
    }
    while (const dirent* entry = ::readdir(dir)) {
        listing->names.append(entry->d_name);
        listing->ends.push_back(quint32(listing->names.size()));
    }
    ::closedir(dir);
    listing->index();
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

// PathText::parent(path), sharing the text of `last` when the path lies directly in it (a list
// holds long runs of files of one folder).
QString folderOf(const QString& path, QString& last)
{
    const qsizetype n = last.size();
    if (n > 1 && path.size() > n + 1 && path.at(n) == u'/' && !path.endsWith(u'/') && path.indexOf(u'/', n + 1) < 0
        && QStringView(path).left(n) == last)
        return last;
    last = PathText::parent(path);
    return last;
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
    QList<QString> folders(n);             // the folder of each row with a valid new name
    QString lastFolder;
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
        folders[i] = folderOf(row.from, lastFolder);
        d.targets[i] = joined(folders[i], row.proposed);
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
        // A valid new name has no "/": the target's folder is the listed file's.
        for (qsizetype i : std::as_const(pending))
            byFolder[folders[i]] << i;
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

namespace {

QList<bool> takenWith(const QString& folder, const QList<Move>& moves, const FolderListings::Listing* listing)
{
    QList<bool> out(moves.size(), false);
    for (qsizetype k = 0; k < moves.size(); ++k) {
        if (listing) {
            // Most names are short ASCII, whose bytes are their characters: looked up without
            // building any text.
            const QString& to = moves[k].to;
            const qsizetype slash = to.lastIndexOf(u'/');
            const QStringView name = QStringView(to).mid(slash + 1);
            char ascii[256];
            bool plain = slash >= 0 && !name.isEmpty() && name.size() <= qsizetype(sizeof ascii);
            for (qsizetype i = 0; plain && i < name.size(); ++i) {
                plain = name.at(i).unicode() < 0x80;
                ascii[i] = char(name.at(i).unicode());
            }
            const bool exact = plain ? listing->hasExact(QByteArrayView(ascii, name.size()))
                                     : listing->hasExact(QFile::encodeName(PathText::lastComponent(to)));
            if (exact) {
                out[k] = true;  // an entry of exactly this name: never the moving file's own
                continue;
            }
            if (!(plain ? listing->mayHoldFolded(name) : listing->mayHoldFolded(PathText::lastComponent(to))))
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
        out[k] = !itself || (!listing && hasEntry(folder, QFile::encodeName(PathText::lastComponent(moves[k].to))));
    }
    return out;
}

}  // namespace

QList<bool> targetsTakenOnDisk(const QString& folder, const QList<Move>& moves)
{
    const auto listing = moves.size() >= kListingThreshold ? readListing(folder) : nullptr;
    return takenWith(folder, moves, listing.get());
}

FolderListings::FolderListings() = default;
FolderListings::~FolderListings() = default;

qsizetype FolderListings::size() const
{
    QMutexLocker lock(&m_mutex);
    return m_kept.size();
}

QList<bool> FolderListings::taken(const QString& folder, const QList<Move>& moves)
{
    std::shared_ptr<const Listing> listing;
    {
        QMutexLocker lock(&m_mutex);
        listing = m_kept.value(folder);
    }
    if (listing && !listing->unchanged(folder)) {
        listing.reset();
        QMutexLocker lock(&m_mutex);
        m_kept.remove(folder);
    }
    if (!listing && moves.size() >= kListingThreshold) {
        listing = readListing(folder);
        if (listing && listing->settled) {
            QMutexLocker lock(&m_mutex);
            if (m_kept.size() >= kKeptListings)
                m_kept.clear();
            m_kept.insert(folder, listing);
        }
    }
    return takenWith(folder, moves, listing.get());
}
