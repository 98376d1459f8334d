#include "interchange/edl_format.h"
#include "interchange/timecode_text.h"
#include "interchange_support.h"

#include <QRegularExpression>

namespace {

struct Event {
    QString number, sourceIn, sourceOut, recordIn, recordOut;
};

QList<Event> events(const QString& edl)
{
    static const QRegularExpression line(QStringLiteral(
                                             "^(\\d{3,})  AX       V     C        (\\S+) (\\S+) (\\S+) (\\S+)$"),
                                         QRegularExpression::MultilineOption);
    QList<Event> found;
    for (auto it = line.globalMatch(edl); it.hasNext();) {
        const auto m = it.next();
        found.append({m.captured(1), m.captured(2), m.captured(3), m.captured(4), m.captured(5)});
    }
    return found;
}

}  // namespace

TEST(TimecodeParse, Table)
{
    struct Case {
        const char* text;
        double fps;
        qint64 frames;
    } cases[] = {
        {"01:00:00:00", 25, 90000},
        {"01;00;00;00", 25, 90000},
        {"00:00:01:00", 29.97, 30},
        {"00:00:01:00", 23.976, 24},
        {"00:00:10", 25, 0},
        {"00:00:00:00:01", 25, 0},
        {"", 25, 0},
        {"00:x:00:10:05", 25, 255},
        {"00: 1:00:10:05", 25, 255},
        {"00::00:10:00", 25, 250},
        {"::00:00:01:02", 25, 27},
        {"00:00:01:00", 0, 25},
        {"00:00:01:00", -5, 25},
        {"00:00:01:07", 0.3, 7},
        {"+1:-1:99:30", 25, 91005},
        {"99999999999999999999:00:00:00:01", 25, 1},
        {"9223372036854775807:0:0:0", 25, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Exporter::frames(QString::fromLatin1(c.text), c.fps), c.frames) << c.text << " @" << c.fps;
}

TEST(TimecodeText, NonDropAndDropFrame)
{
    struct Case {
        qint64 frames;
        double fps;
        bool dropFrame;
        const char* text;
    } cases[] = {
        {90000, 25, false, "01:00:00:00"},
        {-3, 25, false, "00:00:00:00"},
        {25 * 3600 * 100, 25, false, "100:00:00:00"},
        {1799, 29.97, false, "00:00:59:29"},
        {1800, 29.97, true, "00:01:00;02"},
        {17982, 29.97, true, "00:10:00;00"},
        {107892, 29.97, true, "01:00:00;00"},
        {3600, 59.94, true, "00:01:00;04"},
        {1800, 30, true, "00:01:00:00"},
        {1800, 25, true, "00:01:12:00"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Exporter::timecodeText(c.frames, c.fps, c.dropFrame), QLatin1String(c.text)) << c.frames;
    for (qint64 f : {0, 1799, 1800, 17981, 17982, 107891, 107892, 2589407})
        EXPECT_EQ(Exporter::dropFrameFrames(Exporter::timecodeText(f, 29.97, true), 29.97), f) << f;
}

TEST(EdlWriter, TwoVideosEndToEnd)
{
    ExportItem a = videoItem("A001.mov", 25, 10);
    a.f.title = QStringLiteral("标题\r\nsecond");
    a.f.desc = QStringLiteral("note\twith tab");
    a.f.keywords = QStringLiteral("k1,\nk2");
    ExportItem b = videoItem("B002.mov", 25, 5);
    b.f.clipName = QStringLiteral("Clip\nName\u2028x");
    EXPECT_EQ(Exporter::edl({stillItem("s.jpg"), a, b}),
              QStringLiteral("TITLE: Wendlethorpe Export\nFCM: NON-DROP FRAME\n\n"
                             "001  AX       V     C        00:00:00:00 00:00:10:00 00:00:00:00 00:00:10:00\n"
                             "* FROM CLIP NAME: A001.mov\n"
                             "* CLIP TITLE: 标题  second\n"
                             "* COMMENT: note with tab\n"
                             "* KEYWORDS: k1, k2\n\n"
                             "002  AX       V     C        00:00:00:00 00:00:05:00 00:00:10:00 00:00:15:00\n"
                             "* FROM CLIP NAME: Clip Name x\n\n"));
    EXPECT_EQ(Exporter::edl({stillItem("s.jpg"), stillItem("d.pdf", MetaKind::pdf)}),
              QStringLiteral("TITLE: Wendlethorpe Export\nFCM: NON-DROP FRAME\n\n"));
}

TEST(EdlWriter, RecordTimesAccumulateWholeFrames)
{
    const QList<Event> e = events(Exporter::edl({videoItem("a.mov", 25, 1.02), videoItem("b.mov", 25, 1.02)}));
    ASSERT_EQ(e.size(), 2);
    EXPECT_EQ(e[0].sourceOut, QStringLiteral("00:00:01:01"));
    EXPECT_EQ(e[1].recordIn, QStringLiteral("00:00:01:01"));
    EXPECT_EQ(e[1].recordOut, QStringLiteral("00:00:02:02"));
    // an hour of 29.97 media holds 107892 frames, not 108000
    const QList<Event> hour = events(Exporter::edl({videoItem("h.mov", 29.97, 3600), videoItem("i.mov", 29.97, 1)}));
    ASSERT_EQ(hour.size(), 2);
    EXPECT_EQ(hour[0].sourceOut, QStringLiteral("00:59:56:12"));
    EXPECT_EQ(hour[1].recordIn, QStringLiteral("00:59:56:12"));
}

TEST(EdlWriter, MixedRatesGiveEqualSourceAndRecordDurations)
{
    for (const QList<double>& rates : QList<QList<double>>{{25, 29.97}, {29.97, 25}, {23.976, 50, 59.94, 24}}) {
        QList<ExportItem> items;
        for (int i = 0; i < 12; ++i)
            items << videoItem(QStringLiteral("c%1.mov").arg(i), rates[i % rates.size()], 0.37 + i * 7.19,
                               {{"Start TC", QStringLiteral("0%1:00:00:00").arg(i % 10)}});
        const QString edl = Exporter::edl(items);
        const double listFps = rates.front();
        const QList<Event> e = events(edl);
        ASSERT_EQ(e.size(), 12);
        for (const Event& ev : e) {
            const qint64 source = Exporter::frames(ev.sourceOut, listFps) - Exporter::frames(ev.sourceIn, listFps);
            const qint64 record = Exporter::frames(ev.recordOut, listFps) - Exporter::frames(ev.recordIn, listFps);
            EXPECT_EQ(source, record) << ev.number.toStdString() << " in a list at " << listFps;
            EXPECT_GT(source, 0);
        }
        for (qsizetype i = 1; i < e.size(); ++i)
            EXPECT_EQ(e[i].recordIn, e[i - 1].recordOut);
    }
}

TEST(EdlWriter, SourceInFollowsStartTimecode)
{
    struct Case {
        double fps;
        std::optional<QString> startTC;
        const char *fcm, *sourceIn, *sourceOut;
    } cases[] = {
        {25, std::nullopt, "NON-DROP FRAME", "00:00:00:00", "00:00:10:00"},
        {25, "", "NON-DROP FRAME", "00:00:00:00", "00:00:10:00"},
        {25, "later", "NON-DROP FRAME", "00:00:00:00", "00:00:10:00"},
        {25, "10:00:00:00", "NON-DROP FRAME", "10:00:00:00", "10:00:10:00"},
        {50, "01:00:00:10", "NON-DROP FRAME", "01:00:00:10", "01:00:10:10"},
        {24, "01:00:00:00", "NON-DROP FRAME", "01:00:00:00", "01:00:10:00"},
        {23.976, "01:00:00:00", "NON-DROP FRAME", "01:00:00:00", "01:00:10:00"},
        {29.97, "01:00:00:00", "NON-DROP FRAME", "01:00:00:00", "01:00:10:00"},
        {29.97, "00:59:59;00", "DROP FRAME", "00:59:59;00", "01:00:09;00"},
        {59.94, "00:00:59;00", "DROP FRAME", "00:00:59;00", "00:01:09;03"},
        {25, "10:00:00;00", "NON-DROP FRAME", "10:00:00:00", "10:00:10:00"},
        {30, "10:00:00;00", "NON-DROP FRAME", "10:00:00:00", "10:00:10:00"},
    };
    for (const Case& c : cases) {
        QMap<QString, QString> custom;
        if (c.startTC)
            custom.insert("Start TC", *c.startTC);
        const QString edl = Exporter::edl({videoItem("a.mov", c.fps, 10, custom)});
        EXPECT_EQ(edl.section('\n', 1, 1), QStringLiteral("FCM: ") + c.fcm) << c.fps;
        const QList<Event> e = events(edl);
        ASSERT_EQ(e.size(), 1);
        EXPECT_EQ(e[0].sourceIn, QLatin1String(c.sourceIn)) << c.fps;
        EXPECT_EQ(e[0].sourceOut, QLatin1String(c.sourceOut)) << c.fps;
        EXPECT_EQ(e[0].recordIn, c.fcm[0] == 'D' ? QStringLiteral("00:00:00;00") : QStringLiteral("00:00:00:00"));
    }
}

TEST(EdlWriter, EventNumbersGrowPastThreeDigits)
{
    QList<ExportItem> items(1000, videoItem("a.mov", 25, 0.04));
    const QList<Event> e = events(Exporter::edl(items));
    ASSERT_EQ(e.size(), 1000);
    EXPECT_EQ(e[0].number, QStringLiteral("001"));
    EXPECT_EQ(e[999].number, QStringLiteral("1000"));
    EXPECT_EQ(e[999].recordOut, QStringLiteral("00:00:40:00"));
}
