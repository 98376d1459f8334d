#include "update_feed.h"

#include "platform/lang.h"

#include <QVersionNumber>
#include <QXmlStreamReader>

namespace {

struct ItemText {
    QString version;
    QString shortVersion;
    QString title;
    QString link;
};

// Reads one <item> up to its end tag.
ItemText readItem(QXmlStreamReader& xml)
{
    ItemText item;
    while (xml.readNextStartElement()) {
        const auto name = xml.name();
        if (name == u"enclosure") {
            const QXmlStreamAttributes attrs = xml.attributes();
            for (const QXmlStreamAttribute& a : attrs) {
                if (a.name() == u"version" && item.version.isEmpty())
                    item.version = a.value().toString().trimmed();
                else if (a.name() == u"shortVersionString" && item.shortVersion.isEmpty())
                    item.shortVersion = a.value().toString().trimmed();
            }
            xml.skipCurrentElement();
        } else if (name == u"version") {
            item.version = xml.readElementText(QXmlStreamReader::SkipChildElements).trimmed();
        } else if (name == u"shortVersionString") {
            item.shortVersion = xml.readElementText(QXmlStreamReader::SkipChildElements).trimmed();
        } else if (name == u"title") {
            item.title = xml.readElementText(QXmlStreamReader::SkipChildElements).trimmed();
        } else if (name == u"link") {
            item.link = xml.readElementText(QXmlStreamReader::SkipChildElements).trimmed();
        } else {
            xml.skipCurrentElement();
        }
    }
    return item;
}

QUrl pageUrl(const QString& text)
{
    const QUrl url(text, QUrl::StrictMode);
    // Only a web page may be opened from a feed: no file:, no custom handlers.
    if (url.isValid() && (url.scheme() == u"https" || url.scheme() == u"http"))
        return url;
    return {};
}

}  // namespace

std::optional<int> compareVersions(const QString& a, const QString& b)
{
    qsizetype restA = 0, restB = 0;
    const QVersionNumber va = QVersionNumber::fromString(a.trimmed(), &restA);
    const QVersionNumber vb = QVersionNumber::fromString(b.trimmed(), &restB);
    if (va.isNull() || vb.isNull())
        return std::nullopt;
    return QVersionNumber::compare(va.normalized(), vb.normalized());
}

FeedReadResult readReleaseFeed(const QByteArray& data)
{
    FeedReadResult result;
    QXmlStreamReader xml(data);
    QString channelLink;
    std::optional<ItemText> best;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement || xml.name() != u"channel")
            continue;
        while (xml.readNextStartElement()) {
            if (xml.name() == u"item") {
                ItemText item = readItem(xml);
                if (!compareVersions(item.version, item.version))
                    continue;
                if (!best || *compareVersions(item.version, best->version) > 0)
                    best = item;
            } else if (xml.name() == u"link") {
                channelLink = xml.readElementText(QXmlStreamReader::SkipChildElements).trimmed();
            } else {
                xml.skipCurrentElement();
            }
        }
    }
    if (xml.hasError()) {
        result.error = L("The update feed can't be read: %1 (line %2).", "无法读取更新源:%1(第 %2 行)。")
                           .arg(xml.errorString())
                           .arg(xml.lineNumber());
        return result;
    }
    if (!best) {
        result.error = L("The update feed lists no release.", "更新源中没有任何版本。");
        return result;
    }
    FeedRelease r;
    r.version = best->version;
    r.displayVersion = best->shortVersion.isEmpty() ? best->version : best->shortVersion;
    r.title = best->title;
    r.releasePage = pageUrl(best->link);
    if (r.releasePage.isEmpty())
        r.releasePage = pageUrl(channelLink);
    result.newest = r;
    return result;
}
