#include "email/email_template_row.h"

#include "common/dialogs.h"
#include "common/icons.h"
#include "common/lang_binder.h"
#include "email/email_tab.h"
#include "model/store.h"
#include "platform/lang.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

namespace {

QPushButton* linkButton(QWidget* parent, const char* name, const char* symbol)
{
    auto* b = new QPushButton(parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setIcon(symbolIcon(QString::fromLatin1(symbol)));
    b->setFlat(true);
    b->setCursor(Qt::PointingHandCursor);
    b->setStyleSheet(QStringLiteral("QPushButton { color: palette(link); border: none; padding: 2px 4px; }"
                                    "QPushButton:disabled { color: palette(mid); }"));
    return b;
}

}  // namespace

EmailTemplateRow::EmailTemplateRow(Store& store, Dialogs& dialogs, QWidget* parent)
    : QWidget(parent), m_store(store), m_dialogs(dialogs)
{
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    auto* caption = new QLabel(this);
    caption->setObjectName("templateCaption");
    QFont f = caption->font();
    f.setPointSizeF(f.pointSizeF() * 0.85);
    caption->setFont(f);
    caption->setStyleSheet(QStringLiteral("color: palette(mid);"));
    m_picker = new QComboBox(this);
    m_picker->setObjectName("templatePicker");
    m_picker->setMaximumWidth(320);
    m_picker->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    m_new = linkButton(this, "newTemplateButton", "plus");
    m_duplicate = linkButton(this, "duplicateTemplateButton", "plus.square.on.square");
    m_delete = linkButton(this, "deleteTemplateButton", "trash");
    m_import = linkButton(this, "importTemplatesButton", "square.and.arrow.down");
    m_export = linkButton(this, "exportTemplatesButton", "square.and.arrow.up");
    m_edit = new QPushButton(symbolIcon(QStringLiteral("square.and.pencil")), QString(), this);
    m_edit->setObjectName("editTemplateButton");
    m_edit->setCheckable(true);
    row->addWidget(caption);
    row->addWidget(m_picker);
    for (QPushButton* b : {m_new, m_duplicate, m_delete, m_import, m_export, m_edit})
        row->addWidget(b);
    row->addStretch(1);

    LangBinder tr(store);
    tr.bindText(caption, "Template", "模板");
    tr.bindText(m_new, "New", "新建");
    tr.bindText(m_duplicate, "Duplicate", "复制");
    tr.bindText(m_delete, "Delete", "删除");
    tr.bindText(m_import, "Import", "导入");
    tr.bindText(m_export, "Export", "导出");
    tr.bindText(m_edit, "Edit", "编辑");

    EmailTab& tab = store.emailTab();
    connect(m_picker, &QComboBox::activated, this,
            [this, &tab](int index) { tab.select(m_picker->itemData(index).toUuid()); });
    connect(m_new, &QPushButton::clicked, this, [&tab] { tab.newTemplate(); });
    connect(m_duplicate, &QPushButton::clicked, this, [&tab] {
        if (const auto t = tab.selectedTemplate())
            tab.duplicateTemplate(*t);
    });
    connect(m_delete, &QPushButton::clicked, this, [&tab] {
        if (const auto t = tab.selectedTemplate())
            tab.deleteTemplate(t->id);
    });
    connect(m_import, &QPushButton::clicked, this, &EmailTemplateRow::importTemplates);
    connect(m_export, &QPushButton::clicked, this, &EmailTemplateRow::exportTemplates);
    connect(m_edit, &QPushButton::clicked, this, [&tab] { tab.setShowEditor(!tab.state().showEditor); });
    refresh();
}

void EmailTemplateRow::refresh()
{
    const QList<EmailTemplate>& list = m_store.email().emailTemplates;
    const auto selected = m_store.emailTab().selectedTemplate();
    // Rebuilt only when an entry changed, so an open popup is not disturbed by other edits.
    bool same = m_picker->count() == list.size();
    for (int i = 0; same && i < list.size(); ++i)
        same = m_picker->itemData(i).toUuid() == list[i].id
            && m_picker->itemText(i) == list[i].name + QStringLiteral(" — ") + EmailTemplate::rawValue(list[i].mode);
    if (!same) {
        const QSignalBlocker block(m_picker);
        m_picker->clear();
        for (const EmailTemplate& t : list)
            m_picker->addItem(t.name + QStringLiteral(" — ") + EmailTemplate::rawValue(t.mode), t.id);
    }
    m_picker->setCurrentIndex(selected ? m_picker->findData(selected->id) : -1);
    m_duplicate->setVisible(selected.has_value());
    m_delete->setVisible(selected.has_value());
    m_export->setEnabled(!list.isEmpty());
    m_edit->setChecked(m_store.emailTab().state().showEditor);
}

void EmailTemplateRow::importTemplates()
{
    Dialogs::OpenPanel panel;
    panel.multiple = false;
    panel.nameFilters = {L("JSON (*.json)", "JSON (*.json)"), L("All files (*)", "所有文件 (*)")};
    const Dialogs::OpenResult r = m_dialogs.openPanel(panel);
    if (!r.accepted())
        return;
    m_store.emailTab().importTemplates(r.paths.first());
}

void EmailTemplateRow::exportTemplates()
{
    Dialogs::SavePanel panel;
    panel.fileName = QStringLiteral("EmailTemplates.json");
    panel.nameFilters = {L("JSON (*.json)", "JSON (*.json)")};
    const std::optional<QString> path = m_dialogs.savePanel(panel);
    if (!path || path->isEmpty())
        return;
    m_store.emailTab().exportTemplates(*path);
}
