// Keeping the file list pointed at files after they moved on disk.
#include "files/item_bookkeeping.h"

#include "files/history.h"
#include "files/path_remap.h"
#include "model/file_dates.h"
#include "model/store.h"

namespace {

// Where each listed path sits in the URL array, and every folder above a listed path.
struct RemapIndex {
    QHash<QString, QList<int>> positions;
    QSet<QString> ancestors;

    void addAncestors(const QString& path)
    {
        QString folder = PathText::parent(path);
        while (folder != QLatin1String("/") && folder != QLatin1String(".") && !ancestors.contains(folder)) {
            ancestors.insert(folder);
            folder = PathText::parent(folder);
        }
    }
    void add(const QString& path, int position)
    {
        positions[path] << position;
        addAncestors(path);
    }
    void rebuild(const QStringList& urls)
    {
        positions.clear();
        ancestors.clear();
        for (int i = 0; i < urls.size(); ++i)
            add(urls[i], i);
    }
};

}  // namespace

QStringList ItemBookkeeping::remapMovedURLs(const QStringList& urls, const MoveBatch& moves)
{
    QStringList out;
    out.reserve(urls.size());
    for (const QString& u : urls)
        out << PathRemap::clean(u);
    RemapIndex index;
    index.rebuild(out);
    for (const Move& m : moves) {
        const QString from = PathRemap::clean(m.from);
        const QString to = PathRemap::clean(m.to);
        if (index.ancestors.contains(from)) {
            for (QString& u : out)
                u = PathRemap::remapUnderRenamedFolder(u, {m});
            index.rebuild(out);
        } else if (auto it = index.positions.find(from); it != index.positions.end()) {
            const QList<int> moved = it.value();
            index.positions.erase(it);
            for (int i : moved) {
                out[i] = to;
                index.add(to, i);
            }
        }
    }
    return out;
}

namespace {
// Applies a remap to a list of items; true when any item changed.
bool followMoves(QList<FileItem>& items, const MoveBatch& moves)
{
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
}  // namespace

void ItemBookkeeping::commitRenamed(const MoveBatch& moves)
{
    if (moves.isEmpty())
        return;
    QList<FileItem> items = m_store.items();
    followMoves(items, moves);
    m_store.setItems(std::move(items));
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
