#include "first_frame.h"

#include <QCoreApplication>
#include <QList>
#include <QPointer>
#include <QTimer>

namespace {
struct Waiting {
    QPointer<QObject> context;
    std::function<void()> work;
};

bool holding = false;
QList<Waiting>& waiting()
{
    static QList<Waiting> list;
    return list;
}

// A window that is never exposed (started minimised, on another desktop) still gets its work done.
constexpr int kLongestWaitMs = 1000;
}  // namespace

void FirstFrame::holdUntilPainted()
{
    holding = true;
    QTimer::singleShot(kLongestWaitMs, qApp, &FirstFrame::painted);
}

void FirstFrame::painted()
{
    if (!holding)
        return;
    holding = false;
    QMetaObject::invokeMethod(
        qApp,
        [] {
            const QList<Waiting> due = std::exchange(waiting(), {});
            for (const Waiting& w : due)
                if (w.context)
                    w.work();
        },
        Qt::QueuedConnection);
}

void FirstFrame::afterPainted(QObject* context, std::function<void()> work)
{
    if (holding)
        waiting().append({context, std::move(work)});
    else
        work();
}
