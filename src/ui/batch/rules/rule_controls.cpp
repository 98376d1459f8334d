#include "rule_controls.h"

#include "common/first_frame.h"
#include "common/internal_drags.h"
#include "common/section_box.h"
#include "common/wheel_focus.h"
#include "model/store.h"
#include "platform/lang.h"
#include "rules_style.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>

RuleControls::RuleControls(Store& store, QObject* context) : m_store(store), m_context(context), m_tr(store) {}

void RuleControls::guard(QWidget* panel)
{
    takeWheelOnlyWithFocus(panel);
    InternalDrag::keepOutOfTextFields(panel);
    m_guarding = true;
}

QWidget* RuleControls::guarded(QWidget* editor) const
{
    if (m_guarding) {
        takeWheelOnlyWithFocus(editor);
        InternalDrag::keepOutOfTextFields(editor);
    }
    return editor;
}

void RuleControls::syncAll() const
{
    // By index and by copy: a section switched on here builds its editor, which adds syncers.
    for (qsizetype i = 0; i < m_syncers.size(); ++i) {
        const auto sync = m_syncers.at(i);
        sync();
    }
}

template <typename T> RuleControls::Field<T> RuleControls::rule(T RuleSettings::*member)
{
    Store& store = m_store;
    return {[&store, member] { return store.rules().*member; },
            [&store, member](const T& v) { store.editRules([&](RuleSettings& r) { r.*member = v; }); }};
}

template <typename T> RuleControls::Field<T> RuleControls::section(T NameSections::*member)
{
    Store& store = m_store;
    return {[&store, member] { return store.sections().*member; },
            [&store, member](const T& v) { store.editSections([&](NameSections& s) { s.*member = v; }); }};
}

template RuleControls::Field<QString> RuleControls::rule(QString RuleSettings::*);
template RuleControls::Field<bool> RuleControls::rule(bool RuleSettings::*);
template RuleControls::Field<int> RuleControls::rule(int RuleSettings::*);
template RuleControls::Field<CaseMode> RuleControls::rule(CaseMode RuleSettings::*);
template RuleControls::Field<KeepSide> RuleControls::rule(KeepSide RuleSettings::*);
template RuleControls::Field<SpaceMode> RuleControls::rule(SpaceMode RuleSettings::*);
template RuleControls::Field<NumberPosition> RuleControls::rule(NumberPosition RuleSettings::*);
template RuleControls::Field<NumberFormat> RuleControls::rule(NumberFormat RuleSettings::*);
template RuleControls::Field<NumberDir> RuleControls::rule(NumberDir RuleSettings::*);
template RuleControls::Field<DateSource> RuleControls::rule(DateSource RuleSettings::*);
template RuleControls::Field<QString> RuleControls::section(QString NameSections::*);
template RuleControls::Field<bool> RuleControls::section(bool NameSections::*);

QLineEdit* RuleControls::textField(Field<QString> f, const char* en, const char* zh, int width)
{
    auto* edit = new QLineEdit;
    m_tr.bindText(edit, en, zh);
    if (width > 0)
        edit->setFixedWidth(width);
    edit->setText(f.get());
    QObject::connect(edit, &QLineEdit::textEdited, m_context, [set = f.set](const QString& t) { set(t); });
    onSync([edit, get = f.get] {
        // Only a real difference is written back, so typing keeps the cursor where it is.
        if (edit->text() != get())
            edit->setText(get());
    });
    return edit;
}

QCheckBox* RuleControls::checkBox(Field<bool> f, const char* en, const char* zh, bool caption)
{
    auto* box = new QCheckBox;
    m_tr.bindText(box, en, zh);
    if (caption)
        box->setFont(captionFont());
    box->setChecked(f.get());
    QObject::connect(box, &QCheckBox::clicked, m_context, [set = f.set](bool on) { set(on); });
    onSync([box, get = f.get] {
        if (box->isChecked() != get())
            box->setChecked(get());
    });
    return box;
}

template <typename E> QComboBox* RuleControls::enumPicker(Field<E> f, QList<E> cases, int width)
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
    QObject::connect(combo, &QComboBox::activated, m_context, [combo, set = f.set](int i) {
        if (auto e = lookupRawValue<E>(combo->itemData(i).toString()))
            set(*e);
    });
    onSync(select);
    return combo;
}

template QComboBox* RuleControls::enumPicker(Field<CaseMode>, QList<CaseMode>, int);
template QComboBox* RuleControls::enumPicker(Field<KeepSide>, QList<KeepSide>, int);
template QComboBox* RuleControls::enumPicker(Field<SpaceMode>, QList<SpaceMode>, int);
template QComboBox* RuleControls::enumPicker(Field<NumberPosition>, QList<NumberPosition>, int);
template QComboBox* RuleControls::enumPicker(Field<NumberFormat>, QList<NumberFormat>, int);
template QComboBox* RuleControls::enumPicker(Field<NumberDir>, QList<NumberDir>, int);
template QComboBox* RuleControls::enumPicker(Field<DateSource>, QList<DateSource>, int);
template QComboBox* RuleControls::enumPicker(Field<NameLang>, QList<NameLang>, int);

QSpinBox* RuleControls::stepper(Field<int> f, int lo, int hi, const char* enPrefix, const char* zhPrefix,
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
    QObject::connect(spin, &QSpinBox::valueChanged, m_context, [set = f.set, get = f.get](int v) {
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

QLabel* RuleControls::smallHelp(const char* en, const char* zh)
{
    return smallHelp([en, zh] { return L(en, zh); });
}

QLabel* RuleControls::smallHelp(std::function<QString()> text)
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

SectionBox* RuleControls::sectionBox(Field<bool> f, const char* en, const char* zh, std::function<QWidget*()> editor)
{
    auto* box = new SectionBox;
    // "&" would otherwise mark a mnemonic ("Find & Replace").
    m_tr.bind(box->toggle(), [box, en, zh] { box->toggle()->setText(L(en, zh).replace('&', "&&")); });
    QFont font = box->toggle()->font();
    font.setWeight(QFont::Medium);
    box->toggle()->setFont(font);
    box->setOn(f.get());
    box->setBodyBuilder([this, editor = std::move(editor)] { return guarded(editor()); });
    QObject::connect(box, &SectionBox::toggled, m_context, [set = f.set](bool on) { set(on); });
    onSync([box, get = f.get] {
        if (box->isOn() != get())
            box->setOn(get());
    });
    FirstFrame::afterPainted(box, [box] { box->buildBody(); });
    return box;
}
