#include "toolbar.h"

#include "common/dialogs.h"
#include "common/icons.h"
#include "common/lang_binder.h"
#include "common/segmented_control.h"
#include "files/folder_watch.h"
#include "files/intake.h"
#include "files/list_operations.h"
#include "model/store.h"
#include "platform/lang.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QResizeEvent>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
constexpr int kSpacing = 10;

QToolButton* commandButton(const QString& symbol, QWidget* parent)
{
    auto* b = new QToolButton(parent);
    b->setIcon(symbolIcon(symbol));
    b->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    b->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    return b;
}

QWidget* titleLabel(QWidget* parent)
{
    auto* w = new QWidget(parent);
    w->setObjectName("titleLabel");
    auto* row = new QHBoxLayout(w);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(kSpacing);
    auto* icon = new QLabel(w);
    const int size = w->fontMetrics().height() * 3 / 2;
    icon->setPixmap(symbolIcon("textformat.abc.dottedunderline").pixmap(size, size));
    auto* name = new QLabel(QStringLiteral("Brindlecove"), w);
    QFont f = name->font();
    f.setPointSizeF(f.pointSizeF() * 1.35);
    f.setBold(true);
    name->setFont(f);
    row->addWidget(icon);
    row->addWidget(name);
    w->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    return w;
}
}  // namespace

Toolbar::Toolbar(Store& store, Dialogs& dialogs, QWidget* parent) : QWidget(parent), m_store(store), m_dialogs(dialogs)
{
    setObjectName("toolbar");
    buildControls();
    auto* rows = new QVBoxLayout(this);
    rows->setContentsMargins(0, 0, 0, 0);
    rows->setSpacing(8);
    m_row1 = new QHBoxLayout;
    m_row2 = new QHBoxLayout;
    m_row1->setSpacing(kSpacing);
    m_row2->setSpacing(kSpacing);
    rows->addLayout(m_row1);
    rows->addLayout(m_row2);
    arrange(false);

    connect(&m_store, &Store::prefsChanged, this, &Toolbar::refresh);
    connect(&m_store, &Store::itemsChanged, this, &Toolbar::refresh);
    connect(&m_store, &Store::watchChanged, this, &Toolbar::refresh);
    refresh();
}

void Toolbar::buildControls()
{
    LangBinder tr(m_store);
    m_title = titleLabel(this);

    m_lang = new SegmentedControl(this);
    m_lang->setObjectName("languagePicker");
    m_lang->addSegment(QStringLiteral("EN"), 0);
    m_lang->addSegment(QStringLiteral("中文"), 1);
    m_lang->setFixedWidth(110);
    connect(m_lang, &SegmentedControl::activated, this, [this](int tag) { m_store.setLangZh(tag == 1); });

    m_addFiles = commandButton("plus", this);
    m_addFiles->setObjectName("addFiles");
    tr.bindText(m_addFiles, "Add Files", "添加文件");
    connect(m_addFiles, &QToolButton::clicked, this, [this] { m_store.intake().addFilesPanel(); });

    m_addFolder = commandButton("folder.badge.plus", this);
    m_addFolder->setObjectName("addFolder");
    tr.bindText(m_addFolder, "Add Folder", "添加文件夹");
    tr.bindToolTip(
        m_addFolder,
        "Choose a folder itself (to rename it as a whole, or scan it in Media Drive mode). A panel that "
        "allows picking both files and folders can't select a folder — only enter it — so this is a "
        "separate picker.",
        "选择文件夹本身(整体重命名,或用于 Media Drive 扫描)。同时允许选文件和文件夹的面板无法「选中」文件夹、"
        "只能「进入」它,所以这里用一个单独的面板。");
    connect(m_addFolder, &QToolButton::clicked, this, [this] { m_store.intake().addFoldersPanel(); });

    m_sort = commandButton("arrow.up.arrow.down", this);
    m_sort->setObjectName("sortMenu");
    m_sort->setPopupMode(QToolButton::InstantPopup);
    tr.bindText(m_sort, "Sort", "排序");
    auto* sortMenu = new QMenu(m_sort);
    tr.bindText(sortMenu->addAction(QString(), this, [this] { m_store.list().sortByName(); }), "Sort by Name",
                "按名称排序");
    tr.bindText(sortMenu->addAction(QString(), this, [this] { m_store.list().sortByDateModified(); }),
                "Sort by Date Modified", "按修改时间排序");
    tr.bindText(sortMenu->addAction(QString(), this, [this] { m_store.list().reverseOrder(); }), "Reverse Order",
                "倒序");
    m_sort->setMenu(sortMenu);

    m_clear = commandButton("trash", this);
    m_clear->setObjectName("clearFiles");
    tr.bindText(m_clear, "Clear", "清空");
    connect(m_clear, &QToolButton::clicked, this, [this] { m_store.list().clearFiles(); });

    m_watch = commandButton("eye", this);
    m_watch->setObjectName("watchFolder");
    connect(m_watch, &QToolButton::clicked, this, [this] {
        if (m_store.watchState().watchFolder)
            m_store.watch().stopWatching();
        else
            chooseWatchFolder();
    });
}

void Toolbar::refresh()
{
    m_lang->setCurrentTag(m_store.langZh() ? 1 : 0);
    m_clear->setEnabled(!m_store.items().isEmpty());
    updateWatch();
    // New titles change the wide row's width.
    if (isVisible())
        arrange(wideWidth() > width());
}

void Toolbar::updateWatch()
{
    const FolderWatchState& w = m_store.watchState();
    if (!w.watchFolder) {
        m_watch->setText(L("Watch", "监控"));
        m_watch->setIcon(symbolIcon("eye"));
        m_watch->setStyleSheet(QString());
        m_watch->setToolTip(L("Watch a folder — new files are auto-renamed by the current rules. Optionally include "
                              "its subfolders.",
                              "监控一个文件夹 —— 新进文件按当前规则自动重命名。可选择是否包含子文件夹。"));
        return;
    }
    const QString n = QString::number(w.watchCount);
    m_watch->setText(Lang::zh() ? QStringLiteral("停止(%1)").arg(n) : QStringLiteral("Stop (%1)").arg(n));
    m_watch->setIcon(symbolIcon("eye.slash"));
    m_watch->setStyleSheet(QStringLiteral("QToolButton { color: #e67e00; }"));
    m_watch->setToolTip(w.watchRecursive
                            ? L("Watching this folder and its subfolders.", "正在监控此文件夹及其子文件夹。")
                            : L("Watching this folder (subfolders not included).", "正在监控此文件夹(不含子文件夹)。"));
}

void Toolbar::chooseWatchFolder()
{
    Dialogs::OpenPanel panel;
    panel.chooseFiles = false;
    panel.chooseDirectories = true;
    panel.multiple = false;
    panel.checkBoxText = L("Include subfolders", "包含子文件夹");
    const Dialogs::OpenResult r = m_dialogs.openPanel(panel);
    if (r.accepted())
        m_store.watch().startWatching(r.paths.first(), r.checkBoxChecked);
}

int Toolbar::wideWidth() const
{
    const QList<QWidget*> controls = {m_title, m_lang, m_addFiles, m_addFolder, m_sort, m_clear, m_watch};
    int w = 0;
    for (QWidget* c : controls)
        w += c->sizeHint().width();
    return w + kSpacing * int(controls.size());  // the flexible space counts as one gap
}

QSize Toolbar::minimumSizeHint() const
{
    // The window may shrink to the two-row layout's width; the wide row then gives way.
    const int row1 = m_title->sizeHint().width() + kSpacing * 2 + m_lang->sizeHint().width();
    int row2 = 0;
    for (QWidget* c : {static_cast<QWidget*>(m_addFiles), static_cast<QWidget*>(m_addFolder),
                       static_cast<QWidget*>(m_sort), static_cast<QWidget*>(m_clear), static_cast<QWidget*>(m_watch)})
        row2 += c->sizeHint().width() + kSpacing;
    return {std::max(row1, row2), QWidget::minimumSizeHint().height()};
}

void Toolbar::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    arrange(wideWidth() > event->size().width());
}

void Toolbar::arrange(bool compact)
{
    if (compact == m_compact && m_row1->count() > 0)
        return;
    m_compact = compact;
    while (m_row1->count() > 0)
        delete m_row1->takeAt(0);
    while (m_row2->count() > 0)
        delete m_row2->takeAt(0);
    m_row1->addWidget(m_title);
    m_row1->addStretch(1);
    m_row1->addWidget(m_lang);
    QHBoxLayout* commands = compact ? m_row2 : m_row1;
    for (QWidget* c : {static_cast<QWidget*>(m_addFiles), static_cast<QWidget*>(m_addFolder),
                       static_cast<QWidget*>(m_sort), static_cast<QWidget*>(m_clear), static_cast<QWidget*>(m_watch)})
        commands->addWidget(c);
    if (compact)
        m_row2->addStretch(1);
    updateGeometry();
}
