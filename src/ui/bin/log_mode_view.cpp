#include "bin/log_mode_view.h"

#include "bin/bin_controller.h"
#include "bin/bin_logging.h"
#include "bin/log_take.h"
#include "common/icons.h"
#include "common/lang_binder.h"
#include "model/file_item.h"
#include "model/store.h"
#include "platform/lang.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QShortcut>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

namespace {

constexpr int kNameWidth = 480;
constexpr int kHelpWidth = 420;
constexpr int kFieldsWidth = 260;

QFont scaled(QFont f, double delta, QFont::Weight weight = QFont::Normal)
{
    f.setPointSizeF(std::max(6.0, f.pointSizeF() + delta));
    f.setWeight(weight);
    return f;
}

// Secondary text at 170 of 255, tertiary at 110.
void dim(QWidget* w, int alpha)
{
    QPalette p = w->palette();
    QColor c = p.color(QPalette::WindowText);
    c.setAlpha(alpha);
    p.setColor(QPalette::WindowText, c);
    w->setPalette(p);
}

QLabel* captionLabel(QWidget* parent, double delta, int alpha)
{
    auto* label = new QLabel(parent);
    label->setFont(scaled(label->font(), delta));
    dim(label, alpha);
    return label;
}

QLineEdit* logField(QWidget* parent, const char* objectName)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(objectName);
    QFont f = edit->font();
    f.setPixelSize(28);
    f.setWeight(QFont::Medium);
    edit->setFont(f);
    edit->setStyleSheet("QLineEdit { border: 1px solid palette(mid); border-radius: 8px; padding: 4px 10px; }");
    return edit;
}

bool isMoveKey(const QKeyEvent* key)
{
    return key->modifiers() == Qt::ControlModifier && (key->key() == Qt::Key_Left || key->key() == Qt::Key_Right);
}

}  // namespace

LogModeView::LogModeView(Store& store, QWidget* parent) : QWidget(parent), m_store(store)
{
    LangBinder tr(store);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(24, 24, 24, 24);
    outer->setSpacing(18);
    outer->addStretch(1);

    m_hint = captionLabel(this, 0, 170);
    m_hint->setObjectName("logHint");
    m_hint->setAlignment(Qt::AlignCenter);
    m_hint->setWordWrap(true);
    tr.bindText(m_hint, "Drag files in first — Batch Rules or Editor.", "先拖入文件 —— 批量规则或编辑器页面。");
    outer->addWidget(m_hint);

    m_clip = new QWidget(this);
    m_clip->setObjectName("logClip");
    m_clip->setFocusPolicy(Qt::ClickFocus);  // holds the keys while no field is focused
    auto* col = new QVBoxLayout(m_clip);
    col->setContentsMargins(0, 0, 0, 0);
    col->setSpacing(18);

    m_counter = captionLabel(m_clip, -2, 170);
    m_counter->setObjectName("logCounter");
    col->addWidget(m_counter, 0, Qt::AlignHCenter);

    m_name = new QLabel(m_clip);
    m_name->setObjectName("logName");
    m_name->setFont(scaled(m_name->font(), 1, QFont::DemiBold));
    m_name->setMaximumWidth(kNameWidth);
    m_name->setAlignment(Qt::AlignCenter);
    col->addWidget(m_name, 0, Qt::AlignHCenter);

    auto* fields = new QWidget(m_clip);
    fields->setFixedWidth(kFieldsWidth);
    auto* fieldCol = new QVBoxLayout(fields);
    fieldCol->setContentsMargins(0, 0, 0, 0);
    fieldCol->setSpacing(10);
    const auto addField = [&](QLineEdit* edit, const char* en, const char* zh) {
        auto* group = new QVBoxLayout;
        group->setSpacing(4);
        QLabel* label = captionLabel(fields, -2, 170);
        tr.bindText(label, en, zh);
        group->addWidget(label);
        group->addWidget(edit);
        fieldCol->addLayout(group);
        edit->installEventFilter(this);
    };
    m_sceneEdit = logField(fields, "logScene");
    m_takeEdit = logField(fields, "logTake");
    addField(m_sceneEdit, "Scene", "场次");
    addField(m_takeEdit, "Take", "条次");
    col->addWidget(fields, 0, Qt::AlignHCenter);

    m_help = captionLabel(m_clip, -3, 110);
    m_help->setObjectName("logHelp");
    m_help->setWordWrap(true);
    m_help->setAlignment(Qt::AlignCenter);
    m_help->setMaximumWidth(kHelpWidth);
    tr.bindText(
        m_help,
        "Return: Scene → Take → next clip (auto-fills the next unlogged clip's Scene/Take)  ·  Ctrl+← / Ctrl+→: move "
        "without changing anything",
        "回车:场次 → 条次 → 下一个片段(自动带入下一个未记录片段的场次/条次) · Ctrl+← / Ctrl+→:仅移动,不改动内容");
    // Between equal stretches rather than aligned, so the wrapped lines get their height.
    auto* helpRow = new QHBoxLayout;
    helpRow->addStretch(1);
    helpRow->addWidget(m_help, 100);
    helpRow->addStretch(1);
    col->addLayout(helpRow);

    auto* nav = new QHBoxLayout;
    nav->setSpacing(20);
    nav->addStretch(1);
    m_prev = new QToolButton(m_clip);
    m_next = new QToolButton(m_clip);
    m_prev->setIcon(symbolIcon("chevron.left.circle"));
    m_next->setIcon(symbolIcon("chevron.right.circle"));
    for (QToolButton* b : {m_prev, m_next}) {
        b->setAutoRaise(true);
        b->setIconSize(QSize(28, 28));
        b->setFocusPolicy(Qt::NoFocus);  // typing stays in the fields
        nav->addWidget(b);
    }
    nav->addStretch(1);
    col->addLayout(nav);
    tr.bind(m_prev, [this] {
        m_prev->setAccessibleName(L("Previous file", "上一个文件"));
        m_prev->setToolTip(m_prev->accessibleName());
        m_next->setAccessibleName(L("Next file", "下一个文件"));
        m_next->setToolTip(m_next->accessibleName());
    });
    outer->addWidget(m_clip);
    outer->addStretch(1);

    // On the clip area, so the keys go with it when there is no current clip.
    auto* prevKey = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Left), m_clip);
    auto* nextKey = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Right), m_clip);
    for (QShortcut* s : {prevKey, nextKey})
        s->setContext(Qt::WidgetWithChildrenShortcut);
    connect(prevKey, &QShortcut::activated, this, [this] { move(-1); });
    connect(nextKey, &QShortcut::activated, this, [this] { move(+1); });
    connect(m_prev, &QToolButton::clicked, this, [this] { move(-1); });
    connect(m_next, &QToolButton::clicked, this, [this] { move(+1); });

    connect(m_sceneEdit, &QLineEdit::returnPressed, this, [this] { setFocusField(Field::take); });
    connect(m_takeEdit, &QLineEdit::returnPressed, this, &LogModeView::advance);
    BinLogging& logging = store.bin().logging();
    const auto writeOnEdit = [this, &logging](QLineEdit* edit, const QString& key) {
        connect(edit, &QLineEdit::textEdited, this, [this, &logging, key](const QString& text) {
            if (const auto clip = currentClip())
                logging.write(clip->id, key, text);
        });
    };
    writeOnEdit(m_sceneEdit, BinLogging::kScene);
    writeOnEdit(m_takeEdit, BinLogging::kTake);
    connect(&logging, &BinLogging::clipRead, this, [this](const QUuid& id) {
        if (const auto clip = currentClip(); clip && clip->id == id)
            loadCurrent();
    });
    connect(&store, &Store::itemsChanged, this, [this, &logging] {
        // Another file at the same place is loaded; the focus stays where it is.
        const auto clip = currentClip();
        if (m_appeared && (clip ? std::optional<QUuid>(clip->id) : std::nullopt) != logging.current())
            loadCurrent();
        refresh();
    });
    refresh();
}

LogModeView::~LogModeView()
{
    m_store.bin().logging().setCurrent(std::nullopt);
}

QString LogModeView::scene() const
{
    return m_sceneEdit->text();
}

QString LogModeView::take() const
{
    return m_takeEdit->text();
}

std::optional<FileItem> LogModeView::currentClip() const
{
    const QList<FileItem>& items = m_store.items();
    if (m_idx < 0 || m_idx >= items.size())
        return std::nullopt;
    return items.at(m_idx);
}

void LogModeView::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (m_appeared)
        return;
    m_appeared = true;
    loadCurrent();
    refresh();
    if (currentClip())
        setFocusField(Field::scene);
}

void LogModeView::loadCurrent()
{
    BinLogging& logging = m_store.bin().logging();
    const auto clip = currentClip();
    if (!clip) {
        logging.setCurrent(std::nullopt);
        setFields(QString(), QString());
        return;
    }
    const BinLogging::Loaded loaded = logging.load(*clip);
    setFields(loaded.scene, loaded.take);
}

void LogModeView::setFields(const QString& scene, const QString& take)
{
    // setText, not an edit: what loading shows is not written back.
    m_sceneEdit->setText(scene);
    m_takeEdit->setText(take);
}

void LogModeView::setFocusField(std::optional<Field> field)
{
    m_focus = field;
    if (!field)
        m_clip->setFocus();
    else
        (*field == Field::scene ? m_sceneEdit : m_takeEdit)->setFocus();
}

void LogModeView::move(int step)
{
    const qsizetype target = qsizetype(m_idx) + step;
    if (target < 0 || target >= m_store.items().size())
        return;
    m_idx = int(target);
    loadCurrent();
    refresh();
}

void LogModeView::advance()
{
    const QString previousScene = scene();
    const QString previousTake = take();
    if (m_idx >= m_store.items().size() - 1) {
        setFocusField(std::nullopt);
        return;
    }
    ++m_idx;
    loadCurrent();
    refresh();
    if (scene().isEmpty() && take().isEmpty()) {
        const QString filledTake = previousTake.isEmpty() ? QString() : LogTake::next(previousTake);
        setFields(previousScene, filledTake);
        // Filled values are stored as typed ones are, so Save writes them even when they equal
        // what the fields held before.
        BinLogging& logging = m_store.bin().logging();
        const QUuid id = currentClip()->id;
        if (!previousScene.isEmpty())
            logging.write(id, BinLogging::kScene, previousScene);
        if (!filledTake.isEmpty())
            logging.write(id, BinLogging::kTake, filledTake);
    }
    setFocusField(Field::scene);
}

void LogModeView::refresh()
{
    const QList<FileItem>& items = m_store.items();
    const auto clip = currentClip();
    m_hint->setVisible(items.isEmpty());
    m_clip->setVisible(clip.has_value());
    if (!clip)
        return;
    m_counter->setText(QString::number(m_idx + 1) + QStringLiteral(" / ") + QString::number(items.size()));
    m_name->setText(m_name->fontMetrics().elidedText(clip->name, Qt::ElideMiddle, kNameWidth));
    m_name->setToolTip(clip->name);
    m_prev->setEnabled(m_idx > 0);
    m_next->setEnabled(m_idx < items.size() - 1);
}

bool LogModeView::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_sceneEdit || watched == m_takeEdit) {
        // Swallowing the override hands Ctrl+Left/Right to the move keys instead of the
        // field's word moves.
        if (event->type() == QEvent::ShortcutOverride && isMoveKey(static_cast<QKeyEvent*>(event)))
            return true;
        if (event->type() == QEvent::FocusIn)
            m_focus = watched == m_sceneEdit ? Field::scene : Field::take;
    }
    return QWidget::eventFilter(watched, event);
}
