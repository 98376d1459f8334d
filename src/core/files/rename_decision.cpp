#include "files/rename_decision.h"

#include "model/name_validation.h"
#include "platform/in_parts.h"
#include "platform/lang.h"

#include <QFile>
#include <QHash>
#include <QScopeGuard>
#include <QSet>
#include <QtConcurrent/QtConcurrentRun>
#include <algorithm>
#include <atomic>
#include <ctime>
#include <dirent.h>
#include <memory>
#include <optional>
#include <sys/stat.h>
#include <unordered_map>
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

// `name` in the folder of `path`, whose last "/" is at `slash`: one allocation, the folder's text
// copied as it is.
QString besideFile(const QString& path, qsizetype slash, const QString& name)
{
    QString out;
    out.reserve(slash + 1 + name.size());
    out.append(QStringView(path).first(slash + 1));
    out.append(name);
    return out;
}

// Many targets in one folder are answered from one read of the folder instead of a lookup each;
// a lookup of a missing name costs far more than reading its entry.
constexpr qsizetype kListingThreshold = 64;
// A folder changed this close to the moment it was read may change again within the same tick
// of its clock (two seconds on FAT) without a new modification time.
constexpr qint64 kSettledNs = 2'000'000'000;
constexpr qsizetype kKeptListings = 32;

// The hash lowerKey() text would have, for a name of plain ASCII characters (`unit(i)` gives
// each); nothing for any other name, whose lower case needs the full rules.
template <typename Unit> std::optional<size_t> asciiFoldedHash(qsizetype size, Unit unit)
{
    constexpr qsizetype kBuffer = 256;
    char16_t buffer[kBuffer];
    if (size > kBuffer)
        return std::nullopt;
    for (qsizetype i = 0; i < size; ++i) {
        const char16_t c = unit(i);
        if (c >= 0x80)
            return std::nullopt;
        buffer[i] = (c >= u'A' && c <= u'Z') ? char16_t(c + 32) : c;
    }
    return qHashBits(buffer, size_t(size) * sizeof(char16_t));
}

// The hash of a name's lower-cased text (lowerKey), without building that text for ASCII names.
size_t foldedHash(QStringView name)
{
    if (const auto ascii = asciiFoldedHash(name.size(), [name](qsizetype i) { return name.at(i).unicode(); }))
        return *ascii;
    const QString lowered = lowerKey(name.toString());
    return qHashBits(lowered.constData(), size_t(lowered.size()) * sizeof(QChar));
}

// foldedHash() of a folder entry's name as stored, without decoding a plain ASCII name.
size_t foldedHashOfEntry(QByteArrayView name)
{
    if (const auto ascii = asciiFoldedHash(name.size(), [name](qsizetype i) { return char16_t(uchar(name.at(i))); }))
        return *ascii;
    return foldedHash(QFile::decodeName(name.toByteArray()));
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
    std::vector<quint32> ends;          // entry i is names[ends[i-1] (or 0) .. ends[i])
    std::unique_ptr<quint32[]> exact;   // open addressing: entry number + 1, 0 for a free slot
    std::unique_ptr<quint64[]> folded;  // open addressing: hash | 1, 0 for a free slot
    size_t width = 0;                   // slots in each table, a power of two
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

    // Room for the entries of a folder of `size` bytes as the file system counts them: on ext4
    // its blocks, which hold every name and more (about 24 bytes an entry); on tmpfs and some
    // others less, and the names then grow as before. Grown twofold from nothing, the names of a
    // large folder would be copied again and again, each copy's pages faulted in anew.
    void reserveFor(qint64 size)
    {
        constexpr qint64 kMostReserved = 64 << 20;
        const qint64 bytes = std::clamp<qint64>(size, 0, kMostReserved);
        names.reserve(bytes);
        ends.reserve(size_t(bytes / 24));
    }

    bool hasExact(QByteArrayView name) const
    {
        const size_t mask = width - 1;
        for (size_t slot = exactHash(name) & mask; exact[slot] != 0; slot = (slot + 1) & mask)
            if (entry(exact[slot] - 1) == name)
                return true;
        return false;
    }
    bool mayHoldFolded(QStringView name) const
    {
        const quint64 h = quint64(foldedHash(name)) | 1;
        const size_t mask = width - 1;
        for (size_t slot = (h >> 1) & mask; folded[slot] != 0; slot = (slot + 1) & mask)
            if (folded[slot] == h)
                return true;
        return false;
    }
    // Both tables are cleared and filled on several threads: a fill is a run of scattered writes
    // that waits on memory far more than it computes, and the first write to each page of a new
    // table is a fault.
    void index()
    {
        const size_t n = ends.size();
        width = 16;
        while (width < 2 * n)
            width *= 2;
        exact = std::make_unique_for_overwrite<quint32[]>(width);
        folded = std::make_unique_for_overwrite<quint64[]>(width);
        inParts(qsizetype(width), [this](qsizetype begin, qsizetype end) {
            std::fill(exact.get() + begin, exact.get() + end, 0);
            std::fill(folded.get() + begin, folded.get() + end, 0);
        });
        const size_t mask = width - 1;
        inParts(qsizetype(n), [&](qsizetype begin, qsizetype end) {
            for (quint32 i = quint32(begin); i < quint32(end); ++i) {
                claimSlot(exact.get(), exactHash(entry(i)) & mask, i + 1);
                const quint64 h = quint64(foldedHashOfEntry(entry(i))) | 1;
                claimSlot(folded.get(), (h >> 1) & mask, h);
            }
        });
    }
    // Puts `value` in the first free slot from `slot` on, unless a slot on the way holds it
    // already (a folded hash met twice). Other threads may be claiming slots of the same table.
    template <typename T> void claimSlot(T* table, size_t slot, T value)
    {
        for (;; slot = (slot + 1) & (width - 1)) {
            T seen = 0;
            if (std::atomic_ref<T>(table[slot]).compare_exchange_strong(seen, value, std::memory_order_relaxed)
                || seen == value)
                return;
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
        listing->reserveFor(st.st_size);
    }
    while (const dirent* entry = ::readdir(dir)) {
        listing->names.append(entry->d_name);
        listing->ends.push_back(quint32(listing->names.size()));
    }
    ::closedir(dir);
    // A folder that once held many more files keeps its size: the room left over goes back.
    listing->names.squeeze();
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

using EarlyListings = QHash<QString, std::shared_ptr<FolderListings::Listing>>;
QString folderOf(const QString& path, QString& last);

// The folders where enough rows change their names for the decision to read the folder (as
// targetsTakenOnDisk() does), counted on several threads. Rows of one folder come in runs,
// counted before their folder is looked up.
QStringList busyFolders(const std::vector<CandidateRef>& rows)
{
    QHash<QString, qsizetype> changing;
    QMutex changingLock;
    inParts(qsizetype(rows.size()), [&](qsizetype begin, qsizetype end) {
        QList<std::pair<QString, qsizetype>> runs;
        QString last;
        for (qsizetype i = begin; i < end; ++i) {
            const CandidateRef& row = rows[size_t(i)];
            if (row.proposed == row.name)
                continue;
            const QString folder = folderOf(row.from, last);
            if (runs.isEmpty() || runs.last().first.constData() != folder.constData())
                runs.append({folder, 0});
            ++runs.last().second;
        }
        QMutexLocker lock(&changingLock);
        for (const auto& [folder, count] : std::as_const(runs))
            changing[folder] += count;
    });
    QStringList out;
    for (auto it = changing.cbegin(); it != changing.cend(); ++it)
        if (it.value() >= kListingThreshold)
            out << it.key();
    return out;
}

EarlyListings listingsOf(const QStringList& folders)
{
    EarlyListings out;
    for (const QString& folder : folders)
        if (auto listing = readListing(folder))
            out.insert(folder, std::move(listing));
    return out;
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

// A move into a folder as the listed file's path and the target's name; the target's whole path
// is built only when the disk itself must be asked about it.
struct NamedMove {
    const QString* from;
    const QString* text;  // the target's path, or its name alone
    qint32 nameAt = 0;    // where the name starts in `text`
    bool isPath = false;  // `text` is the target's path
    bool slash = true;    // the target's path has a "/"

    static NamedMove toName(const QString& from, const QString& name) { return {&from, &name}; }
    static NamedMove toPath(const QString& from, const QString& to)
    {
        const qsizetype slash = to.lastIndexOf(u'/');
        return {&from, &to, qint32(slash + 1), true, slash >= 0};
    }
    QStringView name() const { return QStringView(*text).sliced(nameAt); }
    const QString* to() const { return isPath ? text : nullptr; }
};

QString targetOf(const QString& folder, const NamedMove& m)
{
    return m.isPath ? *m.text : joined(folder, *m.text);
}

QString lastComponentOf(const NamedMove& m)
{
    return m.isPath ? PathText::lastComponent(*m.text) : *m.text;
}

bool takenWith(const QString& folder, const NamedMove& m, const FolderListings::Listing* listing)
{
    if (listing) {
        // Most names are short ASCII, whose bytes are their characters: looked up without
        // building any text.
        const QStringView name = m.name();
        char ascii[256];
        bool plain = m.slash && !name.isEmpty() && name.size() <= qsizetype(sizeof ascii);
        for (qsizetype i = 0; plain && i < name.size(); ++i) {
            plain = name.at(i).unicode() < 0x80;
            ascii[i] = char(name.at(i).unicode());
        }
        const bool exact = plain ? listing->hasExact(QByteArrayView(ascii, name.size()))
                                 : listing->hasExact(QFile::encodeName(lastComponentOf(m)));
        if (exact)
            return true;  // an entry of exactly this name: never the moving file's own
        if (!(plain ? listing->mayHoldFolded(name) : listing->mayHoldFolded(lastComponentOf(m))))
            return false;
    }
    const QString to = targetOf(folder, m);
    struct stat at {};
    if (::lstat(QFile::encodeName(to).constData(), &at) != 0)
        return false;
    struct stat self {};
    const bool itself = ::lstat(QFile::encodeName(*m.from).constData(), &self) == 0 && self.st_dev == at.st_dev
                     && self.st_ino == at.st_ino;
    // The moving file found under the target's spelling is either the file itself, reached on a
    // volume that ignores case, or a second hard link, an entry of its own.
    return !itself || (!listing && hasEntry(folder, QFile::encodeName(PathText::lastComponent(to))));
}

// Each move is answered on its own, so a long list of them is shared out among threads.
QList<bool> takenWith(const QString& folder, const std::vector<NamedMove>& moves,
                      const FolderListings::Listing* listing)
{
    QList<bool> out(qsizetype(moves.size()), false);
    bool* const held = out.data();
    inParts(qsizetype(moves.size()), [&](qsizetype begin, qsizetype end) {
        for (qsizetype k = begin; k < end; ++k)
            held[k] = takenWith(folder, moves[size_t(k)], listing);
    });
    return out;
}

std::vector<NamedMove> namedMoves(const QList<Move>& moves)
{
    std::vector<NamedMove> out;
    out.reserve(size_t(moves.size()));
    for (const Move& m : moves)
        out.push_back(NamedMove::toPath(m.from, m.to));
    return out;
}

}  // namespace

QString targetPath(const QString& from, const QString& name)
{
    // A "/" neither last nor doubled: the folder part is the path's text before it.
    const qsizetype slash = from.lastIndexOf(u'/');
    if (slash >= 0 && slash != from.size() - 1 && (slash == 0 || from.at(slash - 1) != u'/'))
        return besideFile(from, slash, name);
    QString last;
    return joined(folderOf(from, last), name);
}

QString RenameDecision::reasonText(qsizetype row) const
{
    switch (verdicts.at(row)) {
    case RenameVerdict::invalid: return reasons.value(row);
    case RenameVerdict::duplicate:
        return L("another file in the list would get the same name", "列表里另一个文件会得到同样的名字");
    case RenameVerdict::heldInList:
    case RenameVerdict::taken: return L("a file with this name already exists in the folder", "文件夹里已有同名文件");
    case RenameVerdict::unchanged:
    case RenameVerdict::rename: break;
    }
    return {};
}

namespace {

// Paths are compared as the text before their last "/" and the name after it. Two paths are
// equal exactly when both parts are, and equal letter case aside exactly when both parts are:
// lower-casing maps each character on its own and never makes or removes a "/".

bool isAscii(QStringView text)
{
    for (QChar c : text)
        if (c.unicode() >= 0x80)
            return false;
    return true;
}

// lowerKey(a) == lowerKey(b), without building either text when both are ASCII.
bool sameFolded(QStringView a, QStringView b)
{
    if (isAscii(a) && isAscii(b)) {
        if (a.size() != b.size())
            return false;
        for (qsizetype i = 0; i < a.size(); ++i) {
            char16_t x = a.at(i).unicode(), y = b.at(i).unicode();
            x = (x >= u'A' && x <= u'Z') ? char16_t(x + 32) : x;
            y = (y >= u'A' && y <= u'Z') ? char16_t(y + 32) : y;
            if (x != y)
                return false;
        }
        return true;
    }
    return lowerKey(a.toString()) == lowerKey(b.toString());
}

// Numbers for the folder parts of a list's paths, exactly and letter case aside; 0 stands for
// no folder part. Paths of one folder come in long runs, so the last folder is tried first.
class FolderNumbers {
public:
    struct Numbers {
        qsizetype exact = 0;
        qsizetype folded = 0;
    };
    Numbers of(QStringView folder)
    {
        if (folder.isNull())
            return {};
        if (m_lastNumbers.exact != 0 && folder == m_last)
            return m_lastNumbers;
        const QString text = folder.toString();
        auto it = m_exact.constFind(text);
        if (it == m_exact.constEnd()) {
            const QString folded = lowerKey(text);
            auto f = m_folded.constFind(folded);
            if (f == m_folded.constEnd())
                f = m_folded.insert(folded, m_folded.size() + 1);
            it = m_exact.insert(text, Numbers{m_exact.size() + 1, *f});
        }
        m_last = text;
        m_lastNumbers = *it;
        return *it;
    }

private:
    QHash<QString, Numbers> m_exact;
    QHash<QString, qsizetype> m_folded;
    QString m_last;
    Numbers m_lastNumbers;
};

size_t mixed(qsizetype folder, quint32 nameHash)
{
    return nameHash ^ (size_t(folder) * 0x9E3779B97F4A7C15ULL);
}

quint32 nameHash(QStringView name)
{
    return quint32(qHash(name));
}

// Rows by a key of theirs, with open addressing: each slot holds a row + 1 (0 when free) beside
// part of its key's hash, so that most probes settle in one cache line. Keys are told apart by
// `same(row)`; the table does not own what it compares.
class RowTable {
public:
    explicit RowTable(qsizetype rows)
    {
        size_t width = 16;
        while (width < size_t(2 * rows))
            width *= 2;
        m_slots.assign(width, Slot{});
    }
    // The row already filed under the key, or -1 after filing `row` under it.
    template <typename Same> qsizetype fileOnce(qsizetype row, size_t hash, Same&& same)
    {
        Slot& slot = m_slots[find(hash, same)];
        if (slot.row != 0)
            return qsizetype(slot.row) - 1;
        slot = Slot{quint32(row + 1), tag(hash)};
        return -1;
    }
    // Files `row` under the key, in place of a row filed there before.
    template <typename Same> void file(qsizetype row, size_t hash, Same&& same)
    {
        m_slots[find(hash, same)] = Slot{quint32(row + 1), tag(hash)};
    }
    // The row filed under the key, -1 when none.
    template <typename Same> qsizetype lookUp(size_t hash, Same&& same) const
    {
        return qsizetype(m_slots[find(hash, same)].row) - 1;
    }

private:
    struct Slot {
        quint32 row = 0;
        quint32 tag = 0;
    };
    static quint32 tag(size_t hash) { return quint32(hash >> 32) ^ quint32(hash); }
    template <typename Same> size_t find(size_t hash, Same&& same) const
    {
        const size_t mask = m_slots.size() - 1;
        const quint32 t = tag(hash);
        size_t slot = (hash * 0x9E3779B97F4A7C15ULL >> 20) & mask;
        while (m_slots[slot].row != 0 && !(m_slots[slot].tag == t && same(qsizetype(m_slots[slot].row) - 1)))
            slot = (slot + 1) & mask;
        return slot;
    }
    std::vector<Slot> m_slots;
};

// What the decision needs of each row beyond its candidate.
struct RowKeys {
    qint32 slash = -1;               // of the listed file's path: its last "/"
    bool plain = false;              // the target's folder part is the file's: a "/" not last nor doubled
    bool folderEndsInSlash = false;  // the file's folder ends in "/" (the root)
    qint32 fromFolder = 0;           // the exact number of the file's folder part
    qint32 targetFolder = 0;         // the exact number of the target's folder part
    qint32 foldedFolder = 0;         // the target's (or a staying file's) folder part, letter case aside
    qint32 owner = -1;               // the first row wanting the same target, letter case aside
    qint32 wanting = 0;              // of a first row: the rows wanting its target
    quint32 foldedName = 0;          // hash of the new name (a staying file's own), letter case aside
    quint32 fromName = 0;            // hash of the file's name (nameHash)
    QStringView name(const QString& from) const { return QStringView(from).mid(slash + 1); }
};

}  // namespace

namespace {

// The target paths of the rows to rename, made once everything else is settled and the tables
// that settled it are gone.
template <typename Rows> QList<QString> targetsOf(const Rows& rows, const QList<RenameVerdict>& verdicts)
{
    QList<QString> targets(verdicts.size());
    QString* const target = targets.data();
    inParts(verdicts.size(), [&](qsizetype begin, qsizetype end) {
        for (qsizetype i = begin; i < end; ++i)
            if (verdicts.at(i) == RenameVerdict::rename)
                target[i] = targetPath(rows.at(i).from, rows.at(i).proposed);
    });
    return targets;
}

// What the disk is asked about the targets in one folder the list alone cannot settle.
using AskFolder = std::function<QList<bool>(const QString& folder, const std::vector<NamedMove>& moves)>;

// What the list alone settles: rows wanting one target (duplicates) or the place of a listed file
// that stays, and for each row to rename, the row whose file moves away from exactly its target
// (-1 when none). Its tables go when it returns, before the disk is asked.
template <typename Rows>
std::vector<qint32> settleWithinList(const Rows& rows, RenameDecision& d, std::vector<RowKeys>& keys)
{
    const qsizetype n = qsizetype(rows.size());
    std::vector<qint32> holders(static_cast<size_t>(n), -1);
    // Keys are the folder numbers and names of the paths: no path is lowered or hashed whole.
    FolderNumbers folders;
    const qsizetype renaming = std::count(d.verdicts.cbegin(), d.verdicts.cend(), RenameVerdict::rename);
    const qsizetype keeping = std::count(d.verdicts.cbegin(), d.verdicts.cend(), RenameVerdict::unchanged);
    RowTable owners(renaming);      // targets of rows with a valid new name, letter case aside
    RowTable movingFrom(renaming);  // exact paths of those rows' files
    RowTable staying(keeping);      // paths of listed files that keep their names, letter case aside
    QString lastFolder;
    for (qsizetype i = 0; i < n; ++i) {
        const auto& row = rows.at(i);
        RowKeys& k = keys[size_t(i)];
        const FolderNumbers::Numbers from = folders.of(k.slash < 0 ? QStringView()
                                                                   : QStringView(row.from).left(k.slash));
        k.fromFolder = qint32(from.exact);
        if (d.verdicts[i] == RenameVerdict::unchanged) {
            k.foldedFolder = qint32(from.folded);
            const QStringView name = k.name(row.from);
            staying.fileOnce(i, mixed(from.folded, k.foldedName), [&](qsizetype other) {
                const RowKeys& o = keys[size_t(other)];
                return o.foldedFolder == k.foldedFolder && sameFolded(o.name(rows.at(other).from), name);
            });
            continue;
        }
        if (d.verdicts[i] != RenameVerdict::rename)
            continue;
        FolderNumbers::Numbers target = from;
        if (!k.plain) {
            const QString folder = folderOf(row.from, lastFolder);
            k.folderEndsInSlash = folder.endsWith(u'/');
            target = folders.of(k.folderEndsInSlash ? QStringView(folder).chopped(1) : QStringView(folder));
        }
        k.targetFolder = qint32(target.exact);
        k.foldedFolder = qint32(target.folded);
        const qsizetype first = owners.fileOnce(i, mixed(k.foldedFolder, k.foldedName), [&](qsizetype other) {
            return keys[size_t(other)].foldedFolder == k.foldedFolder
                && sameFolded(rows.at(other).proposed, row.proposed);
        });
        k.owner = qint32(first < 0 ? i : first);
        ++keys[size_t(k.owner)].wanting;
        const QStringView name = k.name(row.from);
        movingFrom.file(i, mixed(k.fromFolder, k.fromName), [&](qsizetype other) {
            const RowKeys& o = keys[size_t(other)];
            return o.fromFolder == k.fromFolder && o.name(rows.at(other).from) == name;
        });
    }
    for (qsizetype i = 0; i < n; ++i) {
        if (d.verdicts[i] != RenameVerdict::rename)
            continue;
        const RowKeys& k = keys[size_t(i)];
        const QString& proposed = rows.at(i).proposed;
        if (keys[size_t(k.owner)].wanting > 1)
            d.verdicts[i] = RenameVerdict::duplicate;
        else if (staying.lookUp(mixed(k.foldedFolder, k.foldedName),
                                [&](qsizetype other) {
                                    const RowKeys& o = keys[size_t(other)];
                                    return o.foldedFolder == k.foldedFolder
                                        && sameFolded(o.name(rows.at(other).from), proposed);
                                })
                 >= 0)
            d.verdicts[i] = RenameVerdict::heldInList;
    }

    // A target is left free only by a listed file that moves away from exactly that path.
    inParts(n, [&](qsizetype begin, qsizetype end) {
        for (qsizetype i = begin; i < end; ++i) {
            if (d.verdicts.at(i) != RenameVerdict::rename)
                continue;
            const RowKeys& k = keys[size_t(i)];
            const QString& name = rows.at(i).proposed;
            holders[size_t(i)] = qint32(movingFrom.lookUp(mixed(k.targetFolder, nameHash(name)), [&](qsizetype other) {
                const RowKeys& o = keys[size_t(other)];
                return o.fromFolder == k.targetFolder && o.name(rows.at(other).from) == name;
            }));
        }
    });
    return holders;
}

// The one decision of the preview and of Apply; the target paths are made only `withTargets`,
// at the end, for the rows to rename.
// `rows` is a list of RenameCandidate or of CandidateRef.
template <typename Rows> RenameDecision decide(const Rows& rows, bool withTargets, const AskFolder& ask)
{
    const qsizetype n = qsizetype(rows.size());
    RenameDecision d;
    d.verdicts = QList<RenameVerdict>(n, RenameVerdict::unchanged);
    std::vector<RowKeys> keys(static_cast<size_t>(n));

    // What each row alone settles, worked out on several threads: its verdict so far and the
    // hashes of its names. Each part writes its own rows only.
    RenameVerdict* const verdicts = d.verdicts.data();
    QMutex reasonsLock;
    inParts(n, [&](qsizetype begin, qsizetype end) {
        for (qsizetype i = begin; i < end; ++i) {
            const auto& row = rows.at(i);
            RowKeys& k = keys[size_t(i)];
            k.slash = qint32(row.from.lastIndexOf(u'/'));
            if (row.proposed == row.name) {
                k.foldedName = quint32(foldedHash(k.name(row.from)));
                continue;
            }
            if (auto why = validateNewName(row.proposed, row.name)) {
                verdicts[i] = RenameVerdict::invalid;
                QMutexLocker lock(&reasonsLock);
                d.reasons.insert(i, std::move(*why));
                continue;
            }
            verdicts[i] = RenameVerdict::rename;
            k.plain = k.slash >= 0 && k.slash != row.from.size() - 1
                   && (k.slash == 0 || row.from.at(k.slash - 1) != u'/');
            k.folderEndsInSlash = k.slash == 0;
            k.foldedName = quint32(foldedHash(row.proposed));
            k.fromName = nameHash(k.name(row.from));
        }
    });

    // Every target no listed file leaves free is looked up on the disk. A row whose own file
    // turns out to stay hands the lookup on to the row that waited for its place.
    const std::vector<qint32> holders = settleWithinList(rows, d, keys);
    std::vector<qint32> waiter(size_t(n), -1);
    std::vector<qint32> pending;
    for (qsizetype i = 0; i < n; ++i) {
        if (d.verdicts[i] != RenameVerdict::rename)
            continue;
        const qint32 holder = holders[size_t(i)];
        if (holder >= 0 && d.verdicts[holder] == RenameVerdict::rename)
            waiter[size_t(holder)] = qint32(i);  // one at most: a second row wanting the path is a duplicate
        else
            pending.push_back(qint32(i));
    }
    while (!pending.empty()) {
        // A valid new name has no "/": the target's folder is the listed file's. Rows of one
        // folder are asked about together, in the order they were found.
        std::unordered_map<qsizetype, std::vector<qint32>> byFolder;
        std::vector<qint32> order;
        qsizetype lastKey = -1;
        std::vector<qint32>* group = nullptr;
        for (const qint32 i : pending) {
            const RowKeys& k = keys[size_t(i)];
            const qsizetype key = k.targetFolder * 2 + (k.folderEndsInSlash ? 1 : 0);
            if (key != lastKey) {
                group = &byFolder[key];
                lastKey = key;
            }
            if (group->empty())
                order.push_back(i);
            group->push_back(i);
        }
        pending.clear();
        for (const qint32 first : order) {
            const RowKeys& k = keys[size_t(first)];
            const std::vector<qint32>& rowsOfFolder = byFolder[k.targetFolder * 2 + (k.folderEndsInSlash ? 1 : 0)];
            std::vector<NamedMove> moves;
            moves.reserve(rowsOfFolder.size());
            for (const qint32 i : rowsOfFolder)
                moves.push_back(NamedMove::toName(rows.at(i).from, rows.at(i).proposed));
            QString last;
            const QList<bool> held = ask(folderOf(rows.at(first).from, last), moves);
            for (size_t g = 0; g < rowsOfFolder.size(); ++g) {
                if (!held.value(qsizetype(g)))
                    continue;
                const qint32 i = rowsOfFolder[g];
                d.verdicts[i] = RenameVerdict::taken;
                if (waiter[size_t(i)] >= 0)
                    pending.push_back(waiter[size_t(i)]);
            }
        }
    }
    if (withTargets)
        d.targets = targetsOf(rows, d.verdicts);
    d.willRename = int(std::count(d.verdicts.cbegin(), d.verdicts.cend(), RenameVerdict::rename));
    return d;
}

template <typename Rows> RenameDecision decideWith(const Rows& rows, bool withTargets, const TakenTargets& taken)
{
    return decide(rows, withTargets, [&taken](const QString& folder, const std::vector<NamedMove>& named) {
        QList<Move> moves;
        moves.reserve(qsizetype(named.size()));
        for (const NamedMove& m : named)
            moves << Move{*m.from, targetOf(folder, m)};
        return taken(folder, moves);
    });
}

}  // namespace

RenameDecision decideRenames(const QList<RenameCandidate>& rows, const TakenTargets& taken)
{
    return decideWith(rows, true, taken);
}

RenameDecision decideRenames(const std::vector<CandidateRef>& rows, const TakenTargets& taken)
{
    return decideWith(rows, false, taken);
}

RenameDecision decideRenamesOnDisk(const std::vector<CandidateRef>& rows)
{
    // Reading a large folder is the longest wait of the decision: it is read on another thread
    // while the list settles what it can.
    QFuture<EarlyListings> early = QtConcurrent::run([folders = busyFolders(rows)] { return listingsOf(folders); });
    const auto waitForEarly = qScopeGuard([&early] { early.waitForFinished(); });
    return decide(rows, false, [&early](const QString& folder, const std::vector<NamedMove>& moves) {
        std::shared_ptr<FolderListings::Listing> listing;
        if (moves.size() >= size_t(kListingThreshold)) {
            listing = early.result().value(folder);
            if (!listing)
                listing = readListing(folder);
        }
        return takenWith(folder, moves, listing.get());
    });
}

RenameDecision previewDecision(const QList<RenameCandidate>& rows, FolderListings* listings)
{
    return decide(rows, false, [listings](const QString& folder, const std::vector<NamedMove>& moves) {
        const auto listing = listings ? listings->listing(folder, qsizetype(moves.size()))
                           : moves.size() >= size_t(kListingThreshold) ? readListing(folder)
                                                                       : nullptr;
        return takenWith(folder, moves, listing.get());
    });
}

QList<bool> targetsTakenOnDisk(const QString& folder, const QList<Move>& moves)
{
    const auto listing = moves.size() >= kListingThreshold ? readListing(folder) : nullptr;
    return takenWith(folder, namedMoves(moves), listing.get());
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
    return takenWith(folder, namedMoves(moves), listing(folder, moves.size()).get());
}

std::shared_ptr<const FolderListings::Listing> FolderListings::listing(const QString& folder, qsizetype moves)
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
    if (!listing && moves >= kListingThreshold) {
        listing = readListing(folder);
        if (listing && listing->settled) {
            QMutexLocker lock(&m_mutex);
            if (m_kept.size() >= kKeptListings)
                m_kept.clear();
            m_kept.insert(folder, listing);
        }
    }
    return listing;
}
