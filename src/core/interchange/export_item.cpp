#include "export_item.h"

#include "bin/bin_row.h"
#include "model/file_item.h"

ExportItem ExportItem::fromRow(const BinRow& row, const MetaFields& resolved)
{
    if (row.url)
        return {row.name, *row.url, resolved};
    // An offline row's path must not depend on the folder the program was started in.
    const QString source = row.value(QStringLiteral("custom:Source Path"));
    return {row.name, source.startsWith(u'/') ? source : QLatin1Char('/') + row.name, resolved};
}

namespace Exporter {
namespace {

QString kindText(MetaKind kind)
{
    switch (kind) {
    case MetaKind::image: return QStringLiteral("image");
    case MetaKind::pdf: return QStringLiteral("pdf");
    case MetaKind::video: return QStringLiteral("video");
    case MetaKind::unsupported: break;
    }
    return {};
}

QString positiveNumber(double v)
{
    return v > 0 ? QString::asprintf("%.2f", v) : QString();
}

QString resolution(const MetaFields& f)
{
    if (f.vidW < 1 || f.vidH < 1)
        return {};
    return QString::number(f.vidW) + QLatin1Char('x') + QString::number(f.vidH);
}

using Getter = QString (*)(const ExportItem&);

struct BuiltIn {
    const char* key;
    const char* header;
    Getter get;
};

bool isImage(const ExportItem& i)
{
    return i.f.kind == MetaKind::image;
}

const BuiltIn builtIns[] = {
    {"name", "File Name", [](const ExportItem& i) { return i.name; }},
    {"clipName", "Clip Name", [](const ExportItem& i) { return i.f.clipName; }},
    {"ext", "Extension", [](const ExportItem& i) { return PathText::extension(i.name); }},
    {"kind", "Kind", [](const ExportItem& i) { return kindText(i.f.kind); }},
    {"date", "Date", [](const ExportItem& i) { return dateText(i.f.date); }},
    {"title", "Title", [](const ExportItem& i) { return isImage(i) ? i.f.caption : i.f.title; }},
    {"author", "Author", [](const ExportItem& i) { return isImage(i) ? i.f.byline : i.f.author; }},
    {"desc", "Description", [](const ExportItem& i) { return i.f.kind == MetaKind::video ? i.f.desc : i.f.caption; }},
    {"copyright", "Copyright",
     [](const ExportItem& i) { return i.f.kind == MetaKind::pdf ? i.f.subject : i.f.copyright; }},
    {"keywords", "Keywords", [](const ExportItem& i) { return i.f.keywords; }},
    {"subject", "Subject", [](const ExportItem& i) { return i.f.subject; }},
    {"city", "City", [](const ExportItem& i) { return i.f.city; }},
    {"country", "Country", [](const ExportItem& i) { return i.f.country; }},
    {"gps", "GPS", [](const ExportItem& i) { return i.f.gps; }},
    {"duration", "Duration(s)", [](const ExportItem& i) { return positiveNumber(i.f.durSec); }},
    {"resolution", "Resolution", [](const ExportItem& i) { return resolution(i.f); }},
    {"fps", "FPS", [](const ExportItem& i) { return positiveNumber(i.f.fps); }},
};

}  // namespace

QString value(const QString& key, const ExportItem& item)
{
    for (const BuiltIn& b : builtIns)
        if (key == QLatin1String(b.key))
            return b.get(item);
    return {};
}

QString dateText(const std::optional<QDateTime>& date)
{
    return date ? BinRow::formatDate(*date) : QString();
}

QList<CSVFieldMap> defaultCSVFields(const QStringList& customColumns)
{
    QList<CSVFieldMap> fields;
    for (const BuiltIn& b : builtIns)
        fields.append({QString::fromLatin1(b.key), QString::fromLatin1(b.header)});
    for (const QString& name : customColumns)
        fields.append({QStringLiteral("custom:") + name, name});
    return fields;
}

QString label(const ExportItem& item)
{
    if (!item.f.clipName.isEmpty())
        return item.f.clipName;
    return !item.f.title.isEmpty() ? item.f.title : item.name;
}

QList<const ExportItem*> videos(const QList<ExportItem>& items)
{
    QList<const ExportItem*> kept;
    for (const ExportItem& item : items)
        if (item.f.kind == MetaKind::video)
            kept.append(&item);
    return kept;
}

QString singleLine(QString v)
{
    for (QChar& c : v) {
        const char16_t u = c.unicode();
        if ((u >= 0x09 && u <= 0x0D) || u == 0x85 || u == 0x2028 || u == 0x2029)
            c = QLatin1Char(' ');
    }
    return v;
}

}  // namespace Exporter
