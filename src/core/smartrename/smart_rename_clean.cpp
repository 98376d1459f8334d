// Normalising names before recognition: pasted names carry typographic quotes, invisible
// characters and stray whitespace that would otherwise end up inside words.
#include "smartrename/smart_rename_clean.h"

namespace SmartRename {

namespace {

// Printable ASCII without quotes and without surrounding blanks needs no work; most names are.
bool isAlreadyClean(const QString& name)
{
    if (name.isEmpty())
        return true;
    if (name.front() == u' ' || name.back() == u' ')
        return false;
    for (QChar c : name) {
        const char16_t u = c.unicode();
        if (u < 0x20 || u > 0x7E || u == u'"' || u == u'\'')
            return false;
    }
    return true;
}

}  // namespace

QString cleanInput(const QString& name)
{
    if (isAlreadyClean(name))
        return name;
    QString out;
    out.reserve(name.size());
    bool sawQuote = false;
    for (char32_t c : name.toUcs4()) {
        if (isDoubleQuoteCharacter(c) || isZeroWidthCharacter(c))
            continue;
        if (isSingleQuoteCharacter(c) || c == U'\'') {
            out += u'\'';
            sawQuote = true;
        } else if (QChar::isSpace(c)) {
            out += u' ';
        } else {
            out += QString::fromUcs4(&c, 1);
        }
    }
    if (sawQuote)
        out.replace(quotedWordRegex(), QStringLiteral("\\1\\2"));
    qsizetype b = 0, e = out.size();
    while (b < e && out[b] == u' ')
        ++b;
    while (e > b && out[e - 1] == u' ')
        --e;
    return out.mid(b, e - b);
}

std::pair<QString, QString> splitExtension(const QString& name)
{
    const qsizetype dot = name.lastIndexOf(u'.');
    if (dot <= 0)
        return {name, QString()};
    const QString ext = name.mid(dot + 1);
    if (ext.isEmpty() || ext.size() > 12 || !ext.front().isLetter())
        return {name, QString()};
    for (QChar c : ext)
        if (!c.isLetterOrNumber())
            return {name, QString()};
    return {name.left(dot), ext};
}

QStringList parseIgnoreTags(const QString& text)
{
    QStringList tags;
    for (const QString& piece : text.split(u',', Qt::SkipEmptyParts)) {
        qsizetype b = 0, e = piece.size();
        while (b < e && (piece[b] == u' ' || piece[b] == u'\t'))
            ++b;
        while (e > b && (piece[e - 1] == u' ' || piece[e - 1] == u'\t'))
            --e;
        if (e > b)
            tags << piece.mid(b, e - b);
    }
    return tags;
}

QString removeIgnoredTags(QString name, const QStringList& tags)
{
    for (const QString& tag : tags)
        if (!tag.isEmpty())
            name.remove(tag, Qt::CaseInsensitive);
    return name;
}

}  // namespace SmartRename
