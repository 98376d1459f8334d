#pragma once
// The bin's table view: header clicks sort the rows, the header's menu shows, hides and
// reorders columns (kept as the bin's column customization, so a bin preset carries it), a
// right click opens the row menu, a double click opens the files, Delete removes the selected
// rows and Space previews them while no cell is being edited, and quick edit moves the cell
// editor from cell to cell.
#include "bin/bin_sort.h"
#include "bin/quick_edit.h"

#include <QSet>
#include <QTableView>
#include <QUuid>
#include <functional>

class BinCellDelegate;
class BinController;
class BinTableModel;
class QMenu;
class Store;

class BinTable : public QTableView {
    Q_OBJECT
public:
    using Clock = std::function<double()>;  // seconds, for the quick-edit reset window

    BinTable(Store& store, BinController& bin, QWidget* parent = nullptr);

    BinTableModel* binModel() const { return m_model; }
    BinCellDelegate* cellDelegate() const { return m_delegate; }
    void setClock(Clock clock) { m_clock = std::move(clock); }

    bool isEditingCell() const { return state() == QAbstractItemView::EditingState; }
    const QuickEdit::State& quickEditState() const { return m_quickEdit; }
    // Opens the editor of a cell, as a click on it does.
    bool focusCell(const QUuid& id, const QString& column);
    // The focused cell's editor, when one is open.
    QWidget* cellEditor() const;

    // The rows a menu or double click on this row acts on: the selection when it holds the
    // row, else the row alone.
    QSet<QUuid> idsForRow(int row) const;
    QMenu* rowMenu(const QSet<QUuid>& ids, QWidget* parent);
    QMenu* headerMenu(QWidget* parent);

    const QList<BinSortKey>& sortKeys() const { return m_sortKeys; }
    void sortByColumn(const QString& key, bool ascending);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;

private:
    bool quickEditKey(QKeyEvent* event, const QModelIndex& index);
    void moveFocus(const QString& focusKey);
    void headerClicked(int section);
    void applyCustomization();
    void saveCustomization();
    void selectFromBin();
    void selectionToBin();

    Store& m_store;
    BinController& m_bin;
    BinTableModel* m_model;
    BinCellDelegate* m_delegate;
    Clock m_clock;
    QuickEdit::State m_quickEdit;
    QList<BinSortKey> m_sortKeys;
    bool m_navigating = false;  // quick edit is moving the editor
    bool m_applying = false;    // the header is being laid out from the customization
    bool m_syncingSelection = false;
    int m_tableID = -1;
};
