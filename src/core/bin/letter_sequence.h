#pragma once
// Stepping a cell's text by a whole number: as a decimal integer when it is one, else as a
// spreadsheet-style letter sequence (A … Z, AA, AB …), never below 1 or "A".
#include <QString>
#include <optional>

namespace LetterSequence {
// Non-empty and ASCII letters only.
bool isLettersOnly(const QString& text);
// Bijective base 26, any case: "A" = 1, "Z" = 26, "AA" = 27. Callers check isLettersOnly first.
qint64 value(const QString& letters);
// The empty text below 1.
QString letters(qint64 n, bool lowercase);
// None when the text is neither a number nor at most 12 letters.
std::optional<QString> step(const QString& text, qint64 delta);
}  // namespace LetterSequence
