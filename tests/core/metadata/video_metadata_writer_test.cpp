#include "media_tools.h"
#include "metadata/file_metadata_reader.h"
#include "metadata/file_swap.h"
#include "metadata/metadata_writer.h"
#include "test_support.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QTimeZone>
#include <gtest/gtest.h>

namespace {

const QStringList kCameraTags{"title=Old title",
                              "artist=Old artist",
                              "reel=R042",
                              "scene=12",
                              "take=3",
                              "com.apple.quicktime.camera.model=CamX",
                              "comment=Kept comment"};

MetaFields movieRecord()
{
    MetaFields f;
    f.kind = MetaKind::video;
    f.title = QString::fromUtf8("新标题 New");
    f.author = "DIT Jane";
    f.desc = "Day 3, unit B";
    f.copyright = QString::fromUtf8("© 2024 Brindle");
    f.date = QDateTime(QDate(2024, 3, 5), QTime(7, 8, 9), QTimeZone::utc());
    f.caption = "not written for movies";
    return f;
}

struct Probe {
    QJsonObject format;
    QJsonArray streams;
};

Probe ffprobe(const QString& path)
{
    const ToolResult r = runTool("ffprobe",
                                 {"-v", "error", "-print_format", "json", "-show_format", "-show_streams", path});
    const QJsonObject root = QJsonDocument::fromJson(r.out).object();
    return {root["format"].toObject()["tags"].toObject(), root["streams"].toArray()};
}

QString timecodeTrack(const Probe& p)
{
    for (const QJsonValue& s : p.streams)
        if (s["codec_tag_string"].toString() == "tmcd")
            return s["tags"]["timecode"].toString();
    return {};
}

QString missingVideoTools()
{
    return missingTool({"ffmpeg", "ffprobe"});
}

class VideoWriter : public ::testing::TestWithParam<const char*> {};

TEST_P(VideoWriter, ChangesTheFiveFieldsAndKeepsEverythingElse)
{
    if (const QString m = missingVideoTools(); !m.isEmpty())
        GTEST_SKIP() << m.toStdString();
    TestEnv env;
    const QString path = env.path(GetParam());
    ASSERT_TRUE(makeMovie(path, kCameraTags));
    const QByteArray packets = packetDigest(path);
    ASSERT_FALSE(packets.isEmpty());
    QString status;
    ASSERT_TRUE(MetadataWriter::writeVideo(movieRecord(), path, &status)) << status.toStdString();

    const Probe p = ffprobe(path);
    EXPECT_EQ(p.format["title"].toString(), QString::fromUtf8("新标题 New"));
    EXPECT_EQ(p.format["artist"].toString(), "DIT Jane");
    EXPECT_EQ(p.format["description"].toString(), "Day 3, unit B");
    EXPECT_EQ(p.format["copyright"].toString(), QString::fromUtf8("© 2024 Brindle"));
    EXPECT_TRUE(p.format["creation_time"].toString().startsWith("2024-03-05T07:08:09"))
        << p.format["creation_time"].toString().toStdString();
    for (const char* kept :
         {"reel=R042", "scene=12", "take=3", "com.apple.quicktime.camera.model=CamX", "comment=Kept comment"}) {
        const QStringList kv = QString(kept).split('=');
        EXPECT_EQ(p.format[kv[0]].toString(), kv[1]) << kept;
    }
    EXPECT_EQ(timecodeTrack(p), "01:00:00:00");
    EXPECT_EQ(packetDigest(path), packets);
    EXPECT_EQ(folderEntries(env.path()), QStringList{GetParam()});

    const MetaFields back = FileMetadataReader::readNow(path, false);
    const MetaFields written = movieRecord();
    EXPECT_EQ(back.title, written.title);
    EXPECT_EQ(back.author, written.author);
    EXPECT_EQ(back.desc, written.desc);
    EXPECT_EQ(back.copyright, written.copyright);
    EXPECT_EQ(back.date, written.date);
    EXPECT_EQ(back.custom.value("Reel"), "R042");
    EXPECT_EQ(back.custom.value("Start TC"), "01:00:00:00");
}

INSTANTIATE_TEST_SUITE_P(Containers, VideoWriter, ::testing::Values("a.mov", "b.mp4", "c.m4v", "D.MOV"));

TEST(VideoWriterFields, AnEmptyFieldRemovesOnlyItsItem)
{
    if (const QString m = missingVideoTools(); !m.isEmpty())
        GTEST_SKIP() << m.toStdString();
    TestEnv env;
    const QString path = env.path("a.mov");
    ASSERT_TRUE(makeMovie(path, kCameraTags + QStringList{"creation_time=2020-01-02T03:04:05Z"}));
    MetaFields f;
    f.kind = MetaKind::video;
    f.copyright = "Only this";
    ASSERT_TRUE(MetadataWriter::writeVideo(f, path));
    const Probe p = ffprobe(path);
    EXPECT_FALSE(p.format.contains("title"));
    EXPECT_FALSE(p.format.contains("artist"));
    EXPECT_EQ(p.format["copyright"].toString(), "Only this");
    EXPECT_EQ(p.format["reel"].toString(), "R042");
    EXPECT_TRUE(p.format["creation_time"].toString().startsWith("2020-01-02T03:04:05"));
}

TEST(VideoWriterFields, ADropFrameTimecodeStaysDropFrame)
{
    if (const QString m = missingVideoTools(); !m.isEmpty())
        GTEST_SKIP() << m.toStdString();
    TestEnv env;
    const QString path = env.path("df.mov");
    ASSERT_TRUE(makeMovie(path, {}, "00:59:56;12", "30000/1001"));
    ASSERT_TRUE(MetadataWriter::writeVideo(movieRecord(), path));
    EXPECT_EQ(timecodeTrack(ffprobe(path)), "00:59:56;12");
    EXPECT_EQ(FileMetadataReader::readNow(path, false).custom.value("Start TC"), "00:59:56;12");
}

TEST(VideoWriterFiles, RefusedOrFailedWritesLeaveTheMovieAndNoHiddenFile)
{
    if (const QString m = missingVideoTools(); !m.isEmpty())
        GTEST_SKIP() << m.toStdString();
    TestEnv env;
    const QString mts = env.path("a.mts");
    ASSERT_TRUE(runTool("ffmpeg", {"-v", "error", "-f", "lavfi", "-i", "testsrc=d=1:s=160x120:r=25", "-c:v",
                                   "mpeg2video", "-f", "mpegts", mts})
                    .ok());
    const QString mov = env.path("b.mov");
    ASSERT_TRUE(makeMovie(mov, kCameraTags));
    const QString cut = env.makeFile("c.mov", fileBytes(mov).left(3000));
    const QString mxf = env.makeFile("d.mxf", "not written");
    for (const QString& path : {mts, cut, mxf}) {
        const QByteArray before = fileBytes(path);
        const QStringList entries = folderEntries(env.path());
        QString status;
        EXPECT_FALSE(MetadataWriter::writeVideo(movieRecord(), path, &status)) << path.toStdString();
        EXPECT_FALSE(status.isEmpty());
        EXPECT_EQ(fileBytes(path), before);
        EXPECT_EQ(folderEntries(env.path()), entries);
    }
}

// A swap that fails where the rename would put the new file in place.
class RenameFails : public FileSwap {
protected:
    bool renameOver(const QString&, const QString&) override
    {
        errno = EXDEV;
        return false;
    }
};

TEST(VideoWriterFiles, AFailedSwapLeavesTheMovieAndNoHiddenFile)
{
    if (const QString m = missingVideoTools(); !m.isEmpty())
        GTEST_SKIP() << m.toStdString();
    TestEnv env;
    const QString path = env.path("a.mov");
    ASSERT_TRUE(makeMovie(path, kCameraTags));
    const QByteArray before = fileBytes(path);
    RenameFails swap;
    QString status;
    EXPECT_FALSE(MetadataWriter::writeVideo(movieRecord(), path, &status, &swap));
    EXPECT_FALSE(status.isEmpty());
    EXPECT_EQ(fileBytes(path), before);
    EXPECT_EQ(folderEntries(env.path()), QStringList{"a.mov"});
}

}  // namespace
