#pragma once
// The shared one-line prompts: naming a preset (and other screens' names), and a bin table's
// custom column. Both ask through Dialogs, so tests script the answers.
#include <QString>
#include <optional>

class Dialogs;

// The entered text trimmed of blanks and line breaks at both ends (possibly empty: callers
// decide what an empty name means), or nothing when cancelled.
std::optional<QString> promptText(Dialogs& dialogs, const QString& title, const QString& message,
                                  const QString& initialText);

struct CustomColumnAnswer {
    QString name;
    bool isCheckbox = false;  // a yes/no column
};
// A column name (trimmed, never empty) and its kind, or nothing when cancelled or left blank.
std::optional<CustomColumnAnswer> promptCustomColumn(Dialogs& dialogs);
