#include "ai_name.h"

#include "platform/lang.h"

#include <QCoreApplication>
#include <QFuture>
#include <QMutex>
#include <QPointer>
#include <QThread>
#include <QThreadPool>
#include <QtConcurrent/QtConcurrentRun>
#include <atomic>

namespace AIName {

namespace {

QMutex& configLock()
{
    static QMutex lock;
    return lock;
}

// Empty until the application hands over the user's settings: nothing built without them (a
// test, a tool) reaches a server by chance, and the model counts as unavailable.
std::optional<ModelServerConfig>& configSlot()
{
    static std::optional<ModelServerConfig> config;
    return config;
}

// Requests wait on the network for long stretches; they get threads of their own so that the
// shared pool stays free for file work.
QThreadPool& aiPool()
{
    static QThreadPool* pool = [] {
        auto* p = new QThreadPool;
        p->setMaxThreadCount(2);
        p->setExpiryTimeout(30000);
        return p;
    }();
    return *pool;
}

QThreadPool& probePool()
{
    static QThreadPool* pool = [] {
        auto* p = new QThreadPool;
        p->setMaxThreadCount(1);
        return p;
    }();
    return *pool;
}

bool onWindowThread()
{
    const QCoreApplication* app = QCoreApplication::instance();
    return app && QThread::currentThread() == app->thread();
}

std::atomic<bool> probing{false};

template <typename Work> void runAsync(QObject* context, Work work, std::function<void(std::optional<QString>)> done)
{
    QtConcurrent::run(&aiPool(), std::move(work)).then(context, [done = std::move(done)](std::optional<QString> r) {
        done(std::move(r));
    });
}

}  // namespace

void setServerConfig(const ModelServerConfig& config)
{
    {
        QMutexLocker lock(&configLock());
        configSlot() = config;
    }
    availabilityCache().invalidate();
}

ModelServerConfig serverConfig()
{
    QMutexLocker lock(&configLock());
    if (configSlot())
        return *configSlot();
    ModelServerConfig off;
    off.enabled = false;
    return off;
}

namespace {
Availability probeConfigured()
{
    {
        QMutexLocker lock(&configLock());
        if (!configSlot())
            return Availability::unavailable;
    }
    return ModelServer::probe(serverConfig());
}
}  // namespace

AvailabilityCache& availabilityCache()
{
    static AvailabilityCache cache(probeConfigured);
    return cache;
}

AvailabilityNotifier& AvailabilityNotifier::instance()
{
    static AvailabilityNotifier* notifier = [] {
        auto* n = new AvailabilityNotifier;
        if (QCoreApplication::instance())
            n->moveToThread(QCoreApplication::instance()->thread());
        return n;
    }();
    return *notifier;
}

void refreshAvailability()
{
    if (availabilityCache().fresh() || probing.exchange(true))
        return;
    // A probe still talking to the server when the application object goes would use a torn-down
    // network stack: the application waits for it on its way out.
    static const bool waitsAtExit = [] {
        qAddPostRoutine([] {
            ModelServer::stopForQuit();  // a silent server would otherwise hold the exit for seconds
            probePool().waitForDone();
        });
        return true;
    }();
    Q_UNUSED(waitsAtExit);
    AvailabilityNotifier* notifier = &AvailabilityNotifier::instance();
    probePool().start([notifier] {
        availabilityCache().get();
        probing = false;
        QMetaObject::invokeMethod(notifier, &AvailabilityNotifier::availabilityChanged, Qt::QueuedConnection);
    });
}

Availability availability()
{
    AvailabilityCache& cache = availabilityCache();
    if (!onWindowThread())
        return cache.get();
    if (auto value = cache.fresh())
        return *value;
    refreshAvailability();
    return cache.lastKnown().value_or(Availability::unavailable);
}

QString unavailableMessage()
{
    return unavailableMessage(availability());
}

QString unavailableMessage(Availability state)
{
    switch (state) {
    case Availability::available: return {};
    case Availability::notEligible:
        return L("AI unavailable: the model server is not on this computer. Confirm its address in AI server settings.",
                 "AI 不可用:模型服务不在本机。请在 AI 服务设置里确认其地址。");
    case Availability::notEnabled:
        return L("AI unavailable: set the address of a local model server in AI server settings.",
                 "AI 不可用:请在 AI 服务设置里填写本机模型服务的地址。");
    case Availability::notReady:
        return L("AI model is still downloading. Try again later.", "AI 模型正在下载,请稍后再试。");
    case Availability::unavailable: return L("AI is currently unavailable.", "AI 当前不可用。");
    case Availability::unsupportedOS:
        return L("AI naming needs a local model server (OpenAI-compatible). Start one, or set its address in AI server "
                 "settings.",
                 "AI 命名需要本机模型服务(兼容 OpenAI)。请启动一个,或在 AI 服务设置里填写其地址。");
    }
    return {};
}

void contentText(const QString& path, QObject* context, std::function<void(std::optional<QString>)> done)
{
    runAsync(
        context, [path] { return contentTextNow(path); }, std::move(done));
}

void suggestName(const QString& text, const QString& language, QObject* context,
                 std::function<void(std::optional<QString>)> done)
{
    runAsync(
        context, [text, language] { return suggestNameNow(text, language); }, std::move(done));
}

void classify(const QString& text, bool chinese, QObject* context, std::function<void(std::optional<QString>)> done)
{
    runAsync(
        context, [text, chinese] { return classifyNow(text, chinese); }, std::move(done));
}

void translate(const QString& text, const QString& language, QObject* context,
               std::function<void(std::optional<QString>)> done)
{
    runAsync(
        context, [text, language] { return translateNow(text, language); }, std::move(done));
}

}  // namespace AIName
