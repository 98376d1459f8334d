#pragma once
// One running instance per user. The first launch listens on a local socket; a later launch
// hands its paths to it and exits. The socket lives in $XDG_RUNTIME_DIR (private to the user),
// else in the temporary folder with the user id in its name.
//
// The running instance greets each connection from its event loop before it takes paths, so a
// launch that gives up on a busy instance (a long apply) has sent nothing that could be opened
// twice. Only a socket nobody listens on is ever removed.
#include <QObject>
#include <QStringList>

class QLocalServer;

class SingleInstance : public QObject {
    Q_OBJECT
public:
    explicit SingleInstance(QObject* parent = nullptr, const QString& path = socketPath());

    static QString socketPath();

    enum class HandOff {
        delivered,        // a running instance took the paths
        nobodyListening,  // no socket, or one left behind by a crashed instance
        noAnswer          // an instance is listening but did not greet within the wait (busy)
    };
    // Sends the paths to a running instance, waiting up to waitMs for a busy one to answer.
    static HandOff handOff(const QStringList& paths, int waitMs, const QString& path = socketPath());
    // Starts listening. A socket left behind by a crashed instance is replaced; one that a live
    // instance listens on is left alone (false: this launch takes no hand-offs).
    bool listen();

signals:
    // Paths another launch handed over, in its order (possibly none: just bring the window up).
    void pathsReceived(const QStringList& paths);

private:
    void onConnection();

    QString m_path;
    QLocalServer* m_server;
};
