#pragma once
// The Smart Rename results as a table: the original name, the editable corrected name, the
// marks (duplicate, missing version, variant), and cells for the row's variant menu (while a
// variant or saved preset exists), copying and e-mailing the row. It follows Store's rows; an edit
// writes the row back into the Store at once.
#include "smartrename/smart_rename_row.h"

#include <QAbstractTableModel>
#include <QSet>

class Store;

class SmartRenameResultsModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { Original, Corrected, Marks, Variant, Copy, Email, ColumnCount };

    explicit SmartRenameResultsModel(Store& store, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    const QSet<QString>& duplicates() const { return m_duplicates; }
    // The texts of a row's marks, in the order they are shown.
    QStringList marks(int row) const;

private:
    void follow();
    QVariant markData(const SmartRenameRow& row, int role) const;

    Store& m_store;
    QList<SmartRenameRow> m_rows;  // shares its data with the Store's list while unchanged
    QSet<QString> m_duplicates;
};
