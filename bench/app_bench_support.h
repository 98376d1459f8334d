#pragma once
// What the widget and event-loop benchmarks share: one offscreen QApplication for the whole run
// (widget benchmarks need it, and results of background reads land through its event loop), a
// Dialogs that never shows a panel, and a steady clock.
#include "common/dialogs.h"

#include <QApplication>
#include <chrono>

using Clock = std::chrono::steady_clock;

inline double seconds(Clock::time_point since)
{
    return std::chrono::duration<double>(Clock::now() - since).count();
}

inline void ensureApplication()
{
    if (qApp)
        return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "brindlecove_bench";
    static char* argv[] = {name, nullptr};
    new QApplication(argc, argv);  // lives until the process ends
}

class NoDialogs : public Dialogs {
public:
    OpenResult openPanel(const OpenPanel&) override { return {}; }
    std::optional<QString> savePanel(const SavePanel&) override { return std::nullopt; }
    AlertResult alert(const Alert&) override { return {}; }
    std::optional<QString> promptText(const TextPrompt&) override { return std::nullopt; }
};
