#include "smartrename/smart_rename_view.h"

#include "common/disclosure_group.h"
#include "common/lang_binder.h"
#include "model/presets.h"
#include "model/store.h"
#include "platform/lang.h"
#include "smartrename/naming_layout_editor.h"
#include "smartrename/smart_rename_handoff.h"
#include "smartrename/smart_rename_results_model.h"
#include "smartrename/smart_rename_run.h"
#include "smartrename/smart_rename_style_picker.h"
#include "smartrename/smart_rename_toolbar.h"
#include "smartrename/smart_rename_widgets.h"
#include "smartrename/teach_word_popup.h"
#include "smartrename/variants_menu.h"
#include "smartrename/variants_section.h"

#include <QCheckBox>
#include <QClipboard>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

SmartRenameView::SmartRenameView(Store& store, Dialogs& dialogs, QWidget* parent) : QWidget(parent), m_store(store)
{
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    auto* scroll = new QScrollArea(this);
    scroll->setObjectName("smartRenameScroll");
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    outer->addWidget(scroll);
    auto* content = new QWidget;
    scroll->setWidget(content);

    auto* layout = new QVBoxLayout(content);
    layout->setContentsMargins(16, 16, 16, 16);
    layout->setSpacing(10);
    layout->addWidget(namingPresetHeader(content));

    m_customRules = new DisclosureGroup(content);
    m_customRules->setObjectName("customRulesGroup");
    m_namingEditor = new NamingLayoutEditor(store, m_customRules);
    m_customRules->setBody(m_namingEditor);
    layout->addWidget(m_customRules);

    m_variantsGroup = new DisclosureGroup(content);
    m_variantsGroup->setObjectName("variantsGroup");
    m_variants = new VariantsSection(store, dialogs, m_variantsGroup);
    m_variantsGroup->setBody(m_variants);
    layout->addWidget(m_variantsGroup);
    // Presets saved in Batch Rules meanwhile are offered as soon as the tab is shown again.
    store.presets().refreshNames();

    auto* help = smartCaption(content, "inputHelp");
    help->setWordWrap(true);
    layout->addWidget(help);
    layout->addWidget(loadedFilesSection(content));
    layout->addWidget(ignoreRow(content));

    m_input = new QPlainTextEdit(content);
    m_input->setObjectName("inputEditor");
    m_input->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    m_input->setMinimumHeight(100);
    m_input->setMaximumHeight(160);
    m_input->setPlainText(store.smart().smartRenameInputText);
    connect(m_input, &QPlainTextEdit::textChanged, this,
            [this] { m_store.setSmartRenameInputText(m_input->toPlainText()); });
    layout->addWidget(m_input);

    m_toolbar = new SmartRenameToolbar(store, content);
    layout->addWidget(m_toolbar);
    m_teachPopup = new TeachWordPopup(store, this);
    connect(m_toolbar->teachButton(), &QPushButton::clicked, this, &SmartRenameView::openTeachWordSplit);
    buildResults(content);
    layout->addWidget(m_placeholder);
    layout->addWidget(m_duplicateWarning);
    layout->addWidget(m_results);
    layout->addStretch(1);

    LangBinder tr(store);
    tr.bindText(m_customRules->header(), "Custom rules", "自定义规则");
    tr.bindText(m_variantsGroup->header(), "Variants", "变体");
    tr.bindText(help,
                "Paste one filename per line (any extension is recognized) — each is rebuilt as "
                "CODE_SpotName_CutType_Timing_V#. Edit any result before copying.",
                "每行粘贴一个文件名(能识别任意扩展名)—— 会按 代码_片名_片型_时长_V版本号 "
                "重新拼好。结果可以直接编辑,再复制出去。");
    tr.bindText(m_placeholder, "Results appear here.", "结果会显示在这里。");
    tr.bindText(m_duplicateWarning,
                "⚠ Some results share the same name (marked “duplicate”) — edit one before applying or copying.",
                "⚠ 部分结果名称相同(标为「重复」)—— 应用或复制前请修改其中一个。");
    tr.bind(this, [this] { refresh(); });
    connect(&store, &Store::smartChanged, this, &SmartRenameView::refresh);
    connect(&store, &Store::sectionsChanged, this, &SmartRenameView::refresh);
    connect(&store, &Store::itemsChanged, this, &SmartRenameView::refresh);
    connect(&store.smartRun(), &SmartRenameRun::progressChanged, this, &SmartRenameView::refresh);
}

QWidget* SmartRenameView::namingPresetHeader(QWidget* parent)
{
    auto* row = new QWidget(parent);
    auto* h = new QHBoxLayout(row);
    h->setContentsMargins(0, 0, 0, 0);
    auto* label = smartCaption(row, "namingPresetCaption");
    LangBinder(m_store).bindText(label, "Naming preset", "命名预制");
    auto* picker = new SmartRenameStylePicker(m_store, false, row);
    picker->setFixedWidth(320);
    h->addWidget(label);
    h->addWidget(picker);
    h->addStretch(1);
    return row;
}

QWidget* SmartRenameView::loadedFilesSection(QWidget* parent)
{
    auto* row = new QWidget(parent);
    auto* h = new QHBoxLayout(row);
    h->setContentsMargins(0, 0, 0, 0);
    m_loadedCount = smartCaption(row, "loadedCount");
    m_useLoaded = smartLinkButton(row, "useLoadedButton");
    m_keepExt = new QCheckBox(row);
    m_keepExt->setObjectName("keepExtBox");
    m_keepExt->setChecked(m_store.smart().smartRenameKeepExt);
    h->addWidget(m_loadedCount);
    h->addWidget(m_useLoaded);
    h->addStretch(1);
    h->addWidget(m_keepExt);

    LangBinder tr(m_store);
    tr.bindText(m_useLoaded, "Use Loaded Files", "使用已加载文件");
    tr.bindText(m_keepExt, "Keep file extension", "保留扩展名");
    tr.bindToolTip(m_keepExt,
                   "Show each result with its file extension (re-run Recognize / Use Loaded Files to apply to "
                   "results already on screen). Real files are always renamed with their actual extension either way.",
                   "结果里同时显示扩展名(已经识别出的结果需要重新点一次「识别」或「使用已加载文件」才会生效)"
                   "。不管是否勾选,真实文件应用重命名时都会用它本来的扩展名。");
    connect(m_useLoaded, &QPushButton::clicked, &m_store.smartRun(), &SmartRenameRun::useLoadedFiles);
    connect(m_keepExt, &QCheckBox::toggled, this, [this](bool on) { m_store.setSmartRenameKeepExt(on); });
    return row;
}

QWidget* SmartRenameView::ignoreRow(QWidget* parent)
{
    auto* row = new QWidget(parent);
    auto* h = new QHBoxLayout(row);
    h->setContentsMargins(0, 0, 0, 0);
    auto* label = smartCaption(row, "ignoreCaption");
    m_ignore = new QLineEdit(m_store.smart().smartRenameIgnoreText, row);
    m_ignore->setObjectName("ignoreField");
    h->addWidget(label);
    h->addWidget(m_ignore, 1);

    LangBinder tr(m_store);
    tr.bindText(label, "Ignore", "忽略");
    tr.bindText(m_ignore, "comma-separated, e.g. _CueSheet, _Mixdown", "逗号分隔,如 _CueSheet, _Mixdown");
    tr.bindToolTip(
        m_ignore,
        "Removed (case-insensitive) from each name before Smart Rename parses it — for a trailing or "
        "embedded tag that isn't part of the naming convention (re-run Recognize / Use Loaded Files to apply).",
        "识别前先(不区分大小写)从每个文件名里删掉这些内容 —— "
        "适合本来就不属于命名规则的标记(需要重新点一次「识别」或「使用已加载文件」才会生效)。");
    connect(m_ignore, &QLineEdit::textEdited, this, [this](const QString& t) { m_store.setSmartRenameIgnoreText(t); });
    return row;
}

void SmartRenameView::buildResults(QWidget* parent)
{
    m_placeholder = new QLabel(parent);
    m_placeholder->setObjectName("resultsPlaceholder");
    m_placeholder->setAlignment(Qt::AlignCenter);
    m_placeholder->setContentsMargins(0, 60, 0, 60);
    m_placeholder->setStyleSheet("color: palette(mid);");
    m_duplicateWarning = smartCaption(parent, "duplicateWarning");
    m_duplicateWarning->setStyleSheet("color: #FF9500;");

    m_model = new SmartRenameResultsModel(m_store, this);
    m_results = new QTableView(parent);
    m_results->setObjectName("resultsView");
    m_results->setModel(m_model);
    m_results->horizontalHeader()->hide();
    m_results->verticalHeader()->hide();
    m_results->setShowGrid(false);
    m_results->setSelectionMode(QAbstractItemView::NoSelection);
    m_results->setEditTriggers(QAbstractItemView::AllEditTriggers);
    // The whole list scrolls with the controls above it.
    m_results->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_results->setSizeAdjustPolicy(QAbstractScrollArea::AdjustIgnored);
    QHeaderView* columns = m_results->horizontalHeader();
    columns->setSectionResizeMode(SmartRenameResultsModel::Original, QHeaderView::Stretch);
    columns->setSectionResizeMode(SmartRenameResultsModel::Corrected, QHeaderView::Stretch);
    columns->setSectionResizeMode(SmartRenameResultsModel::Marks, QHeaderView::ResizeToContents);
    for (int c : {SmartRenameResultsModel::Variant, SmartRenameResultsModel::Copy, SmartRenameResultsModel::Email}) {
        columns->setSectionResizeMode(c, QHeaderView::Fixed);
        columns->resizeSection(c, 32);
    }
    connect(m_results, &QTableView::clicked, this,
            [this](const QModelIndex& index) { rowClicked(index.row(), index.column()); });
    connect(m_model, &QAbstractItemModel::dataChanged, this, &SmartRenameView::refresh);
    connect(m_model, &QAbstractItemModel::modelReset, this, &SmartRenameView::refresh);
}

void SmartRenameView::openTeachWordSplit()
{
    m_teachPopup->open(m_toolbar->teachButton());
}

QMenu* SmartRenameView::rowVariantMenu(int row)
{
    auto* menu = new QMenu(this);
    fillRowVariantMenu(menu, m_store, m_store.smart().smartRenameRows.at(row).id);
    return menu;
}

void SmartRenameView::rowClicked(int row, int column)
{
    if (row < 0 || row >= m_store.smart().smartRenameRows.size())
        return;
    const QUuid id = m_store.smart().smartRenameRows.at(row).id;
    if (column == SmartRenameResultsModel::Copy) {
        QClipboard* clipboard = QGuiApplication::clipboard();
        clipboard->clear();
        clipboard->setText(m_store.smart().smartRenameRows.at(row).corrected);
    } else if (column == SmartRenameResultsModel::Email) {
        m_store.smartHandOff().generateEmailForRow(id);
    } else if (column == SmartRenameResultsModel::Variant && hasVariantsToOffer(m_store)) {
        QMenu* menu = rowVariantMenu(row);
        const QRect cell = m_results->visualRect(m_model->index(row, column));
        menu->setAttribute(Qt::WA_DeleteOnClose);
        menu->popup(m_results->viewport()->mapToGlobal(cell.bottomLeft()));
    }
}

void SmartRenameView::refresh()
{
    const SmartSettings& s = m_store.smart();
    const qsizetype n = m_store.items().size();
    m_loadedCount->setText(
        n == 0 ? L("No files loaded.", "还没有加载文件。")
               : L(QString::number(n) + " file(s) loaded.", "已加载 " + QString::number(n) + " 个文件。"));
    m_useLoaded->setEnabled(n > 0 && !m_store.smartRun().isRunning());
    if (m_input->toPlainText() != s.smartRenameInputText)
        m_input->setPlainText(s.smartRenameInputText);
    const bool custom = m_store.sections().smartRenameStyle == SmartRenameStyle::custom;
    if (m_customRules->isVisibleTo(this) != custom) {
        if (!custom)
            m_customRules->setExpanded(false);  // collapsed whenever it comes back
        m_customRules->setVisible(custom);
    }
    const bool empty = s.smartRenameRows.isEmpty();
    m_placeholder->setVisible(empty);
    m_results->setVisible(!empty);
    m_duplicateWarning->setVisible(!empty && !m_model->duplicates().isEmpty());
    if (!empty) {
        const QScrollBar* bar = m_results->horizontalScrollBar();
        m_results->setFixedHeight(m_results->verticalHeader()->length() + 2 * m_results->frameWidth()
                                  + (bar->isVisible() ? bar->height() : 0));
    }
}
