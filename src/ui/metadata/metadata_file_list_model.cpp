#include "metadata/metadata_file_list_model.h"

#include "common/file_icon_cache.h"
#include "common/lang_binder.h"
#include "metadata/metadata_drafts.h"
#include "model/store.h"

#include <QApplication>
#include <QFont>
#include <QPalette>

MetadataFileListModel::MetadataFileListModel(Store& store, QObject* parent)
    : QAbstractTableModel(parent), m_store(store)
{
    connect(&store, &Store::itemsChanged, this, [this] {
        beginResetModel();
        endResetModel();
    });
    LangBinder(store).bind(this, [this] {
        if (rowCount() > 0)
            emit dataChanged(index(0, Kind), index(rowCount() - 1, Kind), {Qt::DisplayRole});
    });
}

int MetadataFileListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_store.items().size());
}

int MetadataFileListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant MetadataFileListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_store.items().size())
        return {};
    const FileItem& item = m_store.items().at(index.row());
    if (role == IdRole)
        return item.id;
    if (index.column() == Name) {
        switch (role) {
        case Qt::DisplayRole:
        case Qt::ToolTipRole: return item.name;
        case Qt::DecorationRole: return FileIconCache::icon(item.url, item.isDir);
        default: return {};
        }
    }
    switch (role) {
    case Qt::DisplayRole: return metaKindLabel(item);
    case Qt::FontRole: {
        QFont f = QApplication::font();
        f.setPointSizeF(f.pointSizeF() * 0.75);
        return f;
    }
    case Qt::ForegroundRole: return QApplication::palette().brush(QPalette::Disabled, QPalette::Text);
    case Qt::TextAlignmentRole: return int(Qt::AlignRight | Qt::AlignVCenter);
    default: return {};
    }
}
