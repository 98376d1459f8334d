#include "one_by_one_view.h"

#include "common/icons.h"
#include "common/lang_binder.h"
#include "files/intake.h"
#include "files/item_bookkeeping.h"
#include "files/renamer.h"
#include "model/store.h"
#include "platform/lang.h"
#include "smartrename/smart_fix.h"

#include <QCheckBox>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QShortcut>
#include <QStackedWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace {

void scaleFont(QWidget* w, double factor, bool bold = false)
{
    QFont f = w->font();
    f.setPointSizeF(f.pointSizeF() * factor);
    f.setBold(bold);
    w->setFont(f);
}

void setSecondary(QWidget* w, int alpha = 170)
{
    QPalette p = w->palette();
    QColor c = p.color(QPalette::WindowText);
    c.setAlpha(alpha);
    p.setColor(QPalette::WindowText, c);
    p.setColor(QPalette::Text, c);
    w->setPalette(p);
}

// A one-line label that elides its text in the middle to fit its width.
class MiddleElidedLabel : public QLabel {
public:
    using QLabel::QLabel;
    void setFullText(const QString& text)
    {
        m_full = text;
        setToolTip(text);
        updateText();
    }
    QSize minimumSizeHint() const override { return {0, QLabel::minimumSizeHint().height()}; }

protected:
    void resizeEvent(QResizeEvent* e) override
    {
        QLabel::resizeEvent(e);
        updateText();
    }

private:
    void updateText() { setText(fontMetrics().elidedText(m_full, Qt::ElideMiddle, width())); }
    QString m_full;
};

// The empty state: the whole area answers a double click.
class DropZone : public QWidget {
public:
    std::function<void()> onDoubleClick;
    using QWidget::QWidget;

protected:
    void mouseDoubleClickEvent(QMouseEvent*) override
    {
        if (onDoubleClick)
            onDoubleClick();
    }
};

QString trimmedPathParent(const QString& path)
{
    return PathText::parent(path);
}

}  // namespace

OneByOneView::OneByOneView(Store& store, QWidget* parent) : OneByOneView(store, Services{}, parent) {}

OneByOneView::OneByOneView(Store& store, Services services, QWidget* parent)
    : QWidget(parent), m_store(store), m_services(std::move(services))
{
    if (!m_services.renameItem)
        m_services.renameItem = [&store](const QUuid& id, const QString& stem, const std::optional<QString>& ext) {
            return store.renamer().renameItemByID(id, stem, ext);
        };
    if (!m_services.setRenameFolders)
        m_services.setRenameFolders = [&store](bool on) { store.bookkeeping().setRenameFolders(on); };
    if (!m_services.addFiles)
        m_services.addFiles = [&store] { store.intake().addFilesPanel(); };
    if (!m_services.aiAvailability)
        m_services.aiAvailability = [] { return AIName::availability(); };
    if (!m_services.aiContentText)
        m_services.aiContentText = AIName::contentText;
    if (!m_services.aiSuggestName)
        m_services.aiSuggestName = AIName::suggestName;
    build();
    m_lastCount = int(m_store.items().size());
    connect(&m_store, &Store::itemsChanged, this, &OneByOneView::onItemsChanged);
    // The AI button follows a probe started by a screen.
    connect(&AIName::AvailabilityNotifier::instance(), &AIName::AvailabilityNotifier::availabilityChanged, this,
            &OneByOneView::refreshCard);
    connect(&m_store, &Store::sectionsChanged, this, [this] {
        m_renameFolders->setChecked(m_store.sections().renameFolders);
        refreshCard();  // the Smart Fix label names the current style
    });
    LangBinder(m_store).bind(this, [this] { relabel(); });
    reloadCurrent();
}

// ---- layout ----

void OneByOneView::build()
{
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);

    auto* header = new QHBoxLayout;
    header->setContentsMargins(12, 8, 12, 0);
    header->addStretch();
    m_renameFolders = new QCheckBox;
    scaleFont(m_renameFolders, 0.85);
    setSecondary(m_renameFolders);
    m_renameFolders->setChecked(m_store.sections().renameFolders);
    connect(m_renameFolders, &QCheckBox::clicked, this, [this](bool on) { m_services.setRenameFolders(on); });
    header->addWidget(m_renameFolders);
    outer->addLayout(header);

    m_pages = new QStackedWidget;
    buildDropZone();
    m_pages->addWidget(m_dropZone);
    m_cardScroll = new QScrollArea;
    m_cardScroll->setWidgetResizable(true);
    m_cardScroll->setFrameShape(QFrame::NoFrame);
    m_cardScroll->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_cardScroll->setWidget(buildCard());
    m_pages->addWidget(m_cardScroll);
    outer->addWidget(m_pages, 1);

    // One handler per key. The fields would take Ctrl+Left (word left) for themselves: the
    // event filter below lets the shortcut win there.
    auto* prevKey = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Left), this);
    auto* skipKey = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    auto* renameKey = new QShortcut(QKeySequence(Qt::Key_Return), this);
    for (QShortcut* s : {prevKey, skipKey, renameKey})
        s->setContext(Qt::WidgetWithChildrenShortcut);
    connect(prevKey, &QShortcut::activated, m_prev, &QPushButton::click);
    connect(skipKey, &QShortcut::activated, m_skip, &QPushButton::click);
    connect(renameKey, &QShortcut::activated, m_rename, &QPushButton::click);
    m_nameField->installEventFilter(this);
    m_extField->installEventFilter(this);
}

void OneByOneView::buildDropZone()
{
    auto* zone = new DropZone;
    zone->onDoubleClick = [this] { m_services.addFiles(); };
    auto* col = new QVBoxLayout(zone);
    col->setSpacing(8);
    col->addStretch();
    auto* symbol = new QLabel;
    symbol->setPixmap(symbolIcon("rectangle.stack.badge.plus").pixmap(40, 40, QIcon::Disabled));
    symbol->setAlignment(Qt::AlignCenter);
    col->addWidget(symbol);
    auto* title = new QLabel;
    title->setObjectName("dropTitle");
    title->setAlignment(Qt::AlignCenter);
    setSecondary(title);
    col->addWidget(title);
    auto* sub = new QLabel;
    sub->setObjectName("dropSubtitle");
    sub->setAlignment(Qt::AlignCenter);
    scaleFont(sub, 0.85);
    setSecondary(sub, 110);
    col->addWidget(sub);
    col->addStretch();
    // Clicks on the texts reach the zone too.
    for (QLabel* l : {symbol, title, sub})
        l->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_dropZone = zone;
}

QWidget* OneByOneView::buildCard()
{
    auto* card = new QWidget;
    auto* col = new QVBoxLayout(card);
    col->setContentsMargins(24, 24, 24, 24);
    col->setSpacing(16);

    auto* counterRow = new QHBoxLayout;
    m_counter = new QLabel;
    scaleFont(m_counter, 1.0, true);
    m_counter->setFont([f = m_counter->font()]() mutable {
        f.setStyleHint(QFont::Monospace);
        return f;
    }());
    counterRow->addWidget(m_counter);
    counterRow->addStretch();
    m_progress = new QProgressBar;
    m_progress->setFixedWidth(200);
    m_progress->setTextVisible(false);
    counterRow->addWidget(m_progress);
    m_folderBadge = new QLabel;
    scaleFont(m_folderBadge, 0.8);
    m_folderBadge->setForegroundRole(QPalette::Highlight);
    m_folderBadgeIcon = new QLabel;
    const int badgeIcon = m_folderBadge->fontMetrics().height();
    m_folderBadgeIcon->setPixmap(symbolIcon("folder.fill").pixmap(badgeIcon, badgeIcon));
    counterRow->addWidget(m_folderBadgeIcon);
    counterRow->addWidget(m_folderBadge);
    col->addLayout(counterRow);

    m_icon = new QLabel;
    m_icon->setFixedSize(96, 96);
    m_icon->setScaledContents(true);
    col->addWidget(m_icon, 0, Qt::AlignHCenter);

    m_name = new QLabel;
    m_name->setAlignment(Qt::AlignCenter);
    m_name->setWordWrap(true);
    m_name->setTextInteractionFlags(Qt::TextSelectableByMouse);
    scaleFont(m_name, 1.4);
    setSecondary(m_name);
    col->addWidget(m_name);

    auto* folder = new MiddleElidedLabel;
    folder->setAlignment(Qt::AlignCenter);
    scaleFont(folder, 0.85);
    setSecondary(folder, 110);
    m_folderPath = folder;
    col->addWidget(m_folderPath);

    auto* editor = new QWidget;
    editor->setMaximumWidth(520);
    auto* edCol = new QVBoxLayout(editor);
    edCol->setContentsMargins(0, 0, 0, 0);
    edCol->setSpacing(4);
    auto* fieldRow = new QHBoxLayout;
    fieldRow->setSpacing(6);
    m_nameField = new QLineEdit;
    scaleFont(m_nameField, 1.4);
    fieldRow->addWidget(m_nameField, 1);
    m_dot = new QLabel(".");
    scaleFont(m_dot, 1.4);
    setSecondary(m_dot);
    fieldRow->addWidget(m_dot);
    m_extField = new QLineEdit;
    m_extField->setFixedWidth(70);
    scaleFont(m_extField, 1.4);
    fieldRow->addWidget(m_extField);
    m_fixedExt = new QLabel;
    scaleFont(m_fixedExt, 1.4);
    setSecondary(m_fixedExt);
    fieldRow->addWidget(m_fixedExt);
    edCol->addLayout(fieldRow);
    m_editExtBox = new QCheckBox;
    scaleFont(m_editExtBox, 0.85);
    setSecondary(m_editExtBox);
    edCol->addWidget(m_editExtBox, 0, Qt::AlignHCenter);
    m_preview = new QLabel;
    m_preview->setAlignment(Qt::AlignCenter);
    m_preview->setWordWrap(true);
    m_preview->setTextInteractionFlags(Qt::TextSelectableByMouse);
    scaleFont(m_preview, 0.85);
    setSecondary(m_preview);
    edCol->addWidget(m_preview);
    // The block takes the card's width up to 520, so a long name gets a wide field.
    editor->setMinimumWidth(360);
    editor->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    auto* editorRow = new QHBoxLayout;
    editorRow->addStretch(1);
    editorRow->addWidget(editor, 1000);
    editorRow->addStretch(1);
    col->addLayout(editorRow);

    connect(m_nameField, &QLineEdit::textChanged, this, &OneByOneView::refreshPreview);
    connect(m_extField, &QLineEdit::textChanged, this, &OneByOneView::refreshPreview);
    connect(m_editExtBox, &QCheckBox::toggled, this, [this] {
        refreshExtPart();
        refreshPreview();
        focusNameFieldSoon();
    });

    auto* assist = new QHBoxLayout;
    assist->setSpacing(8);
    assist->addStretch();
    m_ai = new QPushButton(symbolIcon("sparkles"), QString());
    m_smartFix = new QPushButton(symbolIcon("wand.and.stars"), QString());
    for (QPushButton* b : {m_ai, m_smartFix}) {
        scaleFont(b, 0.85);
        b->setFocusPolicy(Qt::NoFocus);
        assist->addWidget(b);
    }
    assist->addStretch();
    col->addLayout(assist);
    connect(m_ai, &QPushButton::clicked, this, &OneByOneView::startAISuggestion);
    connect(m_smartFix, &QPushButton::clicked, this, &OneByOneView::applySmartFix);

    auto* nav = new QHBoxLayout;
    nav->setSpacing(12);
    nav->addStretch();
    m_prev = new QPushButton(symbolIcon("chevron.left"), QString());
    m_skip = new QPushButton;
    m_rename = new QPushButton(symbolIcon("chevron.right"), QString());
    m_rename->setLayoutDirection(Qt::RightToLeft);  // the chevron after the text
    m_rename->setDefault(true);
    m_rename->setStyleSheet("QPushButton { padding-left: 6px; padding-right: 6px; }");
    for (QPushButton* b : {m_prev, m_skip, m_rename}) {
        b->setFocusPolicy(Qt::NoFocus);  // typing stays in the name field
        nav->addWidget(b);
    }
    nav->addStretch();
    col->addLayout(nav);
    connect(m_prev, &QPushButton::clicked, this, [this] { advance(-1, clampedPosition()); });
    connect(m_skip, &QPushButton::clicked, this, [this] { advance(+1, clampedPosition()); });
    connect(m_rename, &QPushButton::clicked, this, [this] { commitAndNext(clampedPosition()); });

    m_hint = new QLabel;
    m_hint->setAlignment(Qt::AlignCenter);
    scaleFont(m_hint, 0.8);
    setSecondary(m_hint);
    col->addWidget(m_hint);
    col->addStretch();
    return card;
}

void OneByOneView::relabel()
{
    m_renameFolders->setText(L("Rename folders", "重命名文件夹"));
    m_renameFolders->setToolTip(
        L("Collapse the file list to the parent folders and rename those. Shared with Batch Rules.",
          "把文件列表折叠为它们的母文件夹并改名。与「批量规则」共用此设置。"));
    m_dropZone->findChild<QLabel*>("dropTitle")
        ->setText(L("Drag files here to rename them one at a time", "拖入文件,逐个快速重命名"));
    m_dropZone->findChild<QLabel*>("dropSubtitle")->setText(L("or double-click here", "或在此处双击"));
    m_nameField->setPlaceholderText(L("new name", "新名称"));
    m_extField->setPlaceholderText(L("ext", "扩展名"));
    m_editExtBox->setText(L("Edit extension", "编辑扩展名"));
    m_editExtBox->setToolTip(L("Only applies to the file currently shown — resets when you move to the next one.",
                               "只对当前显示的这个文件生效 —— 切到下一个会自动关闭。"));
    m_prev->setText(L("Prev", "上一个"));
    m_skip->setText(L("Skip", "跳过"));
    m_rename->setText(L("Rename && Next", "重命名并下一个"));  // "&&": a plain ampersand, not a mnemonic
    m_hint->setText(L("Return = rename & next · Esc = skip · Ctrl+← previous",
                      "回车 = 重命名并下一个 · Esc = 跳过 · Ctrl+← 上一个"));
    refreshCard();
}

// ---- state ----

QString OneByOneView::draft() const
{
    return m_nameField->text();
}
QString OneByOneView::extDraft() const
{
    return m_extField->text();
}
bool OneByOneView::editExt() const
{
    return m_editExtBox->isChecked();
}

int OneByOneView::clampedPosition() const
{
    const int count = int(m_store.items().size());
    return std::min(m_idx, count - 1);
}

const FileItem* OneByOneView::shownItem() const
{
    const int p = clampedPosition();
    return p < 0 ? nullptr : &m_store.items()[p];
}

void OneByOneView::load(int i)
{
    const QList<FileItem>& items = m_store.items();
    if (i < 0 || i >= items.size())
        return;
    const FileItem& item = items[i];
    ++m_loadSerial;
    m_loadedId = item.id;
    {
        const QSignalBlocker block(m_editExtBox);
        m_editExtBox->setChecked(false);
    }
    m_nameField->setText(item.stem);
    m_extField->setText(item.ext);
    refreshCard();
    focusNameFieldSoon();
}

void OneByOneView::advance(int offset, int from)
{
    const int count = int(m_store.items().size());
    const int t = from + offset;
    if (t >= 0 && t < count) {
        m_idx = t;
        load(t);
    } else if (t >= count) {
        m_store.setStatus(L("Reached the end.", "已到最后一个。"));
    }
}

void OneByOneView::commitAndNext(int i)
{
    const QList<FileItem>& items = m_store.items();
    if (i < 0 || i >= items.size())
        return;
    const QUuid id = items[i].id;
    const std::optional<QString> ext = editExt() ? std::optional<QString>(extDraft()) : std::nullopt;
    // A refusal on the last file must stay readable: "Reached the end." may not replace it.
    bool statusPosted = false;
    const QMetaObject::Connection watch = connect(&m_store, &Store::activityChanged, this,
                                                  [&statusPosted] { statusPosted = true; });
    const bool renamed = m_services.renameItem(id, draft(), ext);
    disconnect(watch);
    const bool last = i + 1 >= int(m_store.items().size());
    if (last && !renamed && statusPosted)
        return;
    advance(+1, i);
}

void OneByOneView::reloadCurrent()
{
    load(clampedPosition());
    refreshCard();
}

void OneByOneView::clampIndex()
{
    const int count = int(m_store.items().size());
    if (m_idx >= count)
        m_idx = count == 0 ? 0 : count - 1;
}

void OneByOneView::onItemsChanged()
{
    const int count = int(m_store.items().size());
    if (count != m_lastCount) {
        m_lastCount = count;
        clampIndex();
    }
    // Whatever moved the list (a removal before the card, a sort, the folder switch), the
    // fields must hold the name of the file now shown, never of the one that stood there.
    const FileItem* item = shownItem();
    if (item && item->id != m_loadedId)
        load(clampedPosition());
    refreshCard();
}

// ---- card ----

void OneByOneView::refreshCard()
{
    const FileItem* item = shownItem();
    m_pages->setCurrentWidget(item ? static_cast<QWidget*>(m_cardScroll) : m_dropZone);
    if (!item)
        return;
    const int p = clampedPosition();
    const int count = int(m_store.items().size());
    m_counter->setText(QString("%1 / %2").arg(p + 1).arg(count));
    m_progress->setRange(0, count);
    m_progress->setValue(p + 1);
    m_folderBadge->setVisible(item->isDir);
    m_folderBadgeIcon->setVisible(item->isDir);
    m_folderBadge->setText(L("Folder", "文件夹"));
    const QIcon icon = QFileIconProvider().icon(QFileInfo(item->url));
    m_icon->setPixmap(icon.pixmap(96, 96));
    m_name->setText(item->name);
    m_name->setToolTip(item->name);
    static_cast<MiddleElidedLabel*>(m_folderPath)->setFullText(trimmedPathParent(item->url));
    m_editExtBox->setVisible(!item->isDir);
    m_prev->setEnabled(p > 0);
    // The AI button is left out, not disabled, while the model can't answer.
    m_ai->setVisible(m_services.aiAvailability() == AIName::Availability::available);
    m_ai->setEnabled(!m_aiBusy);
    m_ai->setText(m_aiBusy ? L("Thinking…", "思考中…") : L("AI suggest", "AI 建议"));
    const QString style = rawValue(m_store.sections().smartRenameStyle);
    m_smartFix->setText(L("Smart Fix (", "智能修正(") + style + ")");
    refreshExtPart();
    refreshPreview();
}

void OneByOneView::refreshExtPart()
{
    const FileItem* item = shownItem();
    const bool on = editExt();
    m_dot->setVisible(on);
    m_extField->setVisible(on);
    m_fixedExt->setVisible(!on && item && !item->ext.isEmpty());
    m_fixedExt->setText(item ? "." + item->ext : QString());
}

void OneByOneView::refreshPreview()
{
    const FileItem* item = shownItem();
    const QString d = draft();
    QString text;
    if (d.isEmpty())
        text = " ";
    else if (editExt())
        text = extDraft().isEmpty() ? d : d + "." + extDraft();
    else
        text = (item && !item->ext.isEmpty()) ? d + "." + item->ext : d;
    m_preview->setText(text);
}

void OneByOneView::focusNameFieldSoon()
{
    QTimer::singleShot(0, m_nameField, [field = m_nameField] { field->setFocus(Qt::OtherFocusReason); });
}

bool OneByOneView::eventFilter(QObject* watched, QEvent* event)
{
    if ((watched == m_nameField || watched == m_extField) && event->type() == QEvent::ShortcutOverride) {
        auto* key = static_cast<QKeyEvent*>(event);
        // Swallowing the override (without accepting it) hands the key to the Prev shortcut
        // instead of the field's word-left.
        if (key->key() == Qt::Key_Left && key->modifiers() == Qt::ControlModifier)
            return true;
    }
    return QWidget::eventFilter(watched, event);
}

// ---- assists ----

void OneByOneView::applySmartFix()
{
    const FileItem* item = shownItem();
    if (!item)
        return;
    const SmartSettings& s = m_store.smart();
    const SmartRename::Result r = SmartRename::smartFix(item->stem, m_store.sections().smartRenameStyle,
                                                        s.customCutTypes, s.customNamingConfig, s.learnedWordSplits);
    m_nameField->setText(r.corrected);
}

void OneByOneView::startAISuggestion()
{
    const FileItem* item = shownItem();
    if (!item || m_aiBusy)
        return;
    m_aiBusy = true;
    refreshCard();
    const quint64 serial = m_loadSerial;
    const QUuid id = item->id;
    const QString url = item->url;
    QPointer<OneByOneView> self(this);
    // True while the card still shows the file the suggestion was asked for.
    auto stillShown = [self, serial, id] { return self && self->m_loadSerial == serial && self->m_loadedId == id; };
    auto finish = [self] {
        if (!self)
            return;
        self->m_aiBusy = false;
        self->refreshCard();
    };
    m_services.aiContentText(url, this, [=, this](std::optional<QString> text) {
        if (!stillShown()) {
            finish();
            return;
        }
        if (!text) {
            m_store.setStatus(L("Can't read this file's text for AI.", "无法读取此文件的文本供 AI 使用。"));
            finish();
            return;
        }
        const QString language = promptName(m_store.sections().aiLang);
        m_services.aiSuggestName(*text, language, this, [=, this](std::optional<QString> answer) {
            if (answer && stillShown())
                m_nameField->setText(*answer);
            finish();
        });
    });
}
