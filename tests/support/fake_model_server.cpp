#include "fake_model_server.h"

#include <QHostAddress>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

class FakeServerWorker : public QObject {
public:
    explicit FakeServerWorker(FakeModelServer& owner) : m_owner(owner) {}

    quint16 listen()
    {
        m_server = new QTcpServer(this);
        m_server->listen(QHostAddress::LocalHost, 0);
        connect(m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* s = m_server->nextPendingConnection())
                connect(s, &QTcpSocket::readyRead, this, [this, s] { read(s); });
        });
        auto* lifetime = new QTimer(this);
        lifetime->setSingleShot(true);
        connect(lifetime, &QTimer::timeout, this, [this] { thread()->quit(); });
        lifetime->start(120000);
        return m_server->serverPort();
    }

private:
    void read(QTcpSocket* s)
    {
        QByteArray& buffer = m_buffers[s];
        buffer += s->readAll();
        const qsizetype headEnd = buffer.indexOf("\r\n\r\n");
        if (headEnd < 0)
            return;
        const QList<QByteArray> lines = buffer.left(headEnd).split('\n');
        qsizetype length = 0;
        for (const QByteArray& line : lines)
            if (line.toLower().startsWith("content-length:"))
                length = line.mid(15).trimmed().toLongLong();
        if (buffer.size() < headEnd + 4 + length)
            return;
        const QList<QByteArray> first = lines.value(0).trimmed().split(' ');
        FakeRequest request{first.value(0), first.value(1), buffer.mid(headEnd + 4, length)};
        m_buffers.remove(s);
        m_owner.record(request);
        answer(s, m_owner.m_handler(request));
    }

    static void answer(QTcpSocket* s, const FakeResponse& r)
    {
        if (r.stall)
            return;
        const qsizetype promised = r.closeEarly ? r.body.size() + 1000 : r.body.size();
        QByteArray out = "HTTP/1.1 " + QByteArray::number(r.status)
                       + " Status\r\n"
                         "Content-Type: application/json\r\nConnection: close\r\n"
                         "Content-Length: "
                       + QByteArray::number(promised) + "\r\n\r\n" + r.body;
        s->write(out);
        s->flush();
        s->disconnectFromHost();
    }

    FakeModelServer& m_owner;
    QTcpServer* m_server = nullptr;
    QHash<QTcpSocket*, QByteArray> m_buffers;
};

FakeModelServer::FakeModelServer(Handler handler) : m_handler(std::move(handler))
{
    m_worker = new FakeServerWorker(*this);
    m_worker->moveToThread(&m_thread);
    QObject::connect(&m_thread, &QThread::finished, m_worker, &QObject::deleteLater);
    m_thread.start();
    QMetaObject::invokeMethod(
        m_worker, [this] { m_port = m_worker->listen(); }, Qt::BlockingQueuedConnection);
}

FakeModelServer::~FakeModelServer()
{
    m_thread.quit();
    m_thread.wait();
}

QString FakeModelServer::address() const
{
    return QStringLiteral("http://127.0.0.1:%1").arg(m_port);
}

QList<FakeRequest> FakeModelServer::requests() const
{
    QMutexLocker lock(&m_lock);
    return m_requests;
}

void FakeModelServer::record(const FakeRequest& request)
{
    QMutexLocker lock(&m_lock);
    m_requests << request;
}

FakeResponse FakeModelServer::models(const QStringList& ids)
{
    QJsonArray data;
    for (const QString& id : ids)
        data.append(QJsonObject{{"id", id}, {"object", "model"}});
    return {200, QJsonDocument(QJsonObject{{"object", "list"}, {"data", data}}).toJson(QJsonDocument::Compact)};
}

FakeResponse FakeModelServer::chatAnswer(const QString& content)
{
    const QJsonObject message{{"role", "assistant"}, {"content", content}};
    const QJsonObject choice{{"index", 0}, {"message", message}, {"finish_reason", "stop"}};
    return {200, QJsonDocument(QJsonObject{{"choices", QJsonArray{choice}}}).toJson(QJsonDocument::Compact)};
}

FakeModelServer::Handler FakeModelServer::answering(std::function<QString(const FakeRequest&)> answer)
{
    return [answer = std::move(answer)](const FakeRequest& r) {
        if (r.path == "/v1/models")
            return models({"test-model"});
        return chatAnswer(answer(r));
    };
}
