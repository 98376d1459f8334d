// Finding the production code, spot name, cut type, timing and version in a delivery name.
// Every rule looks at keys (words upper-cased, blanks removed); spot words keep their own case.
#include "smartrename/smart_rename_recognize.h"
#include "smartrename/smart_rename_format.h"
#include "smartrename/word_splits.h"

namespace SmartRename {

namespace {

qsizetype numberRun(QStringView s, qsizetype from)
{
    qsizetype i = from;
    while (i < s.size() && s[i].isNumber())
        ++i;
    return i - from;
}

bool allNumbers(QStringView s)
{
    return !s.isEmpty() && numberRun(s, 0) == s.size();
}

// The version marker name `s` starts with, or an empty view.
QStringView leadingMarker(QStringView s)
{
    for (const QString& m : versionMarkers())
        if (s.startsWith(m))
            return s.first(m.size());
    return {};
}

bool isSingleLetter(QStringView s)
{
    return s.size() == 1 && s[0].isLetter();
}

QList<QString> wordsOf(const QString& name)
{
    QList<QString> words;
    qsizetype start = 0;
    for (qsizetype i = 0; i <= name.size(); ++i) {
        if (i < name.size() && name[i] != u' ' && name[i] != u'_')
            continue;
        if (i > start)
            words << name.mid(start, i - start);
        start = i + 1;
    }
    return words;
}

// The recognition state while the words are scanned.
struct Scan {
    const QStringList& words;
    const QStringList& keys;
    const QList<CutType>& table;
    const QMap<QString, QStringList>& learned;
    Parts parts;
    bool versionFound = false;

    bool hasNext(qsizetype i) const { return i + 1 < keys.size(); }
    void addSpot(const QString& word) { splitWords(word, learned, parts.spotWords); }
    void setTiming(const QString& t)
    {
        if (!parts.timing)
            parts.timing = t;
    }

    // Returns how many words the rule used (0: no rule applied).
    qsizetype timingRule(qsizetype i)
    {
        const QStringView k = keys[i];
        if (k.startsWith(u':')) {
            if (const auto t = normalizeTiming(k.mid(1))) {
                setTiming(*t);
                return 1;
            }
        }
        for (const QString& prefix : timingPrefixes()) {
            const QStringView rest = k.mid(prefix.size());
            if (k.startsWith(prefix) && rest.size() >= 1 && rest.size() <= 3 && allNumbers(rest)) {
                setTiming(rest.size() == 1 ? "0" + rest.toString() : rest.toString());
                return 1;
            }
        }
        return 0;
    }

    qsizetype cutTypeRule(qsizetype i)
    {
        const QString& k = keys[i];
        if (hasNext(i)) {
            if (const auto c = lookupCutType(QString(k + keys[i + 1]), table)) {
                parts.cutType = *c;
                return 2;
            }
        }
        if (const auto c = lookupCutType(k, table)) {
            parts.cutType = *c;
            return 1;
        }
        if (const auto s = sizeCutType(k); s && s->first.isEmpty()) {
            parts.cutType = s->second;
            return 1;
        }
        if (hasNext(i) && digitalLeadWords().contains(k)) {
            if (const auto c = digitalPrefixedCutType(keys[i + 1])) {
                parts.cutType = *c;
                return 2;
            }
        }
        return 0;
    }

    // A word no other rule took: a cut type glued to the end of a spot word, or spot words.
    void spotRule(qsizetype i)
    {
        const QString& k = keys[i];
        if (!parts.cutType) {
            if (const auto s = splitCutTypeSuffix(k, table)) {
                parts.cutType = s->second;
                if (!s->first.isEmpty())
                    addSpot(s->first);
                return;
            }
            if (const auto s = sizeCutType(k)) {  // an empty lead was taken by cutTypeRule
                parts.cutType = s->second;
                addSpot(s->first);
                return;
            }
        }
        addSpot(words[i]);
    }

    void run(qsizetype from)
    {
        for (qsizetype i = from; i < keys.size();) {
            const QString& k = keys[i];
            if (k.isEmpty()) {
                ++i;
                continue;
            }
            if (const auto v = parseVersion(k)) {
                parts.versionNumber = v->number;
                parts.markers = v->markers + parseVersionSuffix(keys, i + 1).markers;
                versionFound = true;
                return;  // whatever follows the version is not part of the name
            }
            qsizetype used = timingRule(i);
            if (!used && !parts.cutType)
                used = cutTypeRule(i);
            if (!used && !parts.timing) {
                if (const auto t = normalizeTiming(k)) {
                    parts.timing = *t;
                    used = 1;
                }
            }
            if (!used) {
                spotRule(i);
                used = 1;
            }
            i += used;
        }
    }
};

}  // namespace

QString wordKey(QStringView word)
{
    QString key;
    key.reserve(word.size());
    for (QChar c : word)
        if (!c.isSpace())
            key += c;
    return key.toUpper();
}

const QList<CutType>& builtInCutTypes()
{
    static const QList<CutType> table = defaultCutTypes();
    return table;
}

std::optional<QList<Marker>> findMarkers(QStringView text)
{
    QList<Marker> markers;
    while (!text.isEmpty()) {
        const QStringView name = leadingMarker(text);
        if (!name.isEmpty()) {
            text = text.mid(name.size());
            Marker m{name.toString(), {}};
            if (const qsizetype run = numberRun(text, 0)) {
                m.value = text.first(run).toString();
                text = text.mid(run);
            } else if (!text.isEmpty() && text[0].isLetter() && leadingMarker(text).isEmpty()) {
                m.value = text.first(1).toString();
                text = text.mid(1);
            }
            markers << m;
            continue;
        }
        if (!text[0].isLetter() || (text.size() > 1 && leadingMarker(text.mid(1)).isEmpty()))
            return std::nullopt;
        markers << Marker{{}, text.first(1).toString()};
        text = text.mid(1);
    }
    return markers;
}

std::optional<ParsedVersion> parseVersion(QStringView key)
{
    if (!key.startsWith(u'V'))
        return std::nullopt;
    const qsizetype run = numberRun(key, 1);
    if (run == 0)
        return std::nullopt;
    QStringView digits = key.mid(1, run);
    while (digits.size() > 1 && digits[0] == u'0')
        digits = digits.mid(1);
    QStringView rest = key.mid(1 + run);
    if (rest.startsWith(u'.'))
        rest = rest.mid(1 + numberRun(rest, 1));
    const auto markers = findMarkers(rest);
    if (!markers)
        return std::nullopt;
    return ParsedVersion{digits.toString(), *markers};
}

MarkerSuffix parseVersionSuffix(const QStringList& keys, qsizetype from)
{
    MarkerSuffix out;
    qsizetype i = from;
    while (i < keys.size()) {
        const QString& k = keys[i];
        if (k.isEmpty())
            break;
        if (!leadingMarker(k).isEmpty()) {
            auto markers = findMarkers(k);
            if (!markers)
                break;
            ++i;
            if (!markers->isEmpty() && markers->last().value.isEmpty() && i < keys.size()
                && (allNumbers(keys[i]) || isSingleLetter(keys[i]))) {
                markers->last().value = keys[i];
                ++i;
            }
            out.markers += *markers;
        } else if (isSingleLetter(k)) {
            out.markers << Marker{{}, k};
            ++i;
        } else {
            break;
        }
    }
    out.next = i;
    return out;
}

std::optional<QString> normalizeTiming(QStringView key)
{
    if (key.size() < 1 || key.size() > 3 || !allNumbers(key))
        return std::nullopt;
    return key.size() == 1 ? "0" + key.toString() : key.toString();
}

std::optional<QString> lookupCutType(QStringView key, const QList<CutType>& cutTypes)
{
    for (const CutType& c : cutTypes)
        for (const QString& v : c.variants)
            if (v == key)
                return c.canonical;
    return std::nullopt;
}

std::optional<std::pair<QString, QString>> sizeCutType(QStringView key)
{
    qsizetype h = 0;
    while (h < key.size() && key[key.size() - 1 - h].isNumber())
        ++h;
    if (h == 0 || h == key.size())
        return std::nullopt;
    const qsizetype x = key.size() - 1 - h;
    if (key[x] != u'X' || x == 0)
        return std::nullopt;
    qsizetype w = 0;
    while (w < x && key[x - 1 - w].isNumber())
        ++w;
    if (w == 0)
        return std::nullopt;
    const QStringView before = key.first(x - w);
    for (const QString& lead : digitalLeadWords()) {
        if (before.endsWith(lead)) {
            const QString size = "Digital" + key.mid(x - w, w).toString() + "x" + key.last(h).toString();
            return std::pair{before.chopped(lead.size()).toString(), size};
        }
    }
    return std::nullopt;
}

std::optional<QString> digitalPrefixedCutType(QStringView key)
{
    const qsizetype x = key.indexOf(u'X');
    if (x <= 0 || x == key.size() - 1)
        return std::nullopt;
    const QStringView before = key.first(x), after = key.mid(x + 1);
    if (!allNumbers(before) || !allNumbers(after))
        return std::nullopt;
    return "Digital" + before.toString() + "x" + after.toString();
}

std::optional<std::pair<QString, QString>> splitCutTypeSuffix(QStringView key, const QList<CutType>& cutTypes)
{
    for (const CutType& c : cutTypes)
        for (const QString& v : c.variants)
            if (v.size() >= 5 && v.size() < key.size() && key.endsWith(v))
                return std::pair{key.chopped(v.size()).toString(), c.canonical};
    return std::nullopt;
}

Result correct(const QString& cleaned, SmartRenameStyle style, const QList<CutType>& cutTypes,
               const CustomNamingConfig& config, const QMap<QString, QStringList>& learnedSplits, bool noProductionCode)
{
    const QStringList words = wordsOf(cleaned);
    if (words.isEmpty()) {
        Result r;
        r.corrected = cleaned;
        return r;
    }
    QStringList keys;
    keys.reserve(words.size());
    for (const QString& w : words)
        keys << wordKey(w);

    const QList<CutType>& table = style == SmartRenameStyle::custom ? cutTypes : builtInCutTypes();
    Scan scan{words, keys, table, learnedSplits, {}};
    qsizetype start = 0;
    if (!noProductionCode && cleaned.contains(u'_')) {
        scan.parts.code = keys[0];
        start = 1;
    }
    scan.run(start);

    Parts& parts = scan.parts;
    parts.codeHidden = style == SmartRenameStyle::email
                    || (style == SmartRenameStyle::custom && !config.includeProductionCode);
    // A name that is only a code and a version still needs something to show when the code is
    // hidden, so the first word stands in as the spot name.
    if (parts.codeHidden && parts.spotWords.isEmpty())
        scan.addSpot(words[0]);
    if (!scan.versionFound)
        parts.versionNumber.reset();
    return format(parts, style, config);
}

}  // namespace SmartRename
