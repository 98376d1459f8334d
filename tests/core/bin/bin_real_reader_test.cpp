// The bin over the real readers: technical facts and metadata of made files land in the rows.
#include "../metadata/media_tools.h"
#include "bin/bin_controller.h"
#include "test_support.h"

#include <QFile>
#include <QTest>
#include <gtest/gtest.h>

namespace {

TEST(BinRealReaders, StillsPdfsAndVideosLandWithTheirFacts)
{
    if (const QString missing = missingTool({"ffmpeg", "exiv2"}); !missing.isEmpty())
        GTEST_SKIP() << missing.toStdString();
    TestEnv env;
    const QString still = env.path("A001.jpg");
    const QString movie = env.path("B002.mov");
    const QString pdf = env.path("C003.pdf");
    ASSERT_TRUE(makeImage(still));
    ASSERT_TRUE(setTags(still, {{"Iptc.Application2.Caption", "On set"}}));
    ASSERT_TRUE(makeMovie(movie, {"title=Wide shot"}));
    QFile doc(pdf);
    ASSERT_TRUE(doc.open(QIODevice::WriteOnly));
    doc.write(handWrittenPdf("/Title (Call sheet)"));
    doc.close();

    auto store = env.makeStore();  // the production reader
    store->setItems({FileItem::file(still), FileItem::file(movie), FileItem::file(pdf)});
    BinController& bin = store->bin();
    bin.onAppear();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !bin.loading(); }, 30000));
    const QList<BinRow>& rows = bin.rows();
    ASSERT_EQ(rows.size(), 3);
    EXPECT_EQ(rows[0].value("title"), "On set");
    EXPECT_EQ(rows[1].value("title"), "Wide shot");
    EXPECT_EQ(rows[2].value("title"), "Call sheet");
    for (const BinRow& row : rows) {
        EXPECT_EQ(row.value("custom:Source Path"), *row.url);
        EXPECT_FALSE(row.value("custom:File Size").isEmpty()) << row.name.toStdString();
    }
    EXPECT_EQ(rows[1].value("custom:Start TC"), "01:00:00:00");
    EXPECT_EQ(store->unsavedMetaItems(), 0);
}

}  // namespace
