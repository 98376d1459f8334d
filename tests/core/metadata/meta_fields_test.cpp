#include "metadata/meta_fields.h"

#include <gtest/gtest.h>

namespace {

TEST(MetaKindTest, DecidedByTheLowerCasedLastExtensionAlone)
{
    const struct {
        const char* path;
        MetaKind kind;
    } cases[] = {
        {"/m/Photo.JPG", MetaKind::image},
        {"/m/scan.Tif", MetaKind::image},
        {"/m/a.HEIF", MetaKind::image},
        {"/m/doc.PDF", MetaKind::pdf},
        {"/m/clip.M2TS", MetaKind::video},
        {"/m/x.ts", MetaKind::video},
        {"/m/A001.mxf", MetaKind::video},
        {"/m/archive.tar.gz", MetaKind::unsupported},
        {"/m/jpg.mov.txt", MetaKind::unsupported},
        {"/m/README", MetaKind::unsupported},
        {"/m/ends.", MetaKind::unsupported},
        {"/m/anim.gif", MetaKind::unsupported},
        {"/m/a.mkv", MetaKind::unsupported},
        {"/m/pic.webp", MetaKind::unsupported},
        {"/m/jpg", MetaKind::unsupported},
        {"/no/such/dir.mp4", MetaKind::video},
    };
    for (const auto& c : cases)
        EXPECT_EQ(metaKindForPath(QString::fromUtf8(c.path)), c.kind) << c.path;
}

TEST(MetaFieldsTest, EmptyRecordAndEqualityIncludeCustomTexts)
{
    const MetaFields empty;
    EXPECT_EQ(empty.kind, MetaKind::unsupported);
    EXPECT_FALSE(empty.date);
    EXPECT_TRUE(empty.info.isEmpty() && empty.custom.isEmpty());
    EXPECT_EQ(empty.durSec + empty.fps + double(empty.vidW + empty.vidH), 0.0);

    MetaFields other;
    other.custom.insert("Reel", "A001");
    EXPECT_NE(empty, other);
    MetaFields same = other;
    EXPECT_EQ(same, other);
    same.custom["Reel"] = "A002";
    EXPECT_NE(same, other);
}

TEST(ExifDateTest, ParsesLocalDateAndWritesItBack)
{
    const std::optional<QDateTime> d = exifDateFromText("2024:03:05 07:08:09");
    ASSERT_TRUE(d);
    EXPECT_EQ(d->timeSpec(), Qt::LocalTime);
    EXPECT_EQ(d->date(), QDate(2024, 3, 5));
    EXPECT_EQ(d->time(), QTime(7, 8, 9));
    EXPECT_EQ(exifDateText(*d), "2024:03:05 07:08:09");

    for (const char* bad : {"2024-05-01 13:45:00", "", "2024:13:01 00:00:00", "garbage"})
        EXPECT_FALSE(exifDateFromText(QString::fromUtf8(bad))) << bad;
    EXPECT_EQ(exifDateText(QDateTime()), "");
}

}  // namespace
