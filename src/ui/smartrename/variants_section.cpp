#include "smartrename/variants_section.h"

#include "common/icons.h"
#include "common/lang_binder.h"
#include "common/prompts.h"
#include "model/store.h"
#include "platform/lang.h"
#include "smartrename/smart_rename_widgets.h"
#include "smartrename/smart_variants.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
const SmartVariant* findVariant(const Store& store, const QUuid& id)
{
    for (const SmartVariant& v : store.smart().smartVariants)
        if (v.id == id)
            return &v;
    return nullptr;
}

QToolButton* iconButton(QWidget* parent, const char* name, const char* symbol)
{
    auto* b = new QToolButton(parent);
    b->setObjectName(name);
    b->setIcon(symbolIcon(symbol));
    b->setAutoRaise(true);
    return b;
}
}  // namespace

VariantsSection::VariantsSection(Store& store, Dialogs& dialogs, QWidget* parent)
    : QWidget(parent), m_store(store), m_dialogs(dialogs)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 6, 0, 0);
    layout->setSpacing(8);
    auto* explanation = smartCaption(this, "variantsExplanation", true);
    explanation->setWordWrap(true);
    layout->addWidget(explanation);

    auto* buttons = new QHBoxLayout;
    m_save = new QPushButton(symbolIcon("plus"), {}, this);
    m_save->setObjectName("saveVariantButton");
    m_copyPreset = new QPushButton(this);
    m_copyPreset->setObjectName("copyPresetButton");
    auto* copyMenu = new QMenu(m_copyPreset);
    m_copyPreset->setMenu(copyMenu);
    buttons->addWidget(m_save);
    buttons->addWidget(m_copyPreset);
    buttons->addStretch(1);
    layout->addLayout(buttons);
    m_rowsLayout = new QVBoxLayout;
    m_rowsLayout->setSpacing(4);
    layout->addLayout(m_rowsLayout);

    LangBinder tr(store);
    tr.bindText(explanation,
                "A variant is a saved set of Batch Rules (suffix, find & replace, case…) applied on top of the "
                "recognized names. Set the rules up in Batch Rules, then save them here — or pick a saved Batch "
                "Rules preset straight from the Variants menu.",
                "变体 = 一组保存下来的 Batch Rules 规则(后缀、查找替换、大小写、日期…),套用在识别出的名字之上。"
                "先在 Batch Rules 里设好规则再存到这里;也可以直接在「变体」菜单里选 Batch Rules 已存的预设。");
    tr.bindText(m_save, "Save current Batch Rules as variant", "把当前 Batch Rules 存为变体");
    tr.bindText(m_copyPreset, "Copy from saved preset", "复制已存预设为变体");
    tr.bind(this, [this] { rebuild(); });

    connect(m_save, &QPushButton::clicked, this, &VariantsSection::saveCurrentRulesAsVariant);
    connect(copyMenu, &QMenu::aboutToShow, this, [this, copyMenu] {
        copyMenu->clear();
        for (const QString& name : m_store.presetNames())
            connect(copyMenu->addAction(name), &QAction::triggered, this,
                    [this, name] { m_store.variants().copyPresetAsVariant(name); });
    });
    connect(&store, &Store::smartChanged, this, &VariantsSection::follow);
    connect(&store, &Store::presetsChanged, this, &VariantsSection::follow);
}

void VariantsSection::saveCurrentRulesAsVariant()
{
    m_store.variants().saveCurrentRulesAsVariant([this] {
        return promptText(m_dialogs, L("Save variant", "保存变体"), L("Name this variant:", "给这个变体起个名字:"),
                          QString());
    });
}

// Rows are rebuilt only when variants come or go, so a name field keeps its cursor while typed in.
void VariantsSection::follow()
{
    m_copyPreset->setVisible(!m_store.presetNames().isEmpty());
    const QList<SmartVariant>& list = m_store.smart().smartVariants;
    bool sameRows = list.size() == m_rows.size();
    for (qsizetype i = 0; sameRows && i < list.size(); ++i)
        sameRows = list[i].id == m_rows[i].id;
    if (!sameRows)
        return rebuild();
    const bool noResults = m_store.smart().smartRenameRows.isEmpty();
    for (qsizetype i = 0; i < list.size(); ++i) {
        const Row& row = m_rows[i];
        if (!row.name->hasFocus() && !row.name->property("typing").toBool() && row.name->text() != list[i].name)
            row.name->setText(list[i].name);
        const QString summary = list[i].rules.summary();
        row.summary->setText(summary.isEmpty() ? L("(no rules)", "(无规则)") : summary);
        row.apply->setEnabled(!noResults);
    }
}

void VariantsSection::rebuild()
{
    for (const Row& row : std::as_const(m_rows)) {
        row.widget->hide();
        row.widget->deleteLater();  // a delete button's own click can rebuild the rows
    }
    m_rows.clear();
    for (const SmartVariant& v : m_store.smart().smartVariants)
        m_rows << makeRow(v.id);
    follow();
}

VariantsSection::Row VariantsSection::makeRow(const QUuid& id)
{
    Row row;
    row.id = id;
    row.widget = new QWidget(this);
    auto* h = new QHBoxLayout(row.widget);
    h->setContentsMargins(0, 0, 0, 0);
    h->setSpacing(8);
    row.name = new QLineEdit(row.widget);
    row.name->setObjectName("variantName");
    row.name->setPlaceholderText(L("Variant name", "变体名称"));
    row.name->setMaximumWidth(220);
    row.summary = smartCaption(row.widget, "variantSummary");
    row.update = iconButton(row.widget, "updateVariantButton", "arrow.triangle.2.circlepath");
    row.apply = iconButton(row.widget, "applyVariantButton", "play.fill");
    row.remove = iconButton(row.widget, "deleteVariantButton", "trash");
    row.update->setAccessibleName(L("Update variant from current rules", "用当前规则更新变体"));
    row.update->setToolTip(
        L("Replace this variant's rules with the current Batch Rules", "用当前 Batch Rules 覆盖这个变体的规则"));
    row.apply->setAccessibleName(L("Apply to all names", "套用到全部名字"));
    row.apply->setToolTip(L("Apply to every name in the results list", "套用到结果列表里的全部名字"));
    row.remove->setAccessibleName(L("Delete variant", "删除变体"));
    row.remove->setToolTip(L("Delete variant", "删除变体"));
    h->addWidget(row.name);
    h->addWidget(row.summary, 1);
    h->addWidget(row.update);
    h->addWidget(row.apply);
    h->addWidget(row.remove);
    m_rowsLayout->addWidget(row.widget);

    Store& store = m_store;
    QLineEdit* name = row.name;
    connect(row.name, &QLineEdit::textEdited, this, [&store, id, name](const QString& text) {
        name->setProperty("typing", true);  // the Store's echo leaves the field alone until it finishes
        store.variants().renameVariant(id, text, false);
    });
    connect(row.name, &QLineEdit::editingFinished, this, [&store, id, name] {
        name->setProperty("typing", false);
        store.variants().renameVariant(id, name->text(), true);
    });
    connect(row.update, &QToolButton::clicked, this,
            [&store, id] { store.variants().updateVariantFromCurrentRules(id); });
    connect(row.apply, &QToolButton::clicked, this, [&store, id] {
        if (const SmartVariant* v = findVariant(store, id))
            store.variants().applyVariantToAll(*v);
    });
    connect(row.remove, &QToolButton::clicked, this, [&store, id] { store.variants().deleteVariant(id); });
    return row;
}
