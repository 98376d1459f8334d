#include "smart_rename_style_picker.h"

#include "common/internal_drags.h"
#include "model/name_preview.h"
#include "model/store.h"

#include <QApplication>
#include <QDrag>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QHBoxLayout>
#include <QMimeData>
#include <QMouseEvent>

SmartRenameStylePicker::SmartRenameStylePicker(Store& store, bool isDisabled, QWidget* parent)
    : QWidget(parent), m_store(store), m_disabled(isDisabled), m_layout(new QHBoxLayout(this))
{
    m_layout->setContentsMargins(0, 0, 0, 0);
    m_layout->setSpacing(4);
    setEnabled(!isDisabled);
    rebuild();
    connect(&m_store, &Store::smartChanged, this, &SmartRenameStylePicker::rebuild);
    connect(&m_store, &Store::sectionsChanged, this, &SmartRenameStylePicker::restyle);
}

void SmartRenameStylePicker::rebuild()
{
    const QList<SmartRenameStyle>& order = m_store.smart().smartRenameStyleOrder;
    if (order == m_shownOrder && !m_chips.isEmpty()) {
        restyle();
        return;
    }
    // A drop on a chip rebuilds the row from inside that chip's handler: delete later.
    for (StyleChip* chip : std::as_const(m_chips)) {
        chip->hide();
        chip->deleteLater();
    }
    m_chips.clear();
    while (QLayoutItem* item = m_layout->takeAt(0))
        delete item;
    m_layout->addStretch(1);
    for (SmartRenameStyle style : order) {
        auto* chip = new StyleChip(style, this);
        m_layout->addWidget(chip);
        chip->show();
        m_chips.append(chip);
    }
    m_layout->addStretch(1);
    m_shownOrder = order;
    restyle();
}

void SmartRenameStylePicker::restyle()
{
    for (StyleChip* chip : std::as_const(m_chips))
        chip->setSelected(chip->style() == m_store.sections().smartRenameStyle);
}

void SmartRenameStylePicker::selectStyle(SmartRenameStyle style)
{
    m_store.editSections([&](NameSections& s) { s.smartRenameStyle = style; });
    m_store.preview().smartFixCache().clear();
}

bool SmartRenameStylePicker::moveStyle(const QStringList& dropped, SmartRenameStyle target)
{
    if (dropped.isEmpty())
        return false;
    const std::optional<SmartRenameStyle> style = lookupRawValue<SmartRenameStyle>(dropped.first());
    if (!style)
        return false;
    QList<SmartRenameStyle> order = m_store.smart().smartRenameStyleOrder;
    const qsizetype from = order.indexOf(*style);
    const qsizetype to = order.indexOf(target);
    if (from < 0 || to < 0 || from == to)
        return false;
    order.move(from, to);
    m_store.setSmartRenameStyleOrder(order);
    return true;
}

StyleChip::StyleChip(SmartRenameStyle style, SmartRenameStylePicker* picker)
    : QLabel(rawValue(style), picker), m_style(style), m_picker(picker)
{
    QFont f = font();
    f.setPointSizeF(f.pointSizeF() * 0.9);
    setFont(f);
    setAlignment(Qt::AlignCenter);
    setAcceptDrops(true);
    setCursor(Qt::PointingHandCursor);
}

void StyleChip::setSelected(bool on)
{
    const QPalette pal = palette();
    const QString background = on ? pal.color(QPalette::Highlight).name() : QStringLiteral("rgba(128,128,128,38)");
    const QString text = on ? QStringLiteral("white") : pal.color(QPalette::WindowText).name();
    setStyleSheet(QStringLiteral("QLabel { background: %1; color: %2; border-radius: 6px; padding: 4px 6px; }")
                      .arg(background, text));
    setProperty("selected", on);
}

void StyleChip::mousePressEvent(QMouseEvent* e)
{
    m_pressPos = e->position().toPoint();
    m_dragging = false;
}

void StyleChip::mouseMoveEvent(QMouseEvent* e)
{
    if (!(e->buttons() & Qt::LeftButton)
        || (e->position().toPoint() - m_pressPos).manhattanLength() < QApplication::startDragDistance())
        return;
    m_dragging = true;
    auto* drag = new QDrag(this);
    drag->setMimeData(InternalDrag::makeMimeData(InternalDrag::styleChip, rawValue(m_style)));
    drag->setPixmap(grab());
    drag->exec(Qt::MoveAction);
}

void StyleChip::mouseReleaseEvent(QMouseEvent* e)
{
    if (e->button() == Qt::LeftButton && !m_dragging && rect().contains(e->position().toPoint()))
        m_picker->selectStyle(m_style);
    m_dragging = false;
}

void StyleChip::dragEnterEvent(QDragEnterEvent* e)
{
    if (e->mimeData()->hasFormat(InternalDrag::styleChip))
        e->acceptProposedAction();
    else
        e->ignore();
}

void StyleChip::dropEvent(QDropEvent* e)
{
    const QStringList dropped = InternalDrag::payload(e->mimeData(), InternalDrag::styleChip);
    if (m_picker->moveStyle(dropped, m_style))
        e->acceptProposedAction();
    else
        e->ignore();
}
