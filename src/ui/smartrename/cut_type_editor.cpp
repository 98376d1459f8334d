#include "smartrename/cut_type_editor.h"

#include "common/icons.h"
#include "common/lang_binder.h"
#include "model/store.h"
#include "platform/lang.h"
#include "smartrename/smart_rename_editors.h"
#include "smartrename/smart_rename_widgets.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
// A field counts as being typed in from its first edit until its editing finishes; the Store's
// echo of each keystroke leaves it alone meanwhile. (Focus alone is not enough: a field keeps
// its text through the echo even while its window is not the active one.)
constexpr char kTyping[] = "typing";

bool isTyping(const QLineEdit* field)
{
    return field->hasFocus() || field->property(kTyping).toBool();
}

const SmartRename::CutType* findCutType(const Store& store, const QUuid& id)
{
    for (const SmartRename::CutType& c : store.smart().customCutTypes)
        if (c.id == id)
            return &c;
    return nullptr;
}
}  // namespace

CutTypeEditor::CutTypeEditor(Store& store, QWidget* parent) : QWidget(parent), m_store(store)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(6);
    auto* header = new QHBoxLayout;
    auto* heading = smartHeading(this, "cutTypesHeading");
    m_add = smartLinkButton(this, "addCutTypeButton");
    m_add->setIcon(symbolIcon("plus"));
    m_reset = smartLinkButton(this, "resetCutTypesButton");
    header->addWidget(heading);
    header->addStretch(1);
    header->addWidget(m_add);
    header->addWidget(m_reset);
    layout->addLayout(header);
    m_rowsLayout = new QVBoxLayout;
    m_rowsLayout->setSpacing(4);
    layout->addLayout(m_rowsLayout);

    LangBinder tr(store);
    tr.bindText(heading, "Cut types", "片型词表");
    tr.bindText(m_add, "Add", "添加");
    tr.bindText(m_reset, "Reset to defaults", "恢复默认");
    rebuild();
    connect(m_add, &QPushButton::clicked, this, [this] { m_store.smartEditors().addCutType(); });
    connect(m_reset, &QPushButton::clicked, this, [this] { m_store.smartEditors().resetCutTypes(); });
    connect(&store, &Store::smartChanged, this, &CutTypeEditor::follow);
}

// Rows are rebuilt only when cut types come or go; otherwise each field that is not being
// typed in shows the stored text.
void CutTypeEditor::follow()
{
    const QList<SmartRename::CutType>& list = m_store.smart().customCutTypes;
    bool sameRows = list.size() == m_rows.size();
    for (qsizetype i = 0; sameRows && i < list.size(); ++i)
        sameRows = list[i].id == m_rows[i].id;
    if (!sameRows)
        return rebuild();
    for (qsizetype i = 0; i < list.size(); ++i) {
        const Row& row = m_rows[i];
        if (!isTyping(row.name) && row.name->text() != list[i].canonical)
            row.name->setText(list[i].canonical);
        const QString variants = SmartRename::cutTypeVariantsText(list[i]);
        if (!isTyping(row.variants) && row.variants->text() != variants)
            row.variants->setText(variants);
    }
}

void CutTypeEditor::rebuild()
{
    for (const Row& row : std::as_const(m_rows)) {
        row.widget->hide();
        row.widget->deleteLater();  // a delete button's own click can rebuild the rows
    }
    m_rows.clear();
    for (const SmartRename::CutType& c : m_store.smart().customCutTypes)
        m_rows << makeRow(c.id);
    follow();
}

CutTypeEditor::Row CutTypeEditor::makeRow(const QUuid& id)
{
    Row row;
    row.id = id;
    row.widget = new QWidget(this);
    auto* h = new QHBoxLayout(row.widget);
    h->setContentsMargins(0, 0, 0, 0);
    row.name = new QLineEdit(row.widget);
    row.name->setObjectName("cutTypeName");
    row.name->setFixedWidth(130);
    row.variants = new QLineEdit(row.widget);
    row.variants->setObjectName("cutTypeVariants");
    row.remove = new QToolButton(row.widget);
    row.remove->setObjectName("deleteCutTypeButton");
    row.remove->setIcon(symbolIcon("trash"));
    row.remove->setAutoRaise(true);
    h->addWidget(row.name);
    h->addWidget(row.variants, 1);
    h->addWidget(row.remove);
    m_rowsLayout->addWidget(row.widget);

    LangBinder tr(m_store);
    tr.bindText(row.name, "Name, e.g. Sizzle", "名称,如 Sizzle");
    tr.bindText(row.variants, "Variants, comma-separated, e.g. SIZZLE, SZL", "变体,逗号分隔,如 SIZZLE, SZL");
    tr.bind(row.remove, [remove = row.remove] {
        const QString label = L("Delete", "删除");
        remove->setToolTip(label);
        remove->setAccessibleName(label);
    });

    Store& store = m_store;
    QLineEdit* name = row.name;
    QLineEdit* variants = row.variants;
    connect(row.name, &QLineEdit::textEdited, this, [&store, id, name](const QString& text) {
        name->setProperty(kTyping, true);
        store.smartEditors().setCutTypeName(id, text);
    });
    connect(row.name, &QLineEdit::editingFinished, this, [name] { name->setProperty(kTyping, false); });
    connect(row.variants, &QLineEdit::textEdited, this, [&store, id, variants](const QString& text) {
        variants->setProperty(kTyping, true);
        store.smartEditors().setCutTypeVariants(id, text);
    });
    connect(row.variants, &QLineEdit::editingFinished, this, [&store, id, variants] {
        variants->setProperty(kTyping, false);
        if (const SmartRename::CutType* c = findCutType(store, id))
            variants->setText(SmartRename::cutTypeVariantsText(*c));
    });
    connect(row.remove, &QToolButton::clicked, this, [&store, id] { store.smartEditors().deleteCutType(id); });
    return row;
}
