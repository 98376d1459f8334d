#pragma once
// The top of the application: creates the main window with the real dialogs, opens files
// given on the command line or handed over by a later launch, follows the interface language
// with Qt's own translations, serves the Help menu, and routes SIGTERM/SIGINT to the window's
// close (the one quit path).
#include <QObject>
#include <QStringList>
#include <memory>

class AppHooks;
class MainWindow;
class QTranslator;
class QtDialogs;
class SignalQuit;
class SingleInstance;
class Store;

class AppShell : public QObject {
    Q_OBJECT
public:
    explicit AppShell(Store& store, QObject* parent = nullptr);
    ~AppShell() override;

    // Shows the window and adds `paths`; once the window is drawn, starts listening for later
    // launches, asks for the model's availability and starts the update checks.
    void start(const QStringList& paths);
    MainWindow* window() const { return m_window.get(); }

    // Command-line arguments as absolute paths (relative ones against the launch folder;
    // "file:" URLs from a desktop launcher are turned into paths).
    static QStringList pathsFromArguments(const QStringList& args);

private:
    void startServices();
    void openFiles(const QStringList& paths);
    void openHelp();
    void openSupportMail();
    void showAbout();
    void followLanguage();

    Store& m_store;
    std::unique_ptr<QtDialogs> m_dialogs;
    std::unique_ptr<AppHooks> m_hooks;
    std::unique_ptr<MainWindow> m_window;
    SingleInstance* m_instance;
    SignalQuit* m_signals;
    std::unique_ptr<QTranslator> m_qtTranslator;
    QString m_loggedStatus;  // the status line as last logged, so a repeat is not logged twice
};
