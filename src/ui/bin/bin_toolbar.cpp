#include "bin_toolbar.h"

#include "bin/bin_categories.h"
#include "bin/bin_column_tools.h"
#include "bin/bin_columns.h"
#include "bin/bin_controller.h"
#include "bin/bin_custom_columns.h"
#include "bin/bin_desk.h"
#include "bin/bin_duplicates.h"
#include "bin/bin_presets.h"
#include "bin/bin_proxies.h"
#include "bin/bin_relink.h"
#include "bin/bin_translator.h"
#include "common/icons.h"
#include "common/lang_binder.h"
#include "files/list_operations.h"
#include "model/store.h"
#include "platform/lang.h"

#include <QHBoxLayout>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>

namespace {
constexpr int kSaveLabelDelayMs = 150;

QToolButton* toolButton(QWidget* parent, const QString& symbol, bool iconOnly)
{
    auto* b = new QToolButton(parent);
    b->setIcon(symbolIcon(symbol));
    b->setToolButtonStyle(iconOnly ? Qt::ToolButtonIconOnly : Qt::ToolButtonTextBesideIcon);
    b->setAutoRaise(false);
    return b;
}

QToolButton* menuButton(QWidget* parent, const QString& symbol, QMenu* menu)
{
    QToolButton* b = toolButton(parent, symbol, false);
    b->setMenu(menu);
    b->setPopupMode(QToolButton::InstantPopup);
    return b;
}
}  // namespace

BinToolbar::BinToolbar(Store& store, BinController& bin, QWidget* parent) : QWidget(parent), m_store(store), m_bin(bin)
{
    LangBinder tr(store);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(10, 8, 10, 8);
    row->setSpacing(6);

    m_reload = toolButton(this, "arrow.clockwise", true);
    tr.bindText(m_reload, "Reload", "重新读取");
    tr.bindToolTip(m_reload, "Reload metadata from disk (discards unsaved edits)",
                   "从磁盘重新读取元数据(丢弃未保存的编辑)");
    connect(m_reload, &QToolButton::clicked, &m_bin, &BinController::reloadMetadata);

    m_mediaDrive = toolButton(this, "externaldrive.badge.plus", false);
    tr.bindText(m_mediaDrive, "Media Drive", "媒体盘");
    tr.bindToolTip(m_mediaDrive,
                   "Browse a folder like Avid Source Browser — recursively loads all media incl. "
                   "RED/ARRIRAW/BRAW/MXF; collapses image sequences & spanned clips.",
                   "像 Avid Source Browser 那样浏览文件夹 —— 递归载入全部媒体(含 RED/ARRIRAW/BRAW/MXF);"
                   "自动合并图像序列与分卷片段。");
    connect(m_mediaDrive, &QToolButton::clicked, &m_bin, &BinController::loadMediaDrive);

    auto* columns = new QMenu(this);
    connect(columns, &QMenu::aboutToShow, this, [this, columns] { fillColumnsMenu(columns); });
    m_columns = menuButton(this, "slider.horizontal.3", columns);
    tr.bindText(m_columns, "Columns", "列");

    auto* edit = new QMenu(this);
    connect(edit, &QMenu::aboutToShow, this, [this, edit] { fillEditMenu(edit); });
    m_edit = menuButton(this, "square.and.pencil", edit);
    tr.bindText(m_edit, "Edit", "编辑");
    tr.bindToolTip(m_edit, "Batch input, fill down, copy/paste a whole column.", "批量输入、向下填充、整列复制/粘贴。");

    m_undo = toolButton(this, "arrow.uturn.backward", true);
    tr.bindText(m_undo, "Undo edit", "撤销编辑");
    tr.bindToolTip(m_undo, "Undo the last metadata edit — cell, batch input, fill down, paste (Ctrl+Shift+Z).",
                   "撤销上一次元数据编辑 —— 单元格、批量输入、向下填充、粘贴(Ctrl+Shift+Z)。");
    connect(m_undo, &QToolButton::clicked, this, &BinToolbar::undoEdit);

    m_quickEdit = toolButton(this, "keyboard", false);
    m_quickEdit->setCheckable(true);
    tr.bindText(m_quickEdit, "Quick Edit", "快捷编辑");
    tr.bindToolTip(m_quickEdit,
                   "Quick Edit Mode — while a cell is focused:\n"
                   "← → step the value by 1 (numbers, min 1) or one letter (A, B, … Z, AA, …)\n"
                   "↑ ↓ move to the same column one row up/down, carrying the value into an empty cell\n"
                   "Tab / ⇧Tab move to the next/previous column in this row\n"
                   "Return moves to the next row, back to whichever column you started this row in\n"
                   "Press ← and → together to reset the cell to 1",
                   "快捷编辑模式 —— 当某个格子处于编辑状态时:\n"
                   "← → 数字 ±1(最低为 1),字母按 A、B……Z、AA…… 顺序 ±1\n"
                   "↑ ↓ 跳到同一列的上一行/下一行,若目标格为空则带入当前数值\n"
                   "Tab / ⇧Tab 跳到本行下一列/上一列\n"
                   "Return 跳到下一行,回到这一轮最初开始编辑的那一列\n"
                   "同时按下 ← 和 →,把这一格重置为 1");
    connect(m_quickEdit, &QToolButton::toggled, this, [this](bool on) {
        if (on != m_store.prefs().quickEditMode)
            m_store.setQuickEditMode(on);
    });

    // Its entries come with the import and export features.
    m_importExport = menuButton(this, "arrow.up.arrow.down", new QMenu(this));
    tr.bindText(m_importExport, "Import / Export", "导入 / 导出");
    m_relink = new QToolButton(this);
    m_relink->setObjectName("relinkFiles");
    m_relink->setIcon(symbolIcon("link"));
    m_relink->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    tr.bind(m_relink, [this] {
        m_relink->setText(BinRelink::relinkLabel());
        m_relink->setToolTip(BinRelink::relinkHelp());
    });
    connect(m_relink, &QToolButton::clicked, this, [this] {
        if (BinDesk* desk = m_bin.desk())
            BinRelink::relinkOffline(m_store, m_bin.rows(), *desk);
    });
    auto* tools = new QMenu(this);
    connect(tools, &QMenu::aboutToShow, this, [this, tools] { fillToolsMenu(tools); });
    m_tools = menuButton(this, "wrench.and.screwdriver", tools);
    tr.bindText(m_tools, "Tools", "工具");

    m_progress = new QProgressBar(this);
    m_progress->setRange(0, 0);
    m_progress->setFixedWidth(60);
    m_progress->setMaximumHeight(10);
    m_progress->setTextVisible(false);
    m_stop = new QPushButton(this);
    tr.bindText(m_stop, "Stop", "停止");
    connect(m_stop, &QPushButton::clicked, this, [this] { m_bin.setStopRequested(true); });

    m_saveAll = new QPushButton(symbolIcon("square.and.arrow.down"), QString(), this);
    m_saveAll->setDefault(true);
    m_saveAll->setAutoDefault(false);
    connect(m_saveAll, &QPushButton::clicked, this, &BinToolbar::saveAllRequested);

    for (QWidget* w : std::initializer_list<QWidget*>{m_reload, m_mediaDrive, m_columns, m_edit, m_undo, m_quickEdit,
                                                      m_importExport, m_relink, m_tools})
        row->addWidget(w);
    row->addStretch(1);
    row->addWidget(m_progress);
    row->addWidget(m_stop);
    row->addWidget(m_saveAll);

    connect(&m_store, &Store::itemsChanged, this, &BinToolbar::refresh);
    connect(&m_store, &Store::prefsChanged, this, &BinToolbar::refresh);
    connect(&m_store, &Store::metaChanged, this, &BinToolbar::scheduleSaveLabel);
    connect(&m_bin, &BinController::busyChanged, this, &BinToolbar::refresh);
    connect(&m_bin, &BinController::rowsChanged, this, &BinToolbar::refresh);
    connect(&m_bin, &BinController::rowEdited, this, &BinToolbar::refresh);
    tr.bind(this, [this] {
        refresh();
        updateSaveLabel();
    });
}

void BinToolbar::refresh()
{
    const bool busy = m_bin.busy();
    const bool hasItems = !m_store.items().isEmpty();
    m_edit->setEnabled(hasItems);
    m_undo->setEnabled(!m_bin.metaHistory().isEmpty());
    m_importExport->setEnabled(!busy);
    m_relink->setEnabled(!busy);
    m_tools->setEnabled(hasItems && !busy);
    m_saveAll->setEnabled(!busy);
    m_stop->setVisible(busy);
    m_progress->setVisible(busy);
    if (m_quickEdit->isChecked() != m_store.prefs().quickEditMode)
        m_quickEdit->setChecked(m_store.prefs().quickEditMode);
    scheduleSaveLabel();
}

// Counting unsaved files compares every draft with its original, so the count waits for a
// pause in typing instead of following each key.
void BinToolbar::scheduleSaveLabel()
{
    if (m_saveLabelPending)
        return;
    m_saveLabelPending = true;
    QTimer::singleShot(kSaveLabelDelayMs, this, [this] {
        m_saveLabelPending = false;
        updateSaveLabel();
    });
}

void BinToolbar::updateSaveLabel()
{
    qsizetype n = m_store.unsavedMetaItems();
    for (const BinRow& row : m_bin.rows())
        n += row.pendingName ? 1 : 0;
    const QString count = QString::number(n);
    m_saveAll->setText(n < 1 ? L("Save all changes", "保存全部更改")
                             : L("Save all changes (", "保存全部更改(") + count + QStringLiteral(")"));
}

void BinToolbar::undoEdit()
{
    if (m_store.list().undoInFocusedTextView(true))
        return;
    m_bin.undoMetaEdit();
}

QMenu* BinToolbar::columnsMenu()
{
    QMenu* menu = m_columns->menu();
    fillColumnsMenu(menu);
    return menu;
}

QMenu* BinToolbar::editMenu()
{
    QMenu* menu = m_edit->menu();
    fillEditMenu(menu);
    return menu;
}

QMenu* BinToolbar::toolsMenu()
{
    QMenu* menu = m_tools->menu();
    fillToolsMenu(menu);
    return menu;
}

void BinToolbar::fillColumnsMenu(QMenu* menu)
{
    clearMenu(menu);
    menu->addAction(symbolIcon("plus"), L("Add custom column", "添加自定义列"), &m_bin,
                    [this] { m_bin.customColumns().addCustomColumn(); });
    menu->addAction(symbolIcon("gauge.with.dots.needle.bottom.50percent"),
                    L("Add technical columns (auto-read)", "添加技术列(自动读取)"), &m_bin,
                    [this] { m_bin.customColumns().addColumns(BinColumns::technical()); });
    menu->addAction(symbolIcon("list.bullet.rectangle"),
                    L("Add logging columns (Scene/Take…)", "添加场记列(场次/镜次…)"), &m_bin,
                    [this] { m_bin.customColumns().addColumns(BinColumns::logging()); });
    menu->addAction(symbolIcon("tablecells"), L("Add all Avid bin columns", "添加全部 Avid 列"), &m_bin,
                    [this] { m_bin.customColumns().addColumns(BinColumns::technical() + BinColumns::logging()); });
    menu->addSeparator();
    menu->addAction(symbolIcon("square.and.arrow.down"), L("Save bin preset", "保存表格预设"), &m_bin,
                    [this] { m_bin.presets().saveBinPreset(); });
    const QStringList names = m_bin.presets().presetNames();
    if (names.isEmpty())
        return;
    QMenu* load = menu->addMenu(L("Load preset", "载入预设"));
    QMenu* remove = menu->addMenu(L("Delete preset", "删除预设"));
    for (const QString& name : names) {
        load->addAction(name, &m_bin, [this, name] { m_bin.presets().loadBinPreset(name); });
        remove->addAction(name, &m_bin, [this, name] { m_bin.presets().deleteBinPreset(name); });
    }
}

void BinToolbar::fillEditMenu(QMenu* menu)
{
    clearMenu(menu);
    const auto columns = m_bin.fieldColumns();
    QMenu* batch = menu->addMenu(symbolIcon("square.and.pencil"), L("Batch input", "批量输入"));
    for (const auto& col : columns)
        batch->addAction(col.title, &m_bin, [this, col] { m_bin.columnTools().batchInput(col.id, col.title); });
    QAction* fill = menu->addAction(symbolIcon("arrow.down.to.line"), L("Fill down", "向下填充"), &m_bin,
                                    [this] { m_bin.columnTools().fillDown(); });
    fill->setEnabled(m_bin.selectedRowIndices().size() >= 2);
    menu->addSeparator();
    QAction* formula = menu->addAction(symbolIcon("textformat.abc.dottedunderline"),
                                       L("Set Clip Name formula (bulk)", "批量设置剪辑名公式"), &m_bin,
                                       [this] { m_bin.columnTools().setClipNameFormula(); });
    formula->setToolTip(
        L("Type a formula like %scene_%shot_%take into any Clip Name cell directly, or use this to "
          "apply the same one to many rows at once. Live — never touches the real file.",
          "可以直接在任意剪辑名单元格里输入公式,如 %scene_%shot_%take;这个工具用来一次给多行设置同一个公式。"
          "实时生效,不碰真实文件。"));
    menu->setToolTipsVisible(true);
    menu->addSeparator();
    QMenu* copy = menu->addMenu(symbolIcon("doc.on.doc"), L("Copy column", "复制列"));
    for (const auto& col : columns)
        copy->addAction(col.title, &m_bin, [this, col] { m_bin.columnTools().copyColumn(col.id); });
    QMenu* paste = menu->addMenu(symbolIcon("doc.on.clipboard"), L("Paste column", "粘贴列"));
    for (const auto& col : columns)
        paste->addAction(col.title, &m_bin, [this, col] { m_bin.columnTools().pasteColumn(col.id); });
    paste->setEnabled(!m_bin.columnTools().colClip().isEmpty());
}

void BinToolbar::fillToolsMenu(QMenu* menu)
{
    clearMenu(menu);
    menu->addAction(symbolIcon("doc.on.doc.fill"), L("Find duplicates", "查找重复"), &m_bin,
                    [this] { m_bin.duplicates().findDuplicates(); });
    menu->addSeparator();
    // Whether the model can answer is asked when the entry runs, so its message reaches the status line.
    menu->addAction(symbolIcon("sparkles"), L("Classify with AI", "用 AI 分类"), &m_bin,
                    [this] { m_bin.categories().classifyWithAI(); });
    menu->addAction(symbolIcon("folder.badge.gearshape"), L("Move to category folders", "移动到分类文件夹"), &m_bin,
                    [this] { m_bin.categories().moveToCategoryFolders(); });
    QMenu* translate = menu->addMenu(symbolIcon("character.bubble"), m_bin.translator().menuTitle());
    for (const auto& col : m_bin.fieldColumns())
        translate->addAction(col.title, &m_bin, [this, key = col.id] { m_bin.translator().translateColumn(key); });
    menu->addAction(symbolIcon("link.badge.plus"), L("Pair proxy files", "配对代理文件"), this,
                    &BinToolbar::pairProxies);
}

void BinToolbar::pairProxies()
{
    if (BinDesk* desk = m_bin.desk())
        m_bin.proxies().pairProxies(desk->chooseFilesAndFolders(QString()));
}

// clear() leaves the submenus of the last opening behind as the menu's children, so a menu
// rebuilt at every opening would gather them; they go with their entries.
void clearMenu(QMenu* menu)
{
    menu->clear();
    qDeleteAll(menu->findChildren<QMenu*>(Qt::FindDirectChildrenOnly));
}
