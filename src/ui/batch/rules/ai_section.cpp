// The AI Rename section. Its naming controls appear only while a language model is available;
// otherwise the section says why, below its title row.
#include "ai/ai_name.h"
#include "common/icons.h"
#include "model/store.h"
#include "platform/lang.h"
#include "rules_form.h"
#include "rules_style.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

QWidget* RulesForm::buildAISection()
{
    auto* w = new QWidget;
    auto* layout = new QVBoxLayout(w);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(6);

    auto* icon = new QLabel;
    icon->setPixmap(symbolIcon("sparkles").pixmap(14, 14));
    auto* title = new QLabel;
    QFont medium = title->font();
    medium.setWeight(QFont::Medium);
    title->setFont(medium);
    m_tr.bindText(title, "AI Rename", "AI 重命名");

    auto* progress = new QWidget;
    progress->setObjectName("aiProgressGroup");
    auto* progressRow = new QHBoxLayout(progress);
    progressRow->setContentsMargins(0, 0, 0, 0);
    auto* progressText = new QLabel;
    progressText->setFont(captionFont());
    setSecondary(progressText);
    auto* spinner = new QProgressBar;
    spinner->setRange(0, 0);
    spinner->setTextVisible(false);
    spinner->setMaximumSize(40, 10);
    auto* stop = new QPushButton;
    m_tr.bindText(stop, "Stop", "停止");
    connect(stop, &QPushButton::clicked, this,
            [this] { m_store.editActivity([](Activity& a) { a.aiStopRequested = true; }); });
    progressRow->addWidget(progressText);
    progressRow->addWidget(spinner);
    progressRow->addWidget(stop);
    onSync([this, progress, progressText] {
        progress->setVisible(m_store.activity().aiBusy);
        progressText->setText(m_store.activity().aiProgress);
    });

    auto* titleRow = new QHBoxLayout;
    titleRow->addWidget(icon);
    titleRow->addWidget(title);
    titleRow->addStretch(1);
    titleRow->addWidget(progress);
    layout->addLayout(titleRow);

    auto* message = new QLabel;
    message->setObjectName("aiUnavailable");
    message->setWordWrap(true);
    message->setFont(captionFont());
    setWarningColour(message);
    onSync([message] {
        const bool available = AIName::availability() == AIName::Availability::available;
        message->setVisible(!available);
        message->setText(AIName::unavailableMessage());
    });
    layout->addWidget(message);
    return w;
}
