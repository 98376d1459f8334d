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

// Until the queued run after the first frame, work keeps its turn behind what waits already.
enum class State { atOnce, holding, releasing };
State state = State::atOnce;

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
    state = State::holding;
    QTimer::singleShot(kLongestWaitMs, qApp, &FirstFrame::painted);
}

void FirstFrame::painted()
{
    if (state != State::holding)
        return;
    state = State::releasing;
    QMetaObject::invokeMethod(
        qApp,
        [] {
            state = State::atOnce;
            const QList<Waiting> due = std::exchange(waiting(), {});
            for (const Waiting& w : due)
                if (w.context)
                    w.work();
        },
        Qt::QueuedConnection);
}

void FirstFrame::afterPainted(QObject* context, std::function<void()> work)
{
    if (state == State::atOnce)
        work();
    else
        waiting().append({context, std::move(work)});
}
