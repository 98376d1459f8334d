#pragma once
// For the start-up benchmark: with BRINDLECOVE_FIRST_FRAME_REPORT set, the first paint of a
// top-level window writes "first-frame <monotonic ns>" to stdout, and a second later
// "settled-resident-kib <KiB>" before it ends the event loop, so a launcher can time start to a
// drawn window and see the memory the window then holds. Header-only so that the bare-window baseline
// uses the very same measure without linking the application.
#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <ctime>
#include <unistd.h>

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
        // Timed once the paint has been handled (queued behind it); the memory is read a
        // second later, when the work the window started on its items has settled.
        QMetaObject::invokeMethod(
            qApp,
            [] {
                timespec now{};
                ::clock_gettime(CLOCK_MONOTONIC, &now);
                std::printf("first-frame %lld\n", static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec);
                std::fflush(stdout);
                QTimer::singleShot(1000, qApp, [] {
                    long long size = 0, resident = 0;
                    if (FILE* statm = std::fopen("/proc/self/statm", "r")) {
                        if (std::fscanf(statm, "%lld %lld", &size, &resident) != 2)
                            resident = 0;
                        std::fclose(statm);
                    }
                    std::printf("settled-resident-kib %lld\n", resident * (::sysconf(_SC_PAGESIZE) / 1024));
                    std::fflush(stdout);
                    QApplication::quit();
                });
            },
            Qt::QueuedConnection);
        return false;
    }

private:
    using QObject::QObject;
    bool m_done = false;
};
