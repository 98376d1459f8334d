#include "bottom_bar.h"

#include "common/icons.h"
#include "common/lang_binder.h"
#include "common/shown.h"
#include "files/history.h"
#include "files/list_operations.h"
#include "model/store.h"
#include "platform/lang.h"

#include <QAction>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QToolButton>

namespace {
QToolButton* iconMenuButton(const QString& symbol, QMenu* menu, QWidget* parent)
{
    auto* b = new QToolButton(parent);
    b->setIcon(symbolIcon(symbol));
    b->setAutoRaise(true);  // borderless
    b->setPopupMode(QToolButton::InstantPopup);
    b->setMenu(menu);
    b->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    return b;
}

// A caption line inside a menu: shown, never chosen.
QAction* addHeader(QMenu* menu, const QString& text)
{
    QAction* a = menu->addAction(text);
    a->setEnabled(false);
    QFont f = a->font();
    f.setPointSizeF(f.pointSizeF() * 0.85);
    a->setFont(f);
    return a;
}
}  // namespace

BottomBar::BottomBar(Store& store, QWidget* parent) : QWidget(parent), m_store(store)
{
    setObjectName("bottomBar");
    LangBinder tr(m_store);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);

    m_status = new QLabel(this);
    m_status->setObjectName("statusLine");
    m_status->setForegroundRole(QPalette::PlaceholderText);  // the secondary style
    m_status->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_status->setWordWrap(true);  // a long status is shown in full, on more lines
    m_status->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    row->addWidget(m_status, 1);

    buildFeatures();
    auto* features = iconMenuButton("gearshape", m_features, this);
    features->setObjectName("featuresButton");
    tr.bind(features, [features] {
        features->setAccessibleName(L("Features", "功能"));
        features->setToolTip(L("Turn features on/off", "打开/关闭功能"));
    });
    row->addWidget(features);

    m_undoGroup = new QWidget(this);
    m_undoGroup->setObjectName("undoGroup");
    auto* group = new QHBoxLayout(m_undoGroup);
    group->setContentsMargins(0, 0, 0, 0);
    m_restoreAll = new QToolButton(m_undoGroup);
    m_restoreAll->setObjectName("restoreAll");
    m_restoreAll->setIcon(symbolIcon("arrow.uturn.backward.circle"));
    m_restoreAll->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    tr.bindText(m_restoreAll, "Restore all", "全部还原");
    tr.bindToolTip(m_restoreAll, "Restore ALL renamed files to their original names.",
                   "把所有已改名的文件一键还原为原始名称。");
    connect(m_restoreAll, &QToolButton::clicked, this, [this] { m_store.history().restoreAll(); });

    // Ctrl+Z: a focused editable text field takes it first (Qt gives the field the shortcut
    // override), so the key reaches this action only with the focus elsewhere.
    m_undo = new QAction(symbolIcon("arrow.uturn.backward"), QString(), m_undoGroup);
    m_undo->setObjectName("undoAction");
    m_undo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    m_undo->setShortcutContext(Qt::WindowShortcut);
    tr.bindText(m_undo, "Undo", "撤销");
    connect(m_undo, &QAction::triggered, this, [this] { m_store.list().undoFromButton(); });
    m_undoGroup->addAction(m_undo);
    auto* undoButton = new QToolButton(m_undoGroup);
    undoButton->setObjectName("undoButton");
    undoButton->setDefaultAction(m_undo);
    undoButton->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);

    m_history = new QMenu(this);
    m_history->setObjectName("historyMenu");
    connect(m_history, &QMenu::aboutToShow, this, &BottomBar::rebuildHistoryMenu);
    auto* history = iconMenuButton("clock.arrow.circlepath", m_history, m_undoGroup);
    history->setObjectName("historyButton");
    tr.bind(history, [history] {
        history->setAccessibleName(L("Undo history", "撤销历史"));
        history->setToolTip(L("Undo history and the rename log", "撤销历史与改名记录"));
    });

    group->addWidget(m_restoreAll);
    group->addWidget(undoButton);
    group->addWidget(history);
    row->addWidget(m_undoGroup);

    connect(&m_store, &Store::activityChanged, this, &BottomBar::refresh);
    connect(&m_store, &Store::prefsChanged, this, &BottomBar::refresh);
    connect(&m_store, &Store::historyChanged, this, &BottomBar::refresh);
    refresh();
}

void BottomBar::buildFeatures()
{
    LangBinder tr(m_store);
    m_features = new QMenu(this);
    m_features->setObjectName("featuresMenu");
    tr.bindText(addHeader(m_features, QString()), "Feature switches", "功能开关");
    m_mediaDrive = m_features->addAction(QString());
    m_mediaDrive->setCheckable(true);
    tr.bindText(m_mediaDrive, "Media Drive mode (Avid Source Browser)", "Media Drive 模式(Avid 源浏览器)");
    connect(m_mediaDrive, &QAction::triggered, this, [this](bool on) {
        m_store.setPersistedFlag(&AppPrefs::mediaDriveMode, on, QStringLiteral("mediaDriveMode"));
    });
    m_showRestoreAll = m_features->addAction(QString());
    m_showRestoreAll->setCheckable(true);
    tr.bindText(m_showRestoreAll, "Show “Restore all to original”", "显示「全部还原原始名称」");
    connect(m_showRestoreAll, &QAction::triggered, this, [this](bool on) { m_store.setShowRestoreAll(on); });
}

void BottomBar::refresh()
{
    const AppPrefs& p = m_store.prefs();
    m_status->setText(m_store.status());
    m_status->setToolTip(m_store.status());  // a long status stays readable in full
    m_mediaDrive->setChecked(p.mediaDriveMode);
    m_showRestoreAll->setChecked(p.showRestoreAll);

    const bool renamingMode = p.activeTab != 2 && p.activeTab != 3 && p.activeTab != 4;
    const bool hasHistory = !m_store.historyState().undoStack.isEmpty();
    setShown(m_undoGroup, renamingMode);
    m_undo->setEnabled(renamingMode && hasHistory);
    setShown(m_restoreAll, p.showRestoreAll);
    m_restoreAll->setEnabled(hasHistory);
    if (!m_historyDirty) {
        m_historyDirty = true;
        QMetaObject::invokeMethod(this, &BottomBar::rebuildHistoryMenu, Qt::QueuedConnection);
    }
}

QMenu* BottomBar::historyMenu()
{
    rebuildHistoryMenu();
    return m_history;
}

void BottomBar::rebuildHistoryMenu()
{
    if (!m_historyDirty)
        return;
    m_historyDirty = false;
    m_history->clear();
    m_history->addAction(L("Rename Log…", "改名记录…"), this, &BottomBar::renameLogRequested);
    m_history->addSeparator();
    if (m_store.historyState().undoStack.isEmpty()) {
        m_history->addAction(L("No history", "无历史"))->setEnabled(false);
        return;
    }
    if (m_store.prefs().showRestoreAll) {
        m_history->addAction(L("Restore ALL to original names", "全部还原为原始名称"), this,
                             [this] { m_store.history().restoreAll(); });
        m_history->addSeparator();
    }
    addHeader(m_history, L("Undo back to…", "撤销回到…"));
    const QStringList summaries = m_store.history().historySummaries();
    for (int i = 0; i < summaries.size(); ++i)
        m_history->addAction(summaries[i], this, [this, i] { undoBackTo(i); });
}

void BottomBar::undoBackTo(int position)
{
    m_store.history().undoBackTo(position);
}
