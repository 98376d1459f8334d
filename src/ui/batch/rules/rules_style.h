#pragma once
// Small look helpers shared by the rules panel's parts: caption fonts, the secondary and warning
// colours, the untitled group-box frame and a plain row.
#include <QFont>

class QHBoxLayout;
class QWidget;

QFont captionFont();
QFont caption2Font();
QFont monoFont(qreal scale = 1.0);
void setSecondary(QWidget* w);
void setWarningColour(QWidget* w);
// An untitled group box holding `content`.
QWidget* framed(QWidget* content);
// A widget laying out `children` in one row, centred vertically; null entries are skipped.
QWidget* row(std::initializer_list<QWidget*> children, int spacing = 6, bool stretch = true);
