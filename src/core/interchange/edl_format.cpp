#include "edl_format.h"

#include "timecode_text.h"

namespace Exporter {
namespace {

// A comment value must stay on its own line: a line break in it would start a new record.
void comment(QString& out, const char* tag, const QString& value)
{
    if (!value.isEmpty())
        out += QLatin1String(tag) + singleLine(value) + QLatin1Char('\n');
}

struct ListTiming {
    double fps = 25;
    bool dropFrame = false;
};

ListTiming listTiming(const QList<const ExportItem*>& kept)
{
    ListTiming t;
    for (const ExportItem* item : kept)
        if (item->f.fps >= 0.5) {
            t.fps = item->f.fps;
            break;
        }
    if (!kept.isEmpty())
        t.dropFrame = isDropFrameText(custom(*kept.front(), QStringLiteral("Start TC")), t.fps);
    return t;
}

// The clip's first frame: its Start TC where one parses, counted as drop-frame when written so.
qint64 sourceIn(const ExportItem& item, const ListTiming& t)
{
    const QString start = custom(item, QStringLiteral("Start TC"));
    if (isDropFrameText(start, t.fps))
        return dropFrameFrames(start, t.fps).value_or(0);
    return frames(start, t.fps);
}

}  // namespace

QString edl(const QList<ExportItem>& items)
{
    const QList<const ExportItem*> kept = videos(items);
    const ListTiming t = listTiming(kept);
    QString out = QStringLiteral("TITLE: Wendlethorpe Export\nFCM: ")
                + (t.dropFrame ? QStringLiteral("DROP FRAME") : QStringLiteral("NON-DROP FRAME"))
                + QStringLiteral("\n\n");
    auto tc = [&t](qint64 frames) { return timecodeText(frames, t.fps, t.dropFrame); };
    out.reserve(out.size() + kept.size() * 300);  // rarely moved while it grows
    qint64 record = 0;
    for (int n = 1; n <= kept.size(); ++n) {
        const ExportItem& item = *kept[n - 1];
        const qint64 in = sourceIn(item, t);
        const qint64 length = frameCount(item.f.durSec, t.fps);
        out += QString::asprintf("%03d  AX       V     C        ", n)
             + QStringList{tc(in), tc(in + length), tc(record), tc(record + length)}.join(QLatin1Char(' '))
             + QLatin1Char('\n');
        record += length;
        out += QLatin1String("* FROM CLIP NAME: ") + singleLine(item.f.clipName.isEmpty() ? item.name : item.f.clipName)
             + QLatin1Char('\n');
        comment(out, "* CLIP TITLE: ", item.f.title);
        comment(out, "* COMMENT: ", item.f.desc);
        comment(out, "* KEYWORDS: ", item.f.keywords);
        out += QLatin1Char('\n');
    }
    return out;
}

}  // namespace Exporter
