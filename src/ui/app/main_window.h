#pragma once
// The single main window: toolbar, mode picker, the active mode's screen and the bottom bar,
// the menus (File, Go, Help), the drop target for files and folders, and the rename log sheet.
// Closing the window is the one quit path: it asks about unsaved metadata first.
#include <QMainWindow>

class AppHooks;
class BottomBar;
class Dialogs;
class QLabel;
class QMenu;
class SegmentedControl;
class Store;
class Toolbar;

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    MainWindow(Store& store, Dialogs& dialogs, AppHooks& hooks, QWidget* parent = nullptr);

    Toolbar* toolbar() const { return m_toolbar; }
    BottomBar* bottomBar() const { return m_bottomBar; }
    SegmentedControl* modePicker() const { return m_modePicker; }
    QWidget* modeScreen() const { return m_screen; }
    QMenu* fileMenu() const { return m_fileMenu; }
    QMenu* goMenu() const { return m_goMenu; }
    QMenu* helpMenu() const { return m_helpMenu; }
    bool isDropTargeted() const { return m_dropTargeted; }

    void openRenameLog();

signals:
    void helpRequested();
    void supportMailRequested();
    void aboutRequested();

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void buildMenus();
    QWidget* buildContent();
    void showActiveMode();
    void setDropTargeted(bool on);

    Store& m_store;
    Dialogs& m_dialogs;
    AppHooks& m_hooks;
    Toolbar* m_toolbar = nullptr;
    BottomBar* m_bottomBar = nullptr;
    SegmentedControl* m_modePicker = nullptr;
    QWidget* m_screenHost = nullptr;
    QWidget* m_screen = nullptr;
    int m_screenTab = -1;
    int m_rulesScroll = 0;  // the rules panel's place, kept across mode switches
    QWidget* m_dropOverlay = nullptr;
    QLabel* m_dropLabel = nullptr;
    bool m_dropTargeted = false;
    QMenu* m_fileMenu = nullptr;
    QMenu* m_goMenu = nullptr;
    QMenu* m_helpMenu = nullptr;
};
