// Reordering, clearing and removing rows, the two open panels, and where Undo goes.
#include "model/store.h"
#include "platform/lang.h"
#include "platform/natural_sort.h"

#include <QFileInfo>
#include <algorithm>

void Store::sortByName()
{
    QStringList names;
    names.reserve(m_items.size());
    for (const FileItem& i : m_items)
        names << i.name;
    QList<FileItem> sorted;
    sorted.reserve(m_items.size());
    for (int at : naturalOrder(names))
        sorted << m_items[at];
    setItems(std::move(sorted));
}

bool Store::modifiedDateAscending(const FileItem& a, const FileItem& b, const QHash<QUuid, QDateTime>& dates)
{
    return dates.value(a.id) < dates.value(b.id);
}

void Store::sortByDateModified()
{
    // An unreadable date sorts as the distant past: before every real date.
    const QDateTime distantPast = QDateTime::fromSecsSinceEpoch(-62135596800LL, Qt::UTC);
    QHash<QUuid, QDateTime> dates;
    for (const FileItem& i : m_items) {
        const QDateTime d = QFileInfo(i.url).fileTime(QFileDevice::FileModificationTime);
        dates.insert(i.id, d.isValid() ? d : distantPast);
    }
    QList<FileItem> sorted = m_items;
    std::stable_sort(sorted.begin(), sorted.end(),
                     [&](const FileItem& a, const FileItem& b) { return modifiedDateAscending(a, b, dates); });
    setItems(std::move(sorted));
}

void Store::reverseOrder()
{
    QList<FileItem> reversed = m_items;
    std::reverse(reversed.begin(), reversed.end());
    setItems(std::move(reversed));
}

void Store::clearFiles()
{
    setItems({});
    m_fileBackup.clear();
    stopScopedAccess();
    setStatus(L("Cleared.", "已清空。"));
}

void Store::addFilesPanel()
{
    if (!m_openPanels)
        return;
    const QStringList chosen = m_openPanels->chooseFiles();
    if (!chosen.isEmpty())
        addURLs(chosen);
}

void Store::addFoldersPanel()
{
    if (!m_openPanels)
        return;
    const QStringList chosen = m_openPanels->chooseFolders(L("Add Folder", "添加文件夹"));
    if (!chosen.isEmpty())
        addURLs(chosen);
}

void Store::removeItem(const QUuid& id)
{
    QList<FileItem> kept = m_items;
    kept.removeIf([&](const FileItem& i) { return i.id == id; });
    setItems(std::move(kept));
}

void Store::removeItems(const QSet<QUuid>& ids)
{
    if (ids.isEmpty())
        return;
    QSet<QString> folders;
    for (const FileItem& i : m_items)
        if (i.isDir && ids.contains(i.id))
            folders.insert(PathText::standardized(i.url));
    QList<FileItem> kept = m_items;
    kept.removeIf([&](const FileItem& i) { return ids.contains(i.id); });
    setItems(std::move(kept));
    if (!folders.isEmpty())
        m_fileBackup.removeIf([&](const FileItem& i) { return folders.contains(PathText::parent(i.url)); });
    setStatus(L("Removed %1 item(s).", "已移除 %1 项。").arg(ids.size()));
}

bool Store::undoInFocusedTextView(bool redo)
{
    return m_textUndo && m_textUndo->undoInFocusedTextView(redo);
}

void Store::undoFromButton()
{
    if (!undoInFocusedTextView(false))
        undoLast();
}
