#pragma once
// The AI Rename section of the rules panel. Its naming controls appear only while a language
// model is available; otherwise the section says why, below its title row.
#include "ai/ai_name.h"
#include "rule_controls.h"

#include <QWidget>
#include <functional>

class Dialogs;

class AISection : public QWidget {
    Q_OBJECT
public:
    // Whether the model can answer (default AIName::availability) and the run that names every
    // listed file (default the Store's AI runner).
    struct Services {
        std::function<AIName::Availability()> availability;
        std::function<void()> runNaming;
    };

    AISection(RuleControls& controls, Dialogs& dialogs, QWidget* parent = nullptr);

    void setServices(Services services);
    // "Suggest names for all" and "Stop".
    void startNaming();
    void stop();
    // Where the section says the model is unavailable: the server settings.
    void openServerSettings();

private:
    QWidget* buildControls();

    RuleControls& m_c;
    Dialogs& m_dialogs;
    Services m_services{[] { return AIName::availability(); }, {}};
};
