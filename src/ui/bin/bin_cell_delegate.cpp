#include "bin_cell_delegate.h"

#include "bin_table_model.h"
#include "common/icons.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>

namespace {
const char* const kIndexProperty = "binCellIndex";
constexpr int kGap = 6;

QFont caption2(QFont f)
{
    f.setPointSizeF(std::max(6.0, f.pointSizeF() - 3));
    return f;
}

bool isQuickEditKey(int key)
{
    switch (key) {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Return:
    case Qt::Key_Enter: return true;
    default: return false;
    }
}
}  // namespace

BinCellDelegate::BinCellDelegate(QObject* parent) : QStyledItemDelegate(parent) {}

QWidget* BinCellDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex& index) const
{
    auto* editor = new QLineEdit(parent);
    editor->setFrame(false);
    editor->setProperty(kIndexProperty, QVariant::fromValue(QPersistentModelIndex(index)));
    // Every change is committed as it is typed, so the table, the drafts and formulas follow it.
    connect(editor, &QLineEdit::textEdited, editor, [editor](const QString& text) {
        const auto index = editor->property(kIndexProperty).value<QPersistentModelIndex>();
        if (index.isValid())
            const_cast<QAbstractItemModel*>(index.model())->setData(index, text, Qt::EditRole);
    });
    if (m_editorOpened)
        m_editorOpened(index);
    return editor;
}

void BinCellDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const
{
    auto* line = qobject_cast<QLineEdit*>(editor);
    const QString text = index.data(Qt::EditRole).toString();
    // A date being typed reads back empty until it parses; keep what the user typed.
    if (line && line->text() != text && !line->isModified())
        line->setText(text);
}

void BinCellDelegate::setModelData(QWidget*, QAbstractItemModel*, const QModelIndex&) const
{
    // Already committed change by change.
}

void BinCellDelegate::initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    if (index.data(BinTableModel::ColumnKeyRole).toString() == QLatin1String("name"))
        option->textElideMode = Qt::ElideMiddle;
    if (index.data(BinTableModel::CellKindRole).toInt() == int(BinTableModel::CellKind::Checkbox))
        option->displayAlignment = Qt::AlignCenter;
}

void BinCellDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const QString accessory = index.data(BinTableModel::AccessoryRole).toString();
    const bool warning = index.data(BinTableModel::WarningRole).toBool();
    if (accessory.isEmpty() && !warning) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    const QFont small = caption2(opt.font);
    const QFontMetrics fm(small);
    const QRect cell = opt.rect.adjusted(2, 0, -4, 0);
    // The result gets the room the text leaves, and at least a third of the cell.
    const int textWidth = QFontMetrics(opt.font).horizontalAdvance(opt.text) + 8;
    const int room = std::max(cell.width() - textWidth - kGap, cell.width() / 3);
    const int accessoryWidth = warning ? fm.height() + 2 : std::min(fm.horizontalAdvance(accessory), room);
    QStyleOptionViewItem textOpt = opt;
    textOpt.rect.setRight(cell.right() - accessoryWidth - kGap);
    const QWidget* widget = opt.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &textOpt, painter, widget);
    const QRect right(cell.right() - accessoryWidth, cell.top(), accessoryWidth, cell.height());
    painter->save();
    if (warning) {
        const int side = fm.height();
        const QRect iconRect(right.left(), right.center().y() - side / 2, side, side);
        symbolIcon("exclamationmark.triangle.fill").paint(painter, iconRect);
    } else {
        painter->setFont(small);
        const bool selected = opt.state & QStyle::State_Selected;
        painter->setPen(opt.palette.color(selected ? QPalette::HighlightedText : QPalette::PlaceholderText));
        painter->drawText(right, Qt::AlignVCenter | Qt::AlignLeft,
                          fm.elidedText(accessory, Qt::ElideRight, accessoryWidth));
    }
    painter->restore();
}

bool BinCellDelegate::eventFilter(QObject* watched, QEvent* event)
{
    auto* editor = qobject_cast<QLineEdit*>(watched);
    if (editor && m_keyHandler && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        const auto index = editor->property(kIndexProperty).value<QPersistentModelIndex>();
        if (isQuickEditKey(key->key()) && index.isValid() && m_keyHandler(editor, key, index))
            return true;
    }
    return QStyledItemDelegate::eventFilter(watched, event);
}
