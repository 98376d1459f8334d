#include "email/email_results_view.h"

#include "common/clipboard.h"
#include "common/icons.h"
#include "common/lang_binder.h"
#include "email/email_labels.h"
#include "email/email_tab.h"
#include "model/store.h"
#include "platform/lang.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QLabel* captionLabel(QWidget* parent, bool bold, const char* name)
{
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    QFont f = label->font();
    f.setPointSizeF(f.pointSizeF() * 0.85);
    f.setBold(bold);
    label->setFont(f);
    if (!bold)
        label->setStyleSheet(QStringLiteral("color: palette(mid);"));
    return label;
}

QPlainTextEdit* resultEditor(QWidget* parent, int minHeight, int maxHeight)
{
    auto* e = new QPlainTextEdit(parent);
    e->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    e->setMinimumHeight(minHeight);
    e->setMaximumHeight(maxHeight);
    e->setStyleSheet(QStringLiteral("QPlainTextEdit { border: 1px solid palette(mid); border-radius: 6px; }"));
    return e;
}

void setIfDifferent(QPlainTextEdit* editor, const QString& text)
{
    if (editor->toPlainText() == text)
        return;
    const QSignalBlocker block(editor);
    editor->setPlainText(text);
}

}  // namespace

EmailSourcesView::EmailSourcesView(Store& store, QWidget* parent) : QWidget(parent), m_store(store)
{
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(14);
    auto* sourceRow = new QHBoxLayout;
    m_source = captionLabel(this, false, "sourceLabel");
    m_useLoaded = new QPushButton(this);
    m_useLoaded->setObjectName("useLoadedFilesButton");
    m_useLoaded->setFlat(true);
    m_useLoaded->setCursor(Qt::PointingHandCursor);
    m_useLoaded->setFont(m_source->font());
    m_useLoaded->setStyleSheet(QStringLiteral("QPushButton { color: palette(link); border: none; padding: 0; }"));
    sourceRow->addWidget(m_source);
    sourceRow->addWidget(m_useLoaded);
    sourceRow->addStretch(1);
    column->addLayout(sourceRow);

    m_customSection = new QWidget(this);
    auto* custom = new QVBoxLayout(m_customSection);
    custom->setContentsMargins(0, 0, 0, 0);
    custom->setSpacing(6);
    auto* customCaption = captionLabel(m_customSection, false, "customValuesCaption");
    custom->addWidget(customCaption);
    m_fieldRow = new QHBoxLayout;
    m_fieldRow->addStretch(1);
    custom->addLayout(m_fieldRow);
    column->addWidget(m_customSection);

    LangBinder tr(store);
    tr.bindText(m_useLoaded, "Use loaded files", "使用已加载文件");
    tr.bindText(customCaption, "Fill in this email's custom fields", "填写这封邮件的自定义字段");
    tr.bind(this, [this] { refresh(); });
    connect(m_useLoaded, &QPushButton::clicked, this, [this] { m_store.emailTab().useLoadedFiles(); });
}

QLineEdit* EmailSourcesView::customValueField(const QString& field) const
{
    const int i = int(m_fieldNames.indexOf(field));
    return i < 0 ? nullptr : m_fields[i];
}

void EmailSourcesView::refresh()
{
    const EmailTabState& s = m_store.emailTab().state();
    m_source->setText(s.sourceLabel.isEmpty() ? L("No files loaded.", "还没有加载文件。") : s.sourceLabel);
    const auto t = m_store.emailTab().selectedTemplate();
    const QStringList names = t ? t->customFields : QStringList{};
    m_customSection->setVisible(!names.isEmpty());
    if (names != m_fieldNames) {
        qDeleteAll(m_fields);
        m_fields.clear();
        m_fieldNames = names;
        for (int i = 0; i < names.size(); ++i) {
            const QString name = names[i];
            auto* field = new QLineEdit(m_customSection);
            field->setPlaceholderText(name);
            field->setFixedWidth(160);
            connect(field, &QLineEdit::textEdited, this,
                    [this, name](const QString& text) { m_store.emailTab().setCustomValue(name, text); });
            m_fieldRow->insertWidget(i, field);
            m_fields << field;
        }
    }
    for (int i = 0; i < m_fields.size(); ++i) {
        const QString value = s.customValues.value(m_fieldNames[i]);
        if (m_fields[i]->text() != value)
            m_fields[i]->setText(value);
    }
}

EmailResultsView::EmailResultsView(Store& store, Clipboard& clipboard, QWidget* parent)
    : QWidget(parent), m_store(store), m_clipboard(clipboard)
{
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);

    m_batch = new QWidget(this);
    auto* batch = new QVBoxLayout(m_batch);
    batch->setContentsMargins(0, 0, 0, 0);
    batch->setSpacing(6);
    auto* batchHeader = new QHBoxLayout;
    auto* resultCaption = captionLabel(m_batch, true, "resultCaption");
    m_copy = new QPushButton(symbolIcon(QStringLiteral("doc.on.doc")), QString(), m_batch);
    m_copy->setObjectName("copyResultButton");
    batchHeader->addWidget(resultCaption);
    batchHeader->addStretch(1);
    batchHeader->addWidget(m_copy);
    batch->addLayout(batchHeader);
    m_batchText = resultEditor(m_batch, 200, 420);
    m_batchText->setObjectName("batchResultEditor");
    batch->addWidget(m_batchText);
    column->addWidget(m_batch);

    m_perFile = new QWidget(this);
    auto* perFile = new QVBoxLayout(m_perFile);
    perFile->setContentsMargins(0, 0, 0, 0);
    perFile->setSpacing(10);
    auto* perFileHeader = new QHBoxLayout;
    m_header = captionLabel(m_perFile, true, "resultsHeader");
    m_copyAll = new QPushButton(symbolIcon(QStringLiteral("doc.on.doc")), QString(), m_perFile);
    m_copyAll->setObjectName("copyAllButton");
    perFileHeader->addWidget(m_header);
    perFileHeader->addStretch(1);
    perFileHeader->addWidget(m_copyAll);
    perFile->addLayout(perFileHeader);
    m_cards = new QVBoxLayout;
    m_cards->setSpacing(10);
    perFile->addLayout(m_cards);
    column->addWidget(m_perFile);

    LangBinder tr(store);
    tr.bindText(resultCaption, "Result", "结果");
    tr.bindText(m_copy, "Copy", "复制");
    tr.bindText(m_copyAll, "Copy All (joined)", "全部复制(拼接)");
    tr.bind(this, [this] {
        m_cardIds.clear();  // the cards' copy buttons name themselves in the new language
        refresh();
    });

    EmailTab& tab = store.emailTab();
    connect(m_batchText, &QPlainTextEdit::textChanged, this,
            [this, &tab] { tab.setBatchResult(m_batchText->toPlainText()); });
    connect(m_copy, &QPushButton::clicked, this, [this, &tab] { m_clipboard.setText(tab.state().batchResult); });
    connect(m_copyAll, &QPushButton::clicked, this,
            [this, &tab] { m_clipboard.setText(EmailTab::joinedTexts(tab.state().perFileResults)); });
}

void EmailResultsView::rebuildCards()
{
    qDeleteAll(m_cardWidgets);
    m_cardWidgets.clear();
    m_cardTexts.clear();
    m_cardCopies.clear();
    m_cardIds.clear();
    EmailTab& tab = m_store.emailTab();
    for (const RenderedEmail& r : tab.state().perFileResults) {
        const QUuid id = r.id;
        auto* card = new QWidget(m_perFile);
        card->setObjectName("resultCard");
        auto* v = new QVBoxLayout(card);
        v->setContentsMargins(0, 0, 0, 0);
        v->setSpacing(4);
        auto* header = new QHBoxLayout;
        auto* title = captionLabel(card, false, "resultTitle");
        title->setText(r.title);
        auto* copy = new QPushButton(card);
        copy->setObjectName("copyCardButton");
        copy->setFlat(true);
        copy->setStyleSheet(QStringLiteral("QPushButton { border: none; padding: 0; }"));
        copyButtonLabel(copy);
        header->addWidget(title);
        header->addStretch(1);
        header->addWidget(copy);
        v->addLayout(header);
        auto* text = resultEditor(card, 90, 160);
        text->setPlainText(r.text);
        v->addWidget(text);
        connect(text, &QPlainTextEdit::textChanged, this,
                [&tab, id, text] { tab.setResultText(id, text->toPlainText()); });
        connect(copy, &QPushButton::clicked, this, [this, &tab, id] {
            for (const RenderedEmail& e : tab.state().perFileResults)
                if (e.id == id)
                    m_clipboard.setText(e.text);
        });
        m_cards->addWidget(card);
        m_cardWidgets << card;
        m_cardTexts << text;
        m_cardCopies << copy;
        m_cardIds << id;
    }
}

void EmailResultsView::refresh()
{
    EmailTab& tab = m_store.emailTab();
    const EmailTabState& s = tab.state();
    const auto t = tab.selectedTemplate();
    const bool showBatch = t && t->mode == EmailTemplate::Mode::batch && !s.batchResult.isEmpty();
    const bool showPerFile = !showBatch && !s.perFileResults.isEmpty();
    m_batch->setVisible(showBatch);
    m_perFile->setVisible(showPerFile);
    setIfDifferent(m_batchText, s.batchResult);

    QList<QUuid> ids;
    for (const RenderedEmail& r : s.perFileResults)
        ids << r.id;
    if (ids != m_cardIds)
        rebuildCards();
    for (int i = 0; i < m_cardTexts.size(); ++i)
        setIfDifferent(m_cardTexts[i], s.perFileResults[i].text);
    const qsizetype n = s.perFileResults.size();
    m_header->setText(L(QStringLiteral("Results (%1)").arg(n), QStringLiteral("结果(%1)").arg(n)));
}
