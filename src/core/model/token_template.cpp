#include "model/token_template.h"

#include "bin/bin_row.h"
#include "model/file_item.h"
#include "model/rule_engine.h"

#include <QTextBoundaryFinder>
#include <algorithm>
#include <vector>

namespace {

struct Token {
    QString name;
    qsizetype clusters = 0;
    const QString* value = nullptr;
};

std::vector<Token> longestFirst(const TemplateTokens& tokens)
{
    std::vector<Token> sorted;
    sorted.reserve(size_t(tokens.size()));
    for (auto it = tokens.constBegin(); it != tokens.constEnd(); ++it)
        if (!it.key().isEmpty())  // an empty name would swallow every reference
            sorted.push_back({it.key(), graphemeCount(it.key()), &it.value()});
    std::stable_sort(sorted.begin(), sorted.end(),
                     [](const Token& a, const Token& b) { return a.clusters > b.clusters; });
    return sorted;
}

// UTF-16 offsets of every user-perceived character boundary, 0 and size() included.
QList<qsizetype> boundaries(const QString& s)
{
    QList<qsizetype> out{0};
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, s);
    for (qsizetype b = finder.toNextBoundary(); b >= 0; b = finder.toNextBoundary())
        out.append(b);
    if (out.last() != s.size())
        out.append(s.size());
    return out;
}

// The word after an unmatched "%": letters, digits, "_" and blanks, less trailing "_" and blanks.
QString referenceWord(QStringView rest)
{
    qsizetype end = 0;
    while (end < rest.size()) {
        const bool pair = rest.at(end).isHighSurrogate() && end + 1 < rest.size() && rest.at(end + 1).isLowSurrogate();
        const char32_t c = pair ? QChar::surrogateToUcs4(rest.at(end), rest.at(end + 1)) : rest.at(end).unicode();
        if (!(QChar::isLetterOrNumber(c) || c == U'_' || c == U' '))
            break;
        end += pair ? 2 : 1;
    }
    QStringView word = rest.left(end);
    while (!word.isEmpty() && (word.back() == u'_' || word.back() == u' '))
        word.chop(1);
    return word.toString();
}

}  // namespace

TemplateExpansion expandTemplate(const QString& templ, const TemplateTokens& tokens)
{
    TemplateExpansion result;
    if (templ.isEmpty())
        return result;
    const std::vector<Token> sorted = longestFirst(tokens);
    qsizetype longest = 0;
    for (const Token& t : sorted)
        longest = std::max(longest, t.name.size());
    const QList<qsizetype> bounds = boundaries(templ);
    const qsizetype clusters = bounds.size() - 1;
    qsizetype i = 0;
    while (i < clusters) {
        const qsizetype begin = bounds[i];
        const qsizetype end = bounds[i + 1];
        if (templ.at(begin) != u'%' || end - begin != 1) {
            result.text += QStringView(templ).mid(begin, end - begin);
            ++i;
            continue;
        }
        // Only as much of the rest as the longest name could match is folded: folding the whole
        // rest at every "%" made a long template cost the square of its length. Case mapping
        // works per code point and never shrinks one below one UTF-16 unit, so a piece of
        // twice the longest name's length, cut between code points, folds to a text at least as
        // long as any name, and matches exactly where the whole rest would.
        qsizetype take = std::min(templ.size() - end, 2 * longest + 2);
        if (end + take < templ.size() && take > 0 && templ.at(end + take - 1).isHighSurrogate())
            --take;
        const QString rest = templ.mid(end, take).toLower().replace(u' ', u'_');
        const auto match = std::find_if(sorted.begin(), sorted.end(),
                                        [&](const Token& t) { return rest.startsWith(t.name); });
        if (match != sorted.end()) {
            result.text += *match->value;
            i = std::min(clusters, i + match->clusters + 1);
            continue;
        }
        const QString word = referenceWord(QStringView(templ).mid(end));
        if (!word.isEmpty())
            result.unresolved.append(u'%' + word);
        result.text += u'%';
        ++i;
    }
    return result;
}

TemplateTokens templateTokens(int index, const BinRow& row)
{
    TemplateTokens tokens;
    for (auto it = row.fields.custom.constBegin(); it != row.fields.custom.constEnd(); ++it) {
        QString name = it.key().toLower();
        name.replace(u'/', u'_').replace(u' ', u'_');
        tokens.insert(name, row.value(QStringLiteral("custom:") + it.key()));
    }
    static const char* const builtIn[] = {"clipname", "title",   "author", "extra", "keywords",
                                          "city",     "country", "gps",    "ext"};
    for (const char* key : builtIn)
        tokens.insert(QLatin1String(key), row.value(QLatin1String(key)));
    tokens.insert(QStringLiteral("clip_name"), tokens.value(QStringLiteral("clipname")));
    const QString stem = PathText::withoutExtension(row.name);
    tokens.insert(QStringLiteral("name"), stem);
    tokens.insert(QStringLiteral("original"), stem);
    tokens.insert(QStringLiteral("date"), row.fields.date ? BinRow::formatDate(*row.fields.date) : QString());
    const QString seq = QString::number(qint64(index) + 1);
    tokens.insert(QStringLiteral("n"), seq);
    tokens.insert(QStringLiteral("seq"), seq);
    return tokens;
}
