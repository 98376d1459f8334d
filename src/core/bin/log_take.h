#pragma once
// The Take a log fills into the next unlogged clip, from the Take of the clip before it.
#include <QString>

namespace LogTake {
// A whole decimal number (an optional "+" or "-", digits only, no blanks, within 64 bits) plus
// one, in plain decimal: "07" gives "8", "-1" gives "0". Any other text, the empty text and a
// number that would pass the 64-bit range come back unchanged.
QString next(const QString& previous);
}  // namespace LogTake
