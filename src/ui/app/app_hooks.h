#pragma once
// What the shell asks of the software updater and of the installation check at launch. The
// application starts with NullAppHooks, which cannot check and does nothing, until the updater
// is built; the menu item stays disabled meanwhile.
#include <QObject>

class AppHooks : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    virtual void startUpdater() {}
    virtual bool canCheckForUpdates() const { return false; }
    virtual void checkForUpdates() {}
    virtual void moveToApplicationsIfNeeded() {}

signals:
    void canCheckForUpdatesChanged();
};

using NullAppHooks = AppHooks;
