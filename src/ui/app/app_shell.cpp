#include "app_shell.h"

#include "ai/ai_name.h"
#include "app/app_updater.h"
#include "app_hooks.h"
#include "common/dialogs.h"
#include "common/first_frame.h"
#include "common/focused_text_undo.h"
#include "common/open_panels.h"
#include "files/intake.h"
#include "files/list_operations.h"
#include "main_window.h"
#include "model/store.h"
#include "platform/lang.h"
#include "signal_quit.h"
#include "single_instance.h"
#include "updater_ui.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QLibraryInfo>
#include <QLoggingCategory>
#include <QStandardPaths>
#include <QTimer>
#include <QTranslator>
#include <QUrl>
#include <QUrlQuery>

Q_LOGGING_CATEGORY(lcShell, "brindlecove.shell", QtWarningMsg)

AppShell::AppShell(Store& store, QObject* parent)
    : QObject(parent), m_store(store), m_dialogs(std::make_unique<QtDialogs>()),
      m_hooks(std::make_unique<UpdaterHooks>(AppUpdater::shared(), *m_dialogs)), m_instance(new SingleInstance(this)),
      m_signals(new SignalQuit(this))
{
    m_window = std::make_unique<MainWindow>(m_store, *m_dialogs, *m_hooks);
    m_dialogs->setParentWidget(m_window.get());
    m_store.intake().setOpenPanels(std::make_shared<DialogsOpenPanels>(*m_dialogs));
    m_store.setAccessPrompter(std::make_shared<DialogsAccessPrompter>(*m_dialogs));
    m_store.list().setTextUndoRouter(std::make_shared<FocusedTextUndo>());
    connect(m_window.get(), &MainWindow::helpRequested, this, &AppShell::openHelp);
    connect(m_window.get(), &MainWindow::supportMailRequested, this, &AppShell::openSupportMail);
    connect(m_window.get(), &MainWindow::aboutRequested, this, &AppShell::showAbout);
    connect(m_instance, &SingleInstance::pathsReceived, this, [this](const QStringList& paths) {
        qCInfo(lcShell, "received %lld path(s) from another launch", qlonglong(paths.size()));
        openFiles(paths);
        m_window->showNormal();
        m_window->raise();
        m_window->activateWindow();
    });
    connect(m_signals, &SignalQuit::quitRequested, this, [this](int sig) {
        qCInfo(lcShell, "signal %d: quitting", sig);
        m_window->close();
    });
    connect(&m_store, &Store::itemsChanged, this,
            [this] { qCInfo(lcShell, "items: %lld", qlonglong(m_store.items().size())); });
    connect(&m_store, &Store::activityChanged, this, [this] {
        if (m_store.status() == m_loggedStatus)
            return;
        m_loggedStatus = m_store.status();
        qCInfo(lcShell, "status: %s", qUtf8Printable(m_loggedStatus));
    });
    connect(&m_store, &Store::prefsChanged, this, &AppShell::followLanguage);
    followLanguage();
}

AppShell::~AppShell()
{
    // The Store outlives the shell; its panels must not point at these dialogs any more.
    m_store.intake().setOpenPanels(nullptr);
    m_store.setAccessPrompter(nullptr);
    m_store.list().setTextUndoRouter(nullptr);
}

void AppShell::start(const QStringList& paths)
{
    m_window->show();
    if (!m_store.writesSupportFiles())
        qCWarning(lcShell, "another instance holds %s: the history, log and presets are not saved here",
                  qPrintable(m_store.supportFolder()));
    openFiles(paths);
    // Nothing here shows in the first frame; later launches find this one once it is "ready".
    FirstFrame::afterPainted(this, [this] { startServices(); });
}

void AppShell::startServices()
{
    if (!m_instance->listen())
        qCWarning(lcShell, "cannot listen on %s: files opened later start a second window",
                  qPrintable(SingleInstance::socketPath()));
    // The model's availability is asked once now, on a worker, so that the first AI action
    // usually finds the answer ready.
    AIName::setServerConfig(ModelServerConfig::load(m_store.settings()));
    AIName::refreshAvailability();
    m_hooks->startUpdater();
    QTimer::singleShot(0, m_hooks.get(), &AppHooks::moveToApplicationsIfNeeded);
    qCInfo(lcShell, "ready");
}

QStringList AppShell::pathsFromArguments(const QStringList& args)
{
    QStringList out;
    out.reserve(args.size());
    const QDir here = QDir::current();  // asked once, not once an argument
    for (const QString& a : args) {
        if (a.isEmpty())
            continue;
        const QString path = a.startsWith(QLatin1String("file:")) ? QUrl(a).toLocalFile() : a;
        out << QDir::cleanPath(here.absoluteFilePath(path));
    }
    return out;
}

void AppShell::openFiles(const QStringList& paths)
{
    if (!paths.isEmpty())
        m_store.intake().addURLs(paths);
}

void AppShell::openHelp()
{
    // The browser cannot read the resource file system: give it a copy of the page.
    const QString dir = QDir(QStandardPaths::writableLocation(QStandardPaths::CacheLocation)).filePath("help");
    QDir().mkpath(dir);
    const QString target = QDir(dir).filePath("index.html");
    QFile::remove(target);
    if (!QFile::copy(QStringLiteral(":/help/index.html"), target)) {
        m_store.setStatus(L("Could not open the help page.", "无法打开帮助页面。"));
        return;
    }
    QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(target)))
        m_store.setStatus(L("Could not open the help page.", "无法打开帮助页面。"));
}

void AppShell::openSupportMail()
{
    QUrl mail(QStringLiteral("mailto:") + QStringLiteral(BRINDLECOVE_SUPPORT_MAIL));
    QUrlQuery q;
    q.addQueryItem(QStringLiteral("subject"), QStringLiteral("Brindlecove"));
    mail.setQuery(q);
    if (!QDesktopServices::openUrl(mail))
        m_store.setStatus(L("No mail program could be opened. Write to %1.", "无法打开邮件程序。请发邮件至 %1。")
                              .arg(QStringLiteral(BRINDLECOVE_SUPPORT_MAIL)));
}

void AppShell::showAbout()
{
    Dialogs::Alert a;
    a.style = Dialogs::Style::Information;
    a.message = QStringLiteral("Brindlecove");
    a.informative = L("Version", "版本") + QLatin1Char(' ') + QStringLiteral(BRINDLECOVE_VERSION);
    m_dialogs->alert(a);
}

void AppShell::followLanguage()
{
    // Qt's own dialog texts (file panels, standard buttons) follow the interface language.
    const bool zh = m_store.langZh();
    if (zh == bool(m_qtTranslator))
        return;
    if (!zh) {
        QCoreApplication::removeTranslator(m_qtTranslator.get());
        m_qtTranslator.reset();
        return;
    }
    auto t = std::make_unique<QTranslator>();
    if (t->load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qtbase"), QStringLiteral("_"),
                QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(t.get());
        m_qtTranslator = std::move(t);
    }
}
