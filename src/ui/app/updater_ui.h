#pragma once
// The screens of the updater and of the install-location prompt: the "Check for Updates…" menu
// action, the alerts that answer a check, and the offer to move the application image into
// ~/Applications. Every question goes through Dialogs.
#include <QObject>
#include <QUrl>
#include <functional>

class AppUpdater;
class Dialogs;
class QAction;
class Store;
struct InstallLocation;
struct UpdateCheckResult;

// "Check for Updates…", enabled only while the updater can check.
QAction* makeCheckForUpdatesAction(AppUpdater& updater, Store& store, QObject* parent);

// Answers every finished check: a newer version is offered with "Download" (which opens the
// release page), and a check the user started is also answered when there is nothing new or
// the check failed.
class UpdateNotifier : public QObject {
    Q_OBJECT
public:
    using UrlOpener = std::function<bool(const QUrl&)>;
    // The opener defaults to the desktop's web browser.
    UpdateNotifier(AppUpdater& updater, Dialogs& dialogs, UrlOpener openUrl = {}, QObject* parent = nullptr);

    void show(const UpdateCheckResult& result);

private:
    AppUpdater& m_updater;
    Dialogs& m_dialogs;
    UrlOpener m_openUrl;
};

// Offers to move an application image started outside ~/Applications into it. After a move
// the new copy is started, and `quit` runs only once it has started; on any failure an alert
// says why and this copy keeps running. Returns true when `quit` was called.
struct MoveToApplicationsHooks {
    std::function<bool(const QString& path)> launch;  // default: a detached process
    std::function<void()> quit;                       // default: QCoreApplication::quit, queued
};
bool moveToApplicationsIfNeeded(const InstallLocation& location, Dialogs& dialogs, MoveToApplicationsHooks hooks = {});
