#include "segmented_control.h"

#include <QHBoxLayout>
#include <QToolButton>

namespace {
const char* kTag = "segmentTag";
}  // namespace

SegmentedControl::SegmentedControl(QWidget* parent) : QWidget(parent), m_layout(new QHBoxLayout(this))
{
    m_layout->setContentsMargins(0, 0, 0, 0);
    m_layout->setSpacing(0);
}

QToolButton* SegmentedControl::addSegment(const QString& text, int tag)
{
    auto* b = new QToolButton(this);
    b->setText(text);
    b->setCheckable(true);
    b->setAutoRaise(false);
    b->setToolButtonStyle(Qt::ToolButtonTextOnly);
    b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    b->setProperty(kTag, tag);
    // Exclusivity is kept by hand: QButtonGroup's exclusive mode cannot show "none".
    connect(b, &QToolButton::clicked, this, [this, b] { onClicked(b); });
    m_layout->addWidget(b);
    m_buttons.append(b);
    return b;
}

int SegmentedControl::currentTag() const
{
    for (QToolButton* b : m_buttons)
        if (b->isChecked())
            return b->property(kTag).toInt();
    return -1;
}

void SegmentedControl::setCurrentTag(int tag)
{
    for (QToolButton* b : m_buttons)
        b->setChecked(b->property(kTag).toInt() == tag);
}

void SegmentedControl::onClicked(QToolButton* button)
{
    const int tag = button->property(kTag).toInt();
    setCurrentTag(tag);  // a click on the checked segment keeps it checked
    emit activated(tag);
}
