#include "batch_row_delegate.h"

#include "batch_list_model.h"
#include "common/icons.h"
#include "highlighted_name.h"
#include "model/store.h"
#include "platform/lang.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QTextLayout>
#include <QToolTip>
#include <cmath>

namespace {
constexpr int kPad = 4;
constexpr int kSpacing = 8;
constexpr int kNumberWidth = 26;
constexpr int kIconSize = 18;
constexpr int kCheckSize = 16;
constexpr int kRemoveSize = 16;

QFont captionFont(QFont f)
{
    f.setPointSizeF(std::max(6.0, f.pointSizeF() - 2));
    return f;
}
QFont newNameFont(QFont f)
{
    f.setWeight(QFont::Medium);
    return f;
}
QColor secondary(const QPalette& p)
{
    return p.color(QPalette::PlaceholderText);
}

// Lays out text into width; returns its height. Without wrapping the caller elides first.
qreal layoutText(QTextLayout& layout, const QString& text, const QFont& font, int width, bool wrap)
{
    layout.setText(text);
    layout.setFont(font);
    QTextOption opt;
    opt.setWrapMode(wrap ? QTextOption::WrapAtWordBoundaryOrAnywhere : QTextOption::NoWrap);
    layout.setTextOption(opt);
    layout.beginLayout();
    qreal y = 0;
    for (;;) {
        QTextLine line = layout.createLine();
        if (!line.isValid())
            break;
        line.setLineWidth(width);
        line.setPosition(QPointF(0, y));
        y += line.height();
    }
    layout.endLayout();
    return y;
}

// The text as drawn on one line: cut in the middle when it doesn't fit.
QString fitted(const QString& text, const QFont& font, int width, bool wrap)
{
    return wrap ? text : QFontMetrics(font).elidedText(text, Qt::ElideMiddle, width);
}
}  // namespace

BatchRowDelegate::BatchRowDelegate(Store& store, QWidget* view)
    : QStyledItemDelegate(view), m_store(store), m_view(view), m_warning(symbolIcon("exclamationmark.triangle.fill")),
      m_remove(symbolIcon("xmark.circle.fill"))
{}

BatchRowDelegate::Geometry BatchRowDelegate::geometry(const QRect& row, bool showAI)
{
    Geometry g;
    const QRect r = row.adjusted(kPad, kPad, -kPad, -kPad);
    auto centred = [&r](int x, int size) { return QRect(x, r.center().y() - size / 2, size, size); };
    int x = r.left();
    g.number = QRect(x, r.top(), kNumberWidth, r.height());
    x += kNumberWidth + kSpacing;
    if (showAI) {
        g.aiCheck = centred(x, kCheckSize);
        x += kCheckSize + kSpacing;
    }
    g.icon = centred(x, kIconSize);
    x += kIconSize + kSpacing;
    g.remove = centred(r.right() - kRemoveSize + 1, kRemoveSize);
    g.names = QRect(x, r.top(), std::max(20, g.remove.left() - 4 - kSpacing - x), r.height());
    return g;
}

int BatchRowDelegate::namesWidth(const QStyleOptionViewItem& option, bool showAI) const
{
    QRect row = option.rect;
    if (auto* view = qobject_cast<QAbstractItemView*>(m_view))
        row.setWidth(view->viewport()->width());
    return geometry(row, showAI).names.width();
}

void BatchRowDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    QStyle* style = opt.widget ? opt.widget->style() : QApplication::style();
    style->drawPrimitive(QStyle::PE_PanelItemViewItem, &opt, painter, opt.widget);

    const bool showAI = index.data(BatchListModel::ShowAIRole).toBool();
    const Geometry g = geometry(opt.rect, showAI);
    const bool wrap = m_store.prefs().wrapNames;
    const bool selected = opt.state & QStyle::State_Selected;
    const QPalette& pal = opt.palette;
    const QColor primary = pal.color(selected ? QPalette::HighlightedText : QPalette::Text);
    const QColor dim = selected ? primary : secondary(pal);

    painter->save();
    painter->setFont(captionFont(opt.font));
    painter->setPen(dim);
    painter->drawText(g.number, Qt::AlignRight | Qt::AlignVCenter,
                      QString::number(index.data(BatchListModel::StoreIndexRole).toInt() + 1));

    if (showAI) {
        QStyleOptionButton check;
        check.rect = g.aiCheck;
        check.state = QStyle::State_Enabled
                    | (index.data(BatchListModel::UseAIRole).toBool() ? QStyle::State_On : QStyle::State_Off);
        style->drawPrimitive(QStyle::PE_IndicatorCheckBox, &check, painter, opt.widget);
    }
    index.data(Qt::DecorationRole).value<QIcon>().paint(painter, g.icon);

    const QString oldName = index.data(BatchListModel::OldNameRole).toString();
    const QString newName = index.data(BatchListModel::NewNameRole).toString();
    const QString reason = index.data(BatchListModel::ConflictRole).toString();
    const QFont oldFont = opt.font;
    const QFont newFont = newNameFont(opt.font);
    const int width = g.names.width();

    QTextLayout oldLayout;
    const qreal oldHeight = layoutText(oldLayout, fitted(oldName, oldFont, width, wrap), oldFont, width, wrap);
    QTextLayout newLayout;
    int newX = g.names.left();
    QColor newColor = primary;
    if (!reason.isEmpty()) {
        newX += QFontMetrics(captionFont(opt.font)).height() + 4;
        newColor = QColor(Qt::red);
    }
    const QString shown = fitted(newName, newFont, g.names.right() - newX, wrap);
    if (reason.isEmpty() && shown == newName) {
        // The highlight is only drawn on the whole name, not on a shortened one.
        const HighlightedName h = highlightedName(oldName, newName);
        if (h.length > 0) {
            QTextLayout::FormatRange range;
            range.start = h.start;
            range.length = h.length;
            QColor accent = pal.color(QPalette::Highlight);
            accent.setAlphaF(0.22);
            range.format.setBackground(accent);
            newLayout.setFormats({range});
        }
    }
    const qreal newHeight = layoutText(newLayout, shown, newFont, g.names.right() - newX, wrap);
    const qreal total = oldHeight + 1 + newHeight;
    const qreal top = g.names.top() + std::max(0.0, (g.names.height() - total) / 2);
    painter->setPen(dim);
    oldLayout.draw(painter, QPointF(g.names.left(), top));
    if (!reason.isEmpty()) {
        const int sign = QFontMetrics(captionFont(opt.font)).height();
        const QFontMetrics fm(newFont);
        const int signTop = int(top + oldHeight + 1 + (fm.height() - sign) / 2);
        m_warning.paint(painter, QRect(g.names.left(), signTop, sign, sign));
    }
    painter->setPen(newColor);
    newLayout.draw(painter, QPointF(newX, top + oldHeight + 1));

    m_remove.paint(painter, g.remove, Qt::AlignCenter, QIcon::Disabled);
    painter->restore();
}

QSize BatchRowDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const QFont oldFont = option.font;
    const QFont newFont = newNameFont(option.font);
    int height = QFontMetrics(oldFont).height() + 1 + QFontMetrics(newFont).height();
    if (m_store.prefs().wrapNames) {
        const bool showAI = index.data(BatchListModel::ShowAIRole).toBool();
        const int width = namesWidth(option, showAI);
        const int newWidth = index.data(BatchListModel::ConflictRole).toString().isEmpty()
                               ? width
                               : width - QFontMetrics(captionFont(option.font)).height() - 4;
        QTextLayout a, b;
        height = int(
            std::ceil(layoutText(a, index.data(BatchListModel::OldNameRole).toString(), oldFont, width, true) + 1
                      + layoutText(b, index.data(BatchListModel::NewNameRole).toString(), newFont, newWidth, true)));
    }
    return QSize(200, std::max(height, kIconSize) + 2 * kPad);
}

bool BatchRowDelegate::editorEvent(QEvent* event, QAbstractItemModel*, const QStyleOptionViewItem& option,
                                   const QModelIndex& index)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonRelease && type != QEvent::MouseButtonDblClick)
        return false;
    auto* mouse = static_cast<QMouseEvent*>(event);
    if (mouse->button() != Qt::LeftButton)
        return false;
    const bool showAI = index.data(BatchListModel::ShowAIRole).toBool();
    const Geometry g = geometry(option.rect, showAI);
    const QPoint pos = mouse->position().toPoint();
    const bool onRemove = g.remove.adjusted(-2, -2, 2, 2).contains(pos);
    const bool onCheck = showAI && g.aiCheck.adjusted(-2, -2, 2, 2).contains(pos);
    if (!onRemove && !onCheck)
        return false;
    // The press is taken too, so a click on a row's button doesn't select the row.
    if (type == QEvent::MouseButtonRelease) {
        const QUuid id = index.data(BatchListModel::ItemIdRole).toUuid();
        if (onRemove)
            emit removeClicked(id);
        else
            emit aiToggled(id, !index.data(BatchListModel::UseAIRole).toBool());
    }
    return true;
}

QString BatchRowDelegate::toolTipAt(const QRect& row, const QModelIndex& index, const QPoint& pos)
{
    const bool showAI = index.data(BatchListModel::ShowAIRole).toBool();
    if (showAI && geometry(row, true).aiCheck.adjusted(-2, -2, 2, 2).contains(pos))
        return L("Apply this file's AI name", "对此文件应用 AI 名称");
    return index.data(Qt::ToolTipRole).toString();
}

bool BatchRowDelegate::helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                                 const QModelIndex& index)
{
    if (event->type() != QEvent::ToolTip || !index.isValid())
        return QStyledItemDelegate::helpEvent(event, view, option, index);
    const QString tip = toolTipAt(option.rect, index, event->pos());
    if (tip.isEmpty())
        QToolTip::hideText();
    else
        QToolTip::showText(event->globalPos(), tip, view->viewport(), option.rect);
    return true;
}
