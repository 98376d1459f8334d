#pragma once
// For the start-up benchmark: with BRINDLECOVE_FIRST_FRAME_REPORT set, the first paint of a
// top-level window writes "first-frame <monotonic ns>" to stdout and ends the event loop, so a
// launcher can time start to a drawn window. Header-only so that the bare-window baseline
// uses the very same measure without linking the application.
#include <QApplication>
#include <QEvent>
#include <QWidget>

#include <cstdio>
#include <ctime>

class FirstFrameReport : public QObject {
public:
    static void installIfAsked()
    {
        if (qEnvironmentVariableIsSet("BRINDLECOVE_FIRST_FRAME_REPORT"))
            qApp->installEventFilter(new FirstFrameReport(qApp));
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (m_done || event->type() != QEvent::Paint)
            return false;
        const auto* widget = qobject_cast<QWidget*>(watched);
        if (!widget || !widget->isWindow())
            return false;
        m_done = true;
        // Reported once the paint has been handled: queued behind it.
        QMetaObject::invokeMethod(
            qApp,
            [] {
                timespec now{};
                ::clock_gettime(CLOCK_MONOTONIC, &now);
                std::printf("first-frame %lld\n", static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec);
                std::fflush(stdout);
                QApplication::quit();
            },
            Qt::QueuedConnection);
        return false;
    }

private:
    using QObject::QObject;
    bool m_done = false;
};
