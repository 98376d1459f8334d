#include "bin_view.h"

#include "bin/bin_controller.h"
#include "bin/bin_export_presets.h"
#include "bin/bin_save.h"
#include "bin_import_export_menu.h"
#include "bin_table.h"
#include "bin_toolbar.h"
#include "common/icons.h"
#include "common/lang_binder.h"
#include "csv_field_map_view.h"
#include "dialogs_bin_desk.h"
#include "files/intake.h"
#include "model/store.h"

#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QShortcut>
#include <QStackedWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
QFont caption(QFont f)
{
    f.setPointSizeF(std::max(6.0, f.pointSizeF() - 2));
    return f;
}

QLabel* captionLabel(QWidget* parent)
{
    auto* l = new QLabel(parent);
    l->setFont(caption(l->font()));
    l->setWordWrap(true);
    return l;
}

QFrame* divider(QWidget* parent)
{
    auto* line = new QFrame(parent);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

void setTextRole(QLabel* l, QPalette::ColorRole role)
{
    QPalette p = l->palette();
    p.setColor(QPalette::WindowText, p.color(role));
    l->setPalette(p);
}
}  // namespace

BinView::BinView(Store& store, Dialogs& dialogs, QWidget* parent)
    : QWidget(parent), m_store(store), m_dialogs(dialogs), m_desk(std::make_shared<DialogsBinDesk>(dialogs))
{
    BinController& bin = store.bin();
    bin.setDesk(m_desk);
    LangBinder tr(store);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    m_toolbar = new BinToolbar(store, bin, this);
    connect(m_toolbar, &BinToolbar::saveAllRequested, this, [&bin] { bin.saver().saveAll(); });
    attachImportExportMenu(m_toolbar->importExportButton()->menu(), store, dialogs, [this] { openFieldMapSheet(); });
    column->addWidget(m_toolbar);
    column->addWidget(divider(this));

    m_status = captionLabel(this);
    setTextRole(m_status, QPalette::PlaceholderText);
    m_status->setContentsMargins(12, 4, 12, 4);
    column->addWidget(m_status);

    m_stack = new QStackedWidget(this);
    m_stack->addWidget(buildEmptyState());
    m_table = new BinTable(store, bin, m_stack);
    m_stack->addWidget(m_table);
    column->addWidget(m_stack, 1);
    column->addWidget(divider(this));

    m_quickHelp = captionLabel(this);
    setTextRole(m_quickHelp, QPalette::Highlight);
    m_quickHelp->setContentsMargins(12, 6, 12, 6);
    tr.bindText(m_quickHelp,
                "Quick Edit Mode:  ← → ±1 (numbers min 1 / letters A…Z…AA…)  ·  ↑ ↓ same column, prev/next row  ·  "
                "Tab / ⇧Tab next/prev column  ·  Return next row, same starting column  ·  ← + → together resets to 1",
                "快捷编辑模式:← → 数字±1(最低1)/字母 A…Z…AA… · ↑ ↓ 同列上/下一行 · Tab / ⇧Tab 本行下/上一列 · "
                "Return 下一行同一起始列 · ← 和 → 同按重置为 1");
    column->addWidget(m_quickHelp);
    m_quickHelpDivider = divider(this);
    column->addWidget(m_quickHelpDivider);

    m_tips = captionLabel(this);
    setTextRole(m_tips, QPalette::PlaceholderText);
    m_tips->setContentsMargins(12, 6, 12, 6);
    tr.bindText(m_tips,
                "Right-click a header to show/hide or drag to reorder columns · Add column for custom fields · click "
                "a header to sort · Fill down / Copy column → Paste column · Import CSV restores or bulk-fills · Ext "
                "column changes file type on Save.",
                "右键表头可显示/隐藏、拖动可重排列 · 「添加列」建自定义字段 · 点表头排序 · 向下填充 / 复制列→粘贴列 · "
                "导入 CSV 可恢复或批量填充 · 后缀列保存时更改文件类型。");
    column->addWidget(m_tips);

    auto* undo = new QShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), this);
    undo->setContext(Qt::WidgetWithChildrenShortcut);
    connect(undo, &QShortcut::activated, m_toolbar, &BinToolbar::undoEdit);

    connect(&bin, &BinController::rowsChanged, this, &BinView::refresh);
    connect(&bin, &BinController::selectionChanged, this, &BinView::refresh);
    connect(&store, &Store::prefsChanged, this, &BinView::refresh);
    tr.bind(this, [this] { refresh(); });
}

BinView::~BinView()
{
    m_store.bin().onDisappear();
    // The desk answers through this screen's dialogs; it goes with the screen.
    m_store.bin().setDesk(nullptr);
}

QWidget* BinView::buildEmptyState()
{
    LangBinder tr(m_store);
    m_emptyState = new QWidget(this);
    m_emptyState->installEventFilter(this);
    auto* outer = new QVBoxLayout(m_emptyState);
    outer->addStretch(1);
    auto* symbol = new QLabel(m_emptyState);
    symbol->setPixmap(symbolIcon("tablecells").pixmap(40, 40, QIcon::Disabled));
    auto* drag = new QLabel(m_emptyState);
    setTextRole(drag, QPalette::PlaceholderText);
    tr.bindText(drag, "Drag files here to build the bin table", "拖入文件以建立表格");
    auto* orImport = captionLabel(m_emptyState);
    setTextRole(orImport, QPalette::PlaceholderText);
    tr.bindText(orImport, "or double-click here, or import a CSV/ALE/XML", "或在此处双击,或导入 CSV/ALE/XML");
    outer->setSpacing(8);
    for (QLabel* l : {symbol, drag, orImport}) {
        l->setAlignment(Qt::AlignCenter);
        l->setAttribute(Qt::WA_TransparentForMouseEvents);
        outer->addWidget(l);
    }
    outer->addStretch(1);
    return m_emptyState;
}

bool BinView::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_emptyState && event->type() == QEvent::MouseButtonDblClick) {
        m_store.intake().addFilesPanel();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

CSVFieldMapView* BinView::fieldMapSheet() const
{
    return m_fieldMapSheet;
}

void BinView::openFieldMapSheet()
{
    if (m_fieldMapSheet)
        return;
    BinExportPresets& presets = m_store.bin().exportPresets();
    presets.refreshExportPresetNames();
    auto* sheet = new CSVFieldMapView(presets.fieldMapSheet(), m_dialogs, this);
    sheet->setAttribute(Qt::WA_DeleteOnClose);
    m_fieldMapSheet = sheet;
    sheet->open();
}

bool BinView::showsTable() const
{
    return m_stack->currentWidget() == m_table;
}

void BinView::refresh()
{
    BinController& bin = m_store.bin();
    m_status->setText(bin.statusText());
    m_stack->setCurrentWidget(bin.rows().isEmpty() ? m_emptyState : static_cast<QWidget*>(m_table));
    const bool quick = m_store.prefs().quickEditMode;
    m_quickHelp->setVisible(quick);
    m_quickHelpDivider->setVisible(quick);
}

void BinView::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    m_store.bin().onAppear();
    refresh();
}

void BinView::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    m_store.bin().onDisappear();
}
