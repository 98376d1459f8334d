#pragma once
// Small pieces the Smart Rename screens share: caption texts, link-styled buttons, dividers.
#include <QString>

class QFrame;
class QLabel;
class QPushButton;
class QWidget;

// Small secondary text (scale 0.85 of the body font; 0.75 for the smaller caption).
QLabel* smartCaption(QWidget* parent, const QString& objectName = {}, bool smaller = false);
// A bold caption used as a heading.
QLabel* smartHeading(QWidget* parent, const QString& objectName = {});
// A borderless button drawn as a link.
QPushButton* smartLinkButton(QWidget* parent, const QString& objectName = {});
QFrame* smartDivider(QWidget* parent);
