#include "interchange/fcp7_xml_format.h"
#include "interchange_support.h"

namespace {

QString rateOf(const QString& doc)
{
    const qsizetype at = doc.indexOf(QLatin1String("<rate>"));
    return at < 0 ? QString() : doc.mid(at, doc.indexOf(QLatin1String("</rate>"), at) + 7 - at);
}

QString elementText(const QString& doc, const QString& tag)
{
    const QString open = "<" + tag + ">";
    const qsizetype at = doc.indexOf(open);
    return at < 0 ? QString() : doc.mid(at + open.size(), doc.indexOf("</" + tag + ">", at) - at - open.size());
}

}  // namespace

TEST(Fcp7XmlWriter, OneVideoDocument)
{
    ExportItem v = videoItem(QStringLiteral("A 001.mov"), 29.97, 10,
                             {{"Tape", "T1"}, {"Scene", "5"}, {"Take", "2"}, {"Comments", "c & d"}, {"Good", "yes"}});
    v.f.caption = QStringLiteral("cap");
    const QString expected = QStringLiteral(
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!DOCTYPE xmeml>\n<xmeml version=\"5\">\n"
        "  <project>\n    <name>Brindlecove Export</name>\n    <children>\n      <bin>\n"
        "        <name>Brindlecove Bin</name>\n        <children>\n"
        "        <clip id=\"clipitem-1\">\n"
        "          <name>A 001.mov</name>\n"
        "          <duration>300</duration>\n"
        "          <rate><timebase>30</timebase><ntsc>TRUE</ntsc></rate>\n"
        "          <media>\n            <video>\n              <track>\n"
        "                <clipitem id=\"masterclip-1\">\n"
        "                  <name>A 001.mov</name>\n"
        "                  <duration>300</duration>\n"
        "                  <rate><timebase>30</timebase><ntsc>TRUE</ntsc></rate>\n"
        "                  <file id=\"file-1\">\n"
        "                    <name>A 001.mov</name>\n"
        "                    <pathurl>file://localhost/media/shoot%20day/A%20001.mov</pathurl>\n"
        "                    <rate><timebase>30</timebase><ntsc>TRUE</ntsc></rate>\n"
        "                    <duration>300</duration>\n"
        "                    "
        "<media><video><samplecharacteristics><width>1920</width><height>1080</height></samplecharacteristics></"
        "video></media>\n"
        "                  </file>\n"
        "                  <logginginfo>\n"
        "                    <reel>T1</reel>\n"
        "                    <scene>5</scene>\n"
        "                    <shottake>2</shottake>\n"
        "                    <lognote>c &amp; d</lognote>\n"
        "                    <good>TRUE</good>\n"
        "                    <description>cap</description>\n"
        "                  </logginginfo>\n"
        "                </clipitem>\n              </track>\n            </video>\n          </media>\n"
        "        </clip>\n"
        "        </children>\n      </bin>\n    </children>\n  </project>\n</xmeml>");
    const QString doc = Exporter::fcp7XML({stillItem("still.jpg"), v});
    EXPECT_EQ(doc, expected);
    EXPECT_XMLLINT_ACCEPTS(doc);
}

TEST(Fcp7XmlWriter, RatesNtscFlagAndDuration)
{
    struct Case {
        double fps, seconds;
        const char* rate;
        const char* duration;
    } cases[] = {
        {23.976, 10, "<rate><timebase>24</timebase><ntsc>TRUE</ntsc></rate>", "240"},
        {24, 10, "<rate><timebase>24</timebase><ntsc>FALSE</ntsc></rate>", "240"},
        {25, 10, "<rate><timebase>25</timebase><ntsc>FALSE</ntsc></rate>", "250"},
        {29.97, 10, "<rate><timebase>30</timebase><ntsc>TRUE</ntsc></rate>", "300"},
        {30, 10, "<rate><timebase>30</timebase><ntsc>FALSE</ntsc></rate>", "300"},
        {47.952, 1, "<rate><timebase>48</timebase><ntsc>TRUE</ntsc></rate>", "48"},
        {50, 1, "<rate><timebase>50</timebase><ntsc>FALSE</ntsc></rate>", "50"},
        {59.94, 1, "<rate><timebase>60</timebase><ntsc>TRUE</ntsc></rate>", "60"},
        {60, 1, "<rate><timebase>60</timebase><ntsc>FALSE</ntsc></rate>", "60"},
        {29.95, 1, "<rate><timebase>30</timebase><ntsc>FALSE</ntsc></rate>", "30"},
        {0, 2, "<rate><timebase>25</timebase><ntsc>FALSE</ntsc></rate>", "50"},
        {25, 0, "<rate><timebase>25</timebase><ntsc>FALSE</ntsc></rate>", "1"},
    };
    for (const Case& c : cases) {
        const QString doc = Exporter::fcp7XML({videoItem("a.mov", c.fps, c.seconds)});
        EXPECT_EQ(rateOf(doc), QLatin1String(c.rate)) << c.fps;
        EXPECT_EQ(elementText(doc, "duration"), QLatin1String(c.duration)) << c.fps;
    }
}

TEST(Fcp7XmlWriter, IdsCountVideosOnlyAndLoggingFallsBack)
{
    ExportItem v = videoItem("b.mov", 25, 1, {{"Reel", ""}, {"Tape", "T2"}, {"Log Note", ""}, {"Comments", "cm"}});
    const QString doc = Exporter::fcp7XML({stillItem("a.jpg"), stillItem("c.pdf", MetaKind::pdf), v});
    EXPECT_TRUE(doc.contains(QLatin1String("<clip id=\"clipitem-1\">")));
    EXPECT_TRUE(doc.contains(QLatin1String("<file id=\"file-1\">")));
    EXPECT_EQ(elementText(doc, "reel"), QStringLiteral("T2"));
    EXPECT_EQ(elementText(doc, "lognote"), QStringLiteral("cm"));
    EXPECT_EQ(elementText(doc, "good"), QStringLiteral("FALSE"));
    EXPECT_EQ(elementText(doc, "scene"), QString());
}

TEST(Fcp7XmlWriter, OfflineRowsGetAnAbsoluteFileUrl)
{
    ExportItem offline = videoItem("A001 中.mov", 25, 1);
    offline.url = offline.name;
    const QString url = elementText(Exporter::fcp7XML({offline}), "pathurl");
    EXPECT_TRUE(url.startsWith(QLatin1String("file://localhost/"))) << url.toStdString();
    EXPECT_EQ(url, QStringLiteral("file://localhost/A001%20%E4%B8%AD.mov"));
    EXPECT_EQ(Exporter::importFCP7XML(Exporter::fcp7XML({offline})).rows.value(0).value(0), offline.name);
}

TEST(Fcp7XmlRoundTrip, ChineseAndControlCharactersSurvive)
{
    ExportItem a =
        videoItem(QStringLiteral("镜头 01\x01.mov"), 25, 2,
                  {{"Reel", "卷\t1"}, {"Scene", "场"}, {"Take", "3"}, {"Log Note", "注\r\n释"}, {"Good", "1"}});
    a.f.clipName = QStringLiteral("名 & <称>\uFFFF");
    a.f.desc = QStringLiteral("描述");
    const QString doc = Exporter::fcp7XML({a, videoItem("b.mov", 59.94, 1)});
    const ImportedTable back = Exporter::importFCP7XML(doc);
    EXPECT_EQ(back.header,
              QStringList({"File Name", "Clip Name", "Reel", "Scene", "Take", "Log Note", "Good", "Description"}));
    ASSERT_EQ(back.rows.size(), 2);
    EXPECT_EQ(back.rows[0], QStringList({"镜头 01.mov", "名 & <称>", "卷\t1", "场", "3", "注\r\n释", "TRUE", "描述"}));
    EXPECT_EQ(back.rows[1], QStringList({"b.mov", "b.mov", "", "", "", "", "FALSE", ""}));
    EXPECT_XMLLINT_ACCEPTS(doc);
}

TEST(Fcp7XmlReader, Table)
{
    const QString header = "File Name|Clip Name|Reel|Scene|Take|Log Note|Good|Description";
    struct Case {
        const char* text;
        const char* rows;  // rows joined with "\n", cells with "|"; "-" for an empty table
    } cases[] = {
        {"plain text", "-"},
        {"<xmeml><clipitem>", "-"},
        {"<xmeml/>", ""},
        {"<xmeml><clipitem><name>one</name><file id=\"f1\"><name>a.mov</name></file>"
         "<logginginfo><good>maybe</good></logginginfo></clipitem>"
         "<clipitem><name>two</name><file id=\"f1\"/></clipitem></xmeml>",
         "a.mov|one|||||maybe|"},
        {"<xmeml><clipitem><file id=\"f2\"><pathurl>file://localhost/v/%E4%B8%AD%20x.mov</pathurl></file>"
         "</clipitem></xmeml>",
         "中 x.mov|中 x.mov||||||"},
        {"<xmeml><clipitem><name/><file id=\"f3\"/></clipitem><clipitem><file><name>n</name></file>"
         "</clipitem></xmeml>",
         ""},
        {"<xmeml><file id=\"f4\"><name>late.mov</name></file><clipitem><name></name><file id=\"f4\"/>"
         "<logginginfo><reel>r<i>1</i></reel></logginginfo><logginginfo><scene>s</scene></logginginfo>"
         "</clipitem></xmeml>",
         "late.mov||r1|s||||"},
    };
    for (const Case& c : cases) {
        ImportedTable expected;
        if (QLatin1String(c.rows) != QLatin1String("-")) {
            expected.header = header.split('|');
            for (const QString& r : QString::fromUtf8(c.rows).split('\n', Qt::SkipEmptyParts))
                expected.rows << r.split('|');
        }
        EXPECT_EQ(Exporter::importFCP7XML(QString::fromUtf8(c.text)), expected) << c.text;
    }
}
