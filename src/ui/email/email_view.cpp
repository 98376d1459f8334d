#include "email/email_view.h"

#include "common/icons.h"
#include "common/lang_binder.h"
#include "common/wheel_focus.h"
#include "email/email_results_view.h"
#include "email/email_tab.h"
#include "email/email_template_editor.h"
#include "email/email_template_row.h"
#include "model/store.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

EmailView::EmailView(Store& store, Dialogs& dialogs, Clipboard& clipboard, QWidget* parent)
    : QWidget(parent), m_store(store)
{
    store.emailTab().enter();

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    auto* scroll = new QScrollArea(this);
    scroll->setObjectName("emailScroll");
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    outer->addWidget(scroll);

    auto* content = new QWidget(scroll);
    auto* column = new QVBoxLayout(content);
    column->setContentsMargins(16, 16, 16, 16);
    column->setSpacing(14);
    column->setAlignment(Qt::AlignTop | Qt::AlignLeft);

    m_row = new EmailTemplateRow(store, dialogs, content);
    m_editor = new EmailTemplateEditor(store, content);
    auto* divider = new QFrame(content);
    divider->setFrameShape(QFrame::HLine);
    divider->setFrameShadow(QFrame::Sunken);
    m_sources = new EmailSourcesView(store, content);

    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(10);
    m_generate = new QPushButton(symbolIcon(QStringLiteral("wand.and.stars")), QString(), content);
    m_generate->setObjectName("generateButton");
    m_generate->setDefault(true);
    m_clear = new QPushButton(content);
    m_clear->setObjectName("clearButton");
    buttons->addWidget(m_generate);
    buttons->addWidget(m_clear);
    buttons->addStretch(1);

    m_results = new EmailResultsView(store, clipboard, content);

    column->addWidget(m_row);
    column->addWidget(m_editor);
    column->addWidget(divider);
    column->addWidget(m_sources);
    column->addLayout(buttons);
    column->addWidget(m_results);
    column->addStretch(1);
    scroll->setWidget(content);
    // The tab scrolls: the wheel must not change the template picker it passes over.
    takeWheelOnlyWithFocus(content);

    LangBinder tr(store);
    tr.bindText(m_generate, "Generate", "生成");
    tr.bindText(m_clear, "Clear", "清空");

    EmailTab& tab = store.emailTab();
    connect(m_generate, &QPushButton::clicked, this, [&tab] { tab.generate(); });
    connect(m_clear, &QPushButton::clicked, this, [&tab] { tab.clearResults(); });
    connect(&store, &Store::emailChanged, this, [this, &tab] {
        // A hand-over while the tab is shown is taken at once.
        if (m_store.email().pendingEmailContexts)
            tab.takePendingContexts();
        refresh();
    });
    refresh();
}

void EmailView::refresh()
{
    EmailTab& tab = m_store.emailTab();
    m_row->refresh();
    m_editor->setVisible(tab.state().showEditor && tab.templateBinding().has_value());
    if (m_editor->isVisibleTo(this))
        m_editor->refresh();
    m_sources->refresh();
    m_generate->setEnabled(tab.canGenerate());
    m_clear->setEnabled(tab.canClear());
    m_results->refresh();
}
