#pragma once
// Controls bound to one field of the Store's rules or name sections. Each control writes the
// Store at once and registers how it follows the Store; syncAll() brings every control back in
// line after a Store change. The rules panel and its parts build their editors from these.
#include "common/lang_binder.h"

#include <QList>
#include <functional>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QObject;
class QSpinBox;
class QWidget;
class SectionBox;
class Store;
struct NameSections;
struct RuleSettings;

class RuleControls {
public:
    template <typename T> struct Field {
        std::function<T()> get;
        std::function<void(const T&)> set;
    };

    // Controls made here stop writing the Store when `context` goes.
    RuleControls(Store& store, QObject* context);

    template <typename T> Field<T> rule(T RuleSettings::*member);
    template <typename T> Field<T> section(T NameSections::*member);

    QLineEdit* textField(Field<QString> f, const char* en, const char* zh, int width = 0);
    QCheckBox* checkBox(Field<bool> f, const char* en, const char* zh, bool caption = false);
    template <typename E> QComboBox* enumPicker(Field<E> f, QList<E> cases, int width);
    QSpinBox* stepper(Field<int> f, int lo, int hi, const char* enPrefix, const char* zhPrefix,
                      const char* zhSuffix = "", int width = 0);
    QLabel* smallHelp(const char* en, const char* zh);
    QLabel* smallHelp(std::function<QString()> text);
    // The editor is built while the section is on; one that starts off is built once the first
    // frame is drawn (see FirstFrame), or earlier when switched on.
    SectionBox* sectionBox(Field<bool> f, const char* en, const char* zh, std::function<QWidget*()> editor);

    // Keeps the wheel and internal drags from changing the controls inside `panel` as they pass
    // over them; controls built after that are guarded as they come (see guarded()).
    void guard(QWidget* panel);
    QWidget* guarded(QWidget* editor) const;

    void onSync(std::function<void()> f) { m_syncers.push_back(std::move(f)); }
    void syncAll() const;

    Store& store() const { return m_store; }
    const LangBinder& tr() const { return m_tr; }

private:
    Store& m_store;
    QObject* m_context;
    LangBinder m_tr;
    QList<std::function<void()>> m_syncers;
    bool m_guarding = false;
};
