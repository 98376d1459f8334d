#pragma once
// A scripted Dialogs for widget tests: the test queues the answers, the fake hands them out in
// order and records every call. An unscripted call answers "cancelled" (the safe answer), and
// is still recorded, so a test can assert that no question was asked.
#include "common/dialogs.h"

#include <QList>
#include <deque>

class FakeDialogs : public Dialogs {
public:
    std::deque<OpenResult> openAnswers;
    std::deque<std::optional<QString>> saveAnswers;
    std::deque<AlertResult> alertAnswers;
    std::deque<std::optional<QString>> promptAnswers;
    std::deque<std::optional<CheckedText>> checkedPromptAnswers;

    QList<OpenPanel> opens;
    QList<SavePanel> saves;
    QList<Alert> alerts;
    QList<TextPrompt> prompts;

    void answerAlert(int button, bool suppressed = false) { alertAnswers.push_back({button, suppressed}); }
    void answerOpen(const QStringList& paths, bool checked = false) { openAnswers.push_back({paths, checked}); }
    int callCount() const { return int(opens.size() + saves.size() + alerts.size() + prompts.size()); }

    OpenResult openPanel(const OpenPanel& p) override { opens.append(p); return take(openAnswers, OpenResult{}); }
    std::optional<QString> savePanel(const SavePanel& p) override
    {
        saves.append(p);
        return take(saveAnswers, std::optional<QString>{});
    }
    AlertResult alert(const Alert& a) override { alerts.append(a); return take(alertAnswers, AlertResult{}); }
    std::optional<QString> promptText(const TextPrompt& p) override
    {
        prompts.append(p);
        return take(promptAnswers, std::optional<QString>{});
    }
    std::optional<CheckedText> promptTextAndCheck(const TextPrompt& p, const QString& checkBoxText) override
    {
        prompts.append(p);
        checkBoxTexts.append(checkBoxText);
        return take(checkedPromptAnswers, std::optional<CheckedText>{});
    }
    QStringList checkBoxTexts;  // one per promptTextAndCheck call

private:
    template <typename T> static T take(std::deque<T>& queue, T fallback)
    {
        if (queue.empty())
            return fallback;
        T v = std::move(queue.front());
        queue.pop_front();
        return v;
    }
};
