#pragma once
// AI assistance on a local language-model server: whether it can answer, the text that stands
// for a file's content, the three questions (a file name, a category, a translation) and the
// clean-up of the answers. Nothing here throws; an unusable answer is "nothing".
#include "ai/ai_availability.h"
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

// ---- content text ----
// Text files are decoded from a bounded prefix of this many bytes.
constexpr qint64 textPrefixBytes = 4 * 1024 * 1024;
// The readable text of a text file or of the first pages of a PDF, or nothing. Blocking.
std::optional<QString> extractText(const QString& path);
// The text recognised in an image (English), or nothing. Blocking and slow.
std::optional<QString> describeImage(const QString& path);
// Blocking: the text that stands for the file's content, chosen by the file's kind.
std::optional<QString> contentTextNow(const QString& path);
// Asynchronous: `done` runs later on the thread of `context` (never when `context` is gone),
// with the file's readable text, or nothing when none can be read.
void contentText(const QString& path, QObject* context, std::function<void(std::optional<QString>)> done);

// ---- prompts and answers ----
QString nameInstructions(const QString& language);  // empty language: the content's own
QString classifyInstructions(bool chinese);
QString translateInstructions(const QString& language);
// "File content:", a line feed and the first 1500 characters of the text.
QString contentPrompt(const QString& text);
// A file name or category from a model's answer (possibly empty): a leading reasoning block
// and control characters go first, then the first line, trimmed, without quotes and
// characters that file names may not hold, at most 60 characters.
QString cleanAnswer(const QString& answer);
// A translation from a model's answer; nothing when nothing is left.
std::optional<QString> cleanTranslation(const QString& answer);

// Blocking forms of the three questions.
std::optional<QString> suggestNameNow(const QString& text, const QString& language);
std::optional<QString> classifyNow(const QString& text, bool chinese);
std::optional<QString> translateNow(const QString& text, const QString& language);

// Asynchronous: a short descriptive file name for the text, in `language` (an English language
// name; empty: the language of the text), or nothing.
void suggestName(const QString& text, const QString& language, QObject* context,
                 std::function<void(std::optional<QString>)> done);
void classify(const QString& text, bool chinese, QObject* context, std::function<void(std::optional<QString>)> done);
void translate(const QString& text, const QString& language, QObject* context,
               std::function<void(std::optional<QString>)> done);

}  // namespace AIName
