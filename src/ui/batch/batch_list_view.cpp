#include "batch_list_view.h"

#include "batch_list_model.h"

#include <QMouseEvent>
#include <QResizeEvent>

namespace {
constexpr int kRelayoutDelayMs = 200;
}  // namespace

BatchListView::BatchListView(QWidget* parent) : QTreeView(parent)
{
    m_relayout.setSingleShot(true);
    m_relayout.setInterval(kRelayoutDelayMs);
    connect(&m_relayout, &QTimer::timeout, this, [this] { scheduleDelayedItemsLayout(); });
}

void BatchListView::rowsChanged()
{
    if (!uniformRowHeights()) {
        const QModelIndex first = indexAt(QPoint(0, 0));
        const QModelIndex last = indexAt(QPoint(0, viewport()->height() - 1));
        // Measuring a row reads its name as painting it does, under the same budget.
        auto* names = qobject_cast<BatchListModel*>(model());
        if (names)
            names->setPainting(true);
        if (first.isValid())
            dataChanged(first, last.isValid() ? last : model()->index(model()->rowCount() - 1, 0));
        if (names)
            names->setPainting(false);
        m_relayout.start();
    }
    viewport()->update();
}

void BatchListView::mousePressEvent(QMouseEvent* event)
{
    // With "Selected files" the selection is what Apply renames: a right click must not move it.
    if (event->button() == Qt::RightButton) {
        event->accept();
        return;
    }
    QTreeView::mousePressEvent(event);
}

void BatchListView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::RightButton) {
        event->accept();
        return;
    }
    QTreeView::mouseReleaseEvent(event);
}

void BatchListView::resizeEvent(QResizeEvent* event)
{
    QTreeView::resizeEvent(event);
    if (!uniformRowHeights() && event->size().width() != event->oldSize().width())
        scheduleDelayedItemsLayout();
}

void BatchListView::paintEvent(QPaintEvent* event)
{
    auto* names = qobject_cast<BatchListModel*>(model());
    if (names)
        names->setPainting(true);
    QTreeView::paintEvent(event);
    if (names)
        names->setPainting(false);
}
