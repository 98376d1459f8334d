#include "bin_table.h"

#include "bin/bin_controller.h"
#include "bin/bin_row_actions.h"
#include "bin_cell_delegate.h"
#include "bin_table_model.h"
#include "model/store.h"
#include "platform/lang.h"

#include <QElapsedTimer>
#include <QHeaderView>
#include <QJsonObject>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <algorithm>
#include <numeric>

namespace {
double monotonicSeconds()
{
    static QElapsedTimer timer = [] {
        QElapsedTimer t;
        t.start();
        return t;
    }();
    return double(timer.nsecsElapsed()) / 1e9;
}

int defaultWidth(const QString& key)
{
    if (key == QLatin1String("name"))
        return 220;
    if (key == QLatin1String("kind"))
        return 56;
    if (key == QLatin1String("info"))
        return 170;
    if (key == QLatin1String("date"))
        return 150;
    if (key == QLatin1String("ext"))
        return 60;
    return 150;
}

QuickEdit::Key quickKey(int key)
{
    switch (key) {
    case Qt::Key_Left: return QuickEdit::Key::Left;
    case Qt::Key_Right: return QuickEdit::Key::Right;
    case Qt::Key_Up: return QuickEdit::Key::Up;
    case Qt::Key_Down: return QuickEdit::Key::Down;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return QuickEdit::Key::Tab;
    case Qt::Key_Return:
    case Qt::Key_Enter: return QuickEdit::Key::Return;
    default: return QuickEdit::Key::Other;
    }
}
}  // namespace

BinTable::BinTable(Store& store, BinController& bin, QWidget* parent)
    : QTableView(parent), m_store(store), m_bin(bin), m_model(new BinTableModel(store, bin, this)),
      m_delegate(new BinCellDelegate(this)), m_clock(monotonicSeconds)
{
    setModel(m_model);
    setItemDelegate(m_delegate);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::SelectedClicked | QAbstractItemView::EditKeyPressed
                    | QAbstractItemView::AnyKeyPressed);
    setWordWrap(false);
    setAlternatingRowColors(true);
    setContextMenuPolicy(Qt::CustomContextMenu);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 10);

    QHeaderView* header = horizontalHeader();
    header->setSectionsMovable(true);
    header->setSectionsClickable(true);
    header->setSortIndicatorShown(true);
    header->setSortIndicator(-1, Qt::AscendingOrder);
    header->setMinimumSectionSize(40);
    header->setStretchLastSection(false);
    header->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(header, &QHeaderView::sectionClicked, this, &BinTable::headerClicked);
    connect(header, &QHeaderView::sectionMoved, this, [this] { saveCustomization(); });
    connect(header, &QHeaderView::sectionResized, this, [this] { saveCustomization(); });
    connect(header, &QWidget::customContextMenuRequested, this, [this, header](const QPoint& pos) {
        QMenu* menu = headerMenu(this);
        menu->setAttribute(Qt::WA_DeleteOnClose);
        menu->popup(header->mapToGlobal(pos));
    });

    connect(this, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
        const QModelIndex index = indexAt(pos);
        if (!index.isValid())
            return;
        QMenu* menu = rowMenu(idsForRow(index.row()), this);
        menu->setAttribute(Qt::WA_DeleteOnClose);
        menu->popup(viewport()->mapToGlobal(pos));
    });
    connect(this, &QAbstractItemView::doubleClicked, this,
            [this](const QModelIndex& index) { m_bin.rowActions().openFiles(idsForRow(index.row())); });

    m_delegate->setKeyHandler(
        [this](QLineEdit*, QKeyEvent* event, const QModelIndex& index) { return quickEditKey(event, index); });
    m_delegate->setEditorOpened([this](const QModelIndex& index) {
        const QString key = index.data(BinTableModel::ColumnKeyRole).toString();
        const QUuid id = index.data(BinTableModel::RowIdRole).toUuid();
        m_quickEdit.focusedCellKey = QuickEdit::cellFocusKey(id, key);
        if (!m_navigating)
            m_quickEdit.startCol = key;
    });

    connect(m_model, &QAbstractItemModel::modelReset, this, [this] {
        applyCustomization();
        selectFromBin();
    });
    connect(m_model, &BinTableModel::columnsReset, this, &BinTable::applyCustomization);
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, &BinTable::selectionToBin);
    // The tools and the row actions select rows too (duplicates found, rows removed).
    connect(&m_bin, &BinController::selectionChanged, this, [this] {
        if (!m_syncingSelection)
            selectFromBin();
    });
    applyCustomization();
    selectFromBin();
}

// ---- column layout ----

void BinTable::applyCustomization()
{
    m_applying = true;
    QHeaderView* header = horizontalHeader();
    const QJsonObject custom = m_bin.columnCustomization();
    const QStringList& keys = m_model->columnKeys();
    // Columns the customization orders come first in its order; the others keep table order.
    QList<int> logical(keys.size());
    std::iota(logical.begin(), logical.end(), 0);
    std::stable_sort(logical.begin(), logical.end(), [&](int a, int b) {
        const QJsonValue oa = custom.value(keys[a]).toObject().value("order");
        const QJsonValue ob = custom.value(keys[b]).toObject().value("order");
        const int ra = oa.isDouble() ? oa.toInt() : int(keys.size()) + a;
        const int rb = ob.isDouble() ? ob.toInt() : int(keys.size()) + b;
        return ra < rb;
    });
    for (int visual = 0; visual < logical.size(); ++visual) {
        const int from = header->visualIndex(logical[visual]);
        if (from != visual)
            header->moveSection(from, visual);
    }
    for (int i = 0; i < keys.size(); ++i) {
        const QJsonObject entry = custom.value(keys[i]).toObject();
        const QJsonValue visible = entry.value("visible");
        const bool hidden = visible.isBool() ? !visible.toBool() : m_bin.defaultHidden().contains(keys[i]);
        header->setSectionHidden(i, hidden);
        const QJsonValue width = entry.value("width");
        header->resizeSection(i, width.isDouble() ? width.toInt() : defaultWidth(keys[i]));
        header->setSectionResizeMode(i,
                                     keys[i] == QLatin1String("kind") ? QHeaderView::Fixed : QHeaderView::Interactive);
    }
    if (!m_sortKeys.isEmpty() && m_model->columnOf(m_sortKeys.first().column) >= 0)
        header->setSortIndicator(m_model->columnOf(m_sortKeys.first().column),
                                 m_sortKeys.first().ascending ? Qt::AscendingOrder : Qt::DescendingOrder);
    else
        header->setSortIndicator(-1, Qt::AscendingOrder);
    m_tableID = m_bin.tableID();
    m_applying = false;
}

void BinTable::saveCustomization()
{
    if (m_applying)
        return;
    QHeaderView* header = horizontalHeader();
    QJsonObject custom = m_bin.columnCustomization();
    const QStringList& keys = m_model->columnKeys();
    for (int i = 0; i < keys.size(); ++i) {
        QJsonObject entry;
        entry.insert("visible", !header->isSectionHidden(i));
        entry.insert("order", header->visualIndex(i));
        entry.insert("width", header->sectionSize(i) > 0 ? header->sectionSize(i) : defaultWidth(keys[i]));
        custom.insert(keys[i], entry);
    }
    m_bin.setColumnCustomization(custom);
}

QMenu* BinTable::headerMenu(QWidget* parent)
{
    auto* menu = new QMenu(parent);
    QHeaderView* header = horizontalHeader();
    for (int visual = 0; visual < header->count(); ++visual) {
        const int logical = header->logicalIndex(visual);
        QAction* action = menu->addAction(m_model->headerData(logical, Qt::Horizontal).toString());
        action->setCheckable(true);
        action->setChecked(!header->isSectionHidden(logical));
        connect(action, &QAction::toggled, this, [this, header, logical](bool on) {
            header->setSectionHidden(logical, !on);
            saveCustomization();
        });
    }
    return menu;
}

// ---- sorting ----

void BinTable::headerClicked(int section)
{
    const QString key = m_model->columnKey(section);
    if (key.isEmpty())
        return;
    bool ascending = true;
    if (!m_sortKeys.isEmpty() && m_sortKeys.first().column == key)
        ascending = !m_sortKeys.first().ascending;
    sortByColumn(key, ascending);
}

void BinTable::sortByColumn(const QString& key, bool ascending)
{
    m_sortKeys.removeIf([&key](const BinSortKey& k) { return k.column == key; });
    m_sortKeys.prepend({key, ascending});
    m_bin.sortRows(m_sortKeys);
    horizontalHeader()->setSortIndicator(m_model->columnOf(key), ascending ? Qt::AscendingOrder : Qt::DescendingOrder);
}

// ---- selection ----

void BinTable::selectFromBin()
{
    m_syncingSelection = true;
    QItemSelection selection;
    const QSet<QUuid>& ids = m_bin.selection();
    const QList<BinRow>& rows = m_bin.rows();
    const int last = m_model->columnCount() - 1;
    for (int i = 0; !ids.isEmpty() && i < m_model->rowCount(); ++i) {
        if (!ids.contains(rows[i].id))
            continue;
        int j = i;
        while (j + 1 < m_model->rowCount() && ids.contains(rows[j + 1].id))
            ++j;
        selection.select(m_model->index(i, 0), m_model->index(j, last));
        i = j;
    }
    selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
    m_syncingSelection = false;
}

void BinTable::selectionToBin()
{
    if (m_syncingSelection)
        return;
    QSet<QUuid> ids;
    for (const QModelIndex& index : selectionModel()->selectedRows())
        ids.insert(index.data(BinTableModel::RowIdRole).toUuid());
    m_syncingSelection = true;
    m_bin.setSelection(ids);
    m_syncingSelection = false;
}

QSet<QUuid> BinTable::idsForRow(int row) const
{
    const QUuid id = m_model->index(row, 0).data(BinTableModel::RowIdRole).toUuid();
    if (id.isNull())
        return {};
    return m_bin.selection().contains(id) ? m_bin.selection() : QSet<QUuid>{id};
}

QMenu* BinTable::rowMenu(const QSet<QUuid>& ids, QWidget* parent)
{
    auto* menu = new QMenu(parent);
    menu->addAction(L("Open", "打开"), this, [this, ids] { m_bin.rowActions().openFiles(ids); });
    menu->addAction(L("Quick Look", "快速查看"), this, [this, ids] { m_bin.rowActions().quickLookRows(ids); });
    menu->addAction(L("Show in File Manager", "在文件管理器中显示"), this,
                    [this, ids] { m_bin.rowActions().revealInFinder(ids); });
    menu->addAction(L("Copy Path", "复制路径"), this, [this, ids] { m_bin.rowActions().copyPaths(ids); });
    menu->addSeparator();
    menu->addAction(L("Remove from list", "从列表移除"), this, [this, ids] { m_bin.rowActions().removeRows(ids); });
    return menu;
}

// ---- keys and mouse ----

void BinTable::keyPressEvent(QKeyEvent* event)
{
    if (!isEditingCell()) {
        if (event->matches(QKeySequence::Delete) || event->key() == Qt::Key_Backspace) {
            m_bin.rowActions().removeRows(m_bin.selection());
            event->accept();
            return;
        }
        if (event->key() == Qt::Key_Space && event->modifiers() == Qt::NoModifier) {
            m_bin.rowActions().quickLookRows(m_bin.selection());
            event->accept();
            return;
        }
    }
    QTableView::keyPressEvent(event);
}

void BinTable::mousePressEvent(QMouseEvent* event)
{
    // A right click opens the row menu and leaves the selection as it is.
    if (event->button() == Qt::RightButton) {
        event->accept();
        return;
    }
    QTableView::mousePressEvent(event);
}

void BinTable::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint)
{
    if (!m_navigating)
        m_quickEdit.focusedCellKey.reset();
    QTableView::closeEditor(editor, hint);
}

QWidget* BinTable::cellEditor() const
{
    const QModelIndex current = currentIndex();
    return current.isValid() ? indexWidget(current) : nullptr;
}

bool BinTable::focusCell(const QUuid& id, const QString& column)
{
    const QModelIndex index = m_model->indexOf(id, column);
    if (!index.isValid() || !(index.flags() & Qt::ItemIsEditable)
        || horizontalHeader()->isSectionHidden(index.column()))
        return false;
    setCurrentIndex(index);
    return edit(index, QAbstractItemView::AllEditTriggers, nullptr);
}

bool BinTable::quickEditKey(QKeyEvent* event, const QModelIndex& index)
{
    const QUuid id = index.data(BinTableModel::RowIdRole).toUuid();
    const QString column = index.data(BinTableModel::ColumnKeyRole).toString();
    QStringList fieldIds;
    for (const auto& col : m_bin.fieldColumns())
        fieldIds.append(col.id);
    const QuickEdit::Columns columns{fieldIds, m_store.meta().binCheckboxCols};
    const bool shift = event->key() == Qt::Key_Backtab || (event->modifiers() & Qt::ShiftModifier);
    const std::optional<QString> before = m_quickEdit.focusedCellKey;
    const QuickEdit::Outcome out = QuickEdit::handleKey(m_quickEdit, quickKey(event->key()), shift, m_clock(),
                                                        m_store.prefs().quickEditMode, m_bin.rows(), id, column,
                                                        columns);
    if (!out.handled)
        return false;
    if (out.commit) {
        m_bin.commitFieldEdit(out.commit->text, out.commit->rowId, out.commit->column);
        if (out.commit->rowId == id && out.commit->column == column)
            if (auto* line = qobject_cast<QLineEdit*>(indexWidget(index)))
                line->setText(m_model->indexOf(id, column).data(Qt::EditRole).toString());
    }
    if (m_quickEdit.focusedCellKey && m_quickEdit.focusedCellKey != before)
        moveFocus(*m_quickEdit.focusedCellKey);
    return true;
}

// The target may have no editor on screen (the Status column, a hidden column, a cell the
// row's kind does not offer): then no cell keeps the focus.
void BinTable::moveFocus(const QString& focusKey)
{
    const auto target = QuickEdit::parseCellFocusKey(focusKey);
    m_navigating = true;
    if (QWidget* editor = cellEditor())
        closeEditor(editor, QAbstractItemDelegate::NoHint);
    const bool opened = target && focusCell(target->first, target->second);
    if (!opened) {
        const QModelIndex index = target ? m_model->indexOf(target->first, target->second) : QModelIndex();
        if (index.isValid())
            setCurrentIndex(index);
    }
    m_quickEdit.focusedCellKey = focusKey;
    m_navigating = false;
    if (opened)
        if (QWidget* editor = cellEditor())
            editor->setFocus();
}
