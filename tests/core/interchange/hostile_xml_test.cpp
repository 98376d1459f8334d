// Hostile documents must never reach the network or the disk, expand without bound, hang or crash.
#include "interchange/fcp7_xml_format.h"
#include "interchange/fcpxml_format.h"
#include "interchange_support.h"

#include <QFile>

namespace {

QString billionLaughs()
{
    QString doc = QStringLiteral("<?xml version=\"1.0\"?>\n<!DOCTYPE fcpxml [\n<!ENTITY l0 \"ha\">\n");
    for (int i = 1; i <= 10; ++i)
        doc += QStringLiteral("<!ENTITY l%1 \"%2\">\n").arg(i).arg(QStringLiteral("&l%1;").arg(i - 1).repeated(10));
    return doc + QStringLiteral("]>\n<fcpxml><asset-clip name=\"&l10;\"><note>&l10;</note></asset-clip></fcpxml>");
}

}  // namespace

TEST(HostileXml, ExternalEntitiesAreNeverLoaded)
{
    QTemporaryDir dir;
    const QString secret = dir.filePath("secret.txt");
    QFile f(secret);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("TOP SECRET");
    f.close();
    for (const char* root : {"fcpxml", "xmeml"}) {
        const QString doc =
            QStringLiteral("<?xml version=\"1.0\"?>\n<!DOCTYPE %1 [\n<!ENTITY file SYSTEM \"file://%2\">\n"
                           "<!ENTITY net SYSTEM \"http://192.0.2.1/x.dtd\">\n<!ENTITY %% p SYSTEM "
                           "\"http://192.0.2.1/p\"> %%p;\n]>\n"
                           "<%1><asset-clip name=\"&file;\"><note>&file;&net;</note></asset-clip>"
                           "<clipitem><name>&file;</name><file id=\"f\"><name>&net;x.mov</name></file></clipitem></%1>")
                .arg(QLatin1String(root), secret);
        const ImportedTable fcpx = Exporter::importFCPXML(doc), fcp7 = Exporter::importFCP7XML(doc);
        for (const ImportedTable* t : {&fcpx, &fcp7})
            for (const QStringList& row : t->rows)
                for (const QString& cell : row)
                    EXPECT_FALSE(cell.contains(QLatin1String("TOP SECRET"))) << root;
    }
}

TEST(HostileXml, BillionLaughsIsNotExpanded)
{
    const QString doc = billionLaughs();
    const ImportedTable fcpx = Exporter::importFCPXML(doc);
    const ImportedTable fcp7 = Exporter::importFCP7XML(doc);
    for (const QStringList& row : fcpx.rows)
        for (const QString& cell : row)
            EXPECT_LT(cell.size(), 1000);
    EXPECT_TRUE(fcp7.rows.isEmpty());
}

TEST(HostileXml, HundredMegabyteDocumentIsReadToTheEnd)
{
    const int clips = 100'000;
    QString doc = QStringLiteral("<fcpxml><resources><asset id=\"a\" name=\"big.mov\"/></resources>");
    doc.reserve(1050 * clips + 100);
    const QString clip = QStringLiteral("<asset-clip ref=\"a\" name=\"c\"><note>%1</note></asset-clip>\n")
                             .arg(QString(1000, QLatin1Char('n')));
    for (int i = 0; i < clips; ++i)
        doc += clip;
    doc += QStringLiteral("<asset-clip ref=\"a\" name=\"last\"/></fcpxml>");
    ASSERT_GE(doc.size(), 100'000'000);
    const ImportedTable t = Exporter::importFCPXML(doc);
    ASSERT_EQ(t.rows.size(), clips + 1);
    EXPECT_EQ(t.rows.back()[1], QStringLiteral("last"));
}

TEST(HostileXml, DeepNestingDoesNotExhaustTheStack)
{
    const int depth = 200'000;
    const QString doc = QStringLiteral("<xmeml>") + QStringLiteral("<bin>").repeated(depth)
                      + QStringLiteral("<clipitem><file id=\"f\"><name>deep.mov</name></file></clipitem>")
                      + QStringLiteral("</bin>").repeated(depth) + QStringLiteral("</xmeml>");
    const ImportedTable t = Exporter::importFCP7XML(doc);
    ASSERT_EQ(t.rows.size(), 1);
    EXPECT_EQ(t.rows[0][0], QStringLiteral("deep.mov"));
    EXPECT_EQ(Exporter::importFCPXML(doc).rows.size(), 0);
}
