#pragma once
// A language-model server for tests: HTTP on 127.0.0.1 (a port of its own), in a thread of its
// own, answering each request with what the test's handler says. It stops with the object, and
// by itself after two minutes whatever happens.
#include <QByteArray>
#include <QList>
#include <QMutex>
#include <QString>
#include <QThread>
#include <functional>

struct FakeRequest {
    QByteArray method;
    QByteArray path;
    QByteArray body;
};

struct FakeResponse {
    int status = 200;
    QByteArray body;
    bool stall = false;       // never answer
    bool closeEarly = false;  // promise a body, send part of it, hang up
};

class FakeModelServer {
public:
    // Runs on the server's thread, once per request.
    using Handler = std::function<FakeResponse(const FakeRequest&)>;

    explicit FakeModelServer(Handler handler);
    ~FakeModelServer();

    QString address() const;  // "http://127.0.0.1:<port>"
    QList<FakeRequest> requests() const;

    // Ready-made answers.
    static FakeResponse models(const QStringList& ids);
    static FakeResponse chatAnswer(const QString& content);
    // Lists one model and answers every chat with the handler's text.
    static Handler answering(std::function<QString(const FakeRequest&)> answer);

private:
    friend class FakeServerWorker;
    void record(const FakeRequest& request);

    Handler m_handler;
    QThread m_thread;
    class FakeServerWorker* m_worker = nullptr;
    quint16 m_port = 0;
    mutable QMutex m_lock;
    QList<FakeRequest> m_requests;
};
