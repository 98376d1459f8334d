#include "smartrename/smart_rename_results_model.h"

#include "common/icons.h"
#include "model/store.h"
#include "platform/lang.h"
#include "smartrename/variants_menu.h"

#include <QBrush>
#include <QColor>
#include <QFontDatabase>

SmartRenameResultsModel::SmartRenameResultsModel(Store& store, QObject* parent)
    : QAbstractTableModel(parent), m_store(store)
{
    connect(&store, &Store::smartChanged, this, &SmartRenameResultsModel::follow);
    connect(&store, &Store::presetsChanged, this, [this] {
        if (!m_rows.isEmpty())
            emit dataChanged(index(0, Variant), index(int(m_rows.size()) - 1, Variant));
    });
    connect(&store, &Store::prefsChanged, this, [this] {
        if (!m_rows.isEmpty())
            emit dataChanged(index(0, Marks), index(int(m_rows.size()) - 1, Marks));
    });
    follow();
}

// Store publishes the Smart group on every keystroke of the pasted text; only a new list of
// rows resets the table.
void SmartRenameResultsModel::follow()
{
    const QList<SmartRenameRow>& rows = m_store.smart().smartRenameRows;
    if (rows.constData() == m_rows.constData() && rows.size() == m_rows.size()) {
        if (!m_rows.isEmpty())  // the variant menus come and go with the saved variants
            emit dataChanged(index(0, Variant), index(int(m_rows.size()) - 1, Variant));
        return;
    }
    beginResetModel();
    m_rows = rows;
    m_duplicates = SmartRename::duplicateNames(m_rows);
    endResetModel();
}

int SmartRenameResultsModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int SmartRenameResultsModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QStringList SmartRenameResultsModel::marks(int row) const
{
    const SmartRenameRow& r = m_rows.at(row);
    QStringList out;
    if (SmartRename::isDuplicate(r, m_duplicates))
        out << L("duplicate", "重复");
    if (r.missingVersion)
        out << QStringLiteral("⚠");
    if (r.variantName)
        out << *r.variantName;
    if (r.variantExt)
        out << (r.variantExt->isEmpty() ? L("no ext", "无扩展名") : u'.' + *r.variantExt);
    return out;
}

QVariant SmartRenameResultsModel::markData(const SmartRenameRow& row, int role) const
{
    const bool duplicate = SmartRename::isDuplicate(row, m_duplicates);
    if (role == Qt::ForegroundRole && (duplicate || row.missingVersion))
        return QBrush(duplicate ? QColor(Qt::red) : QColor(255, 149, 0));
    if (role != Qt::ToolTipRole)
        return {};
    QStringList tips;
    if (duplicate)
        tips << L("Another result has the same name.", "另一个结果的名称与此相同。");
    if (row.missingVersion)
        tips << L("No version number (V#) found — worth checking this one.", "没识别到版本号(V#)—— 建议检查一下。");
    if (row.variantName)
        tips << L("Variant applied to this name", "这个名字已套用的变体");
    if (row.variantExt)
        tips << L("Extension this variant will give the file when you Apply Rename",
                  "点「应用重命名」时这个变体会给文件设置的扩展名");
    return tips.isEmpty() ? QVariant() : QVariant(tips.join(u'\n'));
}

QVariant SmartRenameResultsModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size())
        return {};
    const SmartRenameRow& row = m_rows.at(index.row());
    switch (index.column()) {
    case Original:
        if (role == Qt::DisplayRole)
            return row.original;
        if (role == Qt::ForegroundRole)
            return QBrush(QColor(128, 128, 128));
        break;
    case Corrected:
        if (role == Qt::DisplayRole || role == Qt::EditRole)
            return row.corrected;
        if (role == Qt::FontRole)
            return QFontDatabase::systemFont(QFontDatabase::FixedFont);
        if (role == Qt::DecorationRole)
            return symbolIcon(QStringLiteral("arrow.right"));
        break;
    case Marks:
        if (role == Qt::DisplayRole)
            return marks(index.row()).join(QStringLiteral("  "));
        return markData(row, role);
    case Variant:
        if (!hasVariantsToOffer(m_store))
            break;
        if (role == Qt::DecorationRole)
            return symbolIcon(QStringLiteral("rectangle.stack"));
        if (role == Qt::AccessibleTextRole)
            return L("Apply a variant", "套用变体");
        if (role == Qt::ToolTipRole)
            return L("Apply a variant to just this name", "只对这一个名字套用变体");
        break;
    case Copy:
        if (role == Qt::DecorationRole)
            return symbolIcon(QStringLiteral("doc.on.doc"));
        if (role == Qt::AccessibleTextRole)
            return L("Copy", "复制");
        break;
    case Email:
        if (role == Qt::DecorationRole)
            return symbolIcon(QStringLiteral("envelope"));
        if (role == Qt::AccessibleTextRole)
            return L("Generate email", "生成邮件");
        if (role == Qt::ToolTipRole)
            return L("Generate an email for just this file", "只为这一个文件生成邮件");
        break;
    default: break;
    }
    return {};
}

bool SmartRenameResultsModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::EditRole || index.column() != Corrected || index.row() >= m_rows.size())
        return false;
    m_rows[index.row()].corrected = value.toString();
    const QSet<QString> before = std::exchange(m_duplicates, SmartRename::duplicateNames(m_rows));
    m_store.setSmartRenameRows(m_rows);
    emit dataChanged(index, index);
    if (before != m_duplicates)
        emit dataChanged(this->index(0, Marks), this->index(int(m_rows.size()) - 1, Marks));
    else
        emit dataChanged(this->index(index.row(), Marks), this->index(index.row(), Marks));
    return true;
}

Qt::ItemFlags SmartRenameResultsModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (index.column() == Corrected)
        f |= Qt::ItemIsEditable;
    return f;
}
