#pragma once
// AI assistance on a local language-model server: whether it can answer, the text that stands
// for a file's content, the three questions (a file name, a category, a translation) and the
// clean-up of the answers. Nothing here throws; an unusable answer is "nothing".
#include "ai/ai_availability.h"
#include "ai/ai_content.h"
#include "ai/ai_prompts.h"
#include "ai/model_server.h"

#include <QObject>
#include <QString>
#include <functional>
#include <optional>

namespace AIName {

// ---- the server ----
// The server every request goes to; the Store sets it from the settings at start and the
// settings dialog when the user changes it. Setting it makes the next availability read ask
// afresh.
void setServerConfig(const ModelServerConfig& config);
ModelServerConfig serverConfig();

// ---- availability ----
// The current state of the model, at most 30 seconds old. Safe from any thread. On the
// window's thread it never waits for the network: a stale answer starts a probe on a worker
// and the last known answer (unavailable before the first) is returned meanwhile; the notifier
// tells when a new answer has arrived.
Availability availability();
// Starts a probe on a worker when the stored answer is stale or missing (the launch warm-up).
void refreshAvailability();
AvailabilityCache& availabilityCache();

// Emits availabilityChanged on the window's thread after every probe that a screen started.
class AvailabilityNotifier : public QObject {
    Q_OBJECT
public:
    static AvailabilityNotifier& instance();
signals:
    void availabilityChanged();
};

// What to tell the user about the current state, in the current interface language; empty
// when the model is available.
QString unavailableMessage();
QString unavailableMessage(Availability state);

// ---- content text (ai_content.h holds the blocking forms) ----
// Asynchronous: `done` runs later on the thread of `context` (never when `context` is gone),
// with the file's readable text, or nothing when none can be read.
void contentText(const QString& path, QObject* context, std::function<void(std::optional<QString>)> done);

// ---- the questions (ai_prompts.h holds the prompts, the clean-up and the blocking forms) ----
// Asynchronous: a short descriptive file name for the text, in `language` (an English language
// name; empty: the language of the text), or nothing.
void suggestName(const QString& text, const QString& language, QObject* context,
                 std::function<void(std::optional<QString>)> done);
void classify(const QString& text, bool chinese, QObject* context, std::function<void(std::optional<QString>)> done);
void translate(const QString& text, const QString& language, QObject* context,
               std::function<void(std::optional<QString>)> done);

}  // namespace AIName
