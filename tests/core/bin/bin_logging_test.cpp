#include "bin/bin_logging.h"
#include "bin/bin_save.h"
#include "bin/log_take.h"
#include "bin_support.h"

#include <gtest/gtest.h>
#include <memory>

namespace {

struct LoggingFixture : BinFixture {
    std::shared_ptr<DeferredReader> deferred = std::make_shared<DeferredReader>();
    LoggingFixture()
    {
        store.reset();
        StoreServices s = env.services();
        s.metadataReader = deferred;
        store = std::make_unique<Store>(std::move(s));
    }
    BinLogging& logging() { return bin().logging(); }
    static MetaFields fileFields(const QString& scene)
    {
        MetaFields f;
        f.kind = MetaKind::video;
        f.title = "on disk";
        f.custom.insert(BinLogging::kScene, scene);
        return f;
    }
    bool changedInBin(const QUuid& id)
    {
        bin().onAppear();
        for (const BinRow& row : bin().rows())
            if (row.id == id)
                return BinSave::hasMetadataChange(row, store->meta());
        return false;
    }
};

}  // namespace

TEST(LogTake, StepsWholeDecimalNumbersAndKeepsEverythingElse)
{
    const QList<QPair<QString, QString>> cases = {
        {"1", "2"},
        {"07", "8"},
        {"-1", "0"},
        {"+4", "5"},
        {"-0", "1"},
        {"-9223372036854775808", "-9223372036854775807"},
        {"9223372036854775807", "9223372036854775807"},  // one more would leave 64 bits
        {"99999999999999999999", "99999999999999999999"},
        {"A", "A"},
        {"3b", "3b"},
        {" 7", " 7"},
        {"7 ", "7 "},
        {"+", "+"},
        {"-", "-"},
        {"1.5", "1.5"},
        {QString::fromUtf8("٣"), QString::fromUtf8("٣")},
        {"", ""},
    };
    for (const auto& [previous, next] : cases)
        EXPECT_EQ(LogTake::next(previous), next) << previous.toStdString();
}

TEST(BinLogging, AStillIsReadAsItsDraftAndBaselineSoWhatIsLoggedIsSaved)
{
    LoggingFixture f;
    const FileItem still = f.list({"still.jpg"}).first();
    const BinLogging::Loaded loaded = f.logging().load(still);
    EXPECT_FALSE(loaded.reading);
    EXPECT_EQ(f.draft(still.id).title, "read still.jpg");
    EXPECT_EQ(f.original(still.id), f.draft(still.id));

    f.logging().write(still.id, BinLogging::kScene, "12");
    EXPECT_EQ(f.draft(still.id).custom.value("Scene"), "12");
    EXPECT_EQ(f.draft(still.id).title, "read still.jpg");
    EXPECT_TRUE(f.store->meta().binCustomCols.contains("Scene"));
    // A bin built after logging must still see the logged Scene as a change to save.
    EXPECT_TRUE(f.changedInBin(still.id));
}

TEST(BinLogging, WritingStartsFromAnEmptyRecordAndKeepsAnErasedKey)
{
    LoggingFixture f;
    const QUuid id = QUuid::createUuid();
    f.logging().write(id, BinLogging::kTake, "3");
    MetaFields expected;
    expected.custom.insert("Take", "3");
    EXPECT_EQ(f.draft(id), expected);
    f.logging().write(id, BinLogging::kTake, "");
    EXPECT_TRUE(f.draft(id).custom.contains("Take"));
    EXPECT_EQ(f.draft(id).custom.value("Take"), "");
}

TEST(BinLogging, ALateMovieReadKeepsTheSceneAndTakeTypedMeanwhile)
{
    LoggingFixture f;
    const FileItem clip = f.list({"A001.mov"}).first();
    QList<QUuid> read;
    QObject::connect(&f.logging(), &BinLogging::clipRead, [&read](const QUuid& id) { read.append(id); });
    EXPECT_TRUE(f.logging().load(clip).reading);
    f.logging().write(clip.id, BinLogging::kScene, "12");
    f.logging().write(clip.id, BinLogging::kTake, "4");
    f.deferred->land("A001.mov", LoggingFixture::fileFields("9"));

    EXPECT_EQ(f.draft(clip.id).title, "on disk");
    EXPECT_EQ(f.draft(clip.id).custom.value("Scene"), "12");
    EXPECT_EQ(f.draft(clip.id).custom.value("Take"), "4");
    EXPECT_EQ(f.original(clip.id), LoggingFixture::fileFields("9"));
    EXPECT_EQ(read, QList<QUuid>{clip.id});
    EXPECT_TRUE(f.changedInBin(clip.id));
}

TEST(BinLogging, ALateReadReachesABinRowBuiltWhileItRan)
{
    LoggingFixture f;
    const FileItem clip = f.list({"A001.mov"}).first();
    f.logging().load(clip);
    f.logging().write(clip.id, BinLogging::kTake, "4");
    f.logging().setCurrent(std::nullopt);
    f.bin().onAppear();  // the row is built from the record typed into
    f.bin().commitFieldEdit("Pier", clip.id, "author");
    f.deferred->land("A001.mov", LoggingFixture::fileFields("9"));

    ASSERT_EQ(f.bin().rows().size(), 1);
    EXPECT_EQ(f.row(0).fields.title, "on disk");
    EXPECT_EQ(f.row(0).fields.custom.value("Take"), "4");
    // An edit made in the bin while the file was read is not taken back by the read.
    EXPECT_EQ(f.row(0).fields.author, "Pier");
    EXPECT_EQ(f.draft(clip.id).author, "Pier");
    EXPECT_TRUE(BinSave::hasMetadataChange(f.row(0), f.store->meta()));
}

TEST(BinLogging, AReadForAClipLeftUntouchedIsDroppedOnceAnotherIsCurrent)
{
    LoggingFixture f;
    const QList<FileItem> clips = f.list({"A001.mov", "still.jpg"});
    f.logging().load(clips[0]);
    f.logging().load(clips[1]);
    f.deferred->land("A001.mov", LoggingFixture::fileFields("9"));
    EXPECT_FALSE(f.store->meta().metaDraft.contains(clips[0].id));
    EXPECT_FALSE(f.logging().isReading(clips[0].id));
}
