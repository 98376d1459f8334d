// The text that stands for a file: text files, PDF pages, text drawn in images.
#include "ai/ai_name.h"
#include "test_support.h"

#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

// A PDF with one page per text, drawn in lines of 80 characters of Helvetica.
QByteArray pdfWithPages(const QStringList& pages)
{
    const int n = int(pages.size());
    QList<QByteArray> objects;
    QByteArray kids;
    for (int i = 0; i < n; ++i)
        kids += QByteArray::number(4 + 2 * i) + " 0 R ";
    objects << "<< /Type /Catalog /Pages 2 0 R >>";
    objects << "<< /Type /Pages /Kids [" + kids + "] /Count " + QByteArray::number(n) + " >>";
    objects << "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>";
    for (int i = 0; i < n; ++i) {
        QByteArray stream = "BT /F1 8 Tf 20 760 Td ";
        for (qsizetype at = 0; at < pages[i].size(); at += 80)
            stream += "(" + pages[i].mid(at, 80).toLatin1() + ") Tj 0 -10 Td ";
        stream += "ET";
        objects << "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 612 792] /Resources << /Font << /F1 3 0 R >> >> "
                   "/Contents "
                       + QByteArray::number(5 + 2 * i) + " 0 R >>";
        objects << "<< /Length " + QByteArray::number(stream.size()) + " >>\nstream\n" + stream + "\nendstream";
    }
    QByteArray pdf = "%PDF-1.4\n";
    QList<qsizetype> offsets;
    for (int i = 0; i < objects.size(); ++i) {
        offsets << pdf.size();
        pdf += QByteArray::number(i + 1) + " 0 obj\n" + objects[i] + "\nendobj\n";
    }
    const qsizetype xref = pdf.size();
    pdf += "xref\n0 " + QByteArray::number(objects.size() + 1) + "\n0000000000 65535 f \n";
    for (qsizetype o : offsets)
        pdf += QByteArray::number(o).rightJustified(10, '0') + " 00000 n \n";
    pdf += "trailer\n<< /Size " + QByteArray::number(objects.size() + 1) + " /Root 1 0 R >>\nstartxref\n"
         + QByteArray::number(xref) + "\n%%EOF\n";
    return pdf;
}

// Text without its blanks and line breaks: page layout may move them.
QString squeezed(const QString& s)
{
    QString out = s;
    out.remove(QRegularExpression("\\s"));
    return out;
}

QString words(int chars, char letter)
{
    QString s;
    while (s.size() < chars)
        s += QString(9, QChar(letter)) + ' ';
    return s.left(chars);
}

bool convert(const QStringList& args)
{
    return QProcess::execute("convert", args) == 0;
}

}  // namespace

TEST(ContentText, TextFilesAreReadAsUtf8Only)
{
    TestEnv env;
    EXPECT_EQ(AIName::contentTextNow(env.makeFile("notes.TXT", "hello")), "hello");
    EXPECT_EQ(AIName::extractText(env.makeFile("readme.md", "Grüße 你好\n")), QString::fromUtf8("Grüße 你好\n"));
    EXPECT_EQ(AIName::extractText(env.makeFile("latin1.txt", "Gr\xfc\xdf"
                                                             "e caf\xe9")),
              std::nullopt);
    EXPECT_EQ(AIName::extractText(env.makeFile("empty.txt", "")), std::nullopt);
    EXPECT_EQ(AIName::extractText(env.makeFile("cut.txt", "ok \xe4\xbd")), std::nullopt);  // ends mid-character
    EXPECT_EQ(AIName::extractText(env.makeFile("clip.mov", "text")), std::nullopt);
    EXPECT_EQ(AIName::extractText(env.makeFile("archive.zip", "text")), std::nullopt);
    EXPECT_EQ(AIName::extractText(env.path("missing.txt")), std::nullopt);
}

TEST(ContentText, HugeFilesCostOnlyTheirPrefix)
{
    TestEnv env;
    // 6 GB of text-extension file, mostly a hole: only the first few MiB are read.
    const QString log = env.makeFile("huge.log", "Shoot day 3 notes\n");
    {
        QFile f(log);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_TRUE(f.resize(6LL * 1024 * 1024 * 1024));
    }
    const auto text = AIName::extractText(log);
    ASSERT_TRUE(text);
    EXPECT_TRUE(text->startsWith("Shoot day 3 notes\n"));
    EXPECT_LE(text->size(), AIName::textPrefixBytes);

    // A prefix bound that falls inside a character does not make the text invalid.
    QByteArray chinese;
    while (chinese.size() < AIName::textPrefixBytes + 10)
        chinese += "中";
    EXPECT_TRUE(AIName::extractText(env.makeFile("long.txt", chinese)));

    // A transport stream: binary from its first bytes on.
    QByteArray ts(2 * 1024 * 1024, '\0');
    for (qsizetype i = 0; i < ts.size(); ++i)
        ts[i] = char(i % 188 == 0 ? 0x47 : QRandomGenerator::global()->bounded(256));
    EXPECT_EQ(AIName::contentTextNow(env.makeFile("clip.ts", ts)), std::nullopt);
}

TEST(ContentText, PdfPagesAreCollectedUntilThereIsEnough)
{
    TestEnv env;
    const QString a = words(2000, 'a'), b = words(600, 'b'), c = words(600, 'c'), d = words(600, 'd');
    EXPECT_EQ(squeezed(AIName::contentTextNow(env.makeFile("long.pdf", pdfWithPages({a, b}))).value_or("")),
              squeezed(a));
    const auto three = AIName::extractText(env.makeFile("three.pdf", pdfWithPages({b, c, d, "never read"})));
    EXPECT_EQ(squeezed(three.value_or("")), squeezed(b + c + d));

    EXPECT_EQ(AIName::extractText(env.makeFile("blank.pdf", pdfWithPages({""}))), std::nullopt);
    EXPECT_EQ(AIName::extractText(env.makeFile("broken.pdf", "%PDF-1.4 nothing else")), std::nullopt);
}

TEST(ContentText, ImagesGiveTheTextRecognisedInThem)
{
    TestEnv env;
    const QString slate = env.path("slate.png");
    ASSERT_TRUE(convert({"-size", "900x160", "xc:white", "-font", "DejaVu-Sans", "-pointsize", "56", "-fill", "black",
                         "-annotate", "+30+100", "Reel 042 Take 7", slate}));
    const auto text = AIName::contentTextNow(slate);
    ASSERT_TRUE(text);
    EXPECT_EQ(*text, "Text in the image: Reel 042 Take 7");

    const QString noise = env.path("noise.tif");
    ASSERT_TRUE(convert({"-size", "320x240", "xc:gray", "+noise", "Random", noise}));
    EXPECT_EQ(AIName::contentTextNow(noise), std::nullopt);
    EXPECT_EQ(AIName::describeImage(env.makeFile("fake.jpg", "not an image")), std::nullopt);
}
