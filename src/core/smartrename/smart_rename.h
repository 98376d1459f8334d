#pragma once
// The delivery-name engine's building blocks: cleaning helpers, the recogniser's rules on
// upper-case keys, the formatter and word splitting. cleanInput() and correct() themselves are
// declared with the records in smart_rename_types.h. Everything here may run on any thread.
#include "smart_rename_types.h"

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <optional>
#include <utility>

namespace SmartRename {

// ---- cleaning, ignore tags and extensions (smart_rename_clean.cpp) ----

// (stem, extension); the extension is "" when the name has none.
std::pair<QString, QString> splitExtension(const QString& name);
// The comma-separated ignore text as a list of tags, blanks and tabs trimmed, empties dropped.
QStringList parseIgnoreTags(const QString& text);
// Every occurrence of each tag removed, literally and ignoring case, in list order.
QString removeIgnoredTags(QString name, const QStringList& tags);

// ---- recognition (smart_rename_recognize.cpp) ----

// One version marker: name "REV", "ALT" or "" for a bare letter; value digits, one letter or "".
struct Marker {
    QString name;
    QString value;
    bool operator==(const Marker&) const = default;
};

struct ParsedVersion {
    QString number;
    QList<Marker> markers;
    bool operator==(const ParsedVersion&) const = default;
};

struct MarkerSuffix {
    QList<Marker> markers;
    qsizetype next = 0;  // position after the last word used
};

// The upper-case, blank-free form every recognition rule compares.
QString wordKey(QStringView word);

std::optional<ParsedVersion> parseVersion(QStringView key);
std::optional<QList<Marker>> findMarkers(QStringView text);
MarkerSuffix parseVersionSuffix(const QStringList& keys, qsizetype from);
std::optional<QString> normalizeTiming(QStringView key);
std::optional<QString> lookupCutType(QStringView key, const QList<CutType>& cutTypes);
// (lead text, "Digital<W>x<H>")
std::optional<std::pair<QString, QString>> sizeCutType(QStringView key);
std::optional<QString> digitalPrefixedCutType(QStringView key);
// (key without the variant it ends with, canonical name)
std::optional<std::pair<QString, QString>> splitCutTypeSuffix(QStringView key,
                                                              const QList<CutType>& cutTypes);

// The built-in table, built once and shared (its ids never change within a run).
const QList<CutType>& builtInCutTypes();

// ---- output styles (smart_rename_format.cpp) ----

// What recognition found, handed to the formatter.
struct Parts {
    QString code;
    bool codeHidden = false;
    QStringList spotWords;
    std::optional<QString> cutType;  // canonical name or a "Digital" size
    std::optional<QString> timing;
    std::optional<QString> versionNumber;
    QList<Marker> markers;
};

QString titleCaseWord(const QString& word);
QString titleCase(const QString& text);
Result format(const Parts& parts, SmartRenameStyle style, const CustomNamingConfig& config);

// ---- word splitting (word_splits.cpp) ----

// Appends the words `word` stands for to `out`: learned splits first, then the spell checker's
// split into the fewest words, else the piece unchanged.
void splitWords(const QString& word, const QMap<QString, QStringList>& learnedSplits,
                QStringList& out);
// At least two words cut from `word` as written, or nothing.
std::optional<QStringList> segmentWord(const QString& word);

// The caches empty themselves at this size, just before an insertion.
inline constexpr qsizetype wordCacheLimit = 100000;
qsizetype spellingCacheSize();
qsizetype splitCacheSize();
void clearWordCaches();

} // namespace SmartRename
