#include "interchange/ale_format.h"
#include "interchange_support.h"

namespace {

const QString heading = QStringLiteral(
    "Heading\nFIELD_DELIM\tTABS\nVIDEO_FORMAT\t1080\nAUDIO_FORMAT\t48khz\nFPS\t%1\n\nColumn\n"
    "Name\tTracks\tStart\tEnd\tDuration\tTape\tSource File\tScene\tShot\tTake\tSlate\tCamroll\t"
    "Soundroll\tLabroll\tReel\tCamera\tLens\tFPS\tCodec\tAudio SR\tAudio Bit Depth\tComments\t"
    "Description\tKeywords\tCopyright\tCircle\n\nData\n");

QStringList dataLines(const QString& ale)
{
    return ale.mid(ale.indexOf(QLatin1String("\nData\n")) + 6).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

QStringList cells(const ExportItem& item)
{
    const QStringList lines = dataLines(Exporter::ale({item}));
    return lines.isEmpty() ? QStringList() : lines.front().split(QLatin1Char('\t'));
}

}  // namespace

TEST(AleWriter, OneVideoLineUnderTheFixedHeading)
{
    ExportItem v = videoItem(QStringLiteral("A001.mov"), 25, 10,
                             {{"Scene", "12"}, {"Take", "3"}, {"Circle", "x"}, {"Camera Roll", "A001"}});
    v.f.clipName = QStringLiteral("Wide");
    v.f.desc = QStringLiteral("sunset");
    const QString text = Exporter::ale({stillItem(QStringLiteral("a.jpg")), stillItem("b.pdf", MetaKind::pdf), v});
    EXPECT_EQ(text, heading.arg("25")
                        + "Wide\tV\t00:00:00:00\t00:00:10:00\t00:00:10:00\tA001\tA001.mov\t12\t\t3\t\t"
                          "A001\t\t\t\t\t\t\t\t\t\tsunset\tsunset\t\t\tTRUE\n");
    EXPECT_EQ(Exporter::ale({stillItem(QStringLiteral("a.jpg"))}), heading.arg("25"));
}

TEST(AleWriter, HeadingRateNamesNtscRates)
{
    const std::pair<double, const char*> cases[] = {
        {23.976, "23.976"}, {23.98, "23.976"},  {24, "24"},   {25, "25"}, {29.97, "29.97"},
        {30, "30"},         {47.952, "47.952"}, {48, "48"},   {50, "50"}, {59.94, "59.94"},
        {60, "60"},         {0, "25"},          {12.5, "13"},
    };
    for (const auto& [fps, text] : cases)
        EXPECT_EQ(Exporter::ale({videoItem("a.mov", fps, 1)}).section('\n', 4, 4), QStringLiteral("FPS\t") + text)
            << fps;
}

TEST(AleWriter, StartEndAndDurationPerRowRate)
{
    struct Case {
        double fps, seconds;
        std::optional<QString> startTC;
        const char *start, *end, *duration;
    } cases[] = {
        {25, 10, std::nullopt, "00:00:00:00", "00:00:10:00", "00:00:10:00"},
        {25, 10, "01:00:00:00", "01:00:00:00", "01:00:10:00", "00:00:10:00"},
        {25, 10, "", "00:00:00:00", "00:00:10:00", "00:00:10:00"},
        {25, 10, "take two", "00:00:00:00", "00:00:10:00", "00:00:10:00"},
        {50, 1.5, "10:00:00:49", "10:00:00:49", "10:00:02:24", "00:00:01:25"},
        {24, 2, "00:59:59:23", "00:59:59:23", "01:00:01:23", "00:00:02:00"},
        {23.976, 10, std::nullopt, "00:00:00:00", "00:00:10:00", "00:00:10:00"},
        {29.97, 10, "01:00:00;00", "01:00:00;00", "01:00:10:00", "00:00:10:00"},
        {59.94, 0.5, std::nullopt, "00:00:00:00", "00:00:00:30", "00:00:00:30"},
        // an hour of 29.97 media holds 107892 frames, not 108000
        {29.97, 3600, std::nullopt, "00:00:00:00", "00:59:56:12", "00:59:56:12"},
    };
    for (const Case& c : cases) {
        QMap<QString, QString> custom;
        if (c.startTC)
            custom.insert("Start TC", *c.startTC);
        const QStringList row = cells(videoItem("a.mov", c.fps, c.seconds, custom));
        ASSERT_EQ(row.size(), 26);
        EXPECT_EQ(row.mid(2, 3), QStringList({c.start, c.end, c.duration})) << c.fps << " " << c.seconds;
    }
}

TEST(AleWriter, MixedRatesUseTheFirstKnownRateForTheHeadingAndUnknownRows)
{
    const QString text = Exporter::ale(
        {videoItem("a.mov", 0, 2), videoItem("b.mov", 50, 2), videoItem("c.mov", 25, 2)});
    EXPECT_EQ(text.section('\n', 4, 4), QStringLiteral("FPS\t50"));
    const QStringList lines = dataLines(text);
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[0].section('\t', 4, 4), QStringLiteral("00:00:02:00"));
    EXPECT_EQ(lines[1].section('\t', 3, 3), QStringLiteral("00:00:02:00"));
    EXPECT_EQ(lines[2].section('\t', 3, 3), QStringLiteral("00:00:02:00"));
}

TEST(AleWriter, FallbacksFlagsAndOneLineValues)
{
    ExportItem v = videoItem(QStringLiteral("B002.v2.mov"), 25, 1);
    v.f.desc = QStringLiteral("first\r\nsecond\tthird\u2028end");
    QStringList row = cells(v);
    EXPECT_EQ(row[0], QStringLiteral("B002.v2.mov"));
    EXPECT_EQ(row[5], QStringLiteral("B002.v2"));
    EXPECT_EQ(row[21], QStringLiteral("first  second third end"));
    EXPECT_EQ(row[22], row[21]);
    EXPECT_EQ(row[25], QStringLiteral("FALSE"));
    v.f.title = QStringLiteral("标题");
    v.f.custom = {{"Tape", "T1"}, {"Comments", "c"}, {"Description", "d"}, {"Circle", " off "}};
    row = cells(v);
    EXPECT_EQ(row[0], QStringLiteral("标题"));
    EXPECT_EQ(row[5], QStringLiteral("T1"));
    EXPECT_EQ(row.mid(21, 2), QStringList({"c", "d"}));
    EXPECT_EQ(row[25], QStringLiteral("FALSE"));
}

TEST(AleRoundTrip, WrittenRowsReadBackUnderFileName)
{
    ExportItem a = videoItem(QStringLiteral("镜头_01.mov"), 29.97, 4,
                             {{"Scene", "场景 1"}, {"Take", "2"}, {"Circle", "yes"}, {"Start TC", "01:00:00:00"}});
    a.f.clipName = QStringLiteral("名称\twith tab");
    ExportItem b = videoItem(QStringLiteral("A002.mxf"), 23.976, 1);
    const QList<ExportItem> items{a, stillItem("x.jpg"), b};
    const ImportedTable back = Exporter::importALE(Exporter::ale(items));
    ASSERT_EQ(back.header.size(), 27);
    EXPECT_EQ(back.header.mid(0, 3), QStringList({"File Name", "Name", "Tracks"}));
    EXPECT_EQ(back.header.last(), QStringLiteral("Circle"));
    ASSERT_EQ(back.rows.size(), 2);
    EXPECT_EQ(back.rows[0].mid(0, 3), QStringList({"镜头_01.mov", "名称 with tab", "V"}));
    EXPECT_EQ(back.rows[0][back.header.indexOf("Scene")], QStringLiteral("场景 1"));
    EXPECT_EQ(back.rows[0][back.header.indexOf("Circle")], QStringLiteral("TRUE"));
    EXPECT_EQ(back.rows[1][0], QStringLiteral("A002.mxf"));
}

TEST(AleReader, Table)
{
    const QString ale = Exporter::ale({videoItem(QStringLiteral("a.mov"), 25, 1)});
    const ImportedTable own = Exporter::importALE(ale);
    QString crOnly = ale;
    crOnly.replace('\n', '\r');
    QString crlf = ale;
    crlf.replace(QLatin1String("\n"), QLatin1String("\r\n"));
    EXPECT_EQ(Exporter::importALE(crOnly), own);
    EXPECT_EQ(Exporter::importALE(QChar(0xFEFF) + crlf), own);

    struct Case {
        const char* text;
        ImportedTable expected;
    } cases[] = {
        {"column\nName\t\tTape\n\ndata\nclip\tx\tT\n", {{"File Name", "Name", "Tape"}, {{"clip", "clip", "x", "T"}}}},
        {"Column\n Source File \tName\n\nData\n/Vol/a/b.mov\tn\n  \n",
         {{"File Name", "Source File", "Name"}, {{"b.mov", "/Vol/a/b.mov", "n"}}}},
        {"Column\nA\tB\nData\nx\ty\n", {{"File Name", "A", "B"}, {{"x", "x", "y"}}}},
        {"Column\nA\tB\n\nx\ty\n", {{"File Name", "A", "B"}, {}}},
        {"Column\nA\tB\n\nData", {{"File Name", "A", "B"}, {}}},
        {"Id\tFilename\tNote\n1\tC:\\clips\\c.mov\tok\n",
         {{"File Name", "Id", "Filename", "Note"}, {{"c.mov", "1", "C:\\clips\\c.mov", "ok"}}}},
        {"Id\tName\n2\tdir/sub/\n", {{"File Name", "Id", "Name"}, {{"sub", "2", "dir/sub/"}}}},
        {" A \t\tB\nx\n", {{"File Name", "A", "", "B"}, {{"x", "x"}}}},
        {"Column\n\t\n\nData\nz\tq\n", {}},
        {"no tabs here\nat all", {}},
        {"", {}},
        {"Column", {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Exporter::importALE(QString::fromUtf8(c.text)), c.expected) << c.text;
}
