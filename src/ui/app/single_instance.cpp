#include "single_instance.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLocalServer>
#include <QLocalSocket>
#include <QPointer>
#include <QThread>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace {
constexpr QByteArrayView kGreeting = "hello\n";
// Once greeted, the instance answers from its event loop at once; this only bounds a hang.
constexpr int kAnswerMs = 3000;

bool nobodyThere(QLocalSocket::LocalSocketError error)
{
    return error == QLocalSocket::ConnectionRefusedError || error == QLocalSocket::ServerNotFoundError;
}

// One line from the socket, or nothing when the deadline passes or the other side closes first.
std::optional<QByteArray> readLine(QLocalSocket& socket, QDeadlineTimer deadline)
{
    while (!socket.canReadLine()) {
        if (socket.state() != QLocalSocket::ConnectedState || deadline.hasExpired())
            return std::nullopt;
        socket.waitForReadyRead(int(qMax<qint64>(1, deadline.remainingTime())));
    }
    return socket.readLine();
}
}  // namespace

SingleInstance::SingleInstance(QObject* parent, const QString& path)
    : QObject(parent), m_path(path), m_server(new QLocalServer(this))
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

SingleInstance::HandOff SingleInstance::handOff(const QStringList& paths, int waitMs, const QString& path)
{
    // Most launches find no socket; a look at the folder is cheaper than a socket that fails.
    if (!QFileInfo::exists(path))
        return HandOff::nobodyListening;
    const QDeadlineTimer deadline(waitMs);
    for (;;) {
        QLocalSocket socket;
        socket.connectToServer(path);
        if (!socket.waitForConnected(int(qMax<qint64>(1, deadline.remainingTime())))) {
            if (nobodyThere(socket.error()))
                return HandOff::nobodyListening;
            if (deadline.hasExpired())
                return HandOff::noAnswer;
            QThread::msleep(50);  // a full queue of connections: try again
            continue;
        }
        const auto greeting = readLine(socket, deadline);
        if (!greeting) {
            if (socket.state() == QLocalSocket::ConnectedState || deadline.hasExpired())
                return HandOff::noAnswer;  // busy: it never sees our paths
            QThread::msleep(50);           // it closed on us (quitting): look again
            continue;
        }
        socket.write(QJsonDocument(QJsonArray::fromStringList(paths)).toJson(QJsonDocument::Compact));
        socket.write("\n");
        const QDeadlineTimer answerBy(kAnswerMs);
        if (!socket.waitForBytesWritten(int(answerBy.remainingTime())))
            return HandOff::noAnswer;
        // The running instance answers once it has the list, so nothing is lost when we exit.
        const auto answer = readLine(socket, answerBy);
        return answer && answer->startsWith("ok") ? HandOff::delivered : HandOff::noAnswer;
    }
}

bool SingleInstance::listen()
{
    // Qt's access options bind elsewhere and rename the socket into place, which would replace
    // a live instance's socket; a plain bind fails on it instead. The mask keeps it the user's.
    const auto listenPrivately = [this] {
        const mode_t mask = ::umask(077);
        const bool ok = m_server->listen(m_path);
        ::umask(mask);
        return ok;
    };
    if (listenPrivately())
        return true;
    // Remove the socket only when connecting to it is refused: a live instance that is busy
    // accepts the connection into its queue, and its socket must stay.
    QLocalSocket probe;
    probe.connectToServer(m_path);
    if (probe.waitForConnected(1000) || !nobodyThere(probe.error()))
        return false;
    QLocalServer::removeServer(m_path);
    return listenPrivately();
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
        // A launch that gave up waiting has closed its end by now; the greeting then goes nowhere.
        socket->write(kGreeting.data(), kGreeting.size());
        socket->flush();
    }
}
