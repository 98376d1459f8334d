#include "rule_card.h"

#include "common/icons.h"
#include "common/internal_drags.h"

#include <QApplication>
#include <QDrag>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QHBoxLayout>
#include <QMimeData>
#include <QMouseEvent>

DragHandle::DragHandle(QString payload, QWidget* parent) : QLabel(parent), m_payload(std::move(payload))
{
    // The style's stand-in pixmaps have no grip, so without a theme icon the glyph is used.
    if (QIcon::hasThemeIcon(themeIconName("line.3.horizontal"))) {
        setPixmap(symbolIcon("line.3.horizontal").pixmap(16, 16));
    } else {
        setText(QStringLiteral("≡"));
        QFont f = font();
        f.setPointSizeF(f.pointSizeF() * 1.4);
        setFont(f);
    }
    setContentsMargins(0, 11, 0, 0);
    setAlignment(Qt::AlignTop | Qt::AlignHCenter);
    setCursor(Qt::OpenHandCursor);
    setEnabled(true);
    QPalette p = palette();
    p.setColor(QPalette::WindowText, p.color(QPalette::PlaceholderText));
    setPalette(p);
}

QMimeData* DragHandle::makeMimeData() const
{
    return InternalDrag::makeMimeData(InternalDrag::ruleCard, m_payload);
}

void DragHandle::mousePressEvent(QMouseEvent* e)
{
    if (e->button() == Qt::LeftButton)
        m_pressPos = e->position().toPoint();
    QLabel::mousePressEvent(e);
}

void DragHandle::mouseMoveEvent(QMouseEvent* e)
{
    if (!(e->buttons() & Qt::LeftButton)
        || (e->position().toPoint() - m_pressPos).manhattanLength() < QApplication::startDragDistance())
        return;
    auto* drag = new QDrag(this);
    drag->setMimeData(makeMimeData());
    if (QWidget* card = parentWidget())
        drag->setPixmap(card->grab());
    drag->exec(Qt::MoveAction);
}

RuleCard::RuleCard(BatchRuleKind kind, QWidget* box, DropHandler onDrop, QWidget* parent)
    : QWidget(parent), m_kind(kind), m_handle(new DragHandle(rawValue(kind), this)), m_box(box),
      m_onDrop(std::move(onDrop))
{
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(6);
    row->addWidget(m_handle, 0, Qt::AlignTop);
    box->setParent(this);
    row->addWidget(box, 1);
    setAcceptDrops(true);
}

QStringList droppedStrings(const QMimeData* mime)
{
    return InternalDrag::payload(mime, InternalDrag::ruleCard);
}

void RuleCard::dragEnterEvent(QDragEnterEvent* e)
{
    // No highlight while hovering: accepting is enough to let the drop through. Anything else
    // (files above all) is left to the window.
    if (e->mimeData()->hasFormat(InternalDrag::ruleCard))
        e->acceptProposedAction();
    else
        e->ignore();
}

void RuleCard::dragMoveEvent(QDragMoveEvent* e)
{
    if (e->mimeData()->hasFormat(InternalDrag::ruleCard))
        e->acceptProposedAction();
    else
        e->ignore();
}

void RuleCard::dropEvent(QDropEvent* e)
{
    if (m_onDrop(droppedStrings(e->mimeData()), m_kind))
        e->acceptProposedAction();
    else
        e->ignore();
}
