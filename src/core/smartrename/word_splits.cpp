// Splitting run-together spot words ("WELCOMEBACK") into the fewest correctly spelled words.
// The same words recur across a batch and the preview recomputes names on every refresh, so
// both the spell checker's answers and whole splits are cached for the life of the process.
#include "smartrename/word_splits.h"
#include "word_checker.h"

#include <QHash>
#include <QMutex>
#include <algorithm>
#include <vector>

namespace SmartRename {

namespace {

struct WordCaches {
    QMutex lock;                                        // guards both maps
    QHash<QString, bool> spelling;                      // lower-case piece -> accepted
    QHash<QString, std::optional<QStringList>> splits;  // word as written -> split
};

WordCaches& caches()
{
    static WordCaches c;
    return c;
}

// Empties a cache that has grown to the limit, just before an insertion.
template <typename Map> void insertBounded(Map& map, const QString& key, const typename Map::mapped_type& value)
{
    if (map.size() >= wordCacheLimit)
        map.clear();
    map.insert(key, value);
}

bool isAccepted(const QString& piece, WordChecker& checker)
{
    WordCaches& c = caches();
    {
        QMutexLocker lock(&c.lock);
        const auto it = c.spelling.constFind(piece);
        if (it != c.spelling.constEnd())
            return *it;
    }
    // The checker runs outside the lock: two threads may ask the same piece and both store it.
    const bool ok = checker.isWord(piece);
    QMutexLocker lock(&c.lock);
    insertBounded(c.spelling, piece, ok);
    return ok;
}

std::optional<QStringList> cachedSegment(const QString& piece)
{
    WordCaches& c = caches();
    {
        QMutexLocker lock(&c.lock);
        const auto it = c.splits.constFind(piece);
        if (it != c.splits.constEnd())
            return *it;
    }
    const std::optional<QStringList> result = segmentWord(piece);
    QMutexLocker lock(&c.lock);
    insertBounded(c.splits, piece, result);
    return result;
}

}  // namespace

std::optional<QStringList> segmentWord(const QString& word)
{
    const qsizetype n = word.size();
    if (n < 4)
        return std::nullopt;
    for (QChar ch : word)
        if (!ch.isLetter())
            return std::nullopt;
    const QString lower = word.toLower();
    // Pieces are found on the lower-case text and cut from the word as written by position, so
    // a word whose lower-case form has another length is left whole.
    if (lower.size() != n)
        return std::nullopt;

    const std::shared_ptr<WordChecker> checker = spellChecker();
    // count[end]: fewest pieces covering lower[0, end), -1 when none; from[end]: last piece start.
    std::vector<qsizetype> count(size_t(n) + 1, -1), from(size_t(n) + 1, 0);
    count[0] = 0;
    // No dictionary word is longer than this, so longer pieces are never asked about: without
    // the bound one long pasted run of letters costs the cube of its length.
    constexpr qsizetype kLongestPiece = 64;
    for (qsizetype end = 1; end <= n; ++end) {
        for (qsizetype start = std::max<qsizetype>(0, end - kLongestPiece); start <= end - 3; ++start) {
            if (count[size_t(start)] < 0)
                continue;
            const qsizetype pieces = count[size_t(start)] + 1;
            if (count[size_t(end)] >= 0 && pieces >= count[size_t(end)])
                continue;  // could not win; the first split found stays on a tie
            if (isAccepted(lower.mid(start, end - start), *checker)) {
                count[size_t(end)] = pieces;
                from[size_t(end)] = start;
            }
        }
    }
    if (count[size_t(n)] < 2)
        return std::nullopt;
    QStringList out;
    for (qsizetype end = n; end > 0; end = from[size_t(end)])
        out.prepend(word.mid(from[size_t(end)], end - from[size_t(end)]));
    return out;
}

void splitWords(const QString& word, const QMap<QString, QStringList>& learnedSplits, QStringList& out)
{
    qsizetype start = 0;
    const qsizetype n = word.size();
    for (qsizetype i = 0; i <= n; ++i) {
        if (i < n && word[i] != u' ' && word[i] != u'-')
            continue;
        if (i > start) {
            const QString piece = word.mid(start, i - start);
            const auto learned = learnedSplits.constFind(piece.toUpper());
            if (learned != learnedSplits.constEnd())
                out += *learned;
            else if (const auto split = cachedSegment(piece))
                out += *split;
            else
                out += piece;
        }
        start = i + 1;
    }
}

qsizetype spellingCacheSize()
{
    QMutexLocker lock(&caches().lock);
    return caches().spelling.size();
}

qsizetype splitCacheSize()
{
    QMutexLocker lock(&caches().lock);
    return caches().splits.size();
}

void clearWordCaches()
{
    QMutexLocker lock(&caches().lock);
    caches().spelling.clear();
    caches().splits.clear();
}

}  // namespace SmartRename
