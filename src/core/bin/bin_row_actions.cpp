// Open, preview, reveal, copy paths and remove rows.
#include "bin_row_actions.h"

#include "bin/bin_controller.h"
#include "bin/bin_desk.h"

#include "files/list_operations.h"
#include "model/store.h"
#include "platform/lang.h"

QStringList BinRowActions::selectedURLs(const QSet<QUuid>& ids) const
{
    QStringList paths;
    for (const BinRow& row : m_bin.rows())
        if (row.url && ids.contains(row.id))
            paths.append(*row.url);
    return paths;
}

void BinRowActions::openFiles(const QSet<QUuid>& ids)
{
    BinDesk* desk = m_bin.desk();
    if (!desk)
        return;
    for (const QString& path : selectedURLs(ids))
        desk->openFile(path);
}

void BinRowActions::quickLookRows(const QSet<QUuid>& ids)
{
    BinDesk* desk = m_bin.desk();
    if (!desk)
        return;
    QStringList paths;
    if (ids.isEmpty()) {
        for (const BinRow& row : m_bin.rows())
            if (row.url)
                paths.append(*row.url);
    } else {
        paths = selectedURLs(ids);
    }
    desk->preview(paths);
}

void BinRowActions::revealInFinder(const QSet<QUuid>& ids)
{
    const QStringList paths = selectedURLs(ids);
    if (BinDesk* desk = m_bin.desk(); desk && !paths.isEmpty())
        desk->reveal(paths);
}

void BinRowActions::copyPaths(const QSet<QUuid>& ids)
{
    QStringList paths;
    for (const BinRow& row : m_bin.rows()) {
        if (!ids.contains(row.id))
            continue;
        const QString path = row.url ? *row.url : row.value(QStringLiteral("custom:Source Path"));
        if (!path.isEmpty())
            paths.append(path);
    }
    if (paths.isEmpty())
        return;
    if (BinDesk* desk = m_bin.desk())
        desk->setClipboardText(paths.join(u'\n'));
    m_store.setStatus(L("Copied ", "已复制 ") + QString::number(paths.size()) + L(" path(s).", " 个路径。"));
}

void BinRowActions::removeRows(const QSet<QUuid>& ids)
{
    if (ids.isEmpty())
        return;
    QSet<QUuid> online;
    for (const BinRow& row : m_bin.rows())
        if (row.url && ids.contains(row.id))
            online.insert(row.id);
    // The rows go first, so the list change finds nothing left to sync.
    QList<BinRow> rows = m_bin.rows();
    rows.removeIf([&ids](const BinRow& r) { return ids.contains(r.id); });
    m_bin.setRows(std::move(rows));
    m_bin.setSelection(QSet<QUuid>(m_bin.selection()).subtract(ids));
    if (!online.isEmpty())
        m_store.list().removeItems(online);
}
