#pragma once
// The bin table's cells over the bin controller's rows: the fixed Name, Kind, Info and Date
// columns, then one column per field column. Cells are computed only when the view asks for
// them (the rows on screen); a cell edit repaints its one row, anything else the whole table.
#include <QAbstractTableModel>
#include <QHash>
#include <QList>
#include <QSet>
#include <QStringList>
#include <QUuid>

class BinController;
class Store;
struct BinRow;

class BinTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Role {
        RowIdRole = Qt::UserRole + 1,  // QUuid
        ColumnKeyRole,                 // QString
        CellKindRole,                  // int: CellKind
        AccessoryRole,                 // QString: "→ " and the formula's result; empty when none
        WarningRole,                   // bool: the formula names tokens the row does not know
    };
    enum class CellKind { Text, Checkbox, ReadOnly, NotEditable };

    BinTableModel(Store& store, BinController& bin, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

    const QStringList& columnKeys() const { return m_keys; }
    QString columnKey(int column) const { return m_keys.value(column); }
    int columnOf(const QString& key) const { return int(m_keys.indexOf(key)); }
    QModelIndex indexOf(const QUuid& id, const QString& key) const;
    CellKind cellKind(const BinRow& row, const QString& key) const;

signals:
    // The column list was rebuilt (custom columns, checkbox columns); the view lays it out again.
    void columnsReset();

private:
    void rebuildColumns();
    void rowsChanged();
    void repaintRows(const QList<QUuid>& ids);
    void relabel();
    const BinRow* rowAt(int row) const;
    QString toolTip(const BinRow& row, const QString& key, CellKind kind) const;

    Store& m_store;
    BinController& m_bin;
    QStringList m_keys;
    QSet<QString> m_checkboxCols;
    QList<QUuid> m_ids;  // the rows as the view knows them
    mutable QHash<QUuid, int> m_rowOfId;
};
