#pragma once
// Replace-all with a user's regular expression (ICU dialect) and a "$n" template.
#include <QString>
#include <optional>

// Every match of `pattern` in `input` replaced by `templ`, where "$n" stands for group n (0 is
// the whole match) and a backslash takes the next character literally. Nothing when the
// pattern does not compile or a match runs past the time limit; such a pattern is then
// remembered as unusable.
std::optional<QString> regexReplaceAll(const QString& pattern, const QString& input, const QString& templ);

// False for a pattern that does not compile or has been given up after a time-out.
bool regexPatternUsable(const QString& pattern);

// Entries in the compiled-pattern cache (for tests of its bound).
int regexCacheSize();
