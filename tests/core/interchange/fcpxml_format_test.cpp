#include "interchange/fcpxml_format.h"
#include "interchange/xml_text.h"
#include "interchange_support.h"

namespace {

QString lineWith(const QString& doc, const QString& start)
{
    for (const QString& line : doc.split('\n'))
        if (line.trimmed().startsWith(start))
            return line.trimmed();
    return {};
}

}  // namespace

TEST(XmlEscape, EscapesAndStripsWhatXmlCannotCarry)
{
    EXPECT_EQ(Exporter::xmlEscape(QStringLiteral("a & b < c > d \"e\" 'f'")),
              QStringLiteral("a &amp; b &lt; c &gt; d &quot;e&quot; 'f'"));
    const QString hostile = QStringLiteral("x\ty\nz\r\x07\x1B\uFFFE\uFFFF\U0001F3AC中") + QChar(0xD800) + "!";
    EXPECT_EQ(Exporter::xmlEscape(hostile), QStringLiteral("x\ty\nz&#13;\U0001F3AC中!"));
    EXPECT_EQ(Exporter::xmlAttributeEscape(hostile), QStringLiteral("x&#9;y&#10;z&#13;\U0001F3AC中!"));
    EXPECT_EQ(Exporter::stripControlCharacters(QStringLiteral("a\x01\tb\x7F")), QStringLiteral("a\tb\x7F"));
}

TEST(FcpxmlWriter, OneVideoDocument)
{
    ExportItem v = videoItem(QStringLiteral("A001 & B.mov"), 25, 10,
                             {{"Scene", "12"}, {"Tape", "T7"}, {"Take", "3"}, {"Comments", "ok <good>"}});
    v.f.clipName = QStringLiteral("Wide \"1\"");
    v.f.keywords = QStringLiteral("a, b,,  c  ");
    const QString expected = QStringLiteral(
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!DOCTYPE fcpxml>\n<fcpxml version=\"1.10\">\n"
        "  <resources>\n"
        "    <format id=\"r1\" name=\"FFVideoFormat\" frameDuration=\"1/25s\" width=\"1920\" height=\"1080\"/>\n"
        "    <asset id=\"a1\" name=\"A001 &amp; B.mov\" start=\"0s\" duration=\"250/25s\" hasVideo=\"1\" "
        "format=\"r1\">\n"
        "      <media-rep kind=\"original-media\" src=\"file:///media/shoot%20day/A001%20&amp;%20B.mov\"/>\n"
        "    </asset>\n"
        "  </resources>\n  <library>\n    <event name=\"Wendlethorpe Export\">\n"
        "      <project name=\"Metadata\">\n        <sequence format=\"r1\">\n          <spine>\n"
        "        <asset-clip ref=\"a1\" name=\"Wide &quot;1&quot;\" duration=\"250/25s\" format=\"r1\">\n"
        "          <note>ok &lt;good&gt;</note>\n"
        "          <keyword start=\"0s\" duration=\"250/25s\" value=\"a\"/>\n"
        "          <keyword start=\"0s\" duration=\"250/25s\" value=\"b\"/>\n"
        "          <keyword start=\"0s\" duration=\"250/25s\" value=\"c\"/>\n"
        "          <metadata>\n"
        "            <md key=\"com.apple.proapps.studio.scene\" value=\"12\"/>\n"
        "            <md key=\"com.apple.proapps.studio.take\" value=\"3\"/>\n"
        "            <md key=\"com.apple.proapps.studio.reel\" value=\"T7\"/>\n"
        "          </metadata>\n"
        "        </asset-clip>\n"
        "        </spine>\n        </sequence>\n      </project>\n    </event>\n  </library>\n</fcpxml>");
    const QString doc = Exporter::fcpxml({stillItem("a.jpg"), v});
    EXPECT_EQ(doc, expected);
    EXPECT_XMLLINT_ACCEPTS(doc);
}

TEST(FcpxmlWriter, WithoutVideoTheSequenceStillHasAFormat)
{
    const QString doc = Exporter::fcpxml({stillItem("a.jpg"), stillItem("b.pdf", MetaKind::pdf)});
    EXPECT_TRUE(
        doc.contains(QLatin1String("  <resources>\n    <format id=\"r1\" name=\"FFVideoFormat\" "
                                   "frameDuration=\"1/25s\" width=\"1920\" height=\"1080\"/>\n  </resources>\n")));
    EXPECT_TRUE(doc.contains(QLatin1String("<sequence format=\"r1\">\n          <spine>\n        </spine>\n")));
    EXPECT_XMLLINT_ACCEPTS(doc);
}

TEST(FcpxmlWriter, RatesAndDurations)
{
    struct Case {
        double fps, seconds;
        const char *frameDuration, *duration;
    } cases[] = {
        {23.976, 10, "1001/24000s", "240240/24000s"},
        {24, 10, "1/24s", "240/24s"},
        {25, 10, "1/25s", "250/25s"},
        {25, 0, "1/25s", "1/25s"},
        {0, 2, "1/25s", "50/25s"},
        {0.3, 2, "1/25s", "50/25s"},
        {29.97, 10, "1001/30000s", "300300/30000s"},
        {30, 10, "1/30s", "300/30s"},
        {50, 1, "1/50s", "50/50s"},
        {59.94, 1, "1001/60000s", "60060/60000s"},
        {60, 1, "1/60s", "60/60s"},
    };
    for (const Case& c : cases) {
        const QString doc = Exporter::fcpxml({videoItem("a.mov", c.fps, c.seconds)});
        EXPECT_EQ(lineWith(doc, "<format"),
                  QStringLiteral(
                      "<format id=\"r1\" name=\"FFVideoFormat\" frameDuration=\"%1\" width=\"1920\" height=\"1080\"/>")
                      .arg(c.frameDuration))
            << c.fps;
        EXPECT_TRUE(lineWith(doc, "<asset-clip").contains(QStringLiteral("duration=\"%1\"").arg(c.duration))) << c.fps;
    }
}

TEST(FcpxmlWriter, NoteFallbacksAndSize)
{
    ExportItem v = videoItem("a.mov", 25, 1, {{"Log Note", ""}, {"Comments", "c"}});
    v.f.desc = QStringLiteral("desc");
    v.f.vidW = 3840;
    v.f.vidH = 2160;
    QString doc = Exporter::fcpxml({v});
    EXPECT_FALSE(doc.contains(QLatin1String("<note>")));
    EXPECT_FALSE(doc.contains(QLatin1String("<metadata>")));
    EXPECT_TRUE(doc.contains(QLatin1String("width=\"3840\" height=\"2160\"")));
    v.f.custom.remove("Log Note");
    EXPECT_EQ(lineWith(Exporter::fcpxml({v}), "<note>"), QStringLiteral("<note>c</note>"));
    v.f.custom.clear();
    EXPECT_EQ(lineWith(Exporter::fcpxml({v}), "<note>"), QStringLiteral("<note>desc</note>"));
}

TEST(FcpxmlRoundTrip, ChineseAndControlCharactersSurvive)
{
    ExportItem a = videoItem(QStringLiteral("外景 日落#1%.mov"), 29.97, 3,
                             {{"Scene", "场景\t1"},
                              {"Shot", "B"},
                              {"Reel", "R1"},
                              {"Camera", "A\nB"},
                              {"Camera Roll", "CR"},
                              {"Sound Roll", "SR"},
                              {"Take", "2"}});
    a.f.clipName = QStringLiteral("名称\x07 \"q\" & <x>\r\nnext");
    a.f.desc = QStringLiteral("描述\r\nline\ttab");
    a.f.keywords = QStringLiteral("夜景, 外景");
    ExportItem b = videoItem(QStringLiteral("B.mov"), 50, 1);
    const QString doc = Exporter::fcpxml({a, stillItem("x.png"), b});
    const ImportedTable back = Exporter::importFCPXML(doc);
    EXPECT_EQ(back.header, QStringList({"File Name", "Clip Name", "Description", "Keywords", "Scene", "Shot", "Take",
                                        "Reel", "Camera", "Camera Roll", "Sound Roll"}));
    ASSERT_EQ(back.rows.size(), 2);
    EXPECT_EQ(back.rows[0], QStringList({"外景 日落#1%.mov", "名称 \"q\" & <x>\r\nnext", "描述\r\nline\ttab",
                                         "夜景, 外景", "场景\t1", "B", "2", "R1", "A\nB", "CR", "SR"}));
    EXPECT_EQ(back.rows[1], QStringList({"B.mov", "B.mov", "", "", "", "", "", "", "", "", ""}));
    EXPECT_XMLLINT_ACCEPTS(doc);
}

TEST(FcpxmlReader, Table)
{
    const QString header =
        "File Name|Clip Name|Description|Keywords|Scene|Shot|Take|Reel|Camera|Camera Roll|Sound Roll";
    struct Case {
        const char* text;
        const char* rows;  // rows joined with "\n", cells with "|"; "-" for an empty table
    } cases[] = {
        {"not xml at all", "-"},
        {"<fcpxml><resources>", "-"},
        {"<fcpxml/>", ""},
        {"<fcpxml><asset-clip ref=\"zz\" name=\"Named\"/></fcpxml>", "Named|Named|||||||||"},
        {"<fcpxml><asset id=\"a1\" name=\"n.mov\"><media-rep src=\"not a url\"/></asset>"
         "<asset id=\"a1\" name=\"m.mov\"/><x><asset-clip ref=\"a1\"><note>n<b>o</b>te</note>"
         "<keyword value=\"k1\"/><keyword/><keyword value=\"k2\"/>"
         "<metadata><md key=\"com.apple.proapps.studio.take\" value=\"1\"/><md value=\"orphan\"/>"
         "<md key=\"com.apple.proapps.studio.take\"><value>2</value></md></metadata></asset-clip></x>"
         "<asset-clip ref=\"a1\" name=\"again\"/></fcpxml>",
         "m.mov||note|k1, k2|||2||||\nm.mov|again|||||||||"},
        {"<fcpxml><asset id=\"a\" name=\"x\"><media-rep src=\"file:///v/%E4%B8%AD.mov\"/></asset>"
         "<asset-clip ref=\"a\" name=\"c\"/></fcpxml>",
         "中.mov|c|||||||||"},
    };
    for (const Case& c : cases) {
        ImportedTable expected;
        if (QLatin1String(c.rows) != QLatin1String("-")) {
            expected.header = header.split('|');
            for (const QString& r : QString::fromUtf8(c.rows).split('\n', Qt::SkipEmptyParts))
                expected.rows << r.split('|');
        }
        EXPECT_EQ(Exporter::importFCPXML(QString::fromUtf8(c.text)), expected) << c.text;
    }
}
