#include "media_tools.h"
#include "metadata/image_pdf_reader.h"
#include "metadata/metadata_writer.h"
#include "test_support.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

MetaFields pdfRecord()
{
    MetaFields f;
    f.kind = MetaKind::pdf;
    f.title = QString::fromUtf8("通告单 Day 3");
    f.author = "DIT Jane";
    f.subject = QString::fromUtf8("Café");
    f.keywords = "call sheet,, day 3 ,";
    f.caption = "not written for PDF";
    return f;
}

MetaFields readBack(const QString& path)
{
    MetaFields f;
    ImagePdfReader::readPdf(path, f);
    return f;
}

// pdfinfo's "Key: value" lines as a map.
QMap<QString, QString> pdfinfo(const QString& path)
{
    QMap<QString, QString> out;
    for (const QString& line : QString::fromUtf8(runTool("pdfinfo", {path}).out).split('\n')) {
        const qsizetype colon = line.indexOf(':');
        if (colon > 0)
            out.insert(line.left(colon), line.mid(colon + 1).trimmed());
    }
    return out;
}

QString missingPdfTools()
{
    return missingTool({"pdfinfo", "pdftotext", "qpdf"});
}

TEST(PdfWriter, WritesTheDocumentInformationOthersRead)
{
    if (const QString m = missingPdfTools(); !m.isEmpty())
        GTEST_SKIP() << m.toStdString();
    TestEnv env;
    const QString withInfo = env.makeFile("a.pdf", handWrittenPdf("/Title (Old) /Author (Old author) /Creator (Kept)"));
    const QString withoutInfo = env.makeFile("b.pdf", handWrittenPdf({}));
    for (const QString& path : {withInfo, withoutInfo}) {
        ASSERT_TRUE(MetadataWriter::writeImageOrPDF(pdfRecord(), path)) << path.toStdString();
        const auto info = pdfinfo(path);
        EXPECT_EQ(info["Title"], QString::fromUtf8("通告单 Day 3"));
        EXPECT_EQ(info["Author"], "DIT Jane");
        EXPECT_EQ(info["Subject"], QString::fromUtf8("Café"));
        EXPECT_EQ(info["Keywords"], "call sheet, day 3");
        EXPECT_EQ(QString::fromUtf8(runTool("pdftotext", {path, "-"}).out).trimmed(), "Call sheet day 3");
        EXPECT_TRUE(runTool("qpdf", {"--check", path}).ok());
        const MetaFields back = readBack(path);
        EXPECT_EQ(back.title, QString::fromUtf8("通告单 Day 3"));
        EXPECT_EQ(back.keywords, "call sheet, day 3");
        EXPECT_EQ(back.subject, QString::fromUtf8("Café"));
    }
    EXPECT_EQ(pdfinfo(withInfo)["Creator"], "Kept");
}

TEST(PdfWriter, EmptyFieldsBecomeEmptyTexts)
{
    if (const QString m = missingPdfTools(); !m.isEmpty())
        GTEST_SKIP() << m.toStdString();
    TestEnv env;
    const QString path = env.makeFile("a.pdf", handWrittenPdf("/Title (Old) /Keywords (x, y)"));
    MetaFields f;
    f.kind = MetaKind::pdf;
    ASSERT_TRUE(MetadataWriter::writeImageOrPDF(f, path));
    const MetaFields back = readBack(path);
    EXPECT_TRUE(back.title.isEmpty());
    EXPECT_TRUE(back.keywords.isEmpty());
    const QByteArray dump = runTool("qpdf", {"--qdf", "--object-streams=disable", path, "-"}).out;
    EXPECT_TRUE(dump.contains("/Title ()") || dump.contains("/Title <feff>")) << dump.toStdString();
    EXPECT_FALSE(dump.contains("(Old)"));
}

TEST(PdfWriter, AnEncryptedDocumentStaysEncrypted)
{
    if (const QString m = missingPdfTools(); !m.isEmpty())
        GTEST_SKIP() << m.toStdString();
    TestEnv env;
    const QString plain = env.makeFile("plain.pdf", handWrittenPdf("/Title (Old)"));
    const QString path = env.path("locked.pdf");
    ASSERT_TRUE(runTool("qpdf", {"--encrypt", "", "owner-secret", "256", "--", plain, path}).ok());
    const QByteArray before = runTool("qpdf", {"--show-encryption", path}).out;
    ASSERT_TRUE(before.contains("R = 6"));
    ASSERT_TRUE(MetadataWriter::writeImageOrPDF(pdfRecord(), path));
    EXPECT_EQ(runTool("qpdf", {"--show-encryption", path}).out, before);
    EXPECT_EQ(pdfinfo(path)["Title"], QString::fromUtf8("通告单 Day 3"));
    EXPECT_FALSE(fileBytes(path).contains("DIT Jane"));
}

TEST(PdfWriter, ADamagedDocumentIsLeftAsItWas)
{
    TestEnv env;
    const QString path = env.makeFile("broken.pdf", "%PDF-1.4\nthis is not a document\n");
    const QByteArray before = fileBytes(path);
    QString status;
    EXPECT_FALSE(MetadataWriter::writeImageOrPDF(pdfRecord(), path, &status));
    EXPECT_FALSE(status.isEmpty());
    EXPECT_EQ(fileBytes(path), before);
    EXPECT_EQ(folderEntries(env.path()), QStringList{"broken.pdf"});
}

}  // namespace
