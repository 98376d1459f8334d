#include "app_updater.h"

#include "platform/lang.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>

namespace {
constexpr int transferTimeoutMs = 30000;
constexpr qint64 maxFeedBytes = 4 * 1024 * 1024;  // a feed is a few kilobytes; refuse a flood
}  // namespace

AppUpdater::AppUpdater(const QUrl& feedUrl, const QString& currentVersion, QObject* parent)
    : QObject(parent), m_feedUrl(feedUrl), m_currentVersion(currentVersion), m_network(new QNetworkAccessManager(this))
{
    m_canCheck = m_feedUrl.isValid() && !m_feedUrl.isEmpty();
    connect(&m_timer, &QTimer::timeout, this, &AppUpdater::checkInBackground);
}

AppUpdater::~AppUpdater() = default;

QUrl AppUpdater::configuredFeedUrl()
{
    return QUrl(QStringLiteral(BRINDLECOVE_UPDATE_FEED));
}

AppUpdater& AppUpdater::shared()
{
    static AppUpdater* updater = new AppUpdater(configuredFeedUrl(), QStringLiteral(BRINDLECOVE_VERSION));
    return *updater;
}

void AppUpdater::checkForUpdates()
{
    start(true);
}

void AppUpdater::checkInBackground()
{
    start(false);
}

void AppUpdater::startAutomaticChecks(int intervalMs)
{
    m_timer.start(intervalMs);
    checkInBackground();
}

void AppUpdater::setCanCheck(bool on)
{
    if (m_canCheck == on)
        return;
    m_canCheck = on;
    emit canCheckForUpdatesChanged(on);
}

void AppUpdater::start(bool userInitiated)
{
    if (!m_canCheck)
        return;
    setCanCheck(false);
    QNetworkRequest request(m_feedUrl);
    request.setTransferTimeout(transferTimeoutMs);
    m_reply = m_network->get(request);
    QNetworkReply* reply = m_reply;
    connect(reply, &QNetworkReply::downloadProgress, reply, [reply](qint64 received, qint64) {
        if (received > maxFeedBytes)
            reply->abort();
    });
    connect(reply, &QNetworkReply::finished, this, [this, reply, userInitiated] { finish(reply, userInitiated); });
}

void AppUpdater::finish(QNetworkReply* reply, bool userInitiated)
{
    reply->deleteLater();
    UpdateCheckResult result;
    result.userInitiated = userInitiated;
    if (reply->error() != QNetworkReply::NoError) {
        result.error = L("The update feed can't be reached: %1", "无法连接更新源:%1").arg(reply->errorString());
    } else {
        const FeedReadResult feed = readReleaseFeed(reply->readAll());
        if (!feed.newest) {
            result.error = feed.error;
        } else {
            result.release = *feed.newest;
            const std::optional<int> order = compareVersions(result.release.version, m_currentVersion);
            if (!order)
                result.error = L("This build's version can't be compared.", "无法比较当前版本号。");
            else
                result.kind = *order > 0 ? UpdateCheckResult::Kind::updateAvailable : UpdateCheckResult::Kind::upToDate;
        }
    }
    setCanCheck(true);
    emit checkFinished(result);
}
