#pragma once
// Splitting run-together spot words into the fewest correctly spelled words, with caches shared
// by every thread.
#include <QMap>
#include <QString>
#include <QStringList>
#include <optional>

namespace SmartRename {

// Appends the words `word` stands for to `out`: learned splits first, then the spell checker's
// split into the fewest words, else the piece unchanged.
void splitWords(const QString& word, const QMap<QString, QStringList>& learnedSplits, QStringList& out);
// At least two words cut from `word` as written, or nothing.
std::optional<QStringList> segmentWord(const QString& word);

// The caches empty themselves at this size, just before an insertion.
inline constexpr qsizetype wordCacheLimit = 100000;
qsizetype spellingCacheSize();
qsizetype splitCacheSize();
void clearWordCaches();

}  // namespace SmartRename
