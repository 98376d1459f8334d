#include "rules_form.h"

#include "common/section_box.h"
#include "common/shown.h"
#include "model/presets.h"
#include "model/store.h"
#include "platform/lang.h"
#include "regex_help_view.h"
#include "rule_card.h"
#include "rules_style.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QScrollArea>
#include <QShowEvent>
#include <QSpinBox>
#include <QVBoxLayout>

RulesForm::RulesForm(Store& store, Dialogs& dialogs, QWidget* parent)
    : QWidget(parent), m_store(store), m_tr(store), m_controls(store, this),
      m_editors(m_controls, [this] { showRegexHelp(); }), m_sections(m_controls)
{
    auto* column = new QVBoxLayout(this);
    column->setSpacing(12);
    column->setAlignment(Qt::AlignTop);

    m_presets = new PresetsHeader(store, dialogs);
    column->addWidget(m_presets);

    auto* aiBox = new QGroupBox;
    auto* aiLayout = new QVBoxLayout(aiBox);
    aiLayout->setSpacing(6);
    m_ai = new AISection(m_controls, dialogs);
    aiLayout->addWidget(m_ai);
    column->addWidget(aiBox);

    column->addWidget(
        framed(m_controls.sectionBox(m_controls.section(&NameSections::templateEnabled), "Name from template",
                                     "按模板命名", [this] { return m_sections.templateEditor(); })));
    column->addWidget(framed(m_controls.sectionBox(m_controls.section(&NameSections::smartRenameEnabled),
                                                   "Smart Rename (deliverable naming)", "智能改名(交付命名规范)",
                                                   [this] { return m_sections.smartRenameSection(); })));

    auto* cards = new QWidget;
    m_cardsLayout = new QVBoxLayout(cards);
    m_cardsLayout->setContentsMargins(0, 0, 0, 0);
    m_cardsLayout->setSpacing(12);
    for (BatchRuleKind kind : allCases<BatchRuleKind>())
        m_cards.insert(kind, buildCard(kind));
    column->addWidget(cards);

    column->addWidget(framed(m_controls.sectionBox(m_controls.section(&NameSections::extEnabled), "Change extension",
                                                   "更改扩展名", [this] { return m_sections.extensionEditor(); })));
    column->addSpacing(8);
    column->addStretch(1);

    for (auto signal : {&Store::rulesChanged, &Store::sectionsChanged, &Store::itemsChanged, &Store::activityChanged,
                        &Store::smartChanged})
        connect(&m_store, signal, this, &RulesForm::syncAll);
    connect(&m_store, &Store::metaChanged, this, [this] { m_sections.updateTemplateWarning(); });
    m_tr.bind(this, [this] { syncAll(); });
    // The panel scrolls: neither the wheel nor a drag may change a rule by passing over it.
    m_controls.guard(this);
}

RulesForm::~RulesForm()
{
    // The binder's connections die with this widget; nothing may sync while children go away.
    disconnect(&m_store, nullptr, this, nullptr);
}

void RulesForm::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous())
        m_store.presets().refreshNames();
}

void RulesForm::syncAll()
{
    m_controls.syncAll();
    syncCardOrder();
    m_sections.updateTemplateWarning();
}

void RulesForm::showRegexHelp()
{
    if (m_regexHelp)
        return;
    auto* sheet = new RegexHelpView(this);
    sheet->setAttribute(Qt::WA_DeleteOnClose);
    m_regexHelp = sheet;
    sheet->open();
}

// ---- rule cards and their order ----

RuleCard* RulesForm::buildCard(BatchRuleKind kind)
{
    struct Toggled {
        bool RuleSettings::*flag;
        const char* en;
        const char* zh;
    };
    static const QHash<BatchRuleKind, Toggled> toggled = {
        {BatchRuleKind::findReplace, {&RuleSettings::findEnabled, "Find & Replace", "查找替换"}},
        {BatchRuleKind::deleteBefore, {&RuleSettings::delBeforeEnabled, "Delete before", "删除标记之前"}},
        {BatchRuleKind::deleteAfter, {&RuleSettings::delAfterEnabled, "Delete after", "删除标记之后"}},
        {BatchRuleKind::remove, {&RuleSettings::removeEnabled, "Remove text", "删除文本"}},
        {BatchRuleKind::truncate, {&RuleSettings::truncEnabled, "Truncate", "截取长度"}},
        {BatchRuleKind::prefix, {&RuleSettings::prefixEnabled, "Add prefix", "加前缀"}},
        {BatchRuleKind::suffix, {&RuleSettings::suffixEnabled, "Add suffix", "加后缀"}},
        {BatchRuleKind::sequentialNumber, {&RuleSettings::numberEnabled, "Sequential number", "序号编号"}},
        {BatchRuleKind::insertDate, {&RuleSettings::dateEnabled, "Insert date", "插入日期"}},
    };
    QWidget* content = nullptr;
    if (auto it = toggled.constFind(kind); it != toggled.constEnd())
        content = m_controls.sectionBox(m_controls.rule(it->flag), it->en, it->zh,
                                        [this, kind] { return m_editors.build(kind); });
    else
        content = m_editors.build(kind);
    auto* card = new RuleCard(kind, framed(content), [this](const QStringList& dropped, BatchRuleKind target) {
        return dropRule(dropped, target);
    });
    m_tr.bindToolTip(card->handle(), "Drag to reorder", "拖动以调整顺序");
    card->hide();
    return card;
}

void RulesForm::syncCardOrder()
{
    const QList<BatchRuleKind>& order = m_store.rules().batchRuleOrder;
    if (order == m_shownOrder)
        return;
    for (RuleCard* card : std::as_const(m_cards))
        m_cardsLayout->removeWidget(card);
    m_shownOrder.clear();
    for (BatchRuleKind kind : order) {
        RuleCard* card = m_cards.value(kind);
        if (!card || m_shownOrder.contains(kind))
            continue;
        m_cardsLayout->addWidget(card);
        setShown(card, true);
        m_shownOrder.append(kind);
    }
    for (auto it = m_cards.cbegin(); it != m_cards.cend(); ++it)
        if (!m_shownOrder.contains(it.key()))
            it.value()->hide();
}

bool RulesForm::dropRule(const QStringList& dropped, BatchRuleKind target)
{
    if (dropped.isEmpty())
        return false;
    const std::optional<BatchRuleKind> kind = lookupRawValue<BatchRuleKind>(dropped.first());
    if (!kind)
        return false;
    QList<BatchRuleKind> order = m_store.rules().batchRuleOrder;
    const qsizetype from = order.indexOf(*kind);
    const qsizetype to = order.indexOf(target);
    if (from < 0 || to < 0 || from == to)
        return false;
    // The dragged card takes the receiving card's place; the cards between shift toward its
    // old place.
    order.move(from, to);
    m_store.setBatchRuleOrder(order);
    return true;
}
