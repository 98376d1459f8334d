#include "metadata/metadata_editor.h"

#include "bin/bin_columns.h"
#include "bin/parse_flag.h"
#include "common/dialogs.h"
#include "common/icons.h"
#include "common/lang_binder.h"
#include "common/wheel_focus.h"
#include "files/intake.h"
#include "files/renamer.h"
#include "metadata/metadata_file_list_model.h"
#include "model/store.h"
#include "platform/lang.h"

#include <QCheckBox>
#include <QDateTimeEdit>
#include <QEvent>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QShortcut>
#include <QSplitter>
#include <QStackedWidget>
#include <QTreeView>
#include <QVBoxLayout>

struct MetadataEditor::Shape {
    std::optional<QUuid> primary;
    QString primaryName;
    QString kindLabel;
    int targets = 0;
    MetaKind kind = MetaKind::unsupported;
    bool infoShown = false;
    QStringList customKeys;
    QStringList checkboxKeys;
    QStringList technical;
    bool zh = false;
    bool operator==(const Shape&) const = default;
};

namespace {

QLabel* smallLabel(const QString& text, double scale, QWidget* parent, bool secondary = true)
{
    auto* label = new QLabel(text, parent);
    QFont f = label->font();
    f.setPointSizeF(f.pointSizeF() * scale);
    label->setFont(f);
    label->setWordWrap(true);
    if (secondary)
        label->setStyleSheet("color: palette(mid);");
    return label;
}

constexpr double kCaption = 0.85;
constexpr double kCaption2 = 0.75;

QString trimmedName(const QString& s)
{
    return s.trimmed();
}

}  // namespace

MetadataEditor::MetadataEditor(Store& store, Dialogs& dialogs, QWidget* parent)
    : QWidget(parent), m_store(store), m_dialogs(dialogs)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_stack = new QStackedWidget(this);
    m_stack->addWidget(buildPlaceholder());
    m_stack->addWidget(buildSplit());
    layout->addWidget(m_stack);

    auto* undo = new QShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), this);
    undo->setContext(Qt::WindowShortcut);
    connect(undo, &QShortcut::activated, this, [this] {
        if (m_undoButton && m_undoButton->isEnabled())
            undoMetaEdit();
    });

    connect(&store, &Store::itemsChanged, this, &MetadataEditor::onItemsChanged);
    connect(&store, &Store::metaChanged, this, &MetadataEditor::refresh);
    connect(&store.metaDrafts(), &MetadataDrafts::busyChanged, this, &MetadataEditor::updateActions);
    connect(&store.metaDrafts(), &MetadataDrafts::draftRead, this, [this](const QUuid& id) {
        const auto p = primary();
        if (!p || p->id != id)
            return;
        m_reading = false;
        setDraft(m_store.meta().metaDraft.value(id));
        refresh();
    });
    LangBinder(store).bind(this, [this] { refresh(); });
    m_stack->setCurrentIndex(store.items().isEmpty() ? 0 : 1);
}

MetadataEditor::~MetadataEditor()
{
    // Nothing is shown any more: a movie's read that ends now has nowhere to go.
    m_store.metaDrafts().setShown(std::nullopt);
    // Forms replaced since the event loop last ran have no parent to take them along.
    for (const QPointer<QWidget>& form : std::as_const(m_retiredForms))
        delete form.data();
}

QWidget* MetadataEditor::buildPlaceholder()
{
    m_placeholder = new QWidget(this);
    m_placeholder->setObjectName("emptyListPlaceholder");
    auto* v = new QVBoxLayout(m_placeholder);
    v->setSpacing(8);
    auto* icon = new QLabel(m_placeholder);
    icon->setPixmap(symbolIcon("tag").pixmap(40, 40, QIcon::Disabled));
    auto* text = new QLabel(m_placeholder);
    text->setObjectName("emptyListText");
    text->setStyleSheet("color: palette(mid);");
    text->setWordWrap(true);
    text->setAlignment(Qt::AlignCenter);
    auto* hint = smallLabel({}, kCaption, m_placeholder);
    hint->setObjectName("emptyListHint");
    hint->setEnabled(false);
    hint->setAlignment(Qt::AlignCenter);
    LangBinder tr(m_store);
    tr.bindText(text, "Drag files here to edit their metadata — images, PDFs, and videos (mp4/mov/MXF…).",
                "拖入文件以编辑元数据 —— 图片、PDF、视频(mp4/mov/MXF 等)。");
    tr.bindText(hint, "or double-click here", "或在此处双击");
    v->addStretch(1);
    v->addWidget(icon, 0, Qt::AlignHCenter);
    v->addWidget(text);
    v->addWidget(hint);
    v->addStretch(1);
    // The labels hand their double clicks on to the page.
    m_placeholder->installEventFilter(this);
    for (QWidget* w : {static_cast<QWidget*>(icon), static_cast<QWidget*>(text), static_cast<QWidget*>(hint)})
        w->installEventFilter(this);
    return m_placeholder;
}

QWidget* MetadataEditor::buildSplit()
{
    auto* split = new QSplitter(Qt::Horizontal, this);
    split->setChildrenCollapsible(false);
    m_model = new MetadataFileListModel(m_store, this);
    m_list = new QTreeView(split);
    m_list->setObjectName("metadataFileList");
    m_list->setModel(m_model);
    m_list->setRootIsDecorated(false);
    m_list->setHeaderHidden(true);
    m_list->setUniformRowHeights(true);
    m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setTextElideMode(Qt::ElideMiddle);
    m_list->setIconSize(QSize(18, 18));
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->header()->setStretchLastSection(false);
    m_list->header()->setSectionResizeMode(MetadataFileListModel::Name, QHeaderView::Stretch);
    m_list->header()->setSectionResizeMode(MetadataFileListModel::Kind, QHeaderView::ResizeToContents);
    m_list->setMinimumWidth(260);
    connect(m_list->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &MetadataEditor::onListSelectionChanged);

    m_scroll = new QScrollArea(split);
    m_scroll->setWidgetResizable(true);
    m_scroll->setMinimumWidth(380);
    m_scroll->setFrameShape(QFrame::NoFrame);
    auto* pane = new QWidget(m_scroll);
    pane->setObjectName("editorPane");
    m_paneLayout = new QVBoxLayout(pane);
    m_paneLayout->setContentsMargins(14, 14, 14, 14);
    m_paneLayout->setSpacing(12);
    m_selectPrompt = new QLabel(pane);
    m_selectPrompt->setObjectName("selectPrompt");
    m_selectPrompt->setStyleSheet("color: palette(mid);");
    LangBinder(m_store).bindText(m_selectPrompt, "Select a file on the left.", "在左侧选择一个文件。");
    m_paneLayout->addWidget(m_selectPrompt);
    m_paneLayout->addStretch(1);
    m_scroll->setWidget(pane);
    split->addWidget(m_list);
    split->addWidget(m_scroll);
    split->setStretchFactor(1, 1);
    split->setSizes({300, 600});
    return split;
}

bool MetadataEditor::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonDblClick && m_stack->currentWidget() == m_placeholder) {
        m_store.intake().addFilesPanel();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

// ---- selection ----

std::optional<FileItem> MetadataEditor::primary() const
{
    return primaryItem(m_store.items(), m_selection);
}

QList<FileItem> MetadataEditor::targets() const
{
    return targetItems(m_store.items(), m_selection);
}

void MetadataEditor::appear()
{
    if (m_selection.isEmpty() && !m_store.items().isEmpty()) {
        m_selection = {m_store.items().first().id};
        selectRows(m_selection);
    }
    loadDraft();
}

void MetadataEditor::setSelection(const QSet<QUuid>& ids)
{
    selectRows(ids);
    if (ids != m_selection) {
        m_selection = ids;
        loadDraft();
    }
}

void MetadataEditor::selectRows(const QSet<QUuid>& ids)
{
    m_restoringSelection = true;
    QItemSelection sel;
    for (int row = 0; row < m_model->rowCount(); ++row)
        if (ids.contains(m_model->index(row, 0).data(MetadataFileListModel::IdRole).toUuid()))
            sel.select(m_model->index(row, 0), m_model->index(row, MetadataFileListModel::ColumnCount - 1));
    m_list->selectionModel()->select(sel, QItemSelectionModel::ClearAndSelect);
    m_restoringSelection = false;
}

void MetadataEditor::onListSelectionChanged()
{
    if (m_restoringSelection)
        return;
    QSet<QUuid> ids;
    for (const QModelIndex& index : m_list->selectionModel()->selectedRows())
        ids.insert(index.data(MetadataFileListModel::IdRole).toUuid());
    if (ids == m_selection)
        return;
    m_selection = ids;
    loadDraft();
}

void MetadataEditor::onItemsChanged()
{
    m_stack->setCurrentIndex(m_store.items().isEmpty() ? 0 : 1);
    const std::optional<QUuid> shown = m_shape ? m_shape->primary : std::nullopt;
    selectRows(m_selection);
    const auto p = primary();
    // The shown file left the list: show what the selection now points at.
    if ((p ? std::optional(p->id) : std::nullopt) != shown)
        loadDraft();
    else
        refresh();
}

// ---- drafts ----

void MetadataEditor::loadDraft()
{
    m_history.clear();
    m_lastFieldKey.reset();
    const auto p = primary();
    if (!p) {
        m_store.metaDrafts().setShown(std::nullopt);
        m_reading = false;
        m_draft = MetaFields();
        m_nameDraft.clear();
        refresh();
        return;
    }
    m_nameDraft = p->name;
    const MetadataDrafts::Loaded loaded = m_store.metaDrafts().load(*p);
    m_reading = loaded.reading;
    m_draft = loaded.draft;
    refresh();
}

void MetadataEditor::setDraft(const MetaFields& draft)
{
    if (draft == m_draft)
        return;
    m_draft = draft;
    if (const auto p = primary())
        m_store.metaDrafts().storeDraft(p->id, m_draft);
    refresh();
}

void MetadataEditor::pushDraftHistory()
{
    m_history.push(m_draft);
}

void MetadataEditor::undoMetaEdit()
{
    const auto previous = m_history.takeNewest();
    if (!previous) {
        m_store.setStatus(L("No metadata edit to undo.", "无元数据编辑可撤销。"));
        return;
    }
    m_lastFieldKey.reset();
    setDraft(*previous);
    updateActions();
    m_store.setStatus(L("Undid metadata edit.", "已撤销元数据编辑。"));
}

void MetadataEditor::saveSelected()
{
    const auto p = primary();
    if (p)
        m_store.metaDrafts().save(targets(), p->id, m_draft);
}

void MetadataEditor::applyToFiles()
{
    if (const auto p = primary())
        m_store.metaDrafts().applyToAll(p->id, m_draft);
}

void MetadataEditor::revertDraft()
{
    m_store.metaDrafts().revert(m_selection);
    loadDraft();
}

void MetadataEditor::renameConfirmation()
{
    const auto p = primary();
    const QString newName = trimmedName(m_nameDraft);
    if (!p || newName.isEmpty() || newName == p->name)
        return;
    Dialogs::Alert a;
    a.style = Dialogs::Style::Warning;
    a.message = L("Rename this file on disk?", "要在磁盘上重命名这个文件吗?");
    a.informative =
        Lang::zh()
            ? QStringLiteral("「%1」→「%2」\n\n这会更改磁盘上的实际文件名,不只是本 app 里的显示。可以用 Ctrl+Z 撤销。")
                  .arg(p->name, newName)
            : QStringLiteral("“%1” → “%2”\n\nThis changes the actual file name on disk, not just this app's display. "
                             "This can be undone with Ctrl+Z.")
                  .arg(p->name, newName);
    a.buttons = {L("Rename", "重命名"), L("Cancel", "取消")};
    a.defaultButton = 0;
    a.cancelButton = 1;
    if (m_dialogs.alert(a).button != 0)
        return;
    if (m_store.renamer().renameOne(p->id, newName)) {
        m_nameDraft = newName;
        refresh();
    }
}

// ---- the form ----

QStringList MetadataEditor::customKeys() const
{
    QStringList keys = BinColumns::logging();
    for (const QString& c : m_store.meta().binCustomCols)
        if (!BinColumns::technical().contains(c) && !BinColumns::logging().contains(c) && !keys.contains(c))
            keys << c;
    return keys;
}

QStringList MetadataEditor::shownTechnicalKeys() const
{
    QStringList keys;
    for (const QString& k : BinColumns::technical())
        if (!m_draft.custom.value(k).isEmpty())
            keys << k;
    return keys;
}

MetadataEditor::Shape MetadataEditor::currentShape() const
{
    Shape s;
    s.zh = Lang::zh();
    const auto p = primary();
    if (!p)
        return s;
    s.primary = p->id;
    s.primaryName = p->name;
    s.kindLabel = metaKindLabel(*p);
    s.targets = int(targets().size());
    s.kind = m_draft.kind;
    s.infoShown = !m_draft.info.isEmpty();
    s.customKeys = customKeys();
    for (const QString& k : s.customKeys)
        if (m_store.meta().binCheckboxCols.contains(k))
            s.checkboxKeys << k;
    s.technical = shownTechnicalKeys();
    return s;
}

void MetadataEditor::refresh()
{
    Shape shape = currentShape();
    if (!m_shape || !(*m_shape == shape)) {
        m_shape = std::make_unique<Shape>(std::move(shape));
        rebuildForm();
    }
    syncValues();
    updateActions();
}

void MetadataEditor::rebuildForm()
{
    m_textRows.clear();
    m_flags.clear();
    m_technical.clear();
    m_infoLabels.clear();
    m_nameField = nullptr;
    m_renameButton = nullptr;
    m_dateSwitch = nullptr;
    m_datePicker = nullptr;
    m_saveButton = m_applyButton = m_revertButton = m_undoButton = nullptr;
    m_progress = nullptr;
    if (m_form) {
        // Later: the old form may be where the change came from (a Rename click).
        m_paneLayout->removeWidget(m_form);
        m_form->hide();
        m_form->setParent(nullptr);
        m_form->deleteLater();
        m_retiredForms.removeIf([](const QPointer<QWidget>& p) { return p.isNull(); });
        m_retiredForms.append(m_form);
        m_form = nullptr;
    }
    const auto p = primary();
    m_selectPrompt->setVisible(!p);
    if (!p)
        return;

    m_form = new QWidget(m_paneLayout->parentWidget());
    m_form->setObjectName("editorForm");
    auto* v = new QVBoxLayout(m_form);
    v->setContentsMargins(0, 0, 0, 0);
    v->setSpacing(12);
    v->addWidget(buildHeader(*p, m_shape->targets));
    v->addWidget(buildKindSection());
    auto* divider = new QFrame(m_form);
    divider->setFrameShape(QFrame::HLine);
    divider->setFrameShadow(QFrame::Sunken);
    v->addWidget(divider);
    v->addWidget(fieldRow(
        L("Clip Name (Avid/Premiere display name; never renames the file)", "剪辑名(Avid/Premiere 显示名;不改文件名)"),
        [](const MetaFields& f) { return f.clipName; }, [](MetaFields& f, const QString& t) { f.clipName = t; }));
    v->addWidget(buildCustomBox());
    if (!m_shape->technical.isEmpty())
        v->addWidget(buildTechnicalBox(m_shape->technical));
    if (m_draft.kind != MetaKind::unsupported) {
        v->addWidget(buildActionBar());
        auto* note = smallLabel(L("“Apply to all” overwrites these fields on every file of the same type.",
                                  "「应用到全部」会用这些字段覆盖所有同类型文件。"),
                                kCaption2, m_form);
        note->setObjectName("applyNote");
        v->addWidget(note);
    }
    m_paneLayout->insertWidget(0, m_form);
    // The form scrolls: the wheel must not turn the date picker it passes over.
    takeWheelOnlyWithFocus(m_form);
    m_form->show();  // at once, not when the layout gets round to it
}

QWidget* MetadataEditor::buildHeader(const FileItem& item, int targetCount)
{
    auto* box = new QWidget(m_form);
    auto* v = new QVBoxLayout(box);
    v->setContentsMargins(0, 0, 0, 0);
    v->setSpacing(4);
    if (targetCount < 2) {
        auto* row = new QHBoxLayout;
        row->setSpacing(6);
        m_nameField = new QLineEdit(box);
        m_nameField->setObjectName("fileNameField");
        m_nameField->setPlaceholderText(L("File name", "文件名"));
        QFont f = m_nameField->font();
        f.setBold(true);
        f.setPointSizeF(f.pointSizeF() * 1.1);
        m_nameField->setFont(f);
        m_renameButton = new QPushButton(L("Rename", "重命名"), box);
        m_renameButton->setObjectName("renameButton");
        m_renameButton->setAutoDefault(false);
        connect(m_nameField, &QLineEdit::textEdited, this, [this](const QString& t) {
            m_nameDraft = t;
            updateActions();
        });
        connect(m_nameField, &QLineEdit::returnPressed, this, [this] {
            if (m_renameButton->isEnabled())
                renameConfirmation();
        });
        connect(m_renameButton, &QPushButton::clicked, this, &MetadataEditor::renameConfirmation);
        row->addWidget(m_nameField, 1);
        row->addWidget(m_renameButton);
        v->addLayout(row);
        auto* note = smallLabel(L("Renames the actual file on disk — not just this app's display.",
                                  "会更改磁盘上的实际文件名,不只是本 app 里的显示。"),
                                kCaption2, box);
        note->setObjectName("renameNote");
        v->addWidget(note);
        return box;
    }
    auto* row = new QHBoxLayout;
    row->setSpacing(6);
    auto* icon = new QLabel(box);
    icon->setPixmap(symbolIcon("square.stack.3d.up.fill").pixmap(14, 14));
    const QString kind = m_shape->kindLabel;
    auto* text = smallLabel(
        Lang::zh() ? QStringLiteral("正在编辑 %1 个%2文件 —— 保存会应用到所有所选。").arg(targetCount).arg(kind)
                   : QStringLiteral("Editing %1 %2 files — Save applies to all selected.").arg(targetCount).arg(kind),
        kCaption, box, false);
    text->setObjectName("multiHeader");
    text->setStyleSheet("color: palette(highlight);");
    row->addWidget(icon);
    row->addWidget(text, 1);
    v->addLayout(row);
    auto* name = new QLabel(box);
    name->setObjectName("multiHeaderName");
    name->setStyleSheet("color: palette(mid);");
    name->setText(name->fontMetrics().elidedText(item.name, Qt::ElideMiddle, 420));
    name->setToolTip(item.name);
    v->addWidget(name);
    return box;
}

QWidget* MetadataEditor::buildKindSection()
{
    auto* box = new QWidget(m_form);
    auto* v = new QVBoxLayout(box);
    v->setContentsMargins(0, 0, 0, 0);
    v->setSpacing(8);
    using F = MetaFields;
    auto row = [&](const char* en, const char* zh, QString F::*field) {
        v->addWidget(fieldRow(
            L(en, zh), [field](const F& f) { return f.*field; }, [field](F& f, const QString& t) { f.*field = t; }));
    };
    switch (m_draft.kind) {
    case MetaKind::image:
        v->addWidget(buildDateRow("Capture date (EXIF)", "拍摄日期(EXIF)"));
        row("Description", "描述", &F::caption);
        row("Author (By-line)", "作者", &F::byline);
        row("Copyright", "版权", &F::copyright);
        row("Keywords (comma-separated)", "关键词(逗号分隔)", &F::keywords);
        if (m_shape->infoShown)
            v->addWidget(infoLine(kCaption));
        row("City", "城市", &F::city);
        row("Country", "国家", &F::country);
        row("GPS (lat, long)", "GPS(纬度, 经度)", &F::gps);
        if (m_shape->infoShown)
            v->addWidget(infoLine(kCaption2));
        break;
    case MetaKind::pdf:
        row("Title", "标题", &F::title);
        row("Author", "作者", &F::author);
        row("Subject", "主题", &F::subject);
        row("Keywords (comma-separated)", "关键词(逗号分隔)", &F::keywords);
        break;
    case MetaKind::video: {
        if (m_shape->infoShown)
            v->addWidget(infoLine(kCaption));
        v->addWidget(buildDateRow("Creation date", "创建日期"));
        row("Title", "标题", &F::title);
        row("Artist", "艺术家", &F::author);
        row("Description", "描述", &F::desc);
        row("Copyright", "版权", &F::copyright);
        auto* note = smallLabel(L("Saving a video re-exports it (fast, no re-encode; mp4/mov only).",
                                  "保存视频会重新导出(快速、不重新编码;仅 mp4/mov)。"),
                                kCaption2, box);
        note->setObjectName("videoNote");
        v->addWidget(note);
        break;
    }
    case MetaKind::unsupported: {
        auto* note = smallLabel(L("File metadata can't be written for this type, but the Bin fields below are "
                                  "still editable & exportable.",
                                  "此类型无法写回文件元数据,但下方 Bin 字段仍可编辑并导出。"),
                                kCaption, box);
        note->setObjectName("unsupportedNote");
        v->addWidget(note);
        break;
    }
    }
    return box;
}

QWidget* MetadataEditor::infoLine(double scale)
{
    auto* label = smallLabel(QString(), scale, m_form);
    label->setObjectName("infoLine");
    m_infoLabels << label;
    return label;
}

QWidget* MetadataEditor::buildDateRow(const char* en, const char* zh)
{
    auto* group = new QGroupBox(m_form);
    group->setObjectName("dateRow");
    auto* v = new QVBoxLayout(group);
    m_dateSwitch = new QCheckBox(L(en, zh), group);
    m_dateSwitch->setObjectName("dateSwitch");
    m_datePicker = new QDateTimeEdit(group);
    m_datePicker->setObjectName("datePicker");
    m_datePicker->setDisplayFormat("yyyy-MM-dd HH:mm");
    m_datePicker->setCalendarPopup(true);
    connect(m_dateSwitch, &QCheckBox::clicked, this, &MetadataEditor::switchDate);
    connect(m_datePicker, &QDateTimeEdit::dateTimeChanged, this, [this](const QDateTime& dt) {
        if (m_syncing)
            return;
        MetaFields d = m_draft;
        d.date = dt;
        setDraft(d);
    });
    v->addWidget(m_dateSwitch, 0, Qt::AlignLeft);
    v->addWidget(m_datePicker, 0, Qt::AlignLeft);
    return group;
}

void MetadataEditor::switchDate(bool on)
{
    pushDraftHistory();
    m_lastFieldKey.reset();
    MetaFields d = m_draft;
    if (!on)
        d.date.reset();
    else if (!d.date)
        d.date = QDateTime::currentDateTime();
    setDraft(d);
    updateActions();
}

QWidget* MetadataEditor::fieldRow(const QString& label, std::function<QString(const MetaFields&)> get,
                                  std::function<void(MetaFields&, const QString&)> set)
{
    auto* row = new QWidget(m_form);
    auto* v = new QVBoxLayout(row);
    v->setContentsMargins(0, 0, 0, 0);
    v->setSpacing(2);
    auto* caption = smallLabel(label, kCaption, row);
    caption->setWordWrap(false);
    auto* edit = new QLineEdit(row);
    edit->setObjectName("fieldRow");
    edit->setAccessibleName(label);
    v->addWidget(caption);
    v->addWidget(edit);
    m_textRows.append({label, edit, get});
    connect(edit, &QLineEdit::textEdited, this, [this, label, set](const QString& text) {
        // A run of changes in one row is one undo step.
        if (m_lastFieldKey != label) {
            pushDraftHistory();
            m_lastFieldKey = label;
        }
        MetaFields d = m_draft;
        set(d, text);
        setDraft(d);
        updateActions();
    });
    return row;
}

QWidget* MetadataEditor::buildCustomBox()
{
    auto* group = new QGroupBox(L("Logging / custom — editable, synced with Bin (exported, not written to file)",
                                  "场记 / 自定义 —— 可编辑,与 Bin 同步(用于导出,不写入文件)"),
                                m_form);
    group->setObjectName("customBox");
    QFont f = group->font();
    f.setPointSizeF(f.pointSizeF() * kCaption);
    group->setFont(f);
    auto* v = new QVBoxLayout(group);
    v->setSpacing(8);
    v->setContentsMargins(8, 2 + 8, 8, 8);
    for (const QString& key : m_shape->customKeys) {
        if (m_shape->checkboxKeys.contains(key)) {
            auto* box = new QCheckBox(key, group);
            box->setObjectName("customFlag");
            box->setFont(font());
            connect(box, &QCheckBox::clicked, this, [this, key](bool on) { editCustomFlag(key, on); });
            m_flags.append({key, box});
            v->addWidget(box, 0, Qt::AlignLeft);
            continue;
        }
        QWidget* row = fieldRow(
            key, [key](const MetaFields& d) { return d.custom.value(key); },
            [this, key](MetaFields& d, const QString& t) {
                d.custom.insert(key, t);
                m_store.metaDrafts().rememberCustomKey(key);
            });
        row->setFont(font());
        v->addWidget(row);
    }
    return group;
}

void MetadataEditor::editCustomFlag(const QString& key, bool on)
{
    pushDraftHistory();
    m_lastFieldKey.reset();
    MetaFields d = m_draft;
    d.custom.insert(key, on ? QStringLiteral("1") : QString());
    setDraft(d);
    m_store.metaDrafts().rememberCustomKey(key);
    updateActions();
}

QWidget* MetadataEditor::buildTechnicalBox(const QStringList& keys)
{
    auto* group = new QGroupBox(L("Technical — read-only", "技术信息 —— 只读"), m_form);
    group->setObjectName("technicalBox");
    QFont f = group->font();
    f.setPointSizeF(f.pointSizeF() * kCaption);
    group->setFont(f);
    auto* v = new QVBoxLayout(group);
    v->setSpacing(3);
    v->setContentsMargins(8, 2 + 8, 8, 8);
    for (const QString& key : keys) {
        auto* row = new QHBoxLayout;
        auto* name = smallLabel(key, 1.0, group);
        name->setWordWrap(false);
        name->setMinimumWidth(110);
        auto* value = smallLabel(QString(), 1.0, group, false);
        value->setObjectName("technicalValue");
        value->setTextInteractionFlags(Qt::TextSelectableByMouse);
        row->addWidget(name);
        row->addWidget(value, 1);
        v->addLayout(row);
        m_technical.append({key, value});
    }
    return group;
}

QWidget* MetadataEditor::buildActionBar()
{
    auto* bar = new QWidget(m_form);
    auto* h = new QHBoxLayout(bar);
    h->setContentsMargins(0, 0, 0, 0);
    const int n = m_shape->targets;
    m_saveButton = new QPushButton(symbolIcon("square.and.arrow.down"),
                                   n < 2 ? L("Save to file", "保存到文件")
                                         : L(QStringLiteral("Save to %1 selected").arg(n),
                                             QStringLiteral("保存到 %1 个所选").arg(n)),
                                   bar);
    m_saveButton->setObjectName("saveButton");
    m_saveButton->setDefault(true);
    m_applyButton = new QPushButton(symbolIcon("square.stack.3d.up"),
                                    L(QStringLiteral("Apply to all ") + m_shape->kindLabel,
                                      QStringLiteral("应用到全部") + m_shape->kindLabel),
                                    bar);
    m_applyButton->setObjectName("applyButton");
    m_revertButton = new QPushButton(symbolIcon("arrow.uturn.backward"), L("Revert", "还原"), bar);
    m_revertButton->setObjectName("revertButton");
    m_undoButton = new QPushButton(symbolIcon("arrow.uturn.backward.circle"), L("Undo edit", "撤销编辑"), bar);
    m_undoButton->setObjectName("undoEditButton");
    m_undoButton->setToolTip(
        L("Undo the last metadata field edit (Ctrl+Shift+Z).", "撤销上一次元数据字段编辑(Ctrl+Shift+Z)。"));
    m_progress = new QProgressBar(bar);
    m_progress->setObjectName("busyIndicator");
    m_progress->setRange(0, 0);
    m_progress->setTextVisible(false);
    m_progress->setFixedSize(60, 12);
    for (QPushButton* b : {m_applyButton, m_revertButton, m_undoButton})
        b->setAutoDefault(false);
    connect(m_saveButton, &QPushButton::clicked, this, &MetadataEditor::saveSelected);
    connect(m_applyButton, &QPushButton::clicked, this, &MetadataEditor::applyToFiles);
    connect(m_revertButton, &QPushButton::clicked, this, &MetadataEditor::revertDraft);
    connect(m_undoButton, &QPushButton::clicked, this, &MetadataEditor::undoMetaEdit);
    h->addWidget(m_saveButton);
    h->addWidget(m_applyButton);
    h->addWidget(m_revertButton);
    h->addWidget(m_undoButton);
    h->addWidget(m_progress);
    h->addStretch(1);
    return bar;
}

void MetadataEditor::syncValues()
{
    if (!m_form)
        return;
    m_syncing = true;
    for (const TextRow& r : m_textRows) {
        const QString value = r.get(m_draft);
        if (r.edit->text() != value)
            r.edit->setText(value);
    }
    for (const auto& [key, box] : m_flags)
        box->setChecked(parseFlag(m_draft.custom.value(key)));
    for (const auto& [key, label] : m_technical)
        label->setText(m_draft.custom.value(key));
    for (QLabel* info : m_infoLabels)
        info->setText(m_draft.info);
    if (m_nameField && m_nameField->text() != m_nameDraft)
        m_nameField->setText(m_nameDraft);
    if (m_dateSwitch) {
        m_dateSwitch->setChecked(m_draft.date.has_value());
        m_datePicker->setVisible(m_draft.date.has_value());
        const QDateTime shown = m_draft.date.value_or(QDateTime::currentDateTime());
        if (m_datePicker->dateTime() != shown)
            m_datePicker->setDateTime(shown);
    }
    // The movie's placeholder stands for nothing yet: neither edited nor saved until read.
    m_form->setEnabled(!m_reading);
    m_syncing = false;
}

void MetadataEditor::updateActions()
{
    const bool busy = m_store.metaDrafts().busy();
    if (m_renameButton) {
        const QString trimmed = trimmedName(m_nameDraft);
        const auto p = primary();
        m_renameButton->setEnabled(!trimmed.isEmpty() && p && m_nameDraft != p->name);
    }
    for (QPushButton* b : {m_saveButton, m_applyButton, m_revertButton})
        if (b)
            b->setEnabled(!busy);
    if (m_undoButton)
        m_undoButton->setEnabled(!m_history.isEmpty());
    if (m_progress)
        m_progress->setVisible(busy);
}

QLineEdit* MetadataEditor::field(const QString& label) const
{
    for (const TextRow& r : m_textRows)
        if (r.label == label)
            return r.edit;
    return nullptr;
}

QCheckBox* MetadataEditor::flag(const QString& key) const
{
    for (const auto& [k, box] : m_flags)
        if (k == key)
            return box;
    return nullptr;
}

QStringList MetadataEditor::fieldLabels() const
{
    QStringList out;
    for (const TextRow& r : m_textRows)
        out << r.label;
    return out;
}

QStringList MetadataEditor::technicalKeys() const
{
    QStringList out;
    for (const auto& [k, label] : m_technical)
        out << k;
    return out;
}
