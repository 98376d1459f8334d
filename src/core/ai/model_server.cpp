#include "model_server.h"

#include "platform/settings.h"

#include <QEventLoop>
#include <QHostAddress>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMutex>
#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSet>
#include <QTimer>
#include <QUrl>

namespace {

// A reply larger than this is not an answer to a short question.
constexpr qint64 maxReplyBytes = 8 * 1024 * 1024;

struct Exchange {
    int status = 0;  // 0: no HTTP answer (no server, time-out, reply cut short)
    QByteArray body;
};

// The replies of the exchanges in flight, each living on its worker's thread, so that quitting
// can end them; guarded by the lock, as is `stopped`.
struct InFlight {
    QMutex lock;
    QSet<QNetworkReply*> replies;
    bool stopped = false;
};

InFlight& inFlight()
{
    static InFlight state;
    return state;
}

// One HTTP exchange on the calling thread, over within `timeoutMs` whatever the server does.
Exchange exchange(const QUrl& url, const QByteArray* postBody, int timeoutMs)
{
    InFlight& flights = inFlight();
    {
        QMutexLocker lock(&flights.lock);
        if (flights.stopped)
            return {};
    }
    QNetworkAccessManager manager;
    manager.setProxy(QNetworkProxy::NoProxy);
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    request.setTransferTimeout(timeoutMs);
    QNetworkReply* reply = nullptr;
    if (postBody) {
        request.setHeader(QNetworkRequest::ContentTypeHeader, QStringLiteral("application/json"));
        reply = manager.post(request, *postBody);
    } else {
        reply = manager.get(request);
    }
    QEventLoop loop;
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, reply, &QNetworkReply::abort);
    QObject::connect(reply, &QNetworkReply::downloadProgress, reply, [reply](qint64 received, qint64) {
        if (received > maxReplyBytes)
            reply->abort();
    });
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    deadline.start(timeoutMs);
    {
        QMutexLocker lock(&flights.lock);
        if (flights.stopped)
            reply->abort();
        flights.replies.insert(reply);
    }
    if (!reply->isFinished())
        loop.exec();
    {
        QMutexLocker lock(&flights.lock);
        flights.replies.remove(reply);
    }
    Exchange result;
    const QNetworkReply::NetworkError error = reply->error();
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    // An HTTP error status still counts as an answer; a broken transfer does not.
    if (error == QNetworkReply::NoError || (status >= 400 && error > QNetworkReply::UnknownProxyError)) {
        result.status = status;
        result.body = reply->readAll();
    }
    delete reply;
    return result;
}

QUrl endpoint(const QString& base, const char* path)
{
    QString b = base;
    while (b.endsWith('/'))
        b.chop(1);
    if (b.endsWith(QLatin1String("/v1")))
        b.chop(3);
    return QUrl(b + QLatin1String(path));
}

QJsonArray listedModels(const QByteArray& reply)
{
    const QJsonDocument doc = QJsonDocument::fromJson(reply);
    return doc.object().value(QLatin1String("data")).toArray();
}

}  // namespace

ModelServerConfig ModelServerConfig::load(const Settings& s)
{
    ModelServerConfig c;
    c.enabled = s.boolValue("aiServerEnabled").value_or(true);
    c.address = s.stringValue("aiServerAddress").value_or(c.address);
    c.model = s.stringValue("aiModelName").value_or(QString());
    c.confirmedRemote = s.stringValue("aiServerConfirmedAddress").value_or(QString());
    return c;
}

void ModelServerConfig::save(Settings& s) const
{
    s.setBool("aiServerEnabled", enabled);
    s.setString("aiServerAddress", address);
    s.setString("aiModelName", model);
    s.setString("aiServerConfirmedAddress", confirmedRemote);
}

std::optional<QString> ModelServerConfig::baseUrl() const
{
    const QUrl url(address.trimmed(), QUrl::StrictMode);
    if (!url.isValid() || url.host().isEmpty())
        return std::nullopt;
    if (url.scheme() != QLatin1String("http") && url.scheme() != QLatin1String("https"))
        return std::nullopt;
    return url.toString(QUrl::StripTrailingSlash);
}

bool ModelServerConfig::isLocalAddress(const QString& address)
{
    const QString host = QUrl(address.trimmed()).host();
    if (host.compare(QLatin1String("localhost"), Qt::CaseInsensitive) == 0)
        return true;
    const QHostAddress ip(host);
    return !ip.isNull() && ip.isLoopback();
}

bool ModelServerConfig::addressAllowed() const
{
    return isLocalAddress(address) || (!confirmedRemote.isEmpty() && confirmedRemote == address.trimmed());
}

namespace ModelServer {

void stopForQuit()
{
    InFlight& flights = inFlight();
    QMutexLocker lock(&flights.lock);
    flights.stopped = true;
    // Each reply belongs to its worker's event loop; the abort runs there. A reply deleted
    // before that takes the queued call with it.
    for (QNetworkReply* reply : std::as_const(flights.replies))
        QMetaObject::invokeMethod(reply, &QNetworkReply::abort, Qt::QueuedConnection);
}

AIName::Availability probe(const ModelServerConfig& config)
{
    using AIName::Availability;
    const std::optional<QString> base = config.baseUrl();
    if (!config.enabled || !base)
        return Availability::notEnabled;
    if (!config.addressAllowed())
        return Availability::notEligible;
    const Exchange answer = exchange(endpoint(*base, "/v1/models"), nullptr, config.probeTimeoutMs);
    if (answer.status == 503)
        return Availability::notReady;  // the server is still loading its model
    if (answer.status != 200)
        return Availability::unavailable;
    const QJsonArray models = listedModels(answer.body);
    if (models.isEmpty())
        return QJsonDocument::fromJson(answer.body).isObject() ? Availability::notReady : Availability::unavailable;
    if (config.model.isEmpty())
        return Availability::available;
    for (const QJsonValue& m : models)
        if (m.toObject().value(QLatin1String("id")).toString() == config.model)
            return Availability::available;
    return Availability::unavailable;  // the named model is not on this server
}

std::optional<QString> chat(const ModelServerConfig& config, const QString& instructions, const QString& prompt)
{
    const std::optional<QString> base = config.baseUrl();
    if (!config.enabled || !base || !config.addressAllowed())
        return std::nullopt;
    QString model = config.model;
    if (model.isEmpty()) {
        const Exchange list = exchange(endpoint(*base, "/v1/models"), nullptr, config.probeTimeoutMs);
        if (list.status == 200)
            model = firstModel(list.body).value_or(QString());
    }
    const QByteArray body = chatRequestBody(model, instructions, prompt);
    const Exchange answer = exchange(endpoint(*base, "/v1/chat/completions"), &body, config.requestTimeoutMs);
    if (answer.status != 200)
        return std::nullopt;
    return chatAnswer(answer.body);
}

QByteArray chatRequestBody(const QString& model, const QString& instructions, const QString& prompt)
{
    QJsonObject system{{"role", "system"}, {"content", instructions}};
    QJsonObject user{{"role", "user"}, {"content", prompt}};
    QJsonObject body{{"messages", QJsonArray{system, user}}};
    if (!model.isEmpty())
        body.insert("model", model);
    return QJsonDocument(body).toJson(QJsonDocument::Compact);
}

std::optional<QString> chatAnswer(const QByteArray& reply)
{
    const QJsonDocument doc = QJsonDocument::fromJson(reply);
    const QJsonValue first = doc.object().value(QLatin1String("choices")).toArray().at(0);
    const QJsonValue content =
        first.toObject().value(QLatin1String("message")).toObject().value(QLatin1String("content"));
    if (!content.isString())
        return std::nullopt;
    return content.toString();
}

std::optional<QString> firstModel(const QByteArray& reply)
{
    const QString id = listedModels(reply).at(0).toObject().value(QLatin1String("id")).toString();
    if (id.isEmpty())
        return std::nullopt;
    return id;
}

}  // namespace ModelServer
