#include "xml_text.h"

#include <QUrl>
#include <cstring>

namespace Exporter {
namespace {

bool forbidden(char32_t c)
{
    return (c < 0x20 && c != 0x09 && c != 0x0A && c != 0x0D) || c == 0xFFFE || c == 0xFFFF;
}

QString escaped(const QString& text, bool attribute)
{
    QString out;
    out.reserve(text.size() + text.size() / 8);
    for (QChar c : stripControlCharacters(text)) {
        switch (c.unicode()) {
        case '&': out += QLatin1String("&amp;"); break;
        case '<': out += QLatin1String("&lt;"); break;
        case '>': out += QLatin1String("&gt;"); break;
        case '"': out += QLatin1String("&quot;"); break;
        case '\r': out += QLatin1String("&#13;"); break;
        case '\t': out += attribute ? QLatin1String("&#9;") : QLatin1String("\t"); break;
        case '\n': out += attribute ? QLatin1String("&#10;") : QLatin1String("\n"); break;
        default: out += c;
        }
    }
    return out;
}

}  // namespace

QString stripControlCharacters(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            out += c;
            out += text[++i];
        } else if (!c.isSurrogate() && !forbidden(c.unicode())) {
            out += c;
        }
    }
    return out;
}

QString xmlEscape(const QString& text)
{
    return escaped(text, false);
}

QString xmlAttributeEscape(const QString& text)
{
    return escaped(text, true);
}

QString percentEncodedPath(const QString& path)
{
    const QString absolute = path.startsWith(u'/') ? path : QLatin1Char('/') + path;
    return QString::fromLatin1(absolute.toUtf8().toPercentEncoding("!$&'()*+,-./:;=@_~"));
}

bool parseXml(pugi::xml_document& doc, QByteArray& utf8)
{
    // No parse_doctype: a DOCTYPE, internal subset included, is skipped without being read.
    const unsigned options = pugi::parse_cdata | pugi::parse_escapes | pugi::parse_wconv_attribute | pugi::parse_eol;
    return doc.load_buffer_inplace(utf8.data(), size_t(utf8.size()), options, pugi::encoding_utf8);
}

QString textContent(const pugi::xml_node& node)
{
    QByteArray text;
    for (pugi::xml_node n = node.first_child(); n && n != node;) {
        if (n.type() == pugi::node_pcdata || n.type() == pugi::node_cdata)
            text += n.value();
        if (n.first_child()) {
            n = n.first_child();
            continue;
        }
        while (n != node && !n.next_sibling())
            n = n.parent();
        if (n != node)
            n = n.next_sibling();
    }
    return QString::fromUtf8(text);
}

QString attribute(const pugi::xml_node& node, const char* name)
{
    return QString::fromUtf8(node.attribute(name).value());
}

QString urlFileName(const QString& url)
{
    const QUrl parsed(url, QUrl::StrictMode);
    if (!parsed.isValid())
        return {};
    QString path = parsed.path(QUrl::FullyDecoded);
    while (path.size() > 1 && path.endsWith(QLatin1Char('/')))
        path.chop(1);
    return path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
}

std::vector<pugi::xml_node> elementsNamed(const pugi::xml_document& doc, const char* name)
{
    std::vector<pugi::xml_node> found;
    for (pugi::xml_node n = doc.first_child(); n;) {
        if (n.type() == pugi::node_element && std::strcmp(n.name(), name) == 0)
            found.push_back(n);
        if (n.first_child()) {
            n = n.first_child();
            continue;
        }
        while (n && !n.next_sibling())
            n = n.parent();
        if (n)
            n = n.next_sibling();
    }
    return found;
}

}  // namespace Exporter
