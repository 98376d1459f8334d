#include "common/prompts.h"
#include "common/quick_look.h"
#include "test_support.h"

#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <gtest/gtest.h>

namespace {
// A one-page PDF with a filled square; offsets computed so the cross-reference table is valid.
QByteArray tinyPdf()
{
    const QList<QByteArray> objects = {
        "<< /Type /Catalog /Pages 2 0 R >>",
        "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
        "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 200 100] /Contents 4 0 R >>",
        "<< /Length 31 >>\nstream\n0 0 1 rg 20 20 60 60 re f\nendstream",
    };
    QByteArray pdf = "%PDF-1.4\n";
    QList<int> offsets;
    for (int i = 0; i < objects.size(); ++i) {
        offsets << int(pdf.size());
        pdf += QByteArray::number(i + 1) + " 0 obj\n" + objects[i] + "\nendobj\n";
    }
    const int xref = int(pdf.size());
    pdf += "xref\n0 " + QByteArray::number(objects.size() + 1) + "\n0000000000 65535 f \n";
    for (int o : offsets)
        pdf += QByteArray::number(o).rightJustified(10, '0') + " 00000 n \n";
    pdf += "trailer\n<< /Size " + QByteArray::number(objects.size() + 1) + " /Root 1 0 R >>\nstartxref\n"
         + QByteArray::number(xref) + "\n%%EOF\n";
    return pdf;
}
}  // namespace

TEST(QuickLook, PreviewsEachKindAndFallsBackToTheIcon)
{
    TestEnv env;
    QImage img(64, 32, QImage::Format_RGB32);
    img.fill(Qt::red);
    ASSERT_TRUE(img.save(env.path("shot.png")));
    env.makeFile("notes.txt", "Reel 42\nTake 7\n");
    env.makeFile("page.pdf", tinyPdf());
    env.makeFile("blob.bin", QByteArray("\x00\x01\x02\x03", 4));

    const QSize room(400, 400);
    PreviewContent png = loadPreview(env.path("shot.png"), room);
    EXPECT_EQ(png.kind, PreviewContent::Kind::Image);
    EXPECT_EQ(png.image.size(), QSize(64, 32));
    EXPECT_EQ(png.image.pixelColor(5, 5), QColor(Qt::red));
    PreviewContent text = loadPreview(env.path("notes.txt"), room);
    EXPECT_EQ(text.kind, PreviewContent::Kind::Text);
    EXPECT_EQ(text.text, "Reel 42\nTake 7\n");
    PreviewContent pdf = loadPreview(env.path("page.pdf"), room);
    EXPECT_EQ(pdf.kind, PreviewContent::Kind::Pdf);
    ASSERT_FALSE(pdf.image.isNull());
    EXPECT_EQ(pdf.image.width(), 400);  // a 2:1 page fitted into the room
    PreviewContent blob = loadPreview(env.path("blob.bin"), room);
    EXPECT_EQ(blob.kind, PreviewContent::Kind::Icon);
    EXPECT_TRUE(blob.facts.startsWith("blob.bin\n"));
    // A damaged picture shows the facts rather than nothing.
    env.makeFile("broken.png", "not a png");
    EXPECT_EQ(loadPreview(env.path("broken.png"), room).kind, PreviewContent::Kind::Icon);
}

TEST(QuickLook, VideoShowsItsFirstFrame)
{
    const QString ffmpeg = QStandardPaths::findExecutable("ffmpeg");
    if (ffmpeg.isEmpty())
        GTEST_SKIP() << "ffmpeg not installed";
    TestEnv env;
    const QString clip = env.path("clip.mp4");
    const int rc = QProcess::execute(ffmpeg, {"-v", "error", "-y", "-f", "lavfi", "-i", "color=c=blue:s=160x90:d=0.2",
                                              "-pix_fmt", "yuv420p", clip});
    ASSERT_EQ(rc, 0);
    PreviewContent c = loadPreview(clip, QSize(400, 400));
    EXPECT_EQ(c.kind, PreviewContent::Kind::Video);
    ASSERT_EQ(c.image.size(), QSize(160, 90));
    const QColor px = c.image.pixelColor(80, 45);
    EXPECT_GT(px.blue(), 200);
    EXPECT_LT(px.red(), 40);
}

TEST(QuickLook, ShowsOnlyExistingFilesAndStepsWithTheArrowKeys)
{
    TestEnv env;
    QuickLook& ql = QuickLook::shared();
    ql.close();
    ql.show({env.path("missing.txt")});
    EXPECT_FALSE(ql.isVisible());
    EXPECT_EQ(ql.numberOfPreviewItems(), 0);

    const QString a = env.makeFile("a.txt", "A");
    const QString b = env.makeFile("b.txt", "B");
    ql.show({a, env.path("deleted.txt"), b});
    ASSERT_TRUE(ql.isVisible());
    EXPECT_EQ(ql.urls(), (QStringList{a, b}));
    EXPECT_EQ(ql.content().text, "A");
    ui::key(&ql, Qt::Key_Right);
    EXPECT_EQ(ql.currentIndex(), 1);
    EXPECT_EQ(ql.content().text, "B");
    ui::key(&ql, Qt::Key_Down);
    EXPECT_EQ(ql.currentIndex(), 1);  // stays on the last
    ui::key(&ql, Qt::Key_Left);
    EXPECT_EQ(ql.currentIndex(), 0);
    ui::key(&ql, Qt::Key_Space);
    EXPECT_FALSE(ql.isVisible());
    ql.show({a});
    ui::key(&ql, Qt::Key_Escape);
    EXPECT_FALSE(ql.isVisible());
}

TEST(SharedPrompts, TextIsTrimmedAndACustomColumnNeedsAName)
{
    FakeDialogs d;
    d.promptAnswers = {QString("  Reel A \n"), QString("   "), std::nullopt};
    EXPECT_EQ(promptText(d, "Save Preset", "Name:", "x"), QString("Reel A"));
    EXPECT_EQ(promptText(d, "Save Preset", "Name:", "x"), QString(""));  // blanks give empty, not nothing
    EXPECT_EQ(promptText(d, "Save Preset", "Name:", "x"), std::nullopt);
    EXPECT_EQ(d.prompts[0].okText, "OK");
    EXPECT_EQ(d.prompts[0].cancelText, "Cancel");
    EXPECT_EQ(d.prompts[0].text, "x");

    d.checkedPromptAnswers = {Dialogs::CheckedText{" Good ", true}, Dialogs::CheckedText{"  ", true}, std::nullopt};
    auto col = promptCustomColumn(d);
    ASSERT_TRUE(col.has_value());
    EXPECT_EQ(col->name, "Good");
    EXPECT_TRUE(col->isCheckbox);
    EXPECT_FALSE(promptCustomColumn(d).has_value());
    EXPECT_FALSE(promptCustomColumn(d).has_value());
    EXPECT_EQ(d.prompts[3].title, "Add custom column");
    EXPECT_EQ(d.prompts[3].message, "Column name and type:");
    EXPECT_EQ(d.checkBoxTexts[0], "Checkbox (yes / no) field");
}
