// Open, preview, reveal, copy paths and remove rows.
#include "bin_controller.h"

#include "files/list_operations.h"
#include "model/store.h"
#include "platform/lang.h"

QStringList BinController::selectedURLs(const QSet<QUuid>& ids) const
{
    QStringList paths;
    for (const BinRow& row : m_rows)
        if (row.url && ids.contains(row.id))
            paths.append(*row.url);
    return paths;
}

void BinController::openFiles(const QSet<QUuid>& ids)
{
    if (!m_desk)
        return;
    for (const QString& path : selectedURLs(ids))
        m_desk->openFile(path);
}

void BinController::quickLookRows(const QSet<QUuid>& ids)
{
    if (!m_desk)
        return;
    QStringList paths;
    if (ids.isEmpty()) {
        for (const BinRow& row : m_rows)
            if (row.url)
                paths.append(*row.url);
    } else {
        paths = selectedURLs(ids);
    }
    m_desk->preview(paths);
}

void BinController::revealInFinder(const QSet<QUuid>& ids)
{
    const QStringList paths = selectedURLs(ids);
    if (m_desk && !paths.isEmpty())
        m_desk->reveal(paths);
}

void BinController::copyPaths(const QSet<QUuid>& ids)
{
    QStringList paths;
    for (const BinRow& row : m_rows) {
        if (!ids.contains(row.id))
            continue;
        const QString path = row.url ? *row.url : row.value(QStringLiteral("custom:Source Path"));
        if (!path.isEmpty())
            paths.append(path);
    }
    if (paths.isEmpty())
        return;
    if (m_desk)
        m_desk->setClipboardText(paths.join(u'\n'));
    setStatus(L("Copied ", "已复制 ") + QString::number(paths.size()) + L(" path(s).", " 个路径。"));
}

void BinController::removeRows(const QSet<QUuid>& ids)
{
    if (ids.isEmpty())
        return;
    QSet<QUuid> online;
    for (const BinRow& row : m_rows)
        if (row.url && ids.contains(row.id))
            online.insert(row.id);
    // The rows go first, so the list change finds nothing left to sync.
    m_rows.removeIf([&ids](const BinRow& r) { return ids.contains(r.id); });
    m_selection.subtract(ids);
    emit rowsChanged();
    emit selectionChanged();
    if (!online.isEmpty())
        m_store.list().removeItems(online);
}
