#include "rules_style.h"

#include <QApplication>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace {
QFont scaled(qreal factor)
{
    QFont f = QApplication::font();
    f.setPointSizeF(f.pointSizeF() * factor);
    return f;
}
}  // namespace

QFont captionFont()
{
    return scaled(0.9);
}
QFont caption2Font()
{
    return scaled(0.82);
}

QFont monoFont(qreal scale)
{
    QFont f(QStringLiteral("monospace"));
    f.setStyleHint(QFont::Monospace);
    f.setPointSizeF(QApplication::font().pointSizeF() * scale);
    return f;
}

void setSecondary(QWidget* w)
{
    QPalette p = w->palette();
    p.setColor(QPalette::WindowText, p.color(QPalette::PlaceholderText));
    w->setPalette(p);
}

void setWarningColour(QWidget* w)
{
    QPalette p = w->palette();
    p.setColor(QPalette::WindowText, QColor(0xE0, 0x7A, 0x10));
    w->setPalette(p);
}

QWidget* framed(QWidget* content)
{
    auto* box = new QGroupBox;
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->addWidget(content);
    return box;
}

QWidget* row(std::initializer_list<QWidget*> children, int spacing, bool stretch)
{
    auto* w = new QWidget;
    auto* layout = new QHBoxLayout(w);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(spacing);
    for (QWidget* c : children)
        if (c)
            layout->addWidget(c, 0, Qt::AlignVCenter);
    if (stretch)
        layout->addStretch(1);
    return w;
}
