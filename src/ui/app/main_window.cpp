#include "main_window.h"

#include "app_hooks.h"
#include "bottom_bar.h"
#include "common/dialogs.h"
#include "common/first_frame.h"
#include "common/lang_binder.h"
#include "common/segmented_control.h"
#include "files/intake.h"
#include "mode_screens.h"
#include "model/store.h"
#include "platform/lang.h"
#include "quit_guard.h"
#include "toolbar.h"

#include <QCloseEvent>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFrame>
#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

namespace {
QFrame* divider(QWidget* parent)
{
    auto* line = new QFrame(parent);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

// Wraps a row in the given margins.
QWidget* padded(QWidget* child, int h, int v, QWidget* parent)
{
    auto* box = new QWidget(parent);
    auto* l = new QHBoxLayout(box);
    l->setContentsMargins(h, v, h, v);
    l->addWidget(child);
    box->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    return box;
}

// File URLs a drag carries; other URLs (web links) are not files and are left out.
QStringList localPaths(const QMimeData* mime)
{
    QStringList out;
    if (!mime || !mime->hasUrls())
        return out;
    for (const QUrl& u : mime->urls())
        if (u.isLocalFile())
            out << u.toLocalFile();
    return out;
}
}  // namespace

MainWindow::MainWindow(Store& store, Dialogs& dialogs, AppHooks& hooks, QWidget* parent)
    : QMainWindow(parent), m_store(store), m_dialogs(dialogs), m_hooks(hooks)
{
    setWindowTitle(QStringLiteral("Brindlecove"));
    setMinimumSize(860, 560);
    resize(1200, 760);
    setAcceptDrops(true);
    setCentralWidget(buildContent());
    buildMenus();
    connect(&m_store, &Store::prefsChanged, this, &MainWindow::showActiveMode);
    connect(m_bottomBar, &BottomBar::renameLogRequested, this, &MainWindow::openRenameLog);
    showActiveMode();
}

QWidget* MainWindow::buildContent()
{
    auto* content = new QWidget(this);
    auto* col = new QVBoxLayout(content);
    col->setContentsMargins(0, 0, 0, 0);
    col->setSpacing(0);

    m_toolbar = new Toolbar(m_store, m_dialogs, content);
    col->addWidget(padded(m_toolbar, 12, 10, content));
    col->addWidget(divider(content));

    m_modePicker = new SegmentedControl(content);
    m_modePicker->setObjectName("modePicker");
    m_modePicker->setMaximumWidth(700);
    LangBinder tr(m_store);
    for (int i = 0; i < kModeCount; ++i)
        tr.bindText(m_modePicker->addSegment(QString(), i), modeTitleEn(i), modeTitleZh(i));
    connect(m_modePicker, &SegmentedControl::activated, this, [this](int tab) { m_store.setActiveTab(tab); });
    auto* pickerRow = new QWidget(content);
    auto* pickerLayout = new QHBoxLayout(pickerRow);
    pickerLayout->setContentsMargins(8, 8, 8, 8);
    m_modePicker->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    pickerLayout->addStretch(1);
    pickerLayout->addWidget(m_modePicker, 1000);
    pickerLayout->addStretch(1);
    pickerRow->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    col->addWidget(pickerRow);

    m_screenHost = new QWidget(content);
    auto* hostLayout = new QVBoxLayout(m_screenHost);
    hostLayout->setContentsMargins(0, 0, 0, 0);
    col->addWidget(m_screenHost, 1);
    col->addWidget(divider(content));

    m_bottomBar = new BottomBar(m_store, content);
    col->addWidget(padded(m_bottomBar, 12, 8, content));

    // The drop feedback lies over everything and lets every mouse event through.
    m_dropOverlay = new QWidget(content);
    m_dropOverlay->setObjectName("dropOverlay");
    m_dropOverlay->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_dropOverlay->setAttribute(Qt::WA_StyledBackground);
    QColor tint = palette().color(QPalette::Highlight);
    tint.setAlphaF(0.08f);
    m_dropOverlay->setStyleSheet(QStringLiteral("#dropOverlay { background: %1; }").arg(tint.name(QColor::HexArgb)));
    m_dropLabel = new QLabel(m_dropOverlay);
    m_dropLabel->setObjectName("dropLabel");
    QFont f = m_dropLabel->font();
    f.setBold(true);
    m_dropLabel->setFont(f);
    m_dropLabel->setStyleSheet(
        QStringLiteral("#dropLabel { background: rgba(245,245,245,215); border-radius: 14px; padding: 10px; }"));
    tr.bindText(m_dropLabel, "Drop to add files", "松开以添加文件");
    m_dropOverlay->hide();
    return content;
}

void MainWindow::buildMenus()
{
    LangBinder tr(m_store);
    m_fileMenu = menuBar()->addMenu(QString());
    m_fileMenu->setObjectName("fileMenu");
    tr.bindText(m_fileMenu, "File", "文件");
    QAction* add = m_fileMenu->addAction(QString(), this, [this] { m_store.intake().addFilesPanel(); });
    add->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    tr.bindText(add, "Add Files…", "添加文件…");
    QAction* addFolder = m_fileMenu->addAction(QString(), this, [this] { m_store.intake().addFoldersPanel(); });
    addFolder->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_O));
    tr.bindText(addFolder, "Add Folder…", "添加文件夹…");
    m_fileMenu->addSeparator();
    QAction* quit = m_fileMenu->addAction(QString(), this, &QWidget::close);
    quit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    tr.bindText(quit, "Quit", "退出");

    m_goMenu = menuBar()->addMenu(QString());
    m_goMenu->setObjectName("goMenu");
    tr.bindText(m_goMenu, "Go", "前往");
    for (int i = 0; i < kModeCount; ++i) {
        QAction* a = m_goMenu->addAction(QString(), this, [this, i] { m_store.setActiveTab(i); });
        a->setShortcut(QKeySequence(QStringLiteral("Ctrl+%1").arg(i + 1)));
        tr.bindText(a, modeTitleEn(i), modeTitleZh(i));
    }

    m_helpMenu = menuBar()->addMenu(QString());
    m_helpMenu->setObjectName("helpMenu");
    tr.bindText(m_helpMenu, "Help", "帮助");
    tr.bindText(m_helpMenu->addAction(QString(), this, &MainWindow::helpRequested), "Brindlecove Help",
                "Brindlecove 帮助");
    tr.bindText(m_helpMenu->addAction(QString(), this, &MainWindow::supportMailRequested), "Contact Support…",
                "联系支持…");
    m_helpMenu->addSeparator();
    // The application-info item stands here, and the update check follows it.
    tr.bindText(m_helpMenu->addAction(QString(), this, &MainWindow::aboutRequested), "About Brindlecove",
                "关于 Brindlecove");
    QAction* updates = m_helpMenu->addAction(QString(), &m_hooks, &AppHooks::checkForUpdates);
    tr.bindText(updates, "Check for Updates…", "检查更新…");
    auto followUpdater = [this, updates] { updates->setEnabled(m_hooks.canCheckForUpdates()); };
    connect(&m_hooks, &AppHooks::canCheckForUpdatesChanged, updates, followUpdater);
    followUpdater();
}

void MainWindow::showActiveMode()
{
    const int tab = m_store.prefs().activeTab;
    m_modePicker->setCurrentTag(tab);  // out of range: no segment selected
    const int screenTab = tab >= 0 && tab < kModeCount ? tab : kModeCount - 1;
    if (screenTab == m_screenTab)
        return;
    // A mode is built afresh each time it is entered; the screen left behind loses its state,
    // except where the rules panel was scrolled to.
    if (auto* area = m_screen ? m_screen->findChild<QScrollArea*>("rulesArea") : nullptr)
        m_rulesScroll = area->verticalScrollBar()->value();
    delete m_screen;
    m_screenTab = screenTab;
    m_screen = makeModeScreen(screenTab, m_store, m_dialogs, m_screenHost);
    m_screenHost->layout()->addWidget(m_screen);
    if (auto* area = m_screen->findChild<QScrollArea*>("rulesArea"); area && m_rulesScroll > 0) {
        // The range is known once the new panel is laid out.
        QTimer::singleShot(0, area, [area, value = m_rulesScroll] { area->verticalScrollBar()->setValue(value); });
    }
}

void MainWindow::openRenameLog()
{
    QDialog sheet(this);
    sheet.setWindowModality(Qt::WindowModal);
    auto* layout = new QVBoxLayout(&sheet);
    layout->addWidget(makeRenameLogContent(m_store, m_dialogs, &sheet));
    sheet.resize(720, 480);
    sheet.exec();
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    if (confirmQuitWithUnsavedMetadata(m_store, m_dialogs))
        event->accept();
    else
        event->ignore();
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event)
{
    if (localPaths(event->mimeData()).isEmpty())
        return;
    event->acceptProposedAction();
    setDropTargeted(true);
}

void MainWindow::dragMoveEvent(QDragMoveEvent* event)
{
    if (m_dropTargeted)
        event->acceptProposedAction();
}

void MainWindow::dragLeaveEvent(QDragLeaveEvent*)
{
    setDropTargeted(false);
}

void MainWindow::dropEvent(QDropEvent* event)
{
    setDropTargeted(false);
    // Accepted at once; each path reaches the Store on a later turn of the event loop, one call
    // per path, which gathers the gesture into one addition.
    event->acceptProposedAction();
    for (const QString& path : localPaths(event->mimeData()))
        QMetaObject::invokeMethod(
            this, [this, path] { m_store.intake().queueDrops(path); }, Qt::QueuedConnection);
}

void MainWindow::setDropTargeted(bool on)
{
    m_dropTargeted = on;
    m_dropOverlay->setGeometry(centralWidget()->rect());
    m_dropLabel->adjustSize();
    // Over the mode's screen, where files land, never over the toolbar's controls.
    m_dropLabel->move((m_dropOverlay->width() - m_dropLabel->width()) / 2, m_screenHost->geometry().top() + 6);
    m_dropOverlay->setVisible(on);
    m_dropOverlay->raise();
}

void MainWindow::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    if (m_dropTargeted)
        setDropTargeted(true);
}

void MainWindow::paintEvent(QPaintEvent* event)
{
    QMainWindow::paintEvent(event);
    FirstFrame::painted();
}
