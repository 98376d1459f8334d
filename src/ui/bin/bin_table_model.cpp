#include "bin_table_model.h"

#include "bin/bin_controller.h"
#include "bin/parse_flag.h"
#include "common/icons.h"
#include "common/lang_binder.h"
#include "model/store.h"
#include "platform/lang.h"

#include <QBrush>
#include <QGuiApplication>
#include <QPalette>

namespace {
const QString kCustom = QStringLiteral("custom:");
const QColor kOrange(0xE6, 0x7E, 0x22);

QColor secondary()
{
    return QGuiApplication::palette().color(QPalette::PlaceholderText);
}

QColor tertiary()
{
    QColor c = secondary();
    c.setAlphaF(0.55f);
    return c;
}

QList<QUuid> idsOf(const QList<BinRow>& rows)
{
    QList<QUuid> ids;
    ids.reserve(rows.size());
    for (const BinRow& row : rows)
        ids.append(row.id);
    return ids;
}
}  // namespace

BinTableModel::BinTableModel(Store& store, BinController& bin, QObject* parent)
    : QAbstractTableModel(parent), m_store(store), m_bin(bin)
{
    m_checkboxCols = m_store.meta().binCheckboxCols;
    m_keys = {"name", "kind", "info", "date"};
    for (const auto& col : m_bin.fieldColumns())
        m_keys.append(col.id);
    m_ids = idsOf(m_bin.rows());
    connect(&m_bin, &BinController::rowsChanged, this, &BinTableModel::rowsChanged);
    connect(&m_bin, &BinController::rowEdited, this, [this](const QUuid& id) { repaintRows({id}); });
    connect(&m_bin, &BinController::rowsLoaded, this, &BinTableModel::repaintRows);
    connect(&m_bin, &BinController::columnsChanged, this, &BinTableModel::rebuildColumns);
    connect(&m_store, &Store::metaChanged, this, [this] {
        if (m_store.meta().binCheckboxCols != m_checkboxCols)
            rebuildColumns();
    });
    LangBinder(m_store).bind(this, [this] { relabel(); });
}

void BinTableModel::rebuildColumns()
{
    beginResetModel();
    m_checkboxCols = m_store.meta().binCheckboxCols;
    m_keys = {"name", "kind", "info", "date"};
    for (const auto& col : m_bin.fieldColumns())
        m_keys.append(col.id);
    m_ids = idsOf(m_bin.rows());
    m_rowOfId.clear();
    endResetModel();
    emit columnsReset();
}

void BinTableModel::rowsChanged()
{
    QList<QUuid> ids = idsOf(m_bin.rows());
    if (ids == m_ids) {
        // Same rows in the same places: only their cells changed.
        if (!m_ids.isEmpty())
            emit dataChanged(index(0, 0), index(int(m_ids.size()) - 1, int(m_keys.size()) - 1));
        return;
    }
    beginResetModel();
    m_ids = std::move(ids);
    m_rowOfId.clear();
    endResetModel();
}

void BinTableModel::repaintRows(const QList<QUuid>& ids)
{
    if (m_rowOfId.isEmpty() && !m_ids.isEmpty()) {
        m_rowOfId.reserve(m_ids.size());
        for (int i = 0; i < m_ids.size(); ++i)
            m_rowOfId.insert(m_ids[i], i);
    }
    for (const QUuid& id : ids) {
        const int row = m_rowOfId.value(id, -1);
        if (row >= 0)
            emit dataChanged(index(row, 0), index(row, int(m_keys.size()) - 1));
    }
}

void BinTableModel::relabel()
{
    emit headerDataChanged(Qt::Horizontal, 0, int(m_keys.size()) - 1);
    if (!m_ids.isEmpty())
        emit dataChanged(index(0, 0), index(int(m_ids.size()) - 1, int(m_keys.size()) - 1));
}

int BinTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_ids.size());
}

int BinTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_keys.size());
}

const BinRow* BinTableModel::rowAt(int row) const
{
    const QList<BinRow>& rows = m_bin.rows();
    if (row < 0 || row >= rows.size() || row >= m_ids.size() || rows[row].id != m_ids[row])
        return nullptr;
    return &rows[row];
}

QModelIndex BinTableModel::indexOf(const QUuid& id, const QString& key) const
{
    const int column = columnOf(key);
    if (column < 0)
        return {};
    const int row = int(m_ids.indexOf(id));
    return row < 0 ? QModelIndex() : index(row, column);
}

BinTableModel::CellKind BinTableModel::cellKind(const BinRow& row, const QString& key) const
{
    if (key == QLatin1String("name"))
        return row.isOffline() ? CellKind::ReadOnly : CellKind::Text;
    if (key == QLatin1String("kind") || key == QLatin1String("info") || key == QLatin1String("online"))
        return CellKind::ReadOnly;
    if (key.startsWith(kCustom) && m_checkboxCols.contains(key.mid(kCustom.size())))
        return CellKind::Checkbox;
    if (key == QLatin1String("date") || row.isEditable(key))
        return CellKind::Text;
    return CellKind::NotEditable;
}

QString BinTableModel::toolTip(const BinRow& row, const QString& key, CellKind kind) const
{
    if (key == QLatin1String("name"))
        return row.isOffline()
                 ? L("Offline — use Relink", "离线 —— 请 Relink")
                 : L("Renames the actual file on disk when you Save.", "保存时会更改磁盘上的实际文件名。");
    if (kind != CellKind::Text || key == QLatin1String("date"))
        return {};
    const QStringList unknown = row.formulaDiagnostics(key);
    if (!unknown.isEmpty())
        return Lang::zh() ? QString::fromUtf8("无法识别的 token:") + unknown.join(QString::fromUtf8("、"))
                                + QString::fromUtf8(" —— 已按原文字显示。")
                          : QStringLiteral("Unrecognized token(s): ") + unknown.join(QStringLiteral(", "))
                                + QString::fromUtf8(" — left as literal text.");
    if (row.value(key).contains(u'%'))
        return L("Formula → ", "公式 → ") + row.displayValue(key);
    return L("Type a formula like %scene_%shot_%take to reference other fields on this row.",
             "可以直接输入公式,如 %scene_%shot_%take,引用这一行的其他字段。");
}

QVariant BinTableModel::data(const QModelIndex& index, int role) const
{
    const BinRow* row = rowAt(index.row());
    if (!row || index.column() >= m_keys.size())
        return {};
    const QString& key = m_keys[index.column()];
    const CellKind kind = cellKind(*row, key);
    switch (role) {
    case RowIdRole: return row->id;
    case ColumnKeyRole: return key;
    case CellKindRole: return int(kind);
    case Qt::DisplayRole:
    case Qt::EditRole:
        if (key == QLatin1String("kind"))
            return BinController::kindLabel(*row);
        if (key == QLatin1String("info"))
            return row->isOffline() ? L("offline", "离线") : row->fields.info;
        if (kind == CellKind::Checkbox)
            return {};
        if (kind == CellKind::NotEditable)
            return QString::fromUtf8("—");
        return row->value(key);
    case Qt::CheckStateRole:
        if (kind != CellKind::Checkbox)
            return {};
        return parseFlag(row->value(key)) ? Qt::Checked : Qt::Unchecked;
    case Qt::ForegroundRole:
        if (key == QLatin1String("online"))
            return QBrush(row->isOffline() ? kOrange : secondary());
        if (key == QLatin1String("kind") || key == QLatin1String("info"))
            return QBrush(secondary());
        if (kind == CellKind::NotEditable)
            return QBrush(tertiary());
        return {};
    case Qt::DecorationRole:
        if (key == QLatin1String("name") && row->isOffline())
            return symbolIcon("link.badge.plus");
        return {};
    case Qt::ToolTipRole: return toolTip(*row, key, kind);
    case AccessoryRole:
        if (kind != CellKind::Text || key == QLatin1String("date") || key == QLatin1String("name"))
            return QString();
        if (!row->value(key).contains(u'%') || !row->formulaDiagnostics(key).isEmpty())
            return QString();
        return QString::fromUtf8("→ ") + row->displayValue(key);
    case WarningRole:
        if (kind != CellKind::Text || key == QLatin1String("date") || key == QLatin1String("name"))
            return false;
        return !row->formulaDiagnostics(key).isEmpty();
    default: return {};
    }
}

QVariant BinTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= m_keys.size())
        return {};
    if (role == Qt::InitialSortOrderRole)
        return int(Qt::AscendingOrder);
    if (role != Qt::DisplayRole)
        return {};
    const QString& key = m_keys[section];
    if (key == QLatin1String("name"))
        return L("Name", "名称");
    if (key == QLatin1String("kind"))
        return L("Kind", "类型");
    if (key == QLatin1String("info"))
        return L("Info", "信息");
    if (key == QLatin1String("date"))
        return L("Date", "日期");
    return key.startsWith(kCustom) ? key.mid(kCustom.size()) : binFieldTitle(key);
}

Qt::ItemFlags BinTableModel::flags(const QModelIndex& index) const
{
    const BinRow* row = rowAt(index.row());
    if (!row)
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    switch (cellKind(*row, m_keys.value(index.column()))) {
    case CellKind::Text: f |= Qt::ItemIsEditable; break;
    case CellKind::Checkbox: f |= Qt::ItemIsUserCheckable; break;
    default: break;
    }
    return f;
}

bool BinTableModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    const BinRow* row = rowAt(index.row());
    if (!row)
        return false;
    const QString key = m_keys.value(index.column());
    const CellKind kind = cellKind(*row, key);
    if (role == Qt::CheckStateRole && kind == CellKind::Checkbox) {
        m_bin.commitCellEdit(value.toInt() == Qt::Checked, row->id, key);
        return true;
    }
    if (role == Qt::EditRole && kind == CellKind::Text) {
        m_bin.commitFieldEdit(value.toString(), row->id, key);
        return true;
    }
    return false;
}
