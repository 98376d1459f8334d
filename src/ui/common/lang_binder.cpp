#include "lang_binder.h"

#include "model/store.h"
#include "platform/lang.h"

#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <memory>

void LangBinder::bind(QObject* context, std::function<void()> relabel) const
{
    relabel();
    // prefsChanged also carries mode switches and feature flags: relabel only on a real switch.
    auto last = std::make_shared<bool>(m_store.langZh());
    Store* store = &m_store;
    QObject::connect(store, &Store::prefsChanged, context, [store, last, relabel = std::move(relabel)] {
        if (store->langZh() == *last)
            return;
        *last = store->langZh();
        relabel();
    });
}

void setVisibleText(QObject* target, const QString& text)
{
    if (auto* b = qobject_cast<QAbstractButton*>(target))
        b->setText(text);
    else if (auto* l = qobject_cast<QLabel*>(target))
        l->setText(text);
    else if (auto* a = qobject_cast<QAction*>(target))
        a->setText(text);
    else if (auto* m = qobject_cast<QMenu*>(target))
        m->setTitle(text);
    else if (auto* g = qobject_cast<QGroupBox*>(target))
        g->setTitle(text);
    else if (auto* e = qobject_cast<QLineEdit*>(target))
        e->setPlaceholderText(text);
    else
        qWarning("setVisibleText: unsupported target %s", target->metaObject()->className());
}

void LangBinder::bindText(QObject* target, const char* en, const char* zh) const
{
    bind(target, [target, en, zh] { setVisibleText(target, L(en, zh)); });
}

void LangBinder::bindToolTip(QWidget* target, const char* en, const char* zh) const
{
    bind(target, [target, en, zh] { target->setToolTip(L(en, zh)); });
}
