#pragma once
// Showing a widget that was never hidden changes nothing on screen: it shows with its window.
// Before the window is first shown it still costs a full polish and layout of the widget at a
// size it does not have yet, which the window's own show then does again.
#include <QWidget>

inline void setShown(QWidget* widget, bool shown)
{
    if (shown && !widget->isHidden())
        return;
    widget->setVisible(shown);
}
