#include "fcpxml_format.h"

#include "timecode_text.h"
#include "xml_text.h"

#include <QMap>

namespace Exporter {
namespace {

const char* const mdKeys[] = {"com.apple.proapps.studio.scene",      "com.apple.proapps.studio.shot",
                              "com.apple.proapps.studio.take",       "com.apple.proapps.studio.reel",
                              "com.apple.proapps.studio.cameraName", "com.apple.proapps.studio.cameraRoll",
                              "com.apple.proapps.studio.soundRoll"};

QString attr(const QString& v)
{
    return xmlAttributeEscape(v);
}

// Frame duration and clip duration as rational seconds; NTSC rates in exact 1001 steps.
struct Timing {
    QString frameDuration, duration;
};

Timing timingOf(const ExportItem& item)
{
    const double fps = usableFps(item.f.fps);
    const int rate = frameRate(fps);
    const qint64 count = std::max<qint64>(frameCount(item.f.durSec, fps), 1);
    if (isNtsc(fps)) {
        const QString base = QStringLiteral("/%1s").arg(rate * 1000);
        return {QStringLiteral("1001") + base, QString::number(count * 1001) + base};
    }
    return {QStringLiteral("1/%1s").arg(rate), QStringLiteral("%1/%2s").arg(count).arg(rate)};
}

QString note(const ExportItem& item)
{
    if (item.f.custom.contains(QStringLiteral("Log Note")))
        return custom(item, QStringLiteral("Log Note"));
    if (item.f.custom.contains(QStringLiteral("Comments")))
        return custom(item, QStringLiteral("Comments"));
    return item.f.desc;
}

QStringList keywords(const QString& text)
{
    QStringList out;
    for (const QString& piece : text.split(QLatin1Char(','))) {
        QString k = piece;
        while (!k.isEmpty() && (k.front() == QLatin1Char(' ') || k.front() == QLatin1Char('\t')))
            k.remove(0, 1);
        while (!k.isEmpty() && (k.back() == QLatin1Char(' ') || k.back() == QLatin1Char('\t')))
            k.chop(1);
        if (!k.isEmpty())
            out << k;
    }
    return out;
}

QStringList mdValues(const ExportItem& item)
{
    auto c = [&item](const char* name) { return custom(item, QString::fromLatin1(name)); };
    const QString reel = c("Reel").isEmpty() ? c("Tape") : c("Reel");
    return {c("Scene"), c("Shot"), c("Take"), reel, c("Camera"), c("Camera Roll"), c("Sound Roll")};
}

void writeResources(QString& out, const ExportItem& item, int n)
{
    const Timing t = timingOf(item);
    const QString id = QString::number(n);
    out += QStringLiteral(
               "    <format id=\"r%1\" name=\"FFVideoFormat\" frameDuration=\"%2\" width=\"%3\" height=\"%4\"/>\n")
               .arg(id, t.frameDuration, QString::number(item.f.vidW > 0 ? item.f.vidW : 1920),
                    QString::number(item.f.vidH > 0 ? item.f.vidH : 1080));
    out += QStringLiteral(
               "    <asset id=\"a%1\" name=\"%2\" start=\"0s\" duration=\"%3\" hasVideo=\"1\" format=\"r%1\">\n")
               .arg(id, attr(item.name), t.duration);
    out += QStringLiteral("      <media-rep kind=\"original-media\" src=\"%1\"/>\n")
               .arg(attr(QStringLiteral("file://") + percentEncodedPath(item.url)));
    out += QLatin1String("    </asset>\n");
}

void writeClip(QString& out, const ExportItem& item, int n)
{
    const Timing t = timingOf(item);
    out += QStringLiteral("        <asset-clip ref=\"a%1\" name=\"%2\" duration=\"%3\" format=\"r%1\">\n")
               .arg(QString::number(n), attr(label(item)), t.duration);
    if (const QString text = note(item); !text.isEmpty())
        out += QLatin1String("          <note>") + xmlEscape(text) + QLatin1String("</note>\n");
    for (const QString& k : keywords(item.f.keywords))
        out +=
            QStringLiteral("          <keyword start=\"0s\" duration=\"%1\" value=\"%2\"/>\n").arg(t.duration, attr(k));
    const QStringList values = mdValues(item);
    QString md;
    for (int i = 0; i < 7; ++i)
        if (!values[i].isEmpty())
            md += QStringLiteral("            <md key=\"%1\" value=\"%2\"/>\n")
                      .arg(QLatin1String(mdKeys[i]), attr(values[i]));
    if (!md.isEmpty())
        out += QLatin1String("          <metadata>\n") + md + QLatin1String("          </metadata>\n");
    out += QLatin1String("        </asset-clip>\n");
}

}  // namespace

QString fcpxml(const QList<ExportItem>& items)
{
    const QList<const ExportItem*> kept = videos(items);
    QString out = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!DOCTYPE fcpxml>\n"
                                 "<fcpxml version=\"1.10\">\n  <resources>\n");
    out.reserve(out.size() + kept.size() * 1200);  // a video's lines, so the text is never moved
    for (int n = 1; n <= kept.size(); ++n)
        writeResources(out, *kept[n - 1], n);
    // A sequence needs a format even when no video gave one.
    if (kept.isEmpty())
        out += QLatin1String(
            "    <format id=\"r1\" name=\"FFVideoFormat\" frameDuration=\"1/25s\" width=\"1920\" height=\"1080\"/>\n");
    out += QLatin1String("  </resources>\n  <library>\n    <event name=\"Wendlethorpe Export\">\n"
                         "      <project name=\"Metadata\">\n        <sequence format=\"r1\">\n"
                         "          <spine>\n");
    for (int n = 1; n <= kept.size(); ++n)
        writeClip(out, *kept[n - 1], n);
    out += QLatin1String("        </spine>\n        </sequence>\n      </project>\n    </event>\n"
                         "  </library>\n</fcpxml>");
    return out;
}

namespace {

QMap<QString, QString> assetNames(const pugi::xml_document& doc)
{
    QMap<QString, QString> names;
    for (const pugi::xml_node& asset : elementsNamed(doc, "asset")) {
        const QString id = attribute(asset, "id");
        QString name = attribute(asset, "name");
        if (const pugi::xml_attribute src = asset.child("media-rep").attribute("src")) {
            const QString file = urlFileName(QString::fromUtf8(src.value()));
            if (!file.isEmpty())
                name = file;
        }
        if (!id.isEmpty())
            names.insert(id, name);
    }
    return names;
}

QStringList clipRow(const pugi::xml_node& clip, const QMap<QString, QString>& assets)
{
    const QString clipName = attribute(clip, "name");
    QStringList keywords;
    for (const pugi::xml_node& k : clip.children("keyword"))
        if (const pugi::xml_attribute v = k.attribute("value"))
            keywords << QString::fromUtf8(v.value());
    QMap<QString, QString> md;
    for (const pugi::xml_node& meta : clip.children("metadata"))
        for (const pugi::xml_node& m : meta.children("md")) {
            if (!m.attribute("key"))
                continue;
            const pugi::xml_attribute v = m.attribute("value");
            md.insert(attribute(m, "key"), v ? QString::fromUtf8(v.value()) : textContent(m.child("value")));
        }
    QStringList row{assets.value(attribute(clip, "ref"), clipName), clipName, textContent(clip.child("note")),
                    keywords.join(QLatin1String(", "))};
    for (const char* key : mdKeys)
        row << md.value(QString::fromLatin1(key));
    return row;
}

}  // namespace

ImportedTable importFCPXML(const QString& text)
{
    QByteArray utf8 = text.toUtf8();
    pugi::xml_document doc;
    if (!parseXml(doc, utf8))
        return {};
    ImportedTable table;
    table.header = QStringList{"File Name", "Clip Name", "Description", "Keywords",    "Scene",     "Shot",
                               "Take",      "Reel",      "Camera",      "Camera Roll", "Sound Roll"};
    const QMap<QString, QString> assets = assetNames(doc);
    for (const pugi::xml_node& clip : elementsNamed(doc, "asset-clip"))
        table.rows << clipRow(clip, assets);
    return table;
}

}  // namespace Exporter
