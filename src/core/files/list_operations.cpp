// Reordering, clearing and removing rows, and where Undo goes.
#include "files/list_operations.h"

#include "files/history.h"
#include "files/scoped_access.h"
#include "platform/lang.h"
#include "platform/natural_sort.h"

#include <QFileInfo>
#include <algorithm>

void ListOperations::sortByName()
{
    const QList<FileItem>& items = m_store.items();
    QStringList names;
    names.reserve(items.size());
    for (const FileItem& i : items)
        names << i.name;
    QList<FileItem> sorted;
    sorted.reserve(items.size());
    for (int at : naturalOrder(names))
        sorted << items[at];
    m_store.setItems(std::move(sorted));
}

bool ListOperations::modifiedDateAscending(const FileItem& a, const FileItem& b, const QHash<QUuid, QDateTime>& dates)
{
    return dates.value(a.id) < dates.value(b.id);
}

void ListOperations::sortByDateModified()
{
    // An unreadable date sorts as the distant past: before every real date.
    const QDateTime distantPast = QDateTime::fromSecsSinceEpoch(-62135596800LL, Qt::UTC);
    QHash<QUuid, QDateTime> dates;
    for (const FileItem& i : m_store.items()) {
        const QDateTime d = QFileInfo(i.url).fileTime(QFileDevice::FileModificationTime);
        dates.insert(i.id, d.isValid() ? d : distantPast);
    }
    QList<FileItem> sorted = m_store.items();
    std::stable_sort(sorted.begin(), sorted.end(),
                     [&](const FileItem& a, const FileItem& b) { return modifiedDateAscending(a, b, dates); });
    m_store.setItems(std::move(sorted));
}

void ListOperations::reverseOrder()
{
    QList<FileItem> reversed = m_store.items();
    std::reverse(reversed.begin(), reversed.end());
    m_store.setItems(std::move(reversed));
}

void ListOperations::moveItems(const QList<int>& sourceOffsets, int destination)
{
    const QList<FileItem>& items = m_store.items();
    QSet<int> moving(sourceOffsets.begin(), sourceOffsets.end());
    QList<FileItem> moved, before, after;
    for (int i = 0; i < items.size(); ++i) {
        if (moving.contains(i))
            moved << items[i];
        else if (i < destination)
            before << items[i];
        else
            after << items[i];
    }
    if (moved.isEmpty())
        return;
    m_store.setItems(before + moved + after);
}

void ListOperations::setUseAI(const QUuid& id, bool on)
{
    m_store.editItems([&](QList<FileItem>& list) {
        for (FileItem& item : list) {
            if (item.id == id) {
                item.useAI = on;
                break;
            }
        }
    });
}

void ListOperations::clearFiles()
{
    m_store.setItems({});
    m_store.editFileBackup([](QList<FileItem>& backup) { backup.clear(); });
    m_store.access().stopScopedAccess();
    m_store.setStatus(L("Cleared.", "已清空。"));
}

void ListOperations::removeItem(const QUuid& id)
{
    QList<FileItem> kept = m_store.items();
    kept.removeIf([&](const FileItem& i) { return i.id == id; });
    m_store.setItems(std::move(kept));
}

void ListOperations::removeItems(const QSet<QUuid>& ids)
{
    if (ids.isEmpty())
        return;
    QSet<QString> folders;
    for (const FileItem& i : m_store.items())
        if (i.isDir && ids.contains(i.id))
            folders.insert(PathText::standardized(i.url));
    QList<FileItem> kept = m_store.items();
    kept.removeIf([&](const FileItem& i) { return ids.contains(i.id); });
    m_store.setItems(std::move(kept));
    if (!folders.isEmpty())
        m_store.editFileBackup([&](QList<FileItem>& backup) {
            backup.removeIf([&](const FileItem& i) { return folders.contains(PathText::parent(i.url)); });
        });
    m_store.setStatus(L("Removed %1 item(s).", "已移除 %1 项。").arg(ids.size()));
}

bool ListOperations::undoInFocusedTextView(bool redo)
{
    return m_textUndo && m_textUndo->undoInFocusedTextView(redo);
}

void ListOperations::undoFromButton()
{
    if (!undoInFocusedTextView(false))
        m_store.history().undoLast();
}
