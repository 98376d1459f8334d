#pragma once
// One running instance per user. The first launch listens on a local socket; a later launch
// hands its paths to it and exits. The socket lives in $XDG_RUNTIME_DIR (private to the user),
// else in the temporary folder with the user id in its name.
#include <QObject>
#include <QStringList>

class QLocalServer;

class SingleInstance : public QObject {
    Q_OBJECT
public:
    explicit SingleInstance(QObject* parent = nullptr);

    static QString socketPath();
    // Sends the paths to a running instance; true when one took them.
    static bool handOff(const QStringList& paths, int timeoutMs = 3000);
    // Starts listening (removing a socket left behind by a crashed instance).
    bool listen();

signals:
    // Paths another launch handed over, in its order (possibly none: just bring the window up).
    void pathsReceived(const QStringList& paths);

private:
    void onConnection();

    QLocalServer* m_server;
};
