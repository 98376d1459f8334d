#pragma once
// The three questions put to the model (a file name, a category, a translation) and the
// clean-up of its answers. The *Now forms block their thread on the server: the window's
// thread uses the asynchronous forms of ai_name.h.
#include <QString>
#include <optional>

namespace AIName {

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

std::optional<QString> suggestNameNow(const QString& text, const QString& language);
std::optional<QString> classifyNow(const QString& text, bool chinese);
std::optional<QString> translateNow(const QString& text, const QString& language);

}  // namespace AIName
