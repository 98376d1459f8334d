#include "ai_section.h"

#include "ai/ai_name.h"
#include "ai/ai_naming_runner.h"
#include "common/ai_server_dialog.h"
#include "common/first_frame.h"
#include "common/icons.h"
#include "files/item_bookkeeping.h"
#include "model/store.h"
#include "platform/lang.h"
#include "rules_style.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

AISection::AISection(RuleControls& bound, Dialogs& dialogs, QWidget* parent)
    : QWidget(parent), m_c(bound), m_dialogs(dialogs)
{
    QWidget* w = this;
    auto* layout = new QVBoxLayout(w);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(6);

    auto* icon = new QLabel;
    icon->setPixmap(symbolIcon("sparkles").pixmap(14, 14));
    auto* title = new QLabel;
    QFont medium = title->font();
    medium.setWeight(QFont::Medium);
    title->setFont(medium);
    m_c.tr().bindText(title, "AI Rename", "AI 重命名");

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
    m_c.tr().bindText(stop, "Stop", "停止");
    connect(stop, &QPushButton::clicked, this, &AISection::stop);
    progressRow->addWidget(progressText);
    progressRow->addWidget(spinner);
    progressRow->addWidget(stop);
    m_c.onSync([this, progress, progressText] {
        progress->setVisible(m_c.store().activity().aiBusy);
        progressText->setText(m_c.store().activity().aiProgress);
    });

    auto* settings = new QPushButton;
    settings->setObjectName("aiServerSettings");
    settings->setFlat(true);
    settings->setCursor(Qt::PointingHandCursor);
    settings->setFont(caption2Font());
    settings->setStyleSheet(QStringLiteral("QPushButton { color: palette(link); border: none; padding: 0; }"));
    m_c.tr().bindText(settings, "AI Server Settings…", "AI 服务设置…");
    connect(settings, &QPushButton::clicked, this, &AISection::openServerSettings);
    auto* titleRow = new QHBoxLayout;
    titleRow->addWidget(icon);
    titleRow->addWidget(title);
    titleRow->addStretch(1);
    titleRow->addWidget(progress);
    titleRow->addWidget(settings);
    layout->addLayout(titleRow);

    auto* message = new QLabel;
    message->setObjectName("aiUnavailable");
    message->setWordWrap(true);
    message->setFont(captionFont());
    setWarningColour(message);
    layout->addWidget(message);

    // The naming controls show only once the model answers, which it cannot before the first
    // frame: they are built after it.
    auto* controls = new QWidget;
    auto* controlsLayout = new QVBoxLayout(controls);
    controlsLayout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(controls);
    FirstFrame::afterPainted(this, [this, controlsLayout] {
        controlsLayout->addWidget(m_c.guarded(buildControls()));
        m_c.syncAll();
    });
    m_c.onSync([this, message, settings, controls] {
        const AIName::Availability state = m_services.availability();
        const bool available = state == AIName::Availability::available;
        message->setVisible(!available);
        settings->setVisible(!available);
        message->setText(AIName::unavailableMessage(state));
        // Left out, not disabled, while the model can't answer.
        controls->setVisible(available);
    });
    // A probe started by a screen reports back here.
    connect(&AIName::AvailabilityNotifier::instance(), &AIName::AvailabilityNotifier::availabilityChanged, w,
            [this] { m_c.syncAll(); });
}

void AISection::stop()
{
    m_c.store().aiRunner().stop();
}

void AISection::openServerSettings()
{
    AIServerDialog::openOver(this, m_c.store(), m_dialogs);
}

QWidget* AISection::buildControls()
{
    auto* w = new QWidget;
    w->setObjectName("aiControls");
    auto* layout = new QVBoxLayout(w);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(6);

    auto* suggest = new QPushButton(symbolIcon("wand.and.stars"), {});
    suggest->setObjectName("aiSuggestAll");
    m_c.tr().bindText(suggest, "Suggest names for all", "为全部生成名称");
    connect(suggest, &QPushButton::clicked, this, &AISection::startNaming);
    m_c.onSync(
        [this, suggest] { suggest->setEnabled(!m_c.store().items().isEmpty() && !m_c.store().activity().aiBusy); });
    layout->addWidget(
        row({suggest, m_c.checkBox(m_c.section(&NameSections::useAIName), "Use AI names", "使用 AI 名称", true)}));

    auto* langLabel = new QLabel;
    m_c.tr().bindText(langLabel, "Name language", "命名语言");
    langLabel->setFont(captionFont());
    setSecondary(langLabel);
    const RuleControls::Field<NameLang> lang{[&store = m_c.store()] { return store.sections().aiLang; },
                                             [&store = m_c.store()](const NameLang& l) { store.setAiLang(l); }};
    const auto langs = allCases<NameLang>();
    layout->addWidget(row({langLabel, m_c.enumPicker(lang, QList<NameLang>(langs.begin(), langs.end()), 170)}));

    auto* checkLabel = new QLabel;
    m_c.tr().bindText(checkLabel, "Check rows to apply:", "勾选要应用的文件:");
    checkLabel->setFont(caption2Font());
    setSecondary(checkLabel);
    auto linkButton = [this](const char* en, const char* zh, bool on) {
        auto* b = new QPushButton;
        b->setFlat(true);
        b->setCursor(Qt::PointingHandCursor);
        b->setFont(caption2Font());
        b->setStyleSheet(QStringLiteral("QPushButton { color: palette(link); border: none; padding: 0; }"));
        m_c.tr().bindText(b, en, zh);
        connect(b, &QPushButton::clicked, this, [this, on] { m_c.store().bookkeeping().setUseAIForNamedItems(on); });
        return b;
    };
    QWidget* checkRow = row({checkLabel, linkButton("All", "全选", true), linkButton("None", "全不选", false)}, 8);
    checkRow->setObjectName("aiCheckRows");
    m_c.onSync([this, checkRow] {
        checkRow->setVisible(m_c.store().sections().useAIName && m_c.store().bookkeeping().aiNamedItemCount() > 0);
    });
    layout->addWidget(checkRow);

    layout->addWidget(m_c.smallHelp("On-device, from each file's content (text & PDF). Rules below still apply.",
                                    "在本机根据每个文件内容生成(文本与 PDF)。下方规则仍会叠加。"));
    return w;
}

void AISection::startNaming()
{
    if (m_services.runNaming)
        m_services.runNaming();
    else
        m_c.store().aiRunner().run();
}

void AISection::setServices(Services services)
{
    if (!services.availability)
        services.availability = [] { return AIName::availability(); };
    m_services = std::move(services);
    m_c.syncAll();
}
