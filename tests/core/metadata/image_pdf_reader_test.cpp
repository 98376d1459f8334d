#include "media_tools.h"
#include "metadata/file_metadata_reader.h"
#include "metadata/image_pdf_reader.h"
#include "test_support.h"

#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace {

QString missingImageTools()
{
    return missingTool({"ffmpeg", "exiv2"});
}

TEST(ImageReader, ReadsTheEditableFieldsAndCameraTexts)
{
    if (const QString m = missingImageTools(); !m.isEmpty())
        GTEST_SKIP() << m.toStdString();
    TestEnv env;
    const QString path = env.path("a.JPG");
    ASSERT_TRUE(makeImage(path, 96, 64));
    ASSERT_TRUE(setTags(path, {{"Exif.Image.Make", "Maker "},
                               {"Exif.Image.Model", "M1"},
                               {"Exif.Photo.LensModel", "50mm F1.4"},
                               {"Exif.Photo.ISOSpeedRatings", "400"},
                               {"Exif.Photo.FNumber", "28/10"},
                               {"Exif.Photo.ExposureTime", "1/250"},
                               {"Exif.Photo.FocalLength", "50/1"},
                               {"Exif.Photo.DateTimeOriginal", "2024:05:01 13:45:00"},
                               {"Exif.GPSInfo.GPSLatitude", "338688/10000 0/1 0/1"},
                               {"Exif.GPSInfo.GPSLatitudeRef", "S"},
                               {"Exif.GPSInfo.GPSLongitude", "1512093/10000 0/1 0/1"},
                               {"Iptc.Envelope.CharacterSet", "\x1b%G"},
                               {"Iptc.Application2.Caption", QString::fromUtf8("  批量重命名\n")},
                               {"Iptc.Application2.Byline", "Jane"},
                               {"Iptc.Application2.Copyright", "(c) Brindle"},
                               {"Iptc.Application2.City", "Paris"},
                               {"Iptc.Application2.CountryName", "France"}}));
    ASSERT_TRUE(
        runTool("exiv2", {"-M", "add Iptc.Application2.Keywords \" red \"", "-M", "add Iptc.Application2.Keywords \"\"",
                          "-M", "add Iptc.Application2.Keywords car", path})
            .ok());
    const MetaFields f = FileMetadataReader().readImageOrPDF(path);
    EXPECT_EQ(f.kind, MetaKind::image);
    EXPECT_EQ(f.date, QDateTime(QDate(2024, 5, 1), QTime(13, 45)));
    EXPECT_EQ(f.caption, QString::fromUtf8("批量重命名"));
    EXPECT_EQ(f.byline, "Jane");
    EXPECT_EQ(f.copyright, "(c) Brindle");
    EXPECT_EQ(f.keywords, "red, car");
    EXPECT_EQ(f.city, "Paris");
    EXPECT_EQ(f.country, "France");
    EXPECT_EQ(f.gps, "-33.868800, 151.209300");
    EXPECT_EQ(f.vidW, 96);
    EXPECT_EQ(f.vidH, 64);
    EXPECT_EQ(f.info, QString::fromUtf8("96×64 · Maker M1"));
    const QMap<QString, QString> camera{{"Camera", "Maker M1"}, {"Lens", "50mm F1.4"}, {"ISO", "400"},
                                        {"Aperture", "f/2.8"},  {"Shutter", "1/250s"}, {"Focal Length", "50mm"}};
    for (auto it = camera.begin(); it != camera.end(); ++it)
        EXPECT_EQ(f.custom.value(it.key()), it.value()) << it.key().toStdString();
    EXPECT_TRUE(f.custom.contains("File Size"));
}

TEST(ImageReader, MissingOrOddValuesLeaveTheirFieldsEmpty)
{
    if (const QString m = missingImageTools(); !m.isEmpty())
        GTEST_SKIP() << m.toStdString();
    TestEnv env;
    const QString path = env.path("a.png");
    ASSERT_TRUE(makeImage(path, 10, 20));
    ASSERT_TRUE(setTags(path, {{"Exif.Image.Model", "M1"},
                               {"Exif.Photo.DateTimeOriginal", "2024-05-01 13:45:00"},
                               {"Exif.Photo.FNumber", "28/0"},
                               {"Exif.Photo.ExposureTime", "0/1"},
                               {"Exif.GPSInfo.GPSLatitude", "10/1 0/1 0/1"}}));
    const MetaFields f = FileMetadataReader().readImageOrPDF(path);
    EXPECT_FALSE(f.date.has_value());
    EXPECT_TRUE(f.gps.isEmpty());
    EXPECT_EQ(f.custom.value("Camera"), "M1");
    EXPECT_FALSE(f.custom.contains("Aperture"));
    EXPECT_FALSE(f.custom.contains("Shutter"));
    EXPECT_EQ(f.info, QString::fromUtf8("10×20 · M1"));

    const QString plain = env.path("b.png");
    ASSERT_TRUE(makeImage(plain, 10, 20));
    const MetaFields p = FileMetadataReader().readImageOrPDF(plain);
    EXPECT_EQ(p.info, QString::fromUtf8("10×20"));
    EXPECT_FALSE(p.custom.contains("Camera"));
}

TEST(ImageReader, ShutterTexts)
{
    const std::pair<double, const char*> cases[] = {
        {0.004, "1/250s"}, {0.3, "1/3s"}, {1.0, "1.0s"}, {2.5, "2.5s"},
        {0.0, ""},         {-1.0, ""},    {1e-300, ""},  {std::nan(""), ""},
    };
    for (const auto& [t, text] : cases)
        EXPECT_EQ(ImagePdfReader::shutterText(t), QString(text)) << t;
}

TEST(ImageReader, HeicExifIsReadThroughLibheif)
{
    if (const QString m = missingTool({"convert", "exiftool"}); !m.isEmpty())
        GTEST_SKIP() << m.toStdString();
    TestEnv env;
    const QString path = env.path("a.HEIC");
    ASSERT_TRUE(runTool("convert", {"-size", "64x48", "xc:red", path}).ok());
    ASSERT_TRUE(runTool("exiftool", {"-q", "-overwrite_original", "-Make=Maker", "-Model=M1",
                                     "-DateTimeOriginal=2024:05:01 13:45:00", path})
                    .ok());
    const MetaFields f = FileMetadataReader().readImageOrPDF(path);
    EXPECT_EQ(f.kind, MetaKind::image);
    EXPECT_EQ(f.custom.value("Camera"), "Maker M1");
    EXPECT_EQ(f.date, QDateTime(QDate(2024, 5, 1), QTime(13, 45)));
    EXPECT_EQ(f.info, QString::fromUtf8("64×48 · Maker M1"));
}

TEST(PdfReader, ReadsTheDocumentInformation)
{
    TestEnv env;
    const QString path = env.makeFile("a.PDF", handWrittenPdf(
                                                   "/Title (  Call sheet ) /Author <FEFF901A544A5355> /Subject (Day 3) "
                                                   "/Keywords [(red) ( ) (car)]"));
    const MetaFields f = FileMetadataReader().readImageOrPDF(path);
    EXPECT_EQ(f.kind, MetaKind::pdf);
    EXPECT_EQ(f.title, "Call sheet");
    EXPECT_EQ(f.author, QString::fromUtf8("通告单"));
    EXPECT_EQ(f.subject, "Day 3");
    EXPECT_EQ(f.keywords, "red, car");
    EXPECT_TRUE(f.info.isEmpty());
}

TEST(MetadataReading, EveryFileGetsItsKindAndFileFactsWhateverFails)
{
    TestEnv env;
    const QString broken = env.makeFile("broken.pdf", "not a pdf");
    const QString badImage = env.makeFile("bad.jpg", "not a jpeg");
    const QString text = env.makeFile("notes.txt", "hello");
    const QString movie = env.makeFile("clip.mov", "not a movie");
    const std::pair<QString, MetaKind> cases[] = {
        {broken, MetaKind::pdf},
        {badImage, MetaKind::image},
        {text, MetaKind::unsupported},
        {movie, MetaKind::video},
    };
    FileMetadataReader reader;
    for (const auto& [path, kind] : cases) {
        const MetaFields f = reader.read(path).result();
        EXPECT_EQ(f.kind, kind) << path.toStdString();
        EXPECT_EQ(f.custom.value("Source Path"), path) << path.toStdString();
        EXPECT_TRUE(f.caption.isEmpty() && f.title.isEmpty());
    }
    // The MXF reader decides the kind itself (upper-case extension included).
    const QString mxf = env.makeFile("CLIP.MXF", "not mxf");
    EXPECT_EQ(reader.read(mxf).result().custom.value("Source Path"), mxf);
    const MetaFields direct = reader.readImageOrPDF(movie);
    EXPECT_EQ(direct.kind, MetaKind::video);
    EXPECT_TRUE(direct.custom.contains("File Size"));
}

}  // namespace
