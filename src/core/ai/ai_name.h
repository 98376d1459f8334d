#pragma once
// The language model behind AI naming. Until a local model server is wired in, the model is
// reported as unavailable, and the screens leave their AI controls out.
#include <QString>

namespace AIName {

enum class Availability { available, notEligible, notEnabled, notReady, unavailable, unsupportedOS };

// The current state of the language model; safe from any thread.
Availability availability();

// What to tell the user about the current state, in the current interface language; empty
// when the model is available.
QString unavailableMessage();
QString unavailableMessage(Availability state);

} // namespace AIName
