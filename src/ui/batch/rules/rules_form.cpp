#include "rules_form.h"

#include "common/internal_drags.h"
#include "common/section_box.h"
#include "common/wheel_focus.h"
#include "model/presets.h"
#include "model/store.h"
#include "platform/lang.h"
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

template <typename T> RulesForm::Field<T> RulesForm::rule(T RuleSettings::*member)
{
    return {[this, member] { return m_store.rules().*member; },
            [this, member](const T& v) { m_store.editRules([&](RuleSettings& r) { r.*member = v; }); }};
}

template <typename T> RulesForm::Field<T> RulesForm::section(T NameSections::*member)
{
    return {[this, member] { return m_store.sections().*member; },
            [this, member](const T& v) { m_store.editSections([&](NameSections& s) { s.*member = v; }); }};
}

// The editors' code lives in other files of this folder; they instantiate these too.
template RulesForm::Field<QString> RulesForm::rule(QString RuleSettings::*);
template RulesForm::Field<bool> RulesForm::rule(bool RuleSettings::*);
template RulesForm::Field<int> RulesForm::rule(int RuleSettings::*);
template RulesForm::Field<CaseMode> RulesForm::rule(CaseMode RuleSettings::*);
template RulesForm::Field<KeepSide> RulesForm::rule(KeepSide RuleSettings::*);
template RulesForm::Field<SpaceMode> RulesForm::rule(SpaceMode RuleSettings::*);
template RulesForm::Field<NumberPosition> RulesForm::rule(NumberPosition RuleSettings::*);
template RulesForm::Field<NumberFormat> RulesForm::rule(NumberFormat RuleSettings::*);
template RulesForm::Field<NumberDir> RulesForm::rule(NumberDir RuleSettings::*);
template RulesForm::Field<DateSource> RulesForm::rule(DateSource RuleSettings::*);
template RulesForm::Field<QString> RulesForm::section(QString NameSections::*);
template RulesForm::Field<bool> RulesForm::section(bool NameSections::*);

RulesForm::RulesForm(Store& store, Dialogs& dialogs, QWidget* parent)
    : QWidget(parent), m_store(store), m_dialogs(dialogs), m_tr(store)
{
    auto* column = new QVBoxLayout(this);
    column->setSpacing(12);
    column->setAlignment(Qt::AlignTop);

    column->addWidget(buildHeader());
    column->addWidget(buildPresetButtons());

    auto* aiBox = new QGroupBox;
    auto* aiLayout = new QVBoxLayout(aiBox);
    aiLayout->setSpacing(6);
    aiLayout->addWidget(buildAISection());
    column->addWidget(aiBox);

    column->addWidget(framed(sectionBox(section(&NameSections::templateEnabled), "Name from template", "按模板命名",
                                        buildTemplateEditor())));
    column->addWidget(framed(sectionBox(section(&NameSections::smartRenameEnabled), "Smart Rename (deliverable naming)",
                                        "智能改名(交付命名规范)", buildSmartRenameSection())));

    auto* cards = new QWidget;
    m_cardsLayout = new QVBoxLayout(cards);
    m_cardsLayout->setContentsMargins(0, 0, 0, 0);
    m_cardsLayout->setSpacing(12);
    for (BatchRuleKind kind : allCases<BatchRuleKind>())
        m_cards.insert(kind, buildCard(kind));
    column->addWidget(cards);

    column->addWidget(framed(
        sectionBox(section(&NameSections::extEnabled), "Change extension", "更改扩展名", buildExtensionEditor())));
    column->addSpacing(8);
    column->addStretch(1);

    for (auto signal : {&Store::rulesChanged, &Store::sectionsChanged, &Store::itemsChanged, &Store::activityChanged,
                        &Store::smartChanged})
        connect(&m_store, signal, this, &RulesForm::syncAll);
    connect(&m_store, &Store::metaChanged, this, &RulesForm::updateTemplateWarning);
    connect(&m_store, &Store::presetsChanged, this, [this] {
        rebuildPresetsMenu();
        rebuildPresetButtons();
    });
    m_tr.bind(this, [this] {
        rebuildPresetsMenu();
        rebuildPresetButtons();
        syncAll();
    });
    // The panel scrolls: neither the wheel nor a drag may change a rule by passing over it.
    takeWheelOnlyWithFocus(this);
    InternalDrag::keepOutOfTextFields(this);
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
    for (const auto& f : m_syncers)
        f();
    syncCardOrder();
    updateTemplateWarning();
}

// ---- bound controls ----

QLineEdit* RulesForm::textField(Field<QString> f, const char* en, const char* zh, int width)
{
    auto* edit = new QLineEdit;
    m_tr.bindText(edit, en, zh);
    if (width > 0)
        edit->setFixedWidth(width);
    edit->setText(f.get());
    connect(edit, &QLineEdit::textEdited, this, [set = f.set](const QString& t) { set(t); });
    onSync([edit, get = f.get] {
        // Only a real difference is written back, so typing keeps the cursor where it is.
        if (edit->text() != get())
            edit->setText(get());
    });
    return edit;
}

QCheckBox* RulesForm::checkBox(Field<bool> f, const char* en, const char* zh, bool caption)
{
    auto* box = new QCheckBox;
    m_tr.bindText(box, en, zh);
    if (caption)
        box->setFont(captionFont());
    box->setChecked(f.get());
    connect(box, &QCheckBox::clicked, this, [set = f.set](bool on) { set(on); });
    onSync([box, get = f.get] {
        if (box->isChecked() != get())
            box->setChecked(get());
    });
    return box;
}

template <typename E> QComboBox* RulesForm::enumPicker(Field<E> f, QList<E> cases, int width)
{
    auto* combo = new QComboBox;
    if (width > 0)
        combo->setFixedWidth(width);
    auto select = [combo, get = f.get] {
        const int i = combo->findData(rawValue(get()));
        if (combo->currentIndex() != i) {
            QSignalBlocker block(combo);
            combo->setCurrentIndex(i);
        }
    };
    m_tr.bind(combo, [combo, cases, select] {
        QSignalBlocker block(combo);
        combo->clear();
        for (E e : cases)
            combo->addItem(label(e), rawValue(e));
        select();
    });
    connect(combo, &QComboBox::activated, this, [combo, set = f.set](int i) {
        if (auto e = lookupRawValue<E>(combo->itemData(i).toString()))
            set(*e);
    });
    onSync(select);
    return combo;
}

template QComboBox* RulesForm::enumPicker(Field<CaseMode>, QList<CaseMode>, int);
template QComboBox* RulesForm::enumPicker(Field<KeepSide>, QList<KeepSide>, int);
template QComboBox* RulesForm::enumPicker(Field<SpaceMode>, QList<SpaceMode>, int);
template QComboBox* RulesForm::enumPicker(Field<NumberPosition>, QList<NumberPosition>, int);
template QComboBox* RulesForm::enumPicker(Field<NumberFormat>, QList<NumberFormat>, int);
template QComboBox* RulesForm::enumPicker(Field<NumberDir>, QList<NumberDir>, int);
template QComboBox* RulesForm::enumPicker(Field<DateSource>, QList<DateSource>, int);
template QComboBox* RulesForm::enumPicker(Field<NameLang>, QList<NameLang>, int);

QSpinBox* RulesForm::stepper(Field<int> f, int lo, int hi, const char* enPrefix, const char* zhPrefix,
                             const char* zhSuffix, int width)
{
    auto* spin = new QSpinBox;
    spin->setRange(lo, hi);
    if (width > 0)
        spin->setFixedWidth(width);
    m_tr.bind(spin, [spin, enPrefix, zhPrefix, zhSuffix] {
        spin->setPrefix(L(enPrefix, zhPrefix));
        spin->setSuffix(L("", zhSuffix));
    });
    spin->setValue(f.get());
    connect(spin, &QSpinBox::valueChanged, this, [set = f.set, get = f.get](int v) {
        if (v != get())
            set(v);
    });
    onSync([spin, get = f.get] {
        if (spin->value() != get()) {
            QSignalBlocker block(spin);
            spin->setValue(get());
        }
    });
    return spin;
}

QLabel* RulesForm::smallHelp(const char* en, const char* zh)
{
    return smallHelp([en, zh] { return L(en, zh); });
}

QLabel* RulesForm::smallHelp(std::function<QString()> text)
{
    auto* label = new QLabel;
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    label->setFont(caption2Font());
    setSecondary(label);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_tr.bind(label, [label, text = std::move(text)] { label->setText(text()); });
    return label;
}

SectionBox* RulesForm::sectionBox(Field<bool> f, const char* en, const char* zh, QWidget* editor)
{
    auto* box = new SectionBox;
    // "&" would otherwise mark a mnemonic ("Find & Replace").
    m_tr.bind(box->toggle(), [box, en, zh] { box->toggle()->setText(L(en, zh).replace('&', "&&")); });
    QFont font = box->toggle()->font();
    font.setWeight(QFont::Medium);
    box->toggle()->setFont(font);
    box->setBody(editor);
    box->setOn(f.get());
    connect(box, &SectionBox::toggled, this, [set = f.set](bool on) { set(on); });
    onSync([box, get = f.get] {
        if (box->isOn() != get())
            box->setOn(get());
    });
    return box;
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
    QWidget* editor = buildEditor(kind);
    QWidget* content = editor;
    if (auto it = toggled.constFind(kind); it != toggled.constEnd())
        content = sectionBox(rule(it->flag), it->en, it->zh, editor);
    auto* card = new RuleCard(kind, framed(content), [this](const QStringList& dropped, BatchRuleKind target) {
        return dropRule(dropped, target);
    });
    m_tr.bindToolTip(card->handle(), "Drag to reorder", "拖动以调整顺序");
    card->hide();
    return card;
}

QWidget* RulesForm::buildEditor(BatchRuleKind kind)
{
    switch (kind) {
    case BatchRuleKind::findReplace: return findReplaceEditor();
    case BatchRuleKind::deleteBefore: return deleteEditor(true);
    case BatchRuleKind::deleteAfter: return deleteEditor(false);
    case BatchRuleKind::remove: return removeEditor();
    case BatchRuleKind::caseRule: return caseEditor();
    case BatchRuleKind::truncate: return truncateEditor();
    case BatchRuleKind::whitespace: return whitespaceEditor();
    case BatchRuleKind::prefix: return prefixEditor();
    case BatchRuleKind::suffix: return suffixEditor();
    case BatchRuleKind::sequentialNumber: return numberEditor();
    case BatchRuleKind::insertDate: return dateEditor();
    }
    return new QWidget;
}

QList<BatchRuleKind> RulesForm::shownCardOrder() const
{
    return m_shownOrder;
}

void RulesForm::syncCardOrder()
{
    const QList<BatchRuleKind>& order = m_store.rules().batchRuleOrder;
    if (order == m_shownOrder)
        return;
    for (RuleCard* card : std::as_const(m_cards)) {
        m_cardsLayout->removeWidget(card);
        card->hide();
    }
    m_shownOrder.clear();
    for (BatchRuleKind kind : order) {
        RuleCard* card = m_cards.value(kind);
        if (!card || m_shownOrder.contains(kind))
            continue;
        m_cardsLayout->addWidget(card);
        card->show();
        m_shownOrder.append(kind);
    }
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
