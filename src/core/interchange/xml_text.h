#pragma once
// Text in and out of the XML interchange documents.
#include <QByteArray>
#include <QString>
#include <pugixml.hpp>

namespace Exporter {

// Drops what XML 1.0 cannot carry: code points below U+0020 other than TAB, LF and CR,
// U+FFFE, U+FFFF and unpaired surrogates.
QString stripControlCharacters(const QString& text);
// Element text: & < > " escaped; CR as a character reference, since a parser turns a
// literal CR into LF.
QString xmlEscape(const QString& text);
// Attribute values: as element text, and TAB and LF as references too, since a parser
// turns literal ones into blanks.
QString xmlAttributeEscape(const QString& text);
// The absolute path (a relative one, an offline row's name, taken from the current folder)
// with every UTF-8 byte outside the URL path characters as %XX.
QString percentEncodedPath(const QString& path);

// A parse that never loads a DTD or an external entity and never expands an entity other
// than the five predefined ones and character references.
// The document points into `utf8`, which must outlive it.
bool parseXml(pugi::xml_document& doc, QByteArray& utf8);
// The concatenated text of every text node under `node`.
QString textContent(const pugi::xml_node& node);
QString attribute(const pugi::xml_node& node, const char* name);
// Last path component of a URL, percent escapes decoded; empty when it does not parse.
QString urlFileName(const QString& url);
// Elements named `name` anywhere under the document, in document order.
std::vector<pugi::xml_node> elementsNamed(const pugi::xml_document& doc, const char* name);

}  // namespace Exporter
