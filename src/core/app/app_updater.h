#pragma once
// Checks the release feed for a newer version. A check started by the user always gets an
// answer; an automatic check reports only a newer version (the screens stay quiet otherwise).
// The updater never downloads or runs anything: the user is sent to the release page.
#include "app/update_feed.h"

#include <QMetaType>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QUrl>

class QNetworkAccessManager;
class QNetworkReply;

struct UpdateCheckResult {
    enum class Kind { updateAvailable, upToDate, failed };
    Kind kind = Kind::failed;
    FeedRelease release;  // the newest release of the feed (not set when failed)
    QString error;        // why the check failed
    bool userInitiated = false;
};

Q_DECLARE_METATYPE(UpdateCheckResult)

class AppUpdater : public QObject {
    Q_OBJECT
public:
    // An empty feed URL leaves the updater unable to check.
    explicit AppUpdater(const QUrl& feedUrl, const QString& currentVersion, QObject* parent = nullptr);
    ~AppUpdater() override;

    // The process-wide updater: the feed of the build setting, the version of this build.
    static AppUpdater& shared();
    static QUrl configuredFeedUrl();

    const QUrl& feedUrl() const { return m_feedUrl; }
    const QString& currentVersion() const { return m_currentVersion; }

    // True when a feed is configured and no check is running.
    bool canCheckForUpdates() const { return m_canCheck; }

    void checkForUpdates();    // started by the user
    void checkInBackground();  // automatic: reports only a newer version
    // One automatic check now, then one per interval.
    void startAutomaticChecks(int intervalMs = 24 * 60 * 60 * 1000);

signals:
    void canCheckForUpdatesChanged(bool canCheck);
    void checkFinished(const UpdateCheckResult& result);

private:
    void start(bool userInitiated);
    void finish(QNetworkReply* reply, bool userInitiated);
    void setCanCheck(bool on);

    QUrl m_feedUrl;
    QString m_currentVersion;
    QNetworkAccessManager* m_network;
    QPointer<QNetworkReply> m_reply;
    QTimer m_timer;
    bool m_canCheck = false;
};
