#include "drag_chip.h"

#include "internal_drags.h"

#include <QApplication>
#include <QDrag>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QMouseEvent>

DragChip::DragChip(const QString& text, const char* dragType, const QString& payload, QWidget* parent)
    : QLabel(text, parent), m_type(dragType), m_payload(payload)
{
    QFont f = font();
    f.setPointSizeF(f.pointSizeF() * 0.9);
    setFont(f);
    setAlignment(Qt::AlignCenter);
    setAcceptDrops(true);
    setCursor(Qt::PointingHandCursor);
    setSelected(false);
}

void DragChip::setSelected(bool on)
{
    // The application's palette: the widget's own already carries the colours of the last style
    // sheet, which would keep a deselected chip's text white.
    const QPalette pal = QApplication::palette(this);
    const QString background = on ? pal.color(QPalette::Highlight).name() : QStringLiteral("rgba(128,128,128,38)");
    const QString text = on ? QStringLiteral("white") : pal.color(QPalette::WindowText).name();
    setStyleSheet(QStringLiteral("QLabel { background: %1; color: %2; border-radius: 6px; padding: 4px %3px; }")
                      .arg(background, text)
                      .arg(m_hPadding));
    setProperty("selected", on);
}

void DragChip::mousePressEvent(QMouseEvent* e)
{
    m_pressPos = e->position().toPoint();
    m_dragging = false;
}

void DragChip::mouseMoveEvent(QMouseEvent* e)
{
    if (!(e->buttons() & Qt::LeftButton)
        || (e->position().toPoint() - m_pressPos).manhattanLength() < QApplication::startDragDistance())
        return;
    m_dragging = true;
    auto* drag = new QDrag(this);
    drag->setMimeData(InternalDrag::makeMimeData(m_type, m_payload));
    drag->setPixmap(grab());
    drag->exec(Qt::MoveAction);
}

void DragChip::mouseReleaseEvent(QMouseEvent* e)
{
    if (e->button() == Qt::LeftButton && !m_dragging && rect().contains(e->position().toPoint()) && m_onClick)
        m_onClick();
    m_dragging = false;
}

void DragChip::dragEnterEvent(QDragEnterEvent* e)
{
    if (e->mimeData()->hasFormat(QString::fromLatin1(m_type)))
        e->acceptProposedAction();
    else
        e->ignore();
}

void DragChip::dropEvent(QDropEvent* e)
{
    const QStringList dropped = InternalDrag::payload(e->mimeData(), m_type);
    if (m_onDrop && m_onDrop(dropped))
        e->acceptProposedAction();
    else
        e->ignore();
}
