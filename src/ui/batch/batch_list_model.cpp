#include "batch_list_model.h"

#include "common/file_icon_cache.h"
#include "model/name_preview.h"
#include "model/store.h"
#include "platform/lang.h"

#include <QMimeData>
#include <QTimer>
#include <numeric>

BatchListModel::BatchListModel(Store& store, const QSet<QUuid>& selection, QObject* parent)
    : QAbstractListModel(parent), m_store(store), m_selection(selection)
{}

int BatchListModel::rowCount(const QModelIndex& parent) const
{
    if (parent.isValid())
        return 0;
    return m_filtered ? int(m_rows.size()) : int(m_store.items().size());
}

QString BatchListModel::newNameAt(int index) const
{
    auto it = m_newNames.constFind(index);
    if (it != m_newNames.constEnd())
        return *it;
    const QString name = m_store.preview().newName(m_store.items().at(index), index, m_selection);
    m_newNames.insert(index, name);
    return name;
}

QString BatchListModel::shownNameAt(int index) const
{
    const auto it = m_newNames.constFind(index);
    if (it != m_newNames.constEnd())
        return *it;
    if (m_painting && m_round.isValid() && m_namesThisRound > 0 && m_round.nsecsElapsed() > m_budgetNs) {
        if (!m_roundPending) {
            m_roundPending = true;
            auto* self = const_cast<BatchListModel*>(this);
            QTimer::singleShot(0, self, [self] {
                self->m_roundPending = false;
                self->m_namesThisRound = 0;
                self->m_round.restart();
                emit self->namesFilled();
            });
        }
        const auto previous = m_previousNames.constFind(index);
        return previous != m_previousNames.constEnd() ? *previous : m_store.items().at(index).name;
    }
    ++m_namesThisRound;
    return newNameAt(index);
}

QString BatchListModel::toolTip(int index) const
{
    const FileItem& item = m_store.items().at(index);
    QString tip = item.name + "\n→ " + shownNameAt(index);
    auto reason = m_conflicts.constFind(item.id);
    if (reason != m_conflicts.constEnd())
        tip += QStringLiteral("\n\u26A0\uFE0E ") + L("Will be skipped: ", "将被跳过:") + *reason;
    return tip;
}

QStringList BatchListModel::paintedControlNames(const QUuid& id) const
{
    // The row's warning sign and remove button are painted, so they are named here for screen readers.
    QStringList names;
    if (m_conflicts.contains(id))
        names << L("Won't be renamed", "不会被重命名");
    names << L("Remove from list", "从列表移除");
    return names;
}

QVariant BatchListModel::data(const QModelIndex& index, int role) const
{
    const int i = index.isValid() ? storeIndex(index.row()) : -1;
    if (i < 0 || i >= m_store.items().size())
        return {};
    const FileItem& item = m_store.items().at(i);
    switch (role) {
    case Qt::DisplayRole:
    case NewNameRole: return shownNameAt(i);
    case StoreIndexRole: return i;
    case ItemIdRole: return item.id;
    case OldNameRole: return item.name;
    case ConflictRole: return m_conflicts.value(item.id);
    case ShowAIRole: return m_store.sections().useAIName && item.aiName && !item.aiName->isEmpty();
    case UseAIRole: return item.useAI;
    case Qt::ToolTipRole: return toolTip(i);
    case Qt::AccessibleDescriptionRole: return paintedControlNames(item.id).join('\n');
    case Qt::DecorationRole: return FileIconCache::icon(item.url, item.isDir);
    default: return {};
    }
}

Qt::ItemFlags BatchListModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::ItemIsDropEnabled;  // drops land between rows, never on one
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled;
}

QMimeData* BatchListModel::mimeData(const QModelIndexList& indexes) const
{
    QList<int> rows;
    for (const QModelIndex& i : indexes)
        rows << storeIndex(i.row());
    std::sort(rows.begin(), rows.end());
    QStringList text;
    for (int r : rows)
        text << QString::number(r);
    auto* mime = new QMimeData;
    mime->setData(kRowsMime, text.join(',').toLatin1());
    return mime;
}

bool BatchListModel::dropMimeData(const QMimeData* data, Qt::DropAction, int row, int, const QModelIndex& parent)
{
    // Offsets of a filtered list are no places in the whole list.
    if (isFiltering() || !data || !data->hasFormat(kRowsMime))
        return false;
    QList<int> offsets;
    for (const QByteArray& part : data->data(kRowsMime).split(','))
        if (!part.isEmpty())
            offsets << part.toInt();
    int destination = row;
    if (destination < 0)
        destination = parent.isValid() ? parent.row() : int(m_store.items().size());
    emit moveRequested(offsets, destination);
    // The move happens through the Store; the view must not remove anything itself.
    return false;
}

QModelIndex BatchListModel::indexOfId(const QUuid& id) const
{
    if (m_rowOfId.isEmpty()) {
        auto& map = const_cast<QHash<QUuid, int>&>(m_rowOfId);
        const int rows = rowCount();
        map.reserve(rows);
        for (int r = 0; r < rows; ++r)
            map.insert(m_store.items().at(storeIndex(r)).id, r);
    }
    auto it = m_rowOfId.constFind(id);
    return it == m_rowOfId.constEnd() ? QModelIndex() : index(*it);
}

QList<int> BatchListModel::visibleIndices() const
{
    if (m_filtered)
        return m_rows;
    QList<int> all(m_store.items().size());
    std::iota(all.begin(), all.end(), 0);
    return all;
}

bool BatchListModel::isFiltering() const
{
    return !m_filterText.isEmpty() || m_changedOnly;
}

bool BatchListModel::keep(int index) const
{
    if (m_filterText.isEmpty() && !m_changedOnly)
        return true;
    const FileItem& item = m_store.items().at(index);
    const QString newName = newNameAt(index);
    if (m_changedOnly && newName == item.name)
        return false;
    if (m_filterText.isEmpty())
        return true;
    return item.name.contains(m_filterText, Qt::CaseInsensitive) || newName.contains(m_filterText, Qt::CaseInsensitive);
}

void BatchListModel::rebuildRows()
{
    m_rowOfId.clear();
    m_rows.clear();
    m_filtered = isFiltering();
    if (!m_filtered)
        return;
    const int n = int(m_store.items().size());
    for (int i = 0; i < n; ++i)
        if (keep(i))
            m_rows << i;
}

void BatchListModel::setFilter(const QString& text, bool changedOnly)
{
    if (text == m_filterText && changedOnly == m_changedOnly)
        return;
    beginResetModel();
    m_filterText = text;
    m_changedOnly = changedOnly;
    rebuildRows();
    endResetModel();
}

void BatchListModel::setConflicts(QHash<QUuid, QString> conflicts)
{
    m_conflicts = std::move(conflicts);
}

bool BatchListModel::namesChanged()
{
    if (!m_newNames.isEmpty())
        m_previousNames = std::move(m_newNames);
    m_newNames.clear();
    m_namesThisRound = 0;
    m_round.start();
    if (!isFiltering())
        return false;
    listChanged();
    return true;
}

void BatchListModel::listChanged()
{
    beginResetModel();
    m_newNames.clear();
    m_previousNames.clear();  // places may have moved
    m_round.invalidate();
    rebuildRows();
    endResetModel();
}
