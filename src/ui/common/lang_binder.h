#pragma once
// Re-labels widgets when the interface language changes. Texts are pairs chosen when they are
// set; a binder sets them now and again on every language switch of the Store, for as long as
// the bound object lives.
//
//   LangBinder tr(store);
//   tr.bindText(button, "Add Files", "添加文件");
//   tr.bind(this, [this] { rebuildMenu(); });
#include <QObject>
#include <functional>

class Store;
class QWidget;

class LangBinder {
public:
    explicit LangBinder(Store& store) : m_store(store) {}

    // Runs relabel now and after every language change; stops when context is destroyed.
    void bind(QObject* context, std::function<void()> relabel) const;
    // The visible text of a QAbstractButton, QLabel, QAction, QMenu (title), QGroupBox, or the
    // placeholder of a QLineEdit.
    void bindText(QObject* target, const char* en, const char* zh) const;
    void bindToolTip(QWidget* target, const char* en, const char* zh) const;

    Store& store() const { return m_store; }

private:
    Store& m_store;
};

// Sets the visible text of one of the widget kinds bindText accepts.
void setVisibleText(QObject* target, const QString& text);
