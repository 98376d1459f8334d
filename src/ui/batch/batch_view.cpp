#include "batch_view.h"

#include "batch_list_model.h"
#include "batch_list_view.h"
#include "batch_row_delegate.h"
#include "common/dialogs.h"
#include "common/file_manager.h"
#include "common/icons.h"
#include "common/lang_binder.h"
#include "common/quick_look.h"
#include "common/segmented_control.h"
#include "files/intake.h"
#include "files/item_bookkeeping.h"
#include "files/list_operations.h"
#include "files/renamer.h"
#include "model/name_preview.h"
#include "model/store.h"
#include "platform/lang.h"
#include "platform/settings.h"

#include <QCheckBox>
#include <QClipboard>
#include <QFrame>
#include <QFutureWatcher>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScrollArea>
#include <QShortcut>
#include <QSplitter>
#include <QStackedWidget>
#include <QThreadPool>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>
#include <QVBoxLayout>
#include <QtConcurrent/QtConcurrentRun>

namespace {
constexpr int kConflictDelayMs = 200;
constexpr int kFilterBarMinimum = 9;
constexpr int kLargeBatch = 100;
const char* const kSkipConfirmKey = "skipLargeRenameConfirm";

QFont caption(QFont f)
{
    f.setPointSizeF(std::max(6.0, f.pointSizeF() - 2));
    return f;
}

QLabel* secondaryLabel(QWidget* parent, bool small = true)
{
    auto* l = new QLabel(parent);
    if (small)
        l->setFont(caption(l->font()));
    l->setForegroundRole(QPalette::PlaceholderText);
    return l;
}

void setTextColor(QWidget* w, const QColor& c)
{
    QPalette p = w->palette();
    p.setColor(QPalette::WindowText, c);
    p.setColor(QPalette::Text, c);
    w->setPalette(p);
}

const QColor kOrange(0xE6, 0x7E, 0x22);

// The checks' own threads: a check given up for a newer one may still finish the name it is on
// (a slow pattern) while the newer one starts.
QThreadPool& checkPool()
{
    static QThreadPool* pool = [] {
        auto* p = new QThreadPool;
        p->setMaxThreadCount(2);
        p->setExpiryTimeout(5000);
        return p;
    }();
    return *pool;
}

struct CheckOutcome {
    quint64 generation = 0;
    std::optional<NamePreview::ConflictResult> result;  // nothing when given up
};
}  // namespace

BatchView::BatchView(Store& store, Dialogs& dialogs, QWidget* parent)
    : QWidget(parent), m_store(store), m_dialogs(dialogs)
{
    m_model = new BatchListModel(store, m_selection, this);
    m_conflictTimer = new QTimer(this);
    m_conflictTimer->setSingleShot(true);
    m_conflictTimer->setInterval(kConflictDelayMs);
    connect(m_conflictTimer, &QTimer::timeout, this, [this] {
        if (!m_store.items().isEmpty())
            startConflictCheck();
    });

    auto* splitter = new QSplitter(Qt::Horizontal, this);
    splitter->setChildrenCollapsible(false);
    splitter->addWidget(buildListPane());
    m_rulesArea = new QScrollArea(splitter);
    m_rulesArea->setObjectName("rulesArea");
    m_rulesArea->setWidgetResizable(true);
    m_rulesArea->setMinimumWidth(360);
    m_rulesArea->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    splitter->addWidget(m_rulesArea);
    setRulesPanel(new QWidget);

    auto* line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(splitter, 1);
    layout->addWidget(line);
    layout->addWidget(buildApplyBar());

    for (const QKeyCombination keys : {QKeyCombination(Qt::ControlModifier, Qt::Key_Return),
                                       QKeyCombination(Qt::ControlModifier | Qt::KeypadModifier, Qt::Key_Enter)}) {
        auto* shortcut = new QShortcut(QKeySequence(keys), this);
        connect(shortcut, &QShortcut::activated, this, [this] {
            if (m_apply->isEnabled())
                applyAction();
        });
    }

    connectStore();
    LangBinder(m_store).bind(this, [this] {
        updateScopeNote();
        updateFilterBar();
        updateSkipWarning();
        updateApplyBar();
    });
    m_list->setUniformRowHeights(!m_store.prefs().wrapNames);
    updateListPane();
}

BatchView::~BatchView()
{
    // A check given up stops at its next name; waiting for it keeps a worker from still running
    // while the application tears down what it reads (a bounded wait: one name at most).
    if (m_cancelCheck)
        m_cancelCheck->store(true);
    checkPool().waitForDone(2000);
}

void BatchView::setRulesPanel(QWidget* panel)
{
    panel->setContentsMargins(12, 12, 12, 12);
    // Never squeezed below its natural height: the area scrolls instead.
    panel->setSizePolicy(panel->sizePolicy().horizontalPolicy(), QSizePolicy::Minimum);
    delete m_rulesArea->takeWidget();
    m_rulesArea->setWidget(panel);
}

// ---------------------------------------------------------------- building

QWidget* BatchView::buildListPane()
{
    auto* pane = new QWidget(this);
    pane->setMinimumWidth(360);
    auto* layout = new QVBoxLayout(pane);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(6);
    layout->addWidget(buildHeader());
    layout->addWidget(buildScopeRow());

    m_listStack = new QStackedWidget(pane);
    buildEmptyState(m_listStack);

    auto* listPage = new QWidget(m_listStack);
    auto* listLayout = new QVBoxLayout(listPage);
    listLayout->setContentsMargins(0, 0, 0, 0);
    listLayout->setSpacing(6);
    listLayout->addWidget(buildFilterBar());

    m_list = new BatchListView(listPage);
    m_list->setModel(m_model);
    m_delegate = new BatchRowDelegate(m_store, m_list);
    m_list->setItemDelegate(m_delegate);
    m_list->setHeaderHidden(true);
    m_list->setRootIsDecorated(false);
    m_list->setAlternatingRowColors(true);
    m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    // Per item: the scroll range then needs no row heights beyond the last page's.
    m_list->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    m_list->setDragDropMode(QAbstractItemView::InternalMove);
    m_list->setDefaultDropAction(Qt::MoveAction);
    m_list->setDragDropOverwriteMode(false);
    m_list->setDropIndicatorShown(true);
    m_list->setContextMenuPolicy(Qt::CustomContextMenu);
    m_list->setMouseTracking(true);
    m_list->installEventFilter(this);
    listLayout->addWidget(m_list, 1);

    m_skipWarning = new QLabel(listPage);
    m_skipWarning->setFont(caption(m_skipWarning->font()));
    setTextColor(m_skipWarning, kOrange);
    m_skipWarning->setContentsMargins(8, 0, 8, 4);
    m_skipWarning->setWordWrap(true);
    listLayout->addWidget(m_skipWarning);
    m_listStack->addWidget(listPage);
    layout->addWidget(m_listStack, 1);

    connect(m_list->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        if (m_pushingSelection)
            return;
        // The user's selection is what the list highlights: files hidden by the filter
        // or removed from the list drop out, so Delete never takes a file not shown.
        m_selection.clear();
        for (const QModelIndex& i : m_list->selectionModel()->selectedRows())
            m_selection.insert(i.data(BatchListModel::ItemIdRole).toUuid());
        onUserSelectionChanged();
    });
    connect(m_list, &QWidget::customContextMenuRequested, this, &BatchView::showContextMenu);
    connect(m_list, &QAbstractItemView::doubleClicked, this,
            [this](const QModelIndex& index) { quickLookSelection(chosenIds(index)); });
    connect(m_model, &BatchListModel::moveRequested, this, &BatchView::moveItems, Qt::QueuedConnection);
    connect(m_model, &BatchListModel::namesFilled, m_list, &BatchListView::rowsChanged);
    connect(m_delegate, &BatchRowDelegate::removeClicked, this,
            [this](const QUuid& id) { m_store.list().removeItem(id); });
    connect(m_delegate, &BatchRowDelegate::aiToggled, this,
            [this](const QUuid& id, bool on) { m_store.list().setUseAI(id, on); });
    return pane;
}

QWidget* BatchView::buildHeader()
{
    LangBinder tr(m_store);
    auto* row = new QWidget(this);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(8, 6, 8, 0);
    auto* title = secondaryLabel(row);
    tr.bindText(title, "Files  ·  drag to reorder", "文件  ·  拖动排序");
    m_renameFolders = new QCheckBox(row);
    m_renameFolders->setFont(caption(m_renameFolders->font()));
    tr.bindText(m_renameFolders, "Rename folders", "重命名文件夹");
    tr.bindToolTip(m_renameFolders,
                   "Collapse the file list to the parent folders and rename those. Turn off to go back to files.",
                   "把文件列表折叠为它们的母文件夹并改名。关闭即返回文件视图。");
    m_wrapNames = new QCheckBox(row);
    m_wrapNames->setFont(caption(m_wrapNames->font()));
    tr.bindText(m_wrapNames, "Wrap long names", "长名换行");
    layout->addWidget(title);
    layout->addStretch(1);
    layout->addWidget(m_renameFolders);
    layout->addWidget(m_wrapNames);
    m_renameFolders->setChecked(m_store.sections().renameFolders);
    m_wrapNames->setChecked(m_store.prefs().wrapNames);
    connect(m_renameFolders, &QCheckBox::clicked, this,
            [this](bool on) { m_store.bookkeeping().setRenameFolders(on); });
    connect(m_wrapNames, &QCheckBox::clicked, this, [this](bool on) { m_store.setWrapNames(on); });
    return row;
}

QWidget* BatchView::buildScopeRow()
{
    LangBinder tr(m_store);
    auto* row = new QWidget(this);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(8, 0, 8, 0);
    auto* label = secondaryLabel(row);
    tr.bindText(label, "Apply to", "应用范围");
    m_scope = new SegmentedControl(row);
    tr.bindText(m_scope->addSegment(QString(), 1), "All files", "全部文件");
    tr.bindText(m_scope->addSegment(QString(), 0), "Selected files", "选中的文件");
    m_scope->setFixedWidth(200);
    m_scope->setCurrentTag(m_store.sections().scopeAllFiles ? 1 : 0);
    m_scopeNote = new QLabel(row);
    QFont f = caption(m_scopeNote->font());
    f.setPointSizeF(std::max(6.0, f.pointSizeF() - 1));
    m_scopeNote->setFont(f);
    layout->addWidget(label);
    layout->addWidget(m_scope);
    layout->addWidget(m_scopeNote);
    layout->addStretch(1);
    tr.bindToolTip(
        row, "Every rule below applies only to this scope — “Selected files” means files highlighted in the list.",
        "下面所有规则都只对这个范围生效 —— 「选中的文件」指列表中高亮选中的文件。");
    connect(m_scope, &SegmentedControl::activated, this,
            [this](int tag) { m_store.editSections([tag](NameSections& s) { s.scopeAllFiles = tag == 1; }); });
    return row;
}

QWidget* BatchView::buildFilterBar()
{
    LangBinder tr(m_store);
    m_filterBar = new QWidget(this);
    auto* layout = new QHBoxLayout(m_filterBar);
    layout->setContentsMargins(8, 0, 8, 0);
    layout->setSpacing(8);
    m_filterField = new QLineEdit(m_filterBar);
    m_filterField->setClearButtonEnabled(true);
    tr.bindText(m_filterField, "Filter by name", "按名称筛选");
    m_changedOnly = new QCheckBox(m_filterBar);
    m_changedOnly->setFont(caption(m_changedOnly->font()));
    tr.bindText(m_changedOnly, "Changed only", "只看有变化的");
    m_filterCount = secondaryLabel(m_filterBar);
    QFont mono = m_filterCount->font();
    mono.setStyleHint(QFont::Monospace);
    m_filterCount->setFont(mono);
    layout->addWidget(m_filterField, 1);
    layout->addWidget(m_changedOnly);
    layout->addWidget(m_filterCount);
    auto refilter = [this] {
        m_model->setFilter(m_filterField->text(), m_changedOnly->isChecked());
        pushSelectionToView();
        m_list->setDragEnabled(!isFiltering());
        updateFilterBar();
    };
    connect(m_filterField, &QLineEdit::textChanged, this, refilter);
    connect(m_changedOnly, &QCheckBox::toggled, this, refilter);
    return m_filterBar;
}

void BatchView::buildEmptyState(QStackedWidget* stack)
{
    LangBinder tr(m_store);
    // Joins the stack while empty: the stack shows its first page at once, which for a page
    // already filled would lay it out before the window has a size.
    m_emptyState = new QWidget;
    stack->addWidget(m_emptyState);
    m_emptyState->installEventFilter(this);
    auto* outer = new QVBoxLayout(m_emptyState);
    outer->setContentsMargins(40, 40, 40, 40);
    outer->addStretch(1);
    auto* column = new QVBoxLayout;
    column->setSpacing(8);
    auto* symbol = new QLabel(m_emptyState);
    symbol->setPixmap(symbolIcon("square.and.arrow.down.on.square").pixmap(40, 40, QIcon::Disabled));
    symbol->setAlignment(Qt::AlignCenter);
    auto* drag = secondaryLabel(m_emptyState, false);
    tr.bindText(drag, "Drag files here", "拖入文件");
    auto* orUse = secondaryLabel(m_emptyState);
    tr.bindText(orUse, "or use Add Files, or double-click here", "或点击「添加文件」,或在此处双击");
    m_sample = new QPushButton(symbolIcon("wand.and.stars"), QString(), m_emptyState);
    m_sample->setFont(caption(m_sample->font()));
    tr.bindText(m_sample, "Try it with sample files", "用示例文件试一下");
    tr.bindToolTip(m_sample, "Adds a few throwaway files from a temporary folder — your own files aren't touched.",
                   "从临时文件夹添加几个示例文件,不会动到你自己的文件。");
    connect(m_sample, &QPushButton::clicked, this, [this] { m_store.intake().addSampleFiles(); });
    for (QLabel* l : {drag, orUse})
        l->setAlignment(Qt::AlignCenter);
    column->addWidget(symbol);
    column->addWidget(drag);
    column->addWidget(orUse);
    column->addSpacing(6);
    column->addWidget(m_sample, 0, Qt::AlignCenter);
    column->addSpacing(10);
    auto* steps = new QVBoxLayout;
    steps->setSpacing(3);
    const char* const lines[][2] = {
        {"1. Turn on a rule on the right — the preview updates as you type.",
         "1. 在右侧开启规则,预览会随输入实时更新。"},
        {"2. Red names can't be used; hover them to see why.", "2. 红色名称无法使用,鼠标停在上面查看原因。"},
        {"3. Apply Rename (Ctrl+↩). Undo (Ctrl+Z) works even after you quit.",
         "3. 应用重命名(Ctrl+↩)。撤销(Ctrl+Z)在退出 app 后依然可用。"},
    };
    for (const auto& line : lines) {
        auto* l = secondaryLabel(m_emptyState);
        tr.bindText(l, line[0], line[1]);
        steps->addWidget(l);
    }
    auto* stepsRow = new QHBoxLayout;
    stepsRow->addStretch(1);
    stepsRow->addLayout(steps);
    stepsRow->addStretch(1);
    column->addLayout(stepsRow);
    outer->addLayout(column);
    outer->addStretch(1);
}

QWidget* BatchView::buildApplyBar()
{
    auto* bar = new QWidget(this);
    bar->setAutoFillBackground(true);
    bar->setBackgroundRole(QPalette::Window);
    auto* layout = new QHBoxLayout(bar);
    layout->setContentsMargins(12, 12, 12, 12);
    m_total = secondaryLabel(bar, false);
    m_status = secondaryLabel(bar, false);
    m_apply = new QPushButton(symbolIcon("checkmark.seal.fill"), QString(), bar);
    m_apply->setDefault(true);
    m_apply->setMinimumHeight(32);
    QFont bold = m_apply->font();
    bold.setBold(true);
    m_apply->setFont(bold);
    connect(m_apply, &QPushButton::clicked, this, &BatchView::applyAction);
    layout->addWidget(m_total);
    layout->addStretch(1);
    layout->addWidget(m_status);
    layout->addWidget(m_apply);
    return bar;
}

void BatchView::connectStore()
{
    // What names, their check and its reasons' language depend on (a status text is not); first,
    // so that every handler below already sees the shown result as out of date.
    for (auto signal : {&Store::rulesChanged, &Store::sectionsChanged, &Store::smartChanged, &Store::metaChanged,
                        &Store::itemsChanged, &Store::prefsChanged, &Store::historyChanged, &Store::watchChanged})
        connect(&m_store, signal, this, &BatchView::checkInputsChanged);
    for (auto signal : {&Store::rulesChanged, &Store::sectionsChanged, &Store::smartChanged, &Store::metaChanged})
        connect(&m_store, signal, this, &BatchView::onNamesChanged);
    connect(&m_store, &Store::itemsChanged, this, &BatchView::onItemsChanged);
    connect(&m_store, &Store::changed, m_conflictTimer, qOverload<>(&QTimer::start));
    connect(&m_store, &Store::sectionsChanged, this, [this] {
        m_scope->setCurrentTag(m_store.sections().scopeAllFiles ? 1 : 0);
        m_renameFolders->setChecked(m_store.sections().renameFolders);
        updateScopeNote();
    });
    connect(&m_store, &Store::prefsChanged, this, [this] {
        const bool wrap = m_store.prefs().wrapNames;
        m_wrapNames->setChecked(wrap);
        if (m_list->uniformRowHeights() == wrap) {
            m_list->setUniformRowHeights(!wrap);
            m_list->rowsChanged();
        }
    });
}

// ---------------------------------------------------------------- state changes

void BatchView::onNamesChanged()
{
    if (m_model->namesChanged())
        pushSelectionToView();
    else
        m_list->rowsChanged();
    updateFilterBar();
}

void BatchView::onItemsChanged()
{
    m_model->listChanged();
    const bool selectionShrank = dropUnlistedFromSelection();
    pushSelectionToView();
    updateListPane();
    updateFilterBar();
    // An empty list is never checked again by the delayed check: say so at once.
    if (m_store.items().isEmpty())
        refreshConflicts();
    updateApplyBar();
    if (selectionShrank)
        onUserSelectionChanged();
}

bool BatchView::dropUnlistedFromSelection()
{
    if (m_selection.isEmpty())
        return false;
    QSet<QUuid> listed;
    for (const FileItem& item : m_store.items())
        if (m_selection.contains(item.id))
            listed.insert(item.id);
    if (listed.size() == m_selection.size())
        return false;
    m_selection = std::move(listed);
    return true;
}

void BatchView::onUserSelectionChanged()
{
    if (!m_store.sections().scopeAllFiles)
        onNamesChanged();
    updateScopeNote();
    checkInputsChanged();
    if (m_store.items().isEmpty())
        refreshConflicts();
    else
        startConflictCheck();
}

void BatchView::checkInputsChanged()
{
    ++m_generation;
}

void BatchView::setSelection(const QSet<QUuid>& ids)
{
    m_selection = ids;
    pushSelectionToView();
    onUserSelectionChanged();
}

void BatchView::pushSelectionToView()
{
    QItemSelection sel;
    const int rows = m_model->rowCount();
    const QList<FileItem>& items = m_store.items();
    int runStart = -1;
    for (int r = 0; r <= rows; ++r) {
        const bool in = r < rows && m_selection.contains(items.at(m_model->storeIndex(r)).id);
        if (in && runStart < 0)
            runStart = r;
        if (!in && runStart >= 0) {
            sel.select(m_model->index(runStart), m_model->index(r - 1));
            runStart = -1;
        }
    }
    m_pushingSelection = true;
    m_list->selectionModel()->select(sel, QItemSelectionModel::ClearAndSelect);
    m_pushingSelection = false;
}

void BatchView::updateListPane()
{
    const bool empty = m_store.items().isEmpty();
    m_listStack->setCurrentIndex(empty ? 0 : 1);
    if (empty) {
        m_listShown = false;
        return;
    }
    if (!m_listShown) {
        // The check runs once the list is on screen: until then the count is unknown and the
        // Apply button stays enabled (it checks again itself).
        m_listShown = true;
        QTimer::singleShot(0, this, [this] {
            if (m_listShown)
                startConflictCheck();
        });
    }
}

void BatchView::updateScopeNote()
{
    const bool selectedOnly = !m_store.sections().scopeAllFiles;
    m_scopeNote->setVisible(selectedOnly);
    if (!selectedOnly)
        return;
    if (m_selection.isEmpty()) {
        m_scopeNote->setText(L("none selected", "未选中"));
        setTextColor(m_scopeNote, kOrange);
        return;
    }
    const QString n = QString::number(m_selection.size());
    m_scopeNote->setText(Lang::zh() ? "已选 " + n + " 个" : n + " selected");
    setTextColor(m_scopeNote, palette().color(QPalette::PlaceholderText));
}

void BatchView::updateFilterBar()
{
    m_filterBar->setVisible(m_store.items().size() >= kFilterBarMinimum);
    const bool filtering = isFiltering();
    m_filterCount->setVisible(filtering);
    if (filtering) {
        const QString shown = QString::number(m_model->rowCount());
        const QString total = QString::number(m_store.items().size());
        m_filterCount->setText(Lang::zh() ? shown + " / " + total : shown + " of " + total);
    }
}

void BatchView::updateSkipWarning()
{
    const int k = int(m_conflicts.size());
    m_skipWarning->setVisible(k > 0);
    if (k == 0)
        return;
    const QString n = QString::number(k);
    m_skipWarning->setText(
        "\u26A0 "
        + (Lang::zh() ? n + " 个文件无法使用新名称,应用时会跳过 —— 鼠标停在红色名称上查看原因。"
                      : n + " file(s) can't take their new name and will be skipped — hover a red name for why."));
}

void BatchView::updateApplyBar()
{
    const int total = int(m_store.items().size());
    const QString totalText = QString::number(total);
    m_total->setText(Lang::zh() ? "共 " + totalText + " 个文件" : totalText + " file(s)");
    m_status->setVisible(m_changing.has_value() && total > 0);
    if (m_changing && total > 0) {
        const QString n = QString::number(*m_changing);
        m_status->setText(*m_changing == 0 ? L("No names change yet", "暂无名称变化")
                                           : (Lang::zh() ? "将重命名 " + n + " 个" : n + " will be renamed"));
    }
    const bool counted = m_changing && *m_changing >= 1;
    const QString n = counted ? QString::number(*m_changing) : QString();
    m_apply->setText(counted ? (Lang::zh() ? "应用重命名(" + n + ")" : "Apply Rename (" + n + ")")
                             : L("Apply Rename", "应用重命名"));
    m_apply->setEnabled(total > 0 && !(m_changing && *m_changing == 0));
}

// ---------------------------------------------------------------- operations

bool BatchView::isFiltering() const
{
    return m_model->isFiltering();
}

QList<QPair<int, FileItem>> BatchView::visibleItems() const
{
    QList<QPair<int, FileItem>> out;
    for (int i : m_model->visibleIndices())
        out.append({i, m_store.items().at(i)});
    return out;
}

void BatchView::refreshConflicts()
{
    if (m_cancelCheck)
        m_cancelCheck->store(true);
    m_runningGeneration = 0;
    if (m_store.items().isEmpty()) {
        showConflicts({}, 0, m_generation);
        return;
    }
    NamePreview::ConflictResult r = m_store.preview().conflictReasons(m_selection);
    showConflicts(std::move(r.reasons), r.willRename, m_generation);
}

void BatchView::startConflictCheck()
{
    if (conflictsCurrent() || m_runningGeneration == m_generation)
        return;
    if (m_store.items().isEmpty()) {
        refreshConflicts();
        return;
    }
    if (m_cancelCheck)
        m_cancelCheck->store(true);
    auto cancel = std::make_shared<std::atomic<bool>>(false);
    m_cancelCheck = cancel;
    m_runningGeneration = m_generation;
    // The worker gets copies only and hands back a value: nothing of the screen or the Store is
    // touched off this thread.
    auto work = [snapshot = m_store.preview().snapshot(m_selection), listings = m_store.preview().listings(), cancel,
                 generation = m_generation]() mutable {
        return CheckOutcome{generation, checkConflicts(std::move(snapshot), listings, cancel.get())};
    };
    auto* watcher = new QFutureWatcher<CheckOutcome>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher] {
        watcher->deleteLater();
        CheckOutcome outcome = watcher->result();
        if (outcome.generation == m_runningGeneration)
            m_runningGeneration = 0;
        if (!outcome.result || outcome.generation != m_generation)
            return;  // given up, or something changed meanwhile: a newer check follows
        m_store.preview().keepResults(*outcome.result);
        showConflicts(std::move(outcome.result->reasons), outcome.result->willRename, outcome.generation);
    });
    watcher->setFuture(QtConcurrent::run(&checkPool(), std::move(work)));
}

void BatchView::showConflicts(QHash<QUuid, QString> reasons, int willRename, quint64 generation)
{
    m_conflicts = std::move(reasons);
    m_changing = willRename;
    m_checkedGeneration = generation;
    m_model->setConflicts(m_conflicts);
    m_list->rowsChanged();
    updateSkipWarning();
    updateApplyBar();
}

void BatchView::moveItems(const QList<int>& sourceOffsets, int destination)
{
    m_store.list().moveItems(sourceOffsets, destination);
}

void BatchView::copyNewNames(const QList<FileItem>& chosen)
{
    const QList<FileItem>& items = m_store.items();
    QStringList names;
    for (const FileItem& c : chosen) {
        for (int i = 0; i < items.size(); ++i) {
            if (items[i].id == c.id) {
                names << m_store.preview().newName(items[i], i, m_selection);
                break;
            }
        }
    }
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(names.join('\n'));
}

QList<FileItem> BatchView::itemsWithIds(const QSet<QUuid>& ids) const
{
    QList<FileItem> out;
    for (const FileItem& item : m_store.items())
        if (ids.contains(item.id))
            out << item;
    return out;
}

void BatchView::quickLookSelection(const QSet<QUuid>& ids)
{
    QStringList paths;
    for (const FileItem& item : itemsWithIds(ids))
        paths << item.url;
    QuickLook::shared().show(paths);
}

QSet<QUuid> BatchView::chosenIds(const QModelIndex& clicked) const
{
    if (!clicked.isValid())
        return {};
    const QUuid id = clicked.data(BatchListModel::ItemIdRole).toUuid();
    return m_selection.contains(id) ? m_selection : QSet<QUuid>{id};
}

QMenu* BatchView::contextMenuFor(const QSet<QUuid>& ids, QWidget* parent)
{
    auto* menu = new QMenu(parent);
    const QList<FileItem> chosen = itemsWithIds(ids);
    if (chosen.isEmpty())
        return menu;
    QStringList paths;
    for (const FileItem& item : chosen)
        paths << item.url;
    menu->addAction(L("Show in File Manager", "在文件管理器中显示"), this, [this, paths] {
        if (!showInFileManager(paths))
            m_store.setStatus(L("No file manager could be opened.", "无法打开文件管理器。"));
    });
    menu->addAction(L("Quick Look", "快速查看"), this, [paths] { QuickLook::shared().show(paths); });
    menu->addAction(chosen.size() == 1 ? L("Copy New Name", "拷贝新名称") : L("Copy New Names", "拷贝新名称"), this,
                    [this, chosen] { copyNewNames(chosen); });
    menu->addSeparator();
    menu->addAction(L("Remove from List", "从列表移除"), this, [this, ids] { m_store.list().removeItems(ids); });
    return menu;
}

void BatchView::showContextMenu(const QPoint& pos)
{
    const QSet<QUuid> ids = chosenIds(m_list->indexAt(pos));
    if (ids.isEmpty())
        return;
    QMenu* menu = contextMenuFor(ids, this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(m_list->viewport()->mapToGlobal(pos));
}

void BatchView::removeSelected()
{
    if (m_selection.isEmpty())
        return;
    const QSet<QUuid> ids = m_selection;
    m_selection.clear();
    m_store.list().removeItems(ids);
    onUserSelectionChanged();
}

bool BatchView::confirmLargeRename()
{
    const int n = m_changing.value_or(0);
    if (n < kLargeBatch)
        return true;
    if (m_store.settings().boolValue(kSkipConfirmKey).value_or(false))
        return true;
    const QString count = QString::number(n);
    const QString base = L("You can undo this with Ctrl+Z, even after quitting.",
                           "可以用 Ctrl+Z 撤销,退出 app 后也可以。");
    QString informative = base;
    if (!m_conflicts.isEmpty()) {
        const QString k = QString::number(m_conflicts.size());
        informative = (Lang::zh() ? k + " 个文件会被跳过(红色显示)。" : k + " file(s) will be skipped (shown in red). ")
                    + base;
    }
    Dialogs::Alert alert;
    alert.style = Dialogs::Style::Warning;
    alert.message = Lang::zh() ? "要重命名 " + count + " 个文件吗?" : "Rename " + count + " files?";
    alert.informative = informative;
    alert.buttons = {L("Rename", "重命名"), L("Cancel", "取消")};
    alert.defaultButton = 0;
    alert.cancelButton = 1;
    alert.suppressionText = L("Don't ask again", "不再询问");
    const Dialogs::AlertResult answer = m_dialogs.alert(alert);
    if (answer.button != 0)
        return false;
    if (answer.suppressed)
        m_store.settings().setBool(kSkipConfirmKey, true);
    return true;
}

void BatchView::applyAction()
{
    // The confirmation counts what the current names do; a shown result that is current already says.
    if (!conflictsCurrent())
        refreshConflicts();
    if (!confirmLargeRename())
        return;
    // Apply decides again on its own, from the disk as it is now.
    m_store.renamer().applyInScope(m_selection);
    startConflictCheck();
}

bool BatchView::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_list && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Backspace || key->key() == Qt::Key_Delete || key->matches(QKeySequence::Delete)) {
            removeSelected();
            return true;  // handled also with nothing selected
        }
    }
    if (watched == m_emptyState && event->type() == QEvent::MouseButtonDblClick) {
        m_store.intake().addFilesPanel();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}
