#include "section_box.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

SectionBox::SectionBox(const QString& title, QWidget* parent)
    : QWidget(parent), m_toggle(new QCheckBox(title, this)), m_header(new QHBoxLayout), m_layout(new QVBoxLayout(this))
{
    m_layout->setContentsMargins(0, 0, 0, 0);
    m_header->setContentsMargins(0, 0, 0, 0);
    m_header->addWidget(m_toggle);
    m_header->addStretch(1);
    m_layout->addLayout(m_header);
    connect(m_toggle, &QCheckBox::clicked, this, [this](bool on) {
        updateBody();
        emit toggled(on);
    });
}

void SectionBox::addHeaderWidget(QWidget* w)
{
    m_header->insertWidget(m_header->count() - 1, w);
}

void SectionBox::setBody(QWidget* body)
{
    if (m_body) {
        m_layout->removeWidget(m_body);
        m_body->deleteLater();
    }
    m_body = body;
    if (m_body) {
        m_body->setParent(this);
        m_layout->addWidget(m_body);
    }
    updateBody();
}

void SectionBox::setBodyBuilder(std::function<QWidget*()> build)
{
    m_build = std::move(build);
    if (isOn())
        buildBody();
}

void SectionBox::buildBody()
{
    if (m_build)
        setBody(std::exchange(m_build, {})());
}

bool SectionBox::isOn() const
{
    return m_toggle->isChecked();
}

void SectionBox::setOn(bool on)
{
    m_toggle->setChecked(on);
    updateBody();
}

void SectionBox::updateBody()
{
    if (isOn())
        buildBody();
    if (m_body)
        m_body->setVisible(isOn());
}
