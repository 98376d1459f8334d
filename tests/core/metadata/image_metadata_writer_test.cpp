#include "media_tools.h"
#include "metadata/image_pdf_reader.h"
#include "metadata/metadata_writer.h"
#include "platform/lang.h"
#include "test_support.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <gtest/gtest.h>

namespace {

MetaFields imageRecord()
{
    MetaFields f;
    f.kind = MetaKind::image;
    f.date = QDateTime(QDate(2024, 3, 5), QTime(7, 8, 9));
    f.caption = QString::fromUtf8("批量重命名 Café");
    f.byline = "DIT Jane";
    f.copyright = QString::fromUtf8("© 2024 Brindle");
    f.keywords = "a, b,,  ,c";
    f.city = QString::fromUtf8("上海");
    f.country = "France";
    f.gps = "-33.86, -151.2";
    f.title = "not written for images";
    return f;
}

MetaFields readBack(const QString& path)
{
    MetaFields f;
    ImagePdfReader::readImage(path, f);
    return f;
}

// The compressed picture: everything from the first start-of-scan marker on.
QByteArray jpegScan(const QByteArray& jpeg)
{
    return jpeg.mid(jpeg.indexOf("\xFF\xDA"));
}

class ImageWriter : public ::testing::TestWithParam<const char*> {};

TEST_P(ImageWriter, WritesEveryFieldAsOtherReadersSeeIt)
{
    if (const QString m = missingTool({"ffmpeg", "exiftool"}); !m.isEmpty())
        GTEST_SKIP() << m.toStdString();
    TestEnv env;
    const QString path = env.path(GetParam());
    ASSERT_TRUE(makeImage(path));
    const QByteArray before = fileBytes(path);
    QString status;
    ASSERT_TRUE(MetadataWriter::writeImageOrPDF(imageRecord(), path, &status)) << status.toStdString();

    const QJsonObject seen = exiftool(path, {"-IPTC:all", "-ExifIFD:DateTimeOriginal", "-ExifIFD:ExifVersion",
                                             "-Composite:GPSLatitude", "-Composite:GPSLongitude", "-XMP:Title"});
    EXPECT_EQ(seen["Caption-Abstract"].toString(), QString::fromUtf8("批量重命名 Café"));
    EXPECT_EQ(seen["By-line"].toString(), "DIT Jane");
    EXPECT_EQ(seen["CopyrightNotice"].toString(), QString::fromUtf8("© 2024 Brindle"));
    EXPECT_EQ(seen["Keywords"].toArray(), (QJsonArray{"a", "b", "c"}));
    EXPECT_EQ(seen["City"].toString(), QString::fromUtf8("上海"));
    EXPECT_EQ(seen["Country-PrimaryLocationName"].toString(), "France");
    EXPECT_EQ(seen["DateTimeOriginal"].toString(), "2024:03:05 07:08:09");
    EXPECT_EQ(seen["ExifVersion"].toString(), "0232");
    EXPECT_NEAR(seen["GPSLatitude"].toDouble(), -33.86, 1e-9);
    EXPECT_NEAR(seen["GPSLongitude"].toDouble(), -151.2, 1e-9);
    EXPECT_FALSE(seen.contains("Title"));

    const MetaFields back = readBack(path);
    EXPECT_EQ(back.caption, QString::fromUtf8("批量重命名 Café"));
    EXPECT_EQ(back.keywords, "a, b, c");
    EXPECT_EQ(back.city, QString::fromUtf8("上海"));
    EXPECT_EQ(back.gps, "-33.860000, -151.200000");
    EXPECT_EQ(back.date, imageRecord().date);
    EXPECT_EQ(back.vidW, 64);
    EXPECT_EQ(back.vidH, 48);
    if (QString(GetParam()).endsWith(".jpg")) {
        EXPECT_EQ(jpegScan(fileBytes(path)), jpegScan(before));
    }
}

INSTANTIATE_TEST_SUITE_P(Formats, ImageWriter, ::testing::Values("a.jpg", "b.png", "c.tif"));

TEST(ImageWriterFields, EmptyTextsClearTheirItemsAndAnAbsentDateKeepsTheOldOne)
{
    if (const QString m = missingTool({"ffmpeg", "exiv2", "exiftool"}); !m.isEmpty())
        GTEST_SKIP() << m.toStdString();
    TestEnv env;
    const QString path = env.path("a.jpg");
    ASSERT_TRUE(makeImage(path));
    ASSERT_TRUE(setTags(path, {{"Exif.Photo.DateTimeOriginal", "2020:01:02 03:04:05"},
                               {"Iptc.Application2.Caption", "Old caption"},
                               {"Iptc.Application2.Keywords", "old"},
                               {"Exif.Image.Artist", "Kept"}}));
    MetaFields f;
    f.kind = MetaKind::image;
    ASSERT_TRUE(MetadataWriter::writeImageOrPDF(f, path));
    const QJsonObject seen = exiftool(path, {"-IPTC:all", "-EXIF:all"});
    EXPECT_FALSE(seen.contains("Caption-Abstract"));
    EXPECT_FALSE(seen.contains("Keywords"));
    EXPECT_EQ(seen["DateTimeOriginal"].toString(), "2020:01:02 03:04:05");
    EXPECT_EQ(seen["Artist"].toString(), "Kept");
    EXPECT_FALSE(seen.contains("CodedCharacterSet"));
}

TEST(ImageWriterFields, TextsTheFileAlsoKeepsAsXmpChangeThereToo)
{
    if (const QString m = missingTool({"ffmpeg", "exiv2", "exiftool"}); !m.isEmpty())
        GTEST_SKIP() << m.toStdString();
    TestEnv env;
    const QString path = env.path("a.jpg");
    ASSERT_TRUE(makeImage(path));
    ASSERT_TRUE(setTags(path, {{"Xmp.dc.description", "lang=x-default Old caption"},
                               {"Xmp.dc.subject", "old"},
                               {"Xmp.photoshop.City", "Old city"},
                               {"Xmp.dc.title", "lang=x-default Kept title"}}));
    MetaFields f = imageRecord();
    f.city.clear();
    ASSERT_TRUE(MetadataWriter::writeImageOrPDF(f, path));
    const QJsonObject seen = exiftool(path, {"-XMP:all"});
    EXPECT_EQ(seen["Description"].toString(), QString::fromUtf8("批量重命名 Café"));
    EXPECT_EQ(seen["Subject"].toArray(), (QJsonArray{"a", "b", "c"}));
    EXPECT_FALSE(seen.contains("City"));
    EXPECT_EQ(seen["Title"].toString(), "Kept title");
    EXPECT_FALSE(seen.contains("Creator")) << "no XMP item is added where the file had none";
}

TEST(ImageWriterFields, GpsOutsideTheGlobeOrNotTwoNumbersLeavesTheOldPosition)
{
    if (const QString m = missingTool({"ffmpeg", "exiftool"}); !m.isEmpty())
        GTEST_SKIP() << m.toStdString();
    TestEnv env;
    const QString path = env.path("a.jpg");
    ASSERT_TRUE(makeImage(path));
    MetaFields f;
    f.kind = MetaKind::image;
    f.gps = "48.8584, 2.2945";
    ASSERT_TRUE(MetadataWriter::writeImageOrPDF(f, path));
    for (const char* bad :
         {"200, 500", "91, 0", "0, -180.5", "nan, 1", "inf, 2", "48.8", "1, 2, 3", "north, east", "1e999, 0"}) {
        f.gps = bad;
        ASSERT_TRUE(MetadataWriter::writeImageOrPDF(f, path)) << bad;
        const QJsonObject seen = exiftool(path, {"-GPS:all"});
        EXPECT_NEAR(seen["GPSLatitude"].toDouble(), 48.8584, 1e-9) << bad;
        EXPECT_EQ(seen["GPSLatitudeRef"].toString(), "N") << bad;
        EXPECT_NEAR(seen["GPSLongitude"].toDouble(), 2.2945, 1e-9) << bad;
        EXPECT_EQ(seen["GPSLongitudeRef"].toString(), "E") << bad;
    }
}

TEST(ImageWriterFields, KeywordAndGpsTextsParseAsTheUserTypedThem)
{
    EXPECT_EQ(MetadataWriter::keywordList("a, b,,  ,c"), (QStringList{"a", "b", "c"}));
    EXPECT_EQ(MetadataWriter::keywordList(" red\t, red ,car"), (QStringList{"red", "red", "car"}));
    EXPECT_TRUE(MetadataWriter::keywordList(" , ").isEmpty());
    struct Case {
        const char* text;
        std::optional<std::pair<double, double>> point;
    };
    const Case cases[] = {
        {"48.8584, 2.2945", std::pair{48.8584, 2.2945}},
        {" -33.86 ,\t-151.2 ", std::pair{-33.86, -151.2}},
        {"90, -180", std::pair{90.0, -180.0}},
        {"4.5e1,,1", std::pair{45.0, 1.0}},
        {"48,8584, 2,2945", std::nullopt},
        {"90.0001, 0", std::nullopt},
        {"-inf, 0", std::nullopt},
        {"12 N, 3 E", std::nullopt},
        {"", std::nullopt},
    };
    for (const Case& c : cases) {
        const auto p = MetadataWriter::parseGps(c.text);
        ASSERT_EQ(p.has_value(), c.point.has_value()) << c.text;
        if (p) {
            EXPECT_DOUBLE_EQ(p->latitude, c.point->first) << c.text;
            EXPECT_DOUBLE_EQ(p->longitude, c.point->second) << c.text;
        }
    }
}

TEST(ImageWriterFields, LegacyLatin1IptcStaysReadableOnceMarkedUtf8)
{
    if (const QString m = missingTool({"ffmpeg", "exiftool"}); !m.isEmpty())
        GTEST_SKIP() << m.toStdString();
    TestEnv env;
    const QString path = env.path("a.jpg");
    ASSERT_TRUE(makeImage(path));
    ASSERT_TRUE(
        runTool("exiftool", {"-q", "-overwrite_original", "-charset", "iptc=Latin",
                             QString::fromUtf8("-IPTC:ObjectName=Café"), QString::fromUtf8("-IPTC:City=Zürich"), path})
            .ok());
    EXPECT_EQ(readBack(path).city, QString::fromUtf8("Zürich"));
    MetaFields f = readBack(path);
    f.caption = QString::fromUtf8("Crème");
    ASSERT_TRUE(MetadataWriter::writeImageOrPDF(f, path));
    const QJsonObject seen = exiftool(path, {"-IPTC:all"});
    EXPECT_EQ(seen["ObjectName"].toString(), QString::fromUtf8("Café"));
    EXPECT_EQ(seen["City"].toString(), QString::fromUtf8("Zürich"));
    EXPECT_EQ(seen["Caption-Abstract"].toString(), QString::fromUtf8("Crème"));
}

TEST(ImageWriterFiles, ATwoPageTiffKeepsBothPages)
{
    if (const QString m = missingTool({"convert", "identify"}); !m.isEmpty())
        GTEST_SKIP() << m.toStdString();
    TestEnv env;
    const QString path = env.path("two.tif");
    ASSERT_TRUE(runTool("convert", {"-size", "40x30", "xc:red", "-size", "50x20", "xc:blue", path}).ok());
    const QStringList pageArgs{"-format", "%w %h %#\n", path};
    const QByteArray pagesBefore = runTool("identify", pageArgs).out;
    ASSERT_EQ(pagesBefore.count('\n'), 2);
    MetaFields f = imageRecord();
    ASSERT_TRUE(MetadataWriter::writeImageOrPDF(f, path));
    EXPECT_EQ(runTool("identify", pageArgs).out, pagesBefore);
    EXPECT_EQ(readBack(path).caption, f.caption);
}

TEST(ImageWriterFiles, ContentDecidesTheFormatNotTheName)
{
    if (const QString m = missingTool({"ffmpeg"}); !m.isEmpty())
        GTEST_SKIP() << m.toStdString();
    TestEnv env;
    const QString png = env.path("a.png");
    ASSERT_TRUE(makeImage(png));
    const QString path = env.path("really_png.jpg");
    ASSERT_TRUE(QFile::rename(png, path));
    ASSERT_TRUE(MetadataWriter::writeImageOrPDF(imageRecord(), path));
    EXPECT_TRUE(fileBytes(path).startsWith("\x89PNG"));
    EXPECT_EQ(readBack(path).byline, "DIT Jane");
}

TEST(ImageWriterFiles, RefusedFilesAreLeftByteForByte)
{
    if (const QString m = missingTool({"convert"}); !m.isEmpty())
        GTEST_SKIP() << m.toStdString();
    TestEnv env;
    const QString heic = env.path("a.heic");
    ASSERT_TRUE(runTool("convert", {"-size", "32x32", "xc:red", heic}).ok());
    const QString fake = env.makeFile("b.jpg", "not an image at all");
    const QString text = env.makeFile("c.txt", "plain");
    const QString movie = env.makeFile("d.mov", "not written here");
    for (const QString& path : {heic, fake, text, movie}) {
        const QByteArray before = fileBytes(path);
        const QStringList entries = folderEntries(env.path());
        Lang::setZh(false);
        QString status;
        EXPECT_FALSE(MetadataWriter::writeImageOrPDF(imageRecord(), path, &status)) << path.toStdString();
        EXPECT_EQ(fileBytes(path), before);
        EXPECT_EQ(folderEntries(env.path()), entries);
        EXPECT_TRUE(status.contains(QFileInfo(path).fileName())) << status.toStdString();
        EXPECT_TRUE(status.endsWith("The file is unchanged.")) << status.toStdString();
    }
    QString status;
    Lang::setZh(true);
    EXPECT_FALSE(MetadataWriter::writeImageOrPDF(imageRecord(), heic, &status));
    Lang::setZh(false);
    EXPECT_EQ(status, QString::fromUtf8("元数据未写入 a.heic: 无法写入 HEIC 和 HEIF 图像. 文件未改动."));
}

}  // namespace
