#pragma once
// Turns SIGTERM and SIGINT into a Qt signal on the main thread (self-pipe), so that they quit
// through the same path as closing the window.
#include <QObject>

class QSocketNotifier;

class SignalQuit : public QObject {
    Q_OBJECT
public:
    explicit SignalQuit(QObject* parent = nullptr);
    ~SignalQuit() override;

signals:
    void quitRequested(int signal);

private:
    QSocketNotifier* m_notifier = nullptr;
};
