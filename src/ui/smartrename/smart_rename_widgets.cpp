#include "smartrename/smart_rename_widgets.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>

QLabel* smartCaption(QWidget* parent, const QString& objectName, bool smaller)
{
    auto* label = new QLabel(parent);
    label->setObjectName(objectName);
    QFont f = label->font();
    f.setPointSizeF(f.pointSizeF() * (smaller ? 0.75 : 0.85));
    label->setFont(f);
    label->setStyleSheet("color: palette(mid);");
    return label;
}

QLabel* smartHeading(QWidget* parent, const QString& objectName)
{
    auto* label = new QLabel(parent);
    label->setObjectName(objectName);
    QFont f = label->font();
    f.setPointSizeF(f.pointSizeF() * 0.85);
    f.setBold(true);
    label->setFont(f);
    return label;
}

QPushButton* smartLinkButton(QWidget* parent, const QString& objectName)
{
    auto* button = new QPushButton(parent);
    button->setObjectName(objectName);
    button->setFlat(true);
    button->setCursor(Qt::PointingHandCursor);
    QFont f = button->font();
    f.setPointSizeF(f.pointSizeF() * 0.85);
    button->setFont(f);
    button->setStyleSheet("QPushButton { color: palette(link); border: none; padding: 0 2px; }"
                          "QPushButton:disabled { color: palette(mid); }");
    return button;
}

QFrame* smartDivider(QWidget* parent)
{
    auto* line = new QFrame(parent);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}
