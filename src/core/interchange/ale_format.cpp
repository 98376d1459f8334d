#include "ale_format.h"

#include "bin/parse_flag.h"
#include "model/file_item.h"
#include "timecode_text.h"

#include <cmath>

namespace Exporter {
namespace {

const char* const columnNames[] = {
    "Name",  "Tracks",   "Start",           "End",       "Duration",    "Tape",     "Source File", "Scene", "Shot",
    "Take",  "Slate",    "Camroll",         "Soundroll", "Labroll",     "Reel",     "Camera",      "Lens",  "FPS",
    "Codec", "Audio SR", "Audio Bit Depth", "Comments",  "Description", "Keywords", "Copyright",   "Circle"};

QString headerFpsText(double fps)
{
    for (const char* ntsc : {"23.976", "29.97", "47.952", "59.94"})
        if (std::abs(fps - std::atof(ntsc)) < 0.01)
            return QString::fromLatin1(ntsc);
    return QString::asprintf("%.0f", std::round(fps));
}

QString orElse(const QString& v, const QString& fallback)
{
    return v.isEmpty() ? fallback : v;
}

QStringList rowValues(const ExportItem& item, double headerFps)
{
    const double fps = item.f.fps > 0 ? usableFps(item.f.fps, headerFps) : headerFps;
    const QString startTC = custom(item, QStringLiteral("Start TC"));
    const QString start = timecodeParts(startTC) ? startTC : QStringLiteral("00:00:00:00");
    const qint64 duration = frameCount(item.f.durSec, fps);
    auto c = [&item](const char* name) { return custom(item, QString::fromLatin1(name)); };
    return {label(item),
            QStringLiteral("V"),
            start,
            timecodeText(frames(start, fps) + duration, fps),
            timecodeText(duration, fps),
            orElse(c("Tape"), PathText::withoutExtension(item.name)),
            item.name,
            c("Scene"),
            c("Shot"),
            c("Take"),
            c("Slate"),
            c("Camera Roll"),
            c("Sound Roll"),
            c("Lab Roll"),
            c("Reel"),
            c("Camera"),
            c("Lens"),
            c("Frame Rate"),
            c("Codec"),
            c("Audio SR"),
            c("Audio Bit Depth"),
            orElse(c("Comments"), item.f.desc),
            orElse(c("Description"), item.f.desc),
            item.f.keywords,
            item.f.copyright,
            parseFlag(c("Circle")) ? QStringLiteral("TRUE") : QStringLiteral("FALSE")};
}

}  // namespace

QString ale(const QList<ExportItem>& items)
{
    const QList<const ExportItem*> kept = videos(items);
    double headerFps = 25;
    for (const ExportItem* item : kept)
        if (item->f.fps >= 0.5) {
            headerFps = item->f.fps;
            break;
        }
    QStringList names;
    for (const char* n : columnNames)
        names << QString::fromLatin1(n);
    QString out = QStringLiteral("Heading\nFIELD_DELIM\tTABS\nVIDEO_FORMAT\t1080\nAUDIO_FORMAT\t48khz\nFPS\t")
                + headerFpsText(headerFps) + QStringLiteral("\n\nColumn\n") + names.join(QLatin1Char('\t'))
                + QStringLiteral("\n\nData\n");
    out.reserve(out.size() + kept.size() * 400);  // rarely moved while it grows
    for (const ExportItem* item : kept) {
        QStringList values = rowValues(*item, headerFps);
        for (QString& v : values)
            v = singleLine(v);
        out += values.join(QLatin1Char('\t'));
        out += QLatin1Char('\n');
    }
    return out;
}

namespace {

QString trimmed(const QString& line)
{
    qsizetype b = 0, e = line.size();
    auto blank = [](QChar c) { return c == QLatin1Char(' ') || c == QLatin1Char('\t'); };
    while (b < e && blank(line[b]))
        ++b;
    while (e > b && blank(line[e - 1]))
        --e;
    return line.mid(b, e - b);
}

bool isSection(const QString& line, const char* name)
{
    return trimmed(line).compare(QLatin1String(name), Qt::CaseInsensitive) == 0;
}

qsizetype findSection(const QStringList& lines, const char* name, qsizetype from)
{
    for (qsizetype i = from; i < lines.size(); ++i)
        if (isSection(lines[i], name))
            return i;
    return -1;
}

// The columns and rows of a file with "Column" and "Data" sections; no columns when absent.
ImportedTable sections(const QStringList& lines)
{
    ImportedTable t;
    const qsizetype column = findSection(lines, "Column", 0);
    if (column < 0)
        return t;
    qsizetype from = column + 1;
    if (column + 1 < lines.size()) {
        for (const QString& n : lines[column + 1].split(QLatin1Char('\t')))
            if (!trimmed(n).isEmpty())
                t.header << trimmed(n);
        from = column + 2;
    }
    const qsizetype data = findSection(lines, "Data", from);
    for (qsizetype i = data < 0 ? lines.size() : data + 1; i < lines.size(); ++i)
        if (!trimmed(lines[i]).isEmpty())
            t.rows << lines[i].split(QLatin1Char('\t'));
    return t;
}

ImportedTable plainTable(const QStringList& lines)
{
    QStringList kept;
    for (const QString& l : lines)
        if (!trimmed(l).isEmpty())
            kept << trimmed(l);
    if (kept.isEmpty() || !kept.front().contains(QLatin1Char('\t')))
        return {};
    ImportedTable t;
    for (const QString& n : kept.front().split(QLatin1Char('\t')))
        t.header << trimmed(n);
    for (qsizetype i = 1; i < kept.size(); ++i)
        t.rows << kept[i].split(QLatin1Char('\t'));
    return t;
}

qsizetype fileColumn(const QStringList& header)
{
    for (const char* name : {"Source File", "File Name", "Filename", "Name"})
        for (qsizetype i = 0; i < header.size(); ++i)
            if (header[i].compare(QLatin1String(name), Qt::CaseInsensitive) == 0)
                return i;
    return -1;
}

QString fileValue(const QStringList& row, qsizetype column)
{
    const QString v = column >= 0 && column < row.size() ? row[column] : row.value(0);
    auto separator = [](QChar c) { return c == QLatin1Char('/') || c == QLatin1Char('\\'); };
    if (std::none_of(v.begin(), v.end(), separator))
        return v;
    qsizetype end = v.size();
    if (separator(v[end - 1]))
        --end;
    qsizetype start = end;
    while (start > 0 && !separator(v[start - 1]))
        --start;
    return v.mid(start, end - start);
}

}  // namespace

ImportedTable importALE(const QString& text)
{
    QString t = text.startsWith(QChar(0xFEFF)) ? text.mid(1) : text;
    t.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    const QStringList lines = t.split(QLatin1Char('\n'));
    ImportedTable table = sections(lines);
    if (table.header.isEmpty())
        table = plainTable(lines);
    if (table.header.isEmpty())
        return {};
    const qsizetype column = fileColumn(table.header);
    ImportedTable result;
    result.header = QStringList{QStringLiteral("File Name")} + table.header;
    for (const QStringList& row : table.rows)
        result.rows << (QStringList{fileValue(row, column)} + row);
    return result;
}

}  // namespace Exporter
