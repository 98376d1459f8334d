#include "smartrename/teach_word_popup.h"

#include "common/icons.h"
#include "common/lang_binder.h"
#include "model/store.h"
#include "platform/lang.h"
#include "smartrename/smart_rename_editors.h"
#include "smartrename/smart_rename_widgets.h"

#include <QFontDatabase>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QVBoxLayout>

namespace {
QHBoxLayout* fieldRow(QLabel* label, QLineEdit* field)
{
    QFont f = label->font();
    f.setPointSizeF(f.pointSizeF() * 0.85);
    label->setFont(f);
    label->setFixedWidth(70);
    auto* h = new QHBoxLayout;
    h->addWidget(label);
    h->addWidget(field, 1);
    return h;
}
}  // namespace

TeachWordPopup::TeachWordPopup(Store& store, QWidget* parent) : QFrame(parent, Qt::Popup), m_store(store)
{
    setObjectName("teachWordPopup");
    setFrameShape(QFrame::StyledPanel);
    setFixedWidth(300);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 16);
    layout->setSpacing(10);

    auto* title = new QLabel(this);
    title->setObjectName("teachTitle");
    QFont headline = title->font();
    headline.setBold(true);
    title->setFont(headline);
    auto* explanation = smartCaption(this, "teachExplanation");
    explanation->setWordWrap(true);
    explanation->setFixedWidth(260);
    m_word = new QLineEdit(this);
    m_word->setObjectName("teachWordField");
    m_word->setPlaceholderText("IMMORTALGAME");
    m_split = new QLineEdit(this);
    m_split->setObjectName("teachSplitField");
    m_split->setPlaceholderText("Immortal Game");
    auto* wordLabel = new QLabel(this);
    auto* splitLabel = new QLabel(this);
    m_save = new QPushButton(this);
    m_save->setObjectName("teachSaveButton");
    m_save->setDefault(true);
    auto* saveRow = new QHBoxLayout;
    saveRow->addStretch(1);
    saveRow->addWidget(m_save);

    m_divider = smartDivider(this);
    m_listHeading = smartHeading(this, "taughtWordsHeading");
    m_scroll = new QScrollArea(this);
    m_scroll->setWidgetResizable(true);
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->setMaximumHeight(140);
    m_list = new QWidget;
    m_list->setObjectName("taughtWordsList");
    m_listLayout = new QVBoxLayout(m_list);
    m_listLayout->setContentsMargins(0, 0, 0, 0);
    m_listLayout->setSpacing(4);
    m_scroll->setWidget(m_list);

    layout->addWidget(title);
    layout->addWidget(explanation);
    layout->addLayout(fieldRow(wordLabel, m_word));
    layout->addLayout(fieldRow(splitLabel, m_split));
    layout->addLayout(saveRow);
    layout->addWidget(m_divider);
    layout->addWidget(m_listHeading);
    layout->addWidget(m_scroll);

    LangBinder tr(store);
    tr.bindText(title, "Teach a compound word", "教一个复合词的拆分");
    tr.bindText(explanation,
                "For a word that doesn't split correctly on its own (e.g. brand names or project codenames).",
                "适用于自动识别拆不对的词(比如品牌名或项目代号)。");
    tr.bindText(wordLabel, "Word", "词");
    tr.bindText(splitLabel, "Split as", "拆成");
    tr.bindText(m_save, "Save", "保存");
    tr.bindText(m_listHeading, "Taught words", "已教过的词");
    tr.bind(this, [this] { rebuildList(); });

    connect(m_word, &QLineEdit::textChanged, this, &TeachWordPopup::refresh);
    connect(m_split, &QLineEdit::textChanged, this, &TeachWordPopup::refresh);
    // Return only ends the edit; the Save button alone saves.
    for (QLineEdit* field : {m_word, m_split})
        connect(field, &QLineEdit::returnPressed, field, [field] { field->deselect(); });
    connect(m_save, &QPushButton::clicked, this, &TeachWordPopup::saveTaughtWord);
    connect(&store, &Store::smartChanged, this, &TeachWordPopup::rebuildList);
    refresh();
}

void TeachWordPopup::open(QWidget* anchor)
{
    m_word->clear();
    m_split->clear();
    adjustSize();
    QPoint at = anchor->mapToGlobal(QPoint(0, anchor->height()));
    if (const QScreen* screen = anchor->screen()) {
        const QRect area = screen->availableGeometry();
        at.setX(std::clamp(at.x(), area.left(), std::max(area.left(), area.right() - width())));
        if (at.y() + height() > area.bottom())
            at.setY(anchor->mapToGlobal(QPoint(0, 0)).y() - height());
    }
    move(at);
    show();
    m_word->setFocus();
}

void TeachWordPopup::saveTaughtWord()
{
    if (!m_store.smartEditors().teachWord(m_word->text(), m_split->text()))
        return;
    m_word->clear();
    m_split->clear();
}

void TeachWordPopup::refresh()
{
    m_save->setEnabled(SmartRename::canTeach(m_word->text(), m_split->text()));
}

QStringList TeachWordPopup::listedKeys() const
{
    return m_shown.keys();
}

QPushButton* TeachWordPopup::removeButton(const QString& key) const
{
    return m_removeButtons.value(key);
}

void TeachWordPopup::rebuildList()
{
    const QMap<QString, QStringList>& splits = m_store.smart().learnedWordSplits;
    const QStringList keys = splits.keys();  // ordered by plain text comparison
    if (!m_removeButtons.isEmpty() && splits == m_shown && m_shownZh == Lang::zh())
        return;
    m_shown = splits;
    m_shownZh = Lang::zh();
    m_removeButtons.clear();
    while (QLayoutItem* item = m_listLayout->takeAt(0)) {
        if (QWidget* w = item->widget()) {
            w->hide();
            w->deleteLater();  // the remove button's own click rebuilds the list
        }
        delete item;
    }
    for (const QString& key : keys) {
        auto* row = new QWidget(m_list);
        auto* h = new QHBoxLayout(row);
        h->setContentsMargins(0, 0, 0, 0);
        auto* keyLabel = new QLabel(key, row);
        keyLabel->setObjectName("taughtKey");
        QFont mono = QFontDatabase::systemFont(QFontDatabase::FixedFont);
        mono.setPointSizeF(font().pointSizeF() * 0.85);
        keyLabel->setFont(mono);
        auto* arrow = new QLabel(row);
        arrow->setPixmap(symbolIcon("arrow.right").pixmap(10, 10));
        auto* words = smartCaption(row, "taughtWords");
        words->setStyleSheet({});
        words->setText(splits.value(key).join(u' '));
        auto* remove = new QPushButton(symbolIcon("xmark.circle.fill"), {}, row);
        remove->setObjectName("forgetButton");
        remove->setFlat(true);
        m_removeButtons.insert(key, remove);
        remove->setAccessibleName(L("Remove", "移除"));
        remove->setToolTip(L("Remove", "移除"));
        h->addWidget(keyLabel);
        h->addWidget(arrow);
        h->addWidget(words);
        h->addStretch(1);
        h->addWidget(remove);
        m_listLayout->addWidget(row);
        connect(remove, &QPushButton::clicked, this, [this, key] { m_store.smartEditors().forgetWord(key); });
    }
    const bool any = !keys.isEmpty();
    m_divider->setVisible(any);
    m_listHeading->setVisible(any);
    m_scroll->setVisible(any);
    if (isVisible())
        adjustSize();
}
