#pragma once
// The language model behind AI naming. Until a local model server is wired in, the model is
// reported as unavailable, and the screens leave their AI controls out.
#include <QString>
#include <functional>
#include <optional>

class QObject;

namespace AIName {

enum class Availability { available, notEligible, notEnabled, notReady, unavailable, unsupportedOS };

// The current state of the language model; safe from any thread.
Availability availability();

// What to tell the user about the current state, in the current interface language; empty
// when the model is available.
QString unavailableMessage();
QString unavailableMessage(Availability state);

// Asynchronous: `done` runs later on the thread of `context` (never when `context` is gone),
// with the file's readable text, or nothing when none can be read.
void contentText(const QString& path, QObject* context, std::function<void(std::optional<QString>)> done);
// Asynchronous: a short descriptive file name for the text, in `language` (an English language
// name; empty: the language of the text), or nothing.
void suggestName(const QString& text, const QString& language, QObject* context,
                 std::function<void(std::optional<QString>)> done);

} // namespace AIName
