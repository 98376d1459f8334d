#pragma once
// The yes/no reading of a checkbox-like cell (Circle, Good and the other logging flags).
#include <QString>

// False for the empty text, "0", "false", "no" and "off" (any case, blanks and tabs around
// them ignored); true for every other text. Line breaks are not trimmed.
bool parseFlag(const QString& text);
