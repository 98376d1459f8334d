#pragma once
// The screens of the updater and of the install-location prompt: the alerts that answer a
// check, the offer to move the application image into ~/Applications, and the AppHooks the
// shell calls at launch and from its "Check for Updates…" item. Every question goes through
// Dialogs.
#include "app/install_location.h"
#include "app_hooks.h"

#include <QObject>
#include <QUrl>
#include <functional>

class AppUpdater;
class Dialogs;
struct UpdateCheckResult;

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
    std::function<void()> quit;                       // default: close every window, queued
};
bool moveToApplicationsIfNeeded(const InstallLocation& location, Dialogs& dialogs, MoveToApplicationsHooks hooks = {});

// The shell's launch services: automatic update checks with their answers, the menu item's
// state and action, and the install-location prompt.
class UpdaterHooks : public AppHooks {
    Q_OBJECT
public:
    UpdaterHooks(AppUpdater& updater, Dialogs& dialogs, InstallLocation location = InstallLocation::current(),
                 QObject* parent = nullptr);

    void startUpdater() override;
    bool canCheckForUpdates() const override;
    void checkForUpdates() override;
    void moveToApplicationsIfNeeded() override;

    UpdateNotifier& notifier() { return m_notifier; }
    MoveToApplicationsHooks moveHooks;  // launching the moved copy and quitting; defaults when empty

private:
    AppUpdater& m_updater;
    Dialogs& m_dialogs;
    InstallLocation m_location;
    UpdateNotifier m_notifier;
};
