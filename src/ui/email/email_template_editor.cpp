#include "email/email_template_editor.h"

#include "common/lang_binder.h"
#include "common/segmented_control.h"
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

QLabel* smallLabel(QWidget* parent, double scale, bool bold, const char* color, const char* name = "")
{
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    QFont f = label->font();
    f.setPointSizeF(f.pointSizeF() * scale);
    f.setBold(bold);
    label->setFont(f);
    if (*color)
        label->setStyleSheet(QStringLiteral("color: %1;").arg(QString::fromLatin1(color)));
    label->setWordWrap(true);
    return label;
}

void setIfDifferent(QLineEdit* field, const QString& text)
{
    if (field->text() != text)
        field->setText(text);
}

}  // namespace

EmailTemplateEditor::EmailTemplateEditor(Store& store, QWidget* parent) : QWidget(parent), m_store(store)
{
    setObjectName("templateEditor");
    setAttribute(Qt::WA_StyledBackground, true);
    setStyleSheet(QStringLiteral("#templateEditor { background: palette(alternate-base); border-radius: 8px; }"));
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(12, 12, 12, 12);
    column->setSpacing(10);

    auto* top = new QHBoxLayout;
    m_name = new QLineEdit(this);
    m_name->setObjectName("templateNameField");
    m_name->setFixedWidth(220);
    m_mode = new SegmentedControl(this);
    m_mode->setObjectName("templateModePicker");
    m_mode->addSegment(EmailTemplate::rawValue(EmailTemplate::Mode::batch), int(EmailTemplate::Mode::batch));
    m_mode->addSegment(EmailTemplate::rawValue(EmailTemplate::Mode::perFile), int(EmailTemplate::Mode::perFile));
    m_mode->setFixedWidth(320);
    top->addWidget(m_name);
    top->addWidget(m_mode);
    top->addStretch(1);
    column->addLayout(top);

    auto* resetRow = new QHBoxLayout;
    m_resetAll = new QPushButton(this);
    m_resetAll->setObjectName("resetAllTemplatesButton");
    m_resetAll->setFlat(true);
    m_resetAll->setCursor(Qt::PointingHandCursor);
    m_resetAll->setStyleSheet(QStringLiteral("QPushButton { color: palette(link); border: none; padding: 0; }"));
    QFont small = m_resetAll->font();
    small.setPointSizeF(small.pointSizeF() * 0.85);
    m_resetAll->setFont(small);
    resetRow->addWidget(m_resetAll);
    resetRow->addStretch(1);
    column->addLayout(resetRow);

    auto* fieldsCaption = smallLabel(this, 0.85, true, "");
    column->addWidget(fieldsCaption);
    m_chipRow = new QHBoxLayout;
    m_chipRow->setSpacing(6);
    m_newField = new QLineEdit(this);
    m_newField->setObjectName("newFieldEntry");
    m_newField->setFixedWidth(120);
    m_newField->setFont(small);
    m_addField = new QPushButton(this);
    m_addField->setObjectName("addFieldButton");
    m_addField->setFlat(true);
    m_addField->setCursor(Qt::PointingHandCursor);
    m_addField->setStyleSheet(m_resetAll->styleSheet());
    m_addField->setFont(small);
    m_chipRow->addWidget(m_newField);
    m_chipRow->addWidget(m_addField);
    m_chipRow->addStretch(1);
    column->addLayout(m_chipRow);

    m_lineSection = new QWidget(this);
    auto* lineColumn = new QVBoxLayout(m_lineSection);
    lineColumn->setContentsMargins(0, 0, 0, 0);
    auto* lineCaption = smallLabel(m_lineSection, 0.75, false, "palette(mid)");
    m_line = new QLineEdit(m_lineSection);
    m_line->setObjectName("lineTemplateField");
    m_line->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    auto* reminder = smallLabel(m_lineSection, 0.75, false, "palette(midlight)", "lineTokenReminder");
    reminder->setText(QStringLiteral("%original_name %corrected_name %code %spotname %cuttype %timing %version"));
    lineColumn->addWidget(lineCaption);
    lineColumn->addWidget(m_line);
    lineColumn->addWidget(reminder);
    column->addWidget(m_lineSection);

    auto* bodyCaption = smallLabel(this, 0.85, true, "");
    column->addWidget(bodyCaption);
    m_body = new QPlainTextEdit(this);
    m_body->setObjectName("bodyEditor");
    m_body->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    m_body->setMinimumHeight(140);
    m_body->setMaximumHeight(220);
    m_body->setStyleSheet(QStringLiteral("QPlainTextEdit { border: 1px solid palette(mid); border-radius: 6px; }"));
    column->addWidget(m_body);
    m_tokenHelp = smallLabel(this, 0.75, false, "palette(mid)", "tokenHelp");
    column->addWidget(m_tokenHelp);
    auto* pluralHint = smallLabel(this, 0.75, false, "palette(mid)", "pluralHint");
    column->addWidget(pluralHint);

    LangBinder tr(store);
    tr.bindText(m_name, "Template name", "模板名称");
    tr.bindText(m_resetAll, "Reset all templates to defaults", "重置全部模板为默认");
    tr.bindText(fieldsCaption, "Custom fields", "自定义字段");
    tr.bindText(m_newField, "field name", "字段名");
    tr.bindText(m_addField, "Add", "添加");
    tr.bindText(lineCaption, "Line template — rendered once per file, joined lines become %filelist",
                "逐行模板 —— 每个文件渲染一行,拼接后作为正文里的 %filelist");
    tr.bindText(bodyCaption, "Body", "正文");
    tr.bindText(pluralHint,
                "Write \"file[s]\" or \"box[es]\" to get the plural in Batch (\"files\"/\"boxes\") and the "
                "singular in Per File (\"file\"/\"box\").",
                "写 \"file[s]\" 或 \"box[es]\":Batch 下自动变复数(files/boxes),Per File 下自动变单数(file/box)。");
    // The chips' remove buttons name themselves in the language of the moment.
    tr.bind(this, [this] {
        m_chipFields.clear();
        refresh();
    });

    EmailTab& tab = store.emailTab();
    auto update = [&tab](auto change) {
        if (const auto access = tab.templateBinding()) {
            EmailTemplate t = access->get();
            change(t);
            access->set(t);
        }
    };
    connect(m_name, &QLineEdit::textEdited, this,
            [update](const QString& text) { update([&](EmailTemplate& t) { t.name = text; }); });
    connect(m_mode, &SegmentedControl::activated, this,
            [update](int tag) { update([&](EmailTemplate& t) { t.mode = EmailTemplate::Mode(tag); }); });
    connect(m_line, &QLineEdit::textEdited, this,
            [update](const QString& text) { update([&](EmailTemplate& t) { t.lineTemplate = text; }); });
    connect(m_body, &QPlainTextEdit::textChanged, this, [this, update] {
        const QString text = m_body->toPlainText();
        update([&](EmailTemplate& t) { t.body = text; });
    });
    connect(m_resetAll, &QPushButton::clicked, this, [&tab] { tab.resetAllTemplates(); });
    connect(m_newField, &QLineEdit::textEdited, this, [&tab](const QString& text) { tab.setNewFieldName(text); });
    connect(m_newField, &QLineEdit::returnPressed, this, &EmailTemplateEditor::addField);
    connect(m_addField, &QPushButton::clicked, this, &EmailTemplateEditor::addField);
    refresh();
}

QPushButton* EmailTemplateEditor::removeButton(const QString& field) const
{
    const int i = int(m_chipFields.indexOf(field));
    return i < 0 ? nullptr : m_chips[i]->findChild<QPushButton*>();
}

void EmailTemplateEditor::addField()
{
    if (const auto access = m_store.emailTab().templateBinding())
        m_store.emailTab().addCustomField(*access);
}

void EmailTemplateEditor::rebuildChips(const QStringList& fields)
{
    // Later, not now: the click that removed a field is still being delivered to its chip.
    for (QWidget* chip : m_chips) {
        chip->hide();
        chip->deleteLater();
    }
    m_chips.clear();
    m_chipFields = fields;
    for (int i = 0; i < fields.size(); ++i) {
        const QString field = fields[i];
        auto* chip = new QWidget(this);
        chip->setObjectName(QStringLiteral("fieldChip"));
        chip->setAttribute(Qt::WA_StyledBackground, true);
        chip->setStyleSheet(QStringLiteral("#fieldChip { background: rgba(128, 128, 128, 38); border-radius: 10px; }"));
        auto* h = new QHBoxLayout(chip);
        h->setContentsMargins(6, 3, 6, 3);
        h->setSpacing(4);
        auto* name = new QLabel(field, chip);
        QFont f = name->font();
        f.setPointSizeF(f.pointSizeF() * 0.85);
        name->setFont(f);
        auto* remove = new QPushButton(chip);
        remove->setFlat(true);
        remove->setStyleSheet(QStringLiteral("QPushButton { border: none; padding: 0; }"));
        remove->setIconSize(QSize(12, 12));
        removeButtonLabel(remove);
        connect(remove, &QPushButton::clicked, this, [this, field] {
            if (const auto access = m_store.emailTab().templateBinding())
                m_store.emailTab().removeCustomField(*access, field);
        });
        h->addWidget(name);
        h->addWidget(remove);
        m_chipRow->insertWidget(i, chip);
        m_chips << chip;
    }
}

void EmailTemplateEditor::refresh()
{
    const auto access = m_store.emailTab().templateBinding();
    if (!access)
        return;
    const EmailTemplate t = access->get();
    setIfDifferent(m_name, t.name);
    m_mode->setCurrentTag(int(t.mode));
    setIfDifferent(m_line, t.lineTemplate);
    if (m_body->toPlainText() != t.body) {
        const QSignalBlocker block(m_body);
        m_body->setPlainText(t.body);
    }
    setIfDifferent(m_newField, m_store.emailTab().state().newFieldName);
    if (m_chipFields != t.customFields || m_chips.size() != t.customFields.size())
        rebuildChips(t.customFields);
    m_lineSection->setVisible(t.mode == EmailTemplate::Mode::batch);
    m_tokenHelp->setText(EmailTab::tokenHelp(t));
}
