#pragma once
// The Metadata editor's file list: every listed entry in list order, files and folders alike,
// with its icon and name, and its kind label in a second column.
#include <QAbstractTableModel>
#include <QUuid>

class Store;

class MetadataFileListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { Name, Kind, ColumnCount };
    static constexpr int IdRole = Qt::UserRole + 1;

    explicit MetadataFileListModel(Store& store, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

private:
    Store& m_store;
};
