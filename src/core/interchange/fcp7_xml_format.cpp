#include "fcp7_xml_format.h"

#include "bin/parse_flag.h"
#include "timecode_text.h"
#include "xml_text.h"

#include <QMap>
#include <QSet>
#include <cmath>

namespace Exporter {
namespace {

QString orElse(const QString& v, const QString& fallback)
{
    return v.isEmpty() ? fallback : v;
}

QString rateLine(int timebase, bool ntsc)
{
    return QStringLiteral("<rate><timebase>%1</timebase><ntsc>%2</ntsc></rate>\n")
        .arg(QString::number(timebase), ntsc ? QStringLiteral("TRUE") : QStringLiteral("FALSE"));
}

void writeClip(QString& out, const ExportItem& item, int n)
{
    const double fps = usableFps(item.f.fps);
    const QString frames = QString::number(std::max<qint64>(std::llround(item.f.durSec * fps), 1));
    const QString rate = rateLine(frameRate(fps), isNtsc(fps));
    const QString id = QString::number(n);
    const QString name = xmlEscape(label(item));
    auto c = [&item](const char* key) { return custom(item, QString::fromLatin1(key)); };
    auto line = [&out](int blanks, const QString& text) {
        out.append(QString(blanks, QLatin1Char(' ')));
        out.append(text);
    };
    auto element = [&out](int blanks, const char* tag, const QString& value) {
        const QLatin1String t(tag);
        out.append(QString(blanks, QLatin1Char(' ')));
        out.append(QLatin1Char('<')).append(t).append(QLatin1Char('>')).append(value);
        out.append(QLatin1String("</")).append(t).append(QLatin1String(">\n"));
    };
    line(8, QStringLiteral("<clip id=\"clipitem-%1\">\n").arg(id));
    element(10, "name", name);
    element(10, "duration", frames);
    line(10, rate);
    out += QLatin1String("          <media>\n            <video>\n              <track>\n");
    line(16, QStringLiteral("<clipitem id=\"masterclip-%1\">\n").arg(id));
    element(18, "name", name);
    element(18, "duration", frames);
    line(18, rate);
    line(18, QStringLiteral("<file id=\"file-%1\">\n").arg(id));
    element(20, "name", xmlEscape(item.name));
    element(20, "pathurl", xmlEscape(QStringLiteral("file://localhost") + percentEncodedPath(item.url)));
    line(20, rate);
    element(20, "duration", frames);
    line(20, QStringLiteral("<media><video><samplecharacteristics><width>%1</width><height>%2</height>"
                            "</samplecharacteristics></video></media>\n")
                 .arg(QString::number(item.f.vidW > 0 ? item.f.vidW : 1920),
                      QString::number(item.f.vidH > 0 ? item.f.vidH : 1080)));
    line(18, QStringLiteral("</file>\n"));
    line(18, QStringLiteral("<logginginfo>\n"));
    element(20, "reel", xmlEscape(orElse(c("Reel"), c("Tape"))));
    element(20, "scene", xmlEscape(c("Scene")));
    element(20, "shottake", xmlEscape(c("Take")));
    element(20, "lognote", xmlEscape(orElse(c("Log Note"), c("Comments"))));
    element(20, "good", parseFlag(c("Good")) ? QStringLiteral("TRUE") : QStringLiteral("FALSE"));
    element(20, "description", xmlEscape(orElse(item.f.desc, item.f.caption)));
    out += QLatin1String("                  </logginginfo>\n                </clipitem>\n"
                         "              </track>\n            </video>\n          </media>\n"
                         "        </clip>\n");
}

}  // namespace

QString fcp7XML(const QList<ExportItem>& items)
{
    QString out = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!DOCTYPE xmeml>\n"
                                 "<xmeml version=\"5\">\n  <project>\n"
                                 "    <name>Brindlecove Export</name>\n    <children>\n      <bin>\n"
                                 "        <name>Brindlecove Bin</name>\n        <children>\n");
    const QList<const ExportItem*> kept = videos(items);
    out.reserve(out.size() + kept.size() * 1800);  // a clip's lines, so the text is never moved
    for (int n = 1; n <= kept.size(); ++n)
        writeClip(out, *kept[n - 1], n);
    out += QLatin1String("        </children>\n      </bin>\n    </children>\n  </project>\n</xmeml>");
    return out;
}

namespace {

QString childText(const pugi::xml_node& node, const char* name)
{
    return textContent(node.child(name));
}

// File id to its file name, from the name element or else the path URL's last component.
QMap<QString, QString> fileNames(const pugi::xml_document& doc)
{
    QMap<QString, QString> names, urls;
    for (const pugi::xml_node& file : elementsNamed(doc, "file")) {
        if (!file.attribute("id"))
            continue;
        const QString id = attribute(file, "id");
        if (const QString name = childText(file, "name"); !name.isEmpty())
            names.insert(id, name);
        if (const QString url = childText(file, "pathurl"); !url.isEmpty())
            urls.insert(id, url);
    }
    for (auto it = urls.cbegin(); it != urls.cend(); ++it)
        if (!names.contains(it.key()))
            names.insert(it.key(), urlFileName(it.value()));
    return names;
}

QString loggingText(const pugi::xml_node& clipItem, const char* name)
{
    for (const pugi::xml_node& info : clipItem.children("logginginfo"))
        if (const pugi::xml_node n = info.child(name))
            return textContent(n);
    return {};
}

}  // namespace

ImportedTable importFCP7XML(const QString& text)
{
    QByteArray utf8 = text.toUtf8();
    pugi::xml_document doc;
    if (!parseXml(doc, utf8))
        return {};
    ImportedTable table;
    table.header = QStringList{"File Name", "Clip Name", "Reel", "Scene", "Take", "Log Note", "Good", "Description"};
    const QMap<QString, QString> files = fileNames(doc);
    QSet<QString> seen;
    for (const pugi::xml_node& clipItem : elementsNamed(doc, "clipitem")) {
        const pugi::xml_node file = clipItem.child("file");
        if (!file.attribute("id"))
            continue;
        const QString id = attribute(file, "id");
        if (seen.contains(id))
            continue;
        seen.insert(id);
        const QString fileName = files.value(id);
        if (fileName.isEmpty())
            continue;
        const pugi::xml_node name = clipItem.child("name");
        QStringList row{fileName, name ? textContent(name) : fileName};
        for (const char* key : {"reel", "scene", "shottake", "lognote", "good", "description"})
            row << loggingText(clipItem, key);
        table.rows << row;
    }
    return table;
}

}  // namespace Exporter
