// Keeping the file list pointed at files after they moved on disk.
#include "files/item_bookkeeping.h"

#include "files/history.h"
#include "files/path_remap.h"
#include "model/file_dates.h"
#include "model/store.h"
#include "platform/in_parts.h"

#include <QMutex>
#include <QVarLengthArray>

#include <algorithm>
#include <atomic>
#include <optional>
#include <vector>

namespace {

// Where each listed path sits in the URL array, and every folder above a listed path.
class RemapIndex {
public:
    explicit RemapIndex(const QStringList& urls) { rebuild(urls); }

    void rebuild(const QStringList& urls)
    {
        m_first.clear();
        m_first.reserve(urls.size());
        m_next = QList<int>(urls.size(), -1);
        m_ancestors.clear();
        m_lastFolder.clear();
        for (int i = 0; i < urls.size(); ++i)
            add(urls[i], i);
    }
    bool isAncestor(const QString& path) const { return m_ancestors.contains(path); }
    // The positions listed at `path`, which from now on hold nothing.
    QVarLengthArray<int, 4> take(const QString& path)
    {
        QVarLengthArray<int, 4> out;
        const auto it = m_first.constFind(path);
        if (it == m_first.cend())
            return out;
        for (int i = *it; i >= 0; i = m_next[i])
            out << i;
        m_first.erase(it);
        return out;
    }
    void add(const QString& path, int position)
    {
        const auto it = m_first.find(path);
        m_next[position] = it == m_first.end() ? -1 : *it;
        m_first[path] = position;
        addAncestors(path);
    }

private:
    void addAncestors(const QString& path)
    {
        // Listed paths come folder by folder: the folder just seen has its ancestors in already.
        const qsizetype slash = path.lastIndexOf('/');
        if (slash > 0 && !path.endsWith('/') && QStringView(path).first(slash) == m_lastFolder)
            return;
        QString folder = PathText::parent(path);
        m_lastFolder = folder;
        while (folder != QLatin1String("/") && folder != QLatin1String(".") && !m_ancestors.contains(folder)) {
            m_ancestors.insert(folder);
            folder = PathText::parent(folder);
        }
    }

    QHash<QString, int> m_first;  // path -> a position holding it
    QList<int> m_next;            // position -> the next position holding the same path, or -1
    QSet<QString> m_ancestors;
    QString m_lastFolder;
};

}  // namespace

QStringList ItemBookkeeping::remapMovedURLs(const QStringList& urls, const MoveBatch& moves)
{
    QStringList out;
    out.reserve(urls.size());
    for (const QString& u : urls)
        out << PathRemap::clean(u);
    RemapIndex index(out);
    for (const Move& m : moves) {
        const QString from = PathRemap::clean(m.from);
        if (index.isAncestor(from)) {
            for (QString& u : out)
                u = PathRemap::remapUnderRenamedFolder(u, {m});
            index.rebuild(out);
            continue;
        }
        const QVarLengthArray<int, 4> moved = index.take(from);
        if (moved.isEmpty())
            continue;
        const QString to = PathRemap::clean(m.to);
        for (int i : moved) {
            out[i] = to;
            index.add(to, i);
        }
    }
    return out;
}

namespace {
// Applies a remap to a list of items; true when any item changed.
bool followMoves(QList<FileItem>& items, const MoveBatch& moves)
{
    if (items.isEmpty())
        return false;
    QStringList urls;
    urls.reserve(items.size());
    for (const FileItem& item : items)
        urls << item.url;
    const QStringList moved = ItemBookkeeping::remapMovedURLs(urls, moves);
    bool changed = false;
    for (int i = 0; i < items.size(); ++i) {
        if (items[i].url == moved[i])
            continue;
        items[i].url = moved[i];
        PathRemap::refreshNames(items[i]);
        changed = true;
    }
    // The folder a file came from moves with it, or folder mode would list a folder that is gone.
    QStringList folders;
    QList<int> withFolder;
    for (int i = 0; i < items.size(); ++i)
        if (items[i].fromFolder) {
            folders << *items[i].fromFolder;
            withFolder << i;
        }
    if (!folders.isEmpty()) {
        const QStringList movedFolders = ItemBookkeeping::remapMovedURLs(folders, moves);
        for (int k = 0; k < withFolder.size(); ++k)
            items[withFolder[k]].fromFolder = movedFolders[k];
    }
    return changed;
}

void addWithAncestors(QSet<QString>& set, QString folder)
{
    while (folder != QLatin1String("/") && folder != QLatin1String(".") && !set.contains(folder)) {
        set.insert(folder);
        folder = PathText::parent(folder);
    }
}

// Every folder above a listed path, and the folders listed files came from with theirs, found on
// several threads. Listed paths come folder by folder, so a path in the folder just seen costs
// one comparison.
QSet<QString> foldersAbove(const QList<FileItem>& items)
{
    QSet<QString> out;
    QMutex outLock;
    inParts(items.size(), [&](qsizetype begin, qsizetype end) {
        QSet<QString> part;
        QString lastFolder, lastFrom;
        for (qsizetype i = begin; i < end; ++i) {
            const FileItem& item = items[i];
            const QString& url = item.url;
            const qsizetype slash = url.lastIndexOf('/');
            if (slash <= 0 || url.endsWith('/') || QStringView(url).first(slash) != lastFolder) {
                lastFolder = PathText::parent(PathRemap::clean(url));
                addWithAncestors(part, lastFolder);
            }
            if (item.fromFolder && *item.fromFolder != lastFrom) {
                lastFrom = *item.fromFolder;
                addWithAncestors(part, PathRemap::clean(lastFrom));
            }
        }
        QMutexLocker lock(&outLock);
        out.unite(part);
    });
    return out;
}

// True when a move starts at one of `folders`, looked at on several threads. A list holds few
// folders: a move whose path is of none of their lengths is no folder of them, found without
// hashing its path.
bool movesAnyOf(const QSet<QString>& folders, const MoveBatch& moves)
{
    std::vector<bool> folderLength;
    for (const QString& f : folders) {
        if (size_t(f.size()) >= folderLength.size())
            folderLength.resize(size_t(f.size()) + 1);
        folderLength[size_t(f.size())] = true;
    }
    std::atomic<bool> found{false};
    inParts(moves.size(), [&](qsizetype begin, qsizetype end) {
        for (qsizetype k = begin; k < end && !found.load(std::memory_order_relaxed); ++k) {
            const QString from = PathRemap::clean(moves[k].from);
            if (size_t(from.size()) < folderLength.size() && folderLength[size_t(from.size())]
                && folders.contains(from))
                found = true;
        }
    });
    return found;
}

// True when each move's place in the list still holds the file it moved, and no place is named
// twice.
bool positionsHold(const QList<FileItem>& items, const ItemMoves& itemMoves)
{
    if (itemMoves.moves.isEmpty() || itemMoves.positions.size() != itemMoves.moves.size())
        return false;
    std::vector<bool> named(size_t(items.size()), false);
    for (qsizetype k = 0; k < itemMoves.size(); ++k) {
        const qsizetype p = itemMoves.positions[k];
        if (p < 0 || p >= items.size() || named[size_t(p)])
            return false;
        const QString& url = items[p].url;
        const QString& from = itemMoves.moves[k].from;
        if (url != from && PathRemap::clean(url) != from)
            return false;
        named[size_t(p)] = true;
    }
    return true;
}

// The items a batch moved, found by walking the list and the moves side by side, the moves taken
// either way round (an undo's come in the reverse of the list's order); nothing when a move finds
// no item this way. Listed paths are unique, so when every move finds its item, no other item is
// at a path a move leaves, and no file moves twice (on a disk that never replaces, that takes two
// moves from one path, which two items would have to answer): each item goes where its move takes it.
std::optional<ItemMoves> walkedMoves(const QList<FileItem>& items, const MoveBatch& moves, bool backwards)
{
    ItemMoves out;
    out.moves = moves;  // shared, not copied
    out.positions.resize(moves.size());
    qsizetype p = 0;
    for (qsizetype k = 0; k < moves.size(); ++k) {
        const qsizetype i = backwards ? moves.size() - 1 - k : k;
        while (p < items.size() && items[p].url != moves[i].from)
            ++p;
        if (p == items.size())
            return std::nullopt;
        out.positions[i] = p;
        ++p;
    }
    return out;
}

// Names written over the old ones' characters are brought in line on several threads; a name
// that needs new room gets it on this thread only, where it takes the place its old one leaves in
// the same heap: names made on other threads would grow theirs by the whole list's names.
void followItemMoves(QList<FileItem>& items, const ItemMoves& itemMoves)
{
    FileItem* const item = items.data();  // detached here, before the threads share it
    std::vector<char> needsRoom(size_t(itemMoves.size()), 0);
    inParts(itemMoves.size(), [&](qsizetype begin, qsizetype end) {
        for (qsizetype k = begin; k < end; ++k) {
            FileItem& moved = item[itemMoves.positions[k]];
            moved.url = PathRemap::clean(itemMoves.moves[k].to);
            needsRoom[size_t(k)] = !PathRemap::refreshNamesInPlace(moved);
        }
    });
    for (qsizetype k = 0; k < itemMoves.size(); ++k)
        if (needsRoom[size_t(k)])
            PathRemap::refreshNames(item[itemMoves.positions[k]]);
}

// Where each file of a batch ended up, keyed by where it started; nullopt when a file moved on
// from where another move had put it (a parked file), which needs the moves followed in order.
std::optional<QHash<QString, QString>> netMoves(const MoveBatch& moves)
{
    QHash<QString, QString> net;
    net.reserve(moves.size());
    for (const Move& m : moves) {
        const qsizetype before = net.size();
        net.insert(PathRemap::clean(m.from), PathRemap::clean(m.to));
        if (net.size() == before)
            return std::nullopt;
    }
    for (const QString& to : std::as_const(net))
        if (net.contains(to))
            return std::nullopt;
    return net;
}

// The list follows a batch without matching every listed path against every move: through the
// items the batch says moved while they are still at their places, else through the items met
// walking the list alongside the moves, else through one look-up per item. Listed paths are
// clean from the moment they are listed. Neither works when a move took a
// folder that holds listed paths: false, and the moves are matched in order.
bool followWithoutMatching(QList<FileItem>& items, const MoveBatch& moves, const ItemMoves& itemMoves)
{
    if (movesAnyOf(foldersAbove(items), moves))
        return false;
    if (positionsHold(items, itemMoves)) {
        followItemMoves(items, itemMoves);
        return true;
    }
    for (const bool backwards : {true, false}) {
        if (const auto walked = walkedMoves(items, moves, backwards)) {
            followItemMoves(items, *walked);
            return true;
        }
        if (moves.size() == 1)
            break;
    }
    const auto net = netMoves(moves);
    if (!net)
        return false;
    for (FileItem& item : items) {
        const auto it = net->constFind(item.url);
        if (it != net->cend() && *it != item.url) {
            item.url = *it;
            PathRemap::refreshNames(item);
        }
    }
    return true;
}
}  // namespace

void ItemBookkeeping::commitRenamed(const MoveBatch& moves, const ItemMoves& itemMoves)
{
    if (moves.isEmpty())
        return;
    m_store.editItems([&](QList<FileItem>& items) {
        if (items.isEmpty() || !followWithoutMatching(items, moves, itemMoves))
            followMoves(items, moves);
    });
    m_store.editFileBackup([&](QList<FileItem>& backup) { followMoves(backup, moves); });
}

void ItemBookkeeping::recordMovedFiles(const MoveBatch& moves)
{
    if (moves.isEmpty())
        return;
    m_store.dates().clearCaches();
    QHash<QString, QString> target;
    for (const Move& m : moves)
        target.insert(PathRemap::clean(m.from), PathRemap::clean(m.to));
    QList<FileItem> items = m_store.items();
    for (FileItem& item : items) {
        if (auto it = target.constFind(item.url); it != target.cend()) {
            item.url = *it;
            PathRemap::refreshNames(item);
        }
    }
    m_store.setItems(std::move(items));
    m_store.history().record(moves);
}

int ItemBookkeeping::aiNamedItemCount() const
{
    int n = 0;
    for (const FileItem& item : m_store.items())
        if (item.aiName && !item.aiName->isEmpty())
            ++n;
    return n;
}

void ItemBookkeeping::setUseAIForNamedItems(bool on)
{
    m_store.editItems([on](QList<FileItem>& items) {
        for (FileItem& item : items)
            if (item.aiName && !item.aiName->isEmpty())
                item.useAI = on;
    });
}

QList<FileItem> ItemBookkeeping::folderListing(const QList<FileItem>& items)
{
    QList<FileItem> out;
    QSet<QString> seen;
    for (const FileItem& item : items) {
        if (!item.fromFolder) {
            out << item;
            continue;
        }
        const QString folder = PathRemap::clean(*item.fromFolder);
        if (seen.contains(folder))
            continue;
        seen.insert(folder);
        out << FileItem::folder(folder);
    }
    return out;
}

void ItemBookkeeping::setRenameFolders(bool on)
{
    if (on == m_store.sections().renameFolders)
        return;
    if (on) {
        const QList<FileItem> files = m_store.items();
        m_store.editFileBackup([&](QList<FileItem>& backup) { backup = files; });
        m_store.setItems(folderListing(files));
    } else {
        m_store.setItems(m_store.fileBackup());
        m_store.editFileBackup([](QList<FileItem>& backup) { backup.clear(); });
    }
    m_store.editSections([on](NameSections& s) { s.renameFolders = on; });
}
