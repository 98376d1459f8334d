#include "disclosure_group.h"

#include <QToolButton>
#include <QVBoxLayout>

DisclosureGroup::DisclosureGroup(QWidget* parent)
    : QWidget(parent), m_header(new QToolButton(this)), m_layout(new QVBoxLayout(this))
{
    m_layout->setContentsMargins(0, 0, 0, 0);
    m_layout->setSpacing(4);
    m_header->setObjectName("disclosureHeader");
    m_header->setCheckable(true);
    m_header->setAutoRaise(true);
    m_header->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_header->setArrowType(Qt::RightArrow);
    m_layout->addWidget(m_header, 0, Qt::AlignLeft);
    connect(m_header, &QToolButton::toggled, this, [this](bool on) {
        m_header->setArrowType(on ? Qt::DownArrow : Qt::RightArrow);
        if (m_body)
            m_body->setVisible(on);
        emit expandedChanged(on);
    });
}

void DisclosureGroup::setBody(QWidget* body)
{
    if (m_body) {
        m_layout->removeWidget(m_body);
        m_body->deleteLater();
    }
    m_body = body;
    if (m_body) {
        m_body->setParent(this);
        m_layout->addWidget(m_body);
        m_body->setVisible(isExpanded());
    }
}

bool DisclosureGroup::isExpanded() const
{
    return m_header->isChecked();
}

void DisclosureGroup::setExpanded(bool on)
{
    m_header->setChecked(on);
}
