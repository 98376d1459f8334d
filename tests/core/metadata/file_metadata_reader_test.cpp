#include "media_fixture.h"
#include "metadata/file_metadata_reader.h"
#include "model/file_dates.h"
#include "model/name_preview.h"
#include "model/store.h"
#include "platform/lang.h"
#include "test_support.h"

#include <QFileInfo>
#include <QTest>
#include <gtest/gtest.h>

namespace {

struct FileMetadataReaderTest : testing::Test {
    TestEnv env;

    QString movie(const QString& name, const QStringList& extra = {})
    {
        const QString path = env.path(name);
        EXPECT_TRUE(makeMedia(QStringList{"-f", "lavfi", "-i", "testsrc=d=0.12:s=160x120:r=25", "-c:v", "mpeg2video"}
                              + extra + QStringList{path}));
        return path;
    }
};

TEST_F(FileMetadataReaderTest, PicksTheReaderByExtension)
{
    const QString mxf = movie("A001.MXF", {"-f", "mxf", "-timecode", "10:00:00:00"});
    const QString mov = movie("clip.mov", {"-timecode", "01:00:00:00"});
    const QString text = env.makeFile("notes.txt", "hello");
    FileMetadataReader reader;

    const MetaFields m = reader.read(mxf).result();
    EXPECT_EQ(m.custom.value("Format"), "MXF");
    EXPECT_EQ(m.custom.value("Start TC"), "10:00:00:00");
    const MetaFields v = reader.read(mov).result();
    EXPECT_EQ(v.kind, MetaKind::video);
    EXPECT_EQ(v.custom.value("Start TC"), "01:00:00:00");
    EXPECT_EQ(v.info, "0.1s · 160×120 · 25fps");
    const MetaFields t = reader.read(text).result();
    EXPECT_EQ(t.kind, MetaKind::unsupported);
    EXPECT_EQ(t.custom.value("File Size"), "5 bytes");
    EXPECT_EQ(reader.readImageOrPDF(mov).info, "");  // the still-image path gives a movie only its file facts

    const QString sound = movie("s.mov", {"-f", "lavfi", "-i", "sine=d=0.1", "-c:a", "pcm_s16le"});
    Lang::setZh(true);
    const QFuture<MetaFields> inChinese = reader.read(sound);
    Lang::setZh(false);
    EXPECT_EQ(inChinese.result().custom.value("Audio Channels"), "1 (单声道)");
    EXPECT_EQ(reader.read(sound).result().custom.value("Audio Channels"), "1 (Mono)");
}

TEST_F(FileMetadataReaderTest, CaptureDatesOfMoviesSetTheirFileDates)
{
    auto store = env.makeStore();  // the application's own reader
    const QString dated = movie("dated.mov", {"-metadata", "creation_time=2024-05-06T07:08:09Z"});
    const QString plain = movie("plain.mts", {"-f", "mpegts"});
    store->editItems([&](QList<FileItem>& items) { items << FileItem::file(dated) << FileItem::file(plain); });

    const QFuture<void> extracted = store->dates().extractCaptureDates();
    ASSERT_TRUE(QTest::qWaitFor([&] { return extracted.isFinished(); }, 20000));
    const QDateTime capture(QDate(2024, 5, 6), QTime(7, 8, 9), Qt::UTC);
    ASSERT_TRUE(store->items().at(0).captureDate);
    EXPECT_EQ(*store->items().at(0).captureDate, capture);
    EXPECT_FALSE(store->items().at(1).captureDate);
    store->editRules([](RuleSettings& r) {
        r.dateEnabled = true;
        r.dateFormat = "yyyy";
    });
    EXPECT_EQ(store->preview().newName(store->items().at(0), 0, {}), "2024_dated.mov");

    const QDateTime plainBefore = QFileInfo(plain).lastModified();
    const QFuture<void> stamped = store->dates().setFileDatesFromCapture();
    ASSERT_TRUE(QTest::qWaitFor([&] { return stamped.isFinished(); }, 20000));
    EXPECT_EQ(QFileInfo(dated).lastModified().toUTC(), capture);
    EXPECT_EQ(QFileInfo(plain).lastModified(), plainBefore);
    EXPECT_EQ(store->status(), "Set file date on 1 file(s) from capture date.");
}

}  // namespace
