#include "wheel_focus.h"

#include <QAbstractSpinBox>
#include <QComboBox>
#include <QEvent>
#include <QWidget>

namespace {
class WheelGuard : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* w = qobject_cast<QWidget*>(watched);
        if (event->type() == QEvent::Wheel && w && !w->hasFocus()) {
            // Ignored, so the wheel goes on to the scrolling parent.
            event->ignore();
            return true;
        }
        return QObject::eventFilter(watched, event);
    }
};

void guard(QWidget* control, QObject* filter)
{
    if (control->focusPolicy() == Qt::WheelFocus)
        control->setFocusPolicy(Qt::StrongFocus);
    control->installEventFilter(filter);
}
}  // namespace

void takeWheelOnlyWithFocus(QWidget* root)
{
    auto* filter = new WheelGuard(root);
    for (QComboBox* c : root->findChildren<QComboBox*>())
        guard(c, filter);
    for (QAbstractSpinBox* s : root->findChildren<QAbstractSpinBox*>())
        guard(s, filter);
}
