#include "regex_replace.h"

#include <QHash>
#include <QMutex>
#include <atomic>
#include <memory>
#include <unicode/regex.h>

namespace {

using PatternPtr = std::shared_ptr<const icu::RegexPattern>;

// Steps of ICU's match engine, roughly milliseconds: generous for any sane pattern on a file
// name, short enough that a runaway pattern cannot freeze the preview.
constexpr int32_t kMatchTimeLimit = 50;
constexpr qsizetype kCacheBound = 200;

struct PatternCache {
    QMutex mutex;
    QHash<QString, PatternPtr> entries;  // nullptr: does not compile (or timed out)
    // Moves on whenever an entry changes, so that a thread's memory of its last pattern
    // (below) is asked again after a pattern was given up.
    std::atomic<quint64> generation{0};
};

PatternCache& cache()
{
    static PatternCache c;
    return c;
}

icu::UnicodeString aliasOf(const QString& s)
{
    // Read-only alias: no copy of the name's text.
    return icu::UnicodeString(false, reinterpret_cast<const char16_t*>(s.utf16()), int32_t(s.size()));
}

PatternPtr compiledShared(const QString& pattern)
{
    PatternCache& c = cache();
    QMutexLocker lock(&c.mutex);
    const auto it = c.entries.constFind(pattern);
    if (it != c.entries.constEnd())
        return *it;
    if (c.entries.size() > kCacheBound) {
        c.entries.clear();
        c.generation.fetch_add(1);  // patterns given up on are tried afresh everywhere
    }
    UErrorCode status = U_ZERO_ERROR;
    UParseError parseError;
    PatternPtr p(icu::RegexPattern::compile(aliasOf(pattern), 0, parseError, status));
    if (U_FAILURE(status))
        p.reset();
    c.entries.insert(pattern, p);
    return p;
}

// A preview asks for the same pattern once per name, from several threads: each thread keeps
// the last one it was given, and one matcher for it, instead of taking the shared lock and
// allocating a matcher every time.
struct ThreadPattern {
    QString pattern;
    PatternPtr compiled;
    quint64 generation = ~quint64(0);
    std::unique_ptr<icu::RegexMatcher> matcher;  // on `compiled`, made when first asked for
};

thread_local ThreadPattern t_last;

// The pattern is handed out bare, valid until this thread asks for another: copying the shared
// pointer for every name would have all threads take turns at its counter.
const icu::RegexPattern* compiled(const QString& pattern)
{
    const quint64 now = cache().generation.load();
    if (t_last.generation == now && t_last.pattern == pattern)
        return t_last.compiled.get();
    PatternPtr p = compiledShared(pattern);
    if (p != t_last.compiled)
        t_last.matcher.reset();
    t_last.compiled = std::move(p);
    t_last.pattern = pattern;
    t_last.generation = now;  // a pattern given up since then is asked again next time
    return t_last.compiled.get();
}

void markUnusable(const QString& pattern)
{
    PatternCache& c = cache();
    QMutexLocker lock(&c.mutex);
    c.entries.insert(pattern, nullptr);
    c.generation.fetch_add(1);
}

// The matcher of the pattern compiled() last gave this thread.
icu::RegexMatcher* lastMatcher()
{
    if (!t_last.matcher) {
        UErrorCode status = U_ZERO_ERROR;
        std::unique_ptr<icu::RegexMatcher> m(t_last.compiled->matcher(status));
        if (U_FAILURE(status))
            return nullptr;
        m->setTimeLimit(kMatchTimeLimit, status);
        t_last.matcher = std::move(m);
    }
    return t_last.matcher.get();
}

// Appends the template for the current match of `input`: "$n" takes the longest run of digits
// that still names an existing group (a number beyond the groups gives nothing), "$" before
// anything else is literal, and a backslash makes the next character literal.
void appendExpanded(QString& out, QStringView input, QStringView templ, icu::RegexMatcher& m)
{
    const int32_t groups = m.groupCount();
    qsizetype literal = 0;  // start of the plain text not yet appended
    for (qsizetype i = 0; i < templ.size(); ++i) {
        const QChar ch = templ.at(i);
        if (ch == u'\\' && i + 1 < templ.size()) {
            out += templ.mid(literal, i - literal);
            literal = ++i;  // the next character is plain text
            continue;
        }
        const char16_t after = i + 1 < templ.size() ? templ.at(i + 1).unicode() : 0;
        if (ch != u'$' || after < '0' || after > '9')
            continue;
        out += templ.mid(literal, i - literal);
        qint64 group = templ.at(++i).unicode() - '0';
        while (i + 1 < templ.size()) {
            const char16_t next = templ.at(i + 1).unicode();
            if (next < '0' || next > '9' || group * 10 + (next - '0') > groups)
                break;
            group = group * 10 + (next - '0');
            ++i;
        }
        literal = i + 1;
        if (group > groups)
            continue;
        UErrorCode status = U_ZERO_ERROR;
        const int64_t start = m.start64(int32_t(group), status);
        const int64_t end = m.end64(int32_t(group), status);
        if (U_SUCCESS(status) && start >= 0)
            out += input.mid(qsizetype(start), qsizetype(end - start));
    }
    out += templ.mid(literal);
}

}  // namespace

std::optional<QString> regexReplaceAll(const QString& pattern, const QString& input, const QString& templ)
{
    if (!compiled(pattern))
        return std::nullopt;
    icu::RegexMatcher* m = lastMatcher();
    if (!m)
        return std::nullopt;
    const icu::UnicodeString text = aliasOf(input);
    m->reset(text);
    QString out;
    qsizetype last = 0;
    bool matched = false;
    UErrorCode status = U_ZERO_ERROR;
    while (m->find(status) && U_SUCCESS(status)) {
        if (!matched)
            out.reserve(input.size() + templ.size() + 16);
        matched = true;
        const qsizetype start = m->start(status);
        const qsizetype end = m->end(status);
        out += QStringView(input).mid(last, start - last);
        appendExpanded(out, input, templ, *m);
        last = end;
    }
    if (U_FAILURE(status)) {
        // A catastrophic pattern on this name: give it up for every name, like a bad pattern.
        markUnusable(pattern);
        return std::nullopt;
    }
    if (!matched)
        return input;
    out += QStringView(input).mid(last);
    return out;
}

bool regexPatternUsable(const QString& pattern)
{
    return compiled(pattern) != nullptr;
}

int regexCacheSize()
{
    PatternCache& c = cache();
    QMutexLocker lock(&c.mutex);
    return int(c.entries.size());
}
