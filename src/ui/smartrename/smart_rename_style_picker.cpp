#include "smart_rename_style_picker.h"

#include "common/internal_drags.h"
#include "model/name_preview.h"
#include "model/store.h"

#include <QHBoxLayout>

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
    m_store.preview().dropSmartFixes();
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
    : DragChip(rawValue(style), InternalDrag::styleChip, rawValue(style), picker), m_style(style)
{
    setOnClick([picker, style] { picker->selectStyle(style); });
    setOnDrop([picker, style](const QStringList& dropped) { return picker->moveStyle(dropped, style); });
}
