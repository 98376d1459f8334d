#include "single_instance.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLocalServer>
#include <QLocalSocket>
#include <QPointer>
#include <unistd.h>

SingleInstance::SingleInstance(QObject* parent) : QObject(parent), m_server(new QLocalServer(this))
{
    connect(m_server, &QLocalServer::newConnection, this, &SingleInstance::onConnection);
}

QString SingleInstance::socketPath()
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QDir(runtime).exists())
        return QDir(runtime).filePath(QStringLiteral("brindlecove.sock"));
    return QDir(QDir::tempPath()).filePath(QStringLiteral("brindlecove-%1.sock").arg(getuid()));
}

bool SingleInstance::handOff(const QStringList& paths, int timeoutMs)
{
    QLocalSocket socket;
    socket.connectToServer(socketPath());
    if (!socket.waitForConnected(timeoutMs))
        return false;
    socket.write(QJsonDocument(QJsonArray::fromStringList(paths)).toJson(QJsonDocument::Compact));
    socket.write("\n");
    if (!socket.waitForBytesWritten(timeoutMs))
        return false;
    // The running instance answers once it has the list, so nothing is lost when we exit.
    return socket.waitForReadyRead(timeoutMs) && socket.readAll().startsWith("ok");
}

bool SingleInstance::listen()
{
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    if (m_server->listen(socketPath()))
        return true;
    // Nobody answered on the socket (handOff failed first), so it is a leftover.
    QLocalServer::removeServer(socketPath());
    return m_server->listen(socketPath());
}

void SingleInstance::onConnection()
{
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        QPointer<QLocalSocket> guard(socket);
        connect(socket, &QLocalSocket::readyRead, this, [this, guard] {
            if (!guard || !guard->canReadLine())
                return;
            const QJsonDocument doc = QJsonDocument::fromJson(guard->readLine());
            QStringList paths;
            for (const QJsonValue& v : doc.array())
                if (v.isString())
                    paths << v.toString();
            guard->write("ok\n");
            guard->flush();
            emit pathsReceived(paths);
        });
    }
}
