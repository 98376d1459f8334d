#include "first_frame.h"

#include <QCoreApplication>
#include <QEvent>
#include <QList>
#include <QPointer>
#include <QSettings>
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

// QSettings writes its file from an event it posts itself, which the event loop's first turn
// delivers before the first frame; on a first launch that is a synced write of a new file. Held
// here, the writes run with the waiting work (and a QSettings still holding changes writes them
// when it goes).
class SettingsWritesHeld : public QObject {
public:
    using QObject::QObject;
    ~SettingsWritesHeld() override
    {
        for (const QPointer<QSettings>& settings : std::as_const(m_held))
            if (settings)
                settings->sync();
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::UpdateRequest)
            return false;
        auto* settings = qobject_cast<QSettings*>(watched);
        if (!settings)
            return false;
        m_held.append(settings);
        return true;
    }

private:
    QList<QPointer<QSettings>> m_held;
};
QPointer<SettingsWritesHeld> settingsWrites;

// A window that is never exposed (started minimised, on another desktop) still gets its work done.
constexpr int kLongestWaitMs = 1000;
}  // namespace

void FirstFrame::holdUntilPainted()
{
    state = State::holding;
    if (!settingsWrites) {
        settingsWrites = new SettingsWritesHeld(qApp);
        qApp->installEventFilter(settingsWrites);
    }
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
            delete settingsWrites;
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
