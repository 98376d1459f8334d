#include "updater_ui.h"

#include "app/app_updater.h"
#include "app/install_location.h"
#include "common/dialogs.h"
#include "platform/lang.h"

#include <QApplication>
#include <QDesktopServices>
#include <QProcess>
#include <QTimer>

UpdateNotifier::UpdateNotifier(AppUpdater& updater, Dialogs& dialogs, UrlOpener openUrl, QObject* parent)
    : QObject(parent), m_updater(updater), m_dialogs(dialogs), m_openUrl(std::move(openUrl))
{
    if (!m_openUrl)
        m_openUrl = [](const QUrl& url) { return QDesktopServices::openUrl(url); };
    connect(&updater, &AppUpdater::checkFinished, this, &UpdateNotifier::show);
}

void UpdateNotifier::show(const UpdateCheckResult& result)
{
    using Kind = UpdateCheckResult::Kind;
    Dialogs::Alert a;
    switch (result.kind) {
    case Kind::updateAvailable: {
        a.style = Dialogs::Style::Information;
        a.message = L("A new version of Brindlecove is available", "Brindlecove 有新版本可用");
        a.informative = L("Version %1 is out — you have %2. Open the release page to download it?",
                          "新版本 %1 已发布,你当前使用的是 %2。要打开发布页面下载吗?")
                            .arg(result.release.displayVersion, m_updater.currentVersion());
        a.buttons = {L("Download", "下载"), L("Not Now", "以后再说")};
        a.cancelButton = 1;
        if (m_dialogs.alert(a).button == 0 && !result.release.releasePage.isEmpty())
            m_openUrl(result.release.releasePage);
        return;
    }
    case Kind::upToDate:
        if (!result.userInitiated)
            return;
        a.style = Dialogs::Style::Information;
        a.message = L("You're up to date", "已是最新版本");
        a.informative = L("Brindlecove %1 is the newest version available.", "Brindlecove %1 已是最新版本。")
                            .arg(m_updater.currentVersion());
        m_dialogs.alert(a);
        return;
    case Kind::failed:
        if (!result.userInitiated)
            return;
        a.style = Dialogs::Style::Warning;
        a.message = L("Update check failed", "检查更新失败");
        a.informative = result.error;
        m_dialogs.alert(a);
        return;
    }
}

namespace {

void moveFailed(Dialogs& dialogs, const QString& error)
{
    Dialogs::Alert a;
    a.style = Dialogs::Style::Warning;
    a.message = L("Couldn't move Brindlecove", "无法移动 Brindlecove");
    a.informative = error + "\n"
                  + L("Drag it into the Applications folder in the File Manager instead.",
                      "请改为在文件管理器中把它拖进「应用程序」文件夹。");
    dialogs.alert(a);
}

void startFailed(Dialogs& dialogs, const QString& path)
{
    Dialogs::Alert a;
    a.style = Dialogs::Style::Warning;
    a.message = L("Couldn't start the moved copy", "无法启动移过去的拷贝");
    a.informative =
        L("Brindlecove is now in %1. Start it from there.", "Brindlecove 已在 %1 中,请从那里启动。").arg(path);
    dialogs.alert(a);
}

}  // namespace

bool moveToApplicationsIfNeeded(const InstallLocation& location, Dialogs& dialogs, MoveToApplicationsHooks hooks)
{
    if (!location.shouldOfferMove())
        return false;
    if (!hooks.launch)
        hooks.launch = [](const QString& path) { return QProcess::startDetached(path, {}); };
    if (!hooks.quit)
        // Through the windows' own close, so the quit question for unsaved metadata still applies.
        hooks.quit = [] { QTimer::singleShot(0, qApp, &QApplication::closeAllWindows); };

    Dialogs::Alert offer;
    offer.style = Dialogs::Style::Information;
    offer.message = L("Move Brindlecove to the Applications folder?", "要把 Brindlecove 移到「应用程序」文件夹吗?");
    offer.informative = L("It's running from outside your Applications folder (~/Applications), where it's "
                          "easy to lose along with your downloads.",
                          "它正在「应用程序」文件夹(~/Applications)之外运行,容易和下载的文件一起丢失。");
    offer.buttons = {L("Move to Applications", "移到「应用程序」"), L("Not Now", "以后再说")};
    offer.cancelButton = 1;
    if (dialogs.alert(offer).button != 0)
        return false;

    const InstallLocation::MoveResult moved = location.moveIntoApplications();
    if (!moved.ok) {
        moveFailed(dialogs, moved.error);
        return false;
    }
    if (!hooks.launch(location.targetPath())) {
        startFailed(dialogs, location.targetPath());
        return false;
    }
    hooks.quit();
    return true;
}

UpdaterHooks::UpdaterHooks(AppUpdater& updater, Dialogs& dialogs, InstallLocation location, QObject* parent)
    : AppHooks(parent), m_updater(updater), m_dialogs(dialogs), m_location(std::move(location)),
      m_notifier(updater, dialogs)
{
    connect(&m_updater, &AppUpdater::canCheckForUpdatesChanged, this, &AppHooks::canCheckForUpdatesChanged);
}

void UpdaterHooks::startUpdater()
{
    m_updater.startAutomaticChecks();
}

bool UpdaterHooks::canCheckForUpdates() const
{
    return m_updater.canCheckForUpdates();
}

void UpdaterHooks::checkForUpdates()
{
    m_updater.checkForUpdates();
}

void UpdaterHooks::moveToApplicationsIfNeeded()
{
    ::moveToApplicationsIfNeeded(m_location, m_dialogs, moveHooks);
}
