#pragma once
// Input the way the window system delivers it, for behaviour that depends on it: a wheel turn
// that is not taken goes on to the parents only when it comes from the window system.
#include <QApplication>
#include <QWheelEvent>
#include <QWidget>
#include <QtTest/qtestspontaneevent.h>

namespace ui {

// One wheel notch over the middle of `w`: positive turns up, negative down.
inline bool wheel(QWidget* w, int notches)
{
    const QPointF pos = QRectF(w->rect()).center();
    QWheelEvent e(pos, QPointF(w->mapToGlobal(pos.toPoint())), QPoint(), QPoint(0, 120 * notches), Qt::NoButton,
                  Qt::NoModifier, Qt::NoScrollPhase, false);
    QSpontaneKeyEvent::setSpontaneous(&e);
    qApp->notify(w, &e);
    return e.isAccepted();
}

}  // namespace ui
