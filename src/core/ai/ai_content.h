#pragma once
// The text that stands for a file's content, for the model's questions. Every function here
// blocks its thread and may be slow: the window's thread uses AIName::contentText instead.
#include <QString>
#include <QtGlobal>
#include <optional>

namespace AIName {

// Text files are decoded from a bounded prefix of this many bytes.
constexpr qint64 textPrefixBytes = 4 * 1024 * 1024;
// The readable text of a text file or of the first pages of a PDF, or nothing.
std::optional<QString> extractText(const QString& path);
// The text recognised in an image (English), or nothing. Slow.
std::optional<QString> describeImage(const QString& path);
// The text that stands for the file's content, chosen by the file's kind.
std::optional<QString> contentTextNow(const QString& path);

}  // namespace AIName
