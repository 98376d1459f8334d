#include "metadata/metadata_reader.h"
#include "model/file_dates.h"
#include "model/name_preview.h"
#include "model/rule_engine.h"
#include "test_support.h"

#include <QFile>
#include <QFileInfo>
#include <QTest>
#include <QtConcurrent/QtConcurrentRun>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <thread>

namespace {

// Dates by file path; safe from several threads because it never changes after setup.
class FakeReader : public MetadataReader {
public:
    explicit FakeReader(QHash<QString, QDateTime> dates) : m_dates(std::move(dates)) {}
    MetaFields readImageOrPDF(const QString& path) const override
    {
        MetaFields f;
        if (m_dates.contains(path))
            f.date = m_dates.value(path);
        return f;
    }
    QFuture<MetaFields> read(const QString& path) const override
    {
        return QtConcurrent::run([this, path] { return readImageOrPDF(path); });
    }

private:
    QHash<QString, QDateTime> m_dates;
};

const QDateTime kCapture(QDate(2024, 5, 31), QTime(14, 25, 1));
const QDateTime kModified(QDate(2023, 1, 2), QTime(3, 4, 5));

void setModified(const QString& path, const QDateTime& when)
{
    struct timespec times[2] = {{0, UTIME_OMIT}, {time_t(when.toSecsSinceEpoch()), 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0), 0);
}

void waitFor(const QFuture<void>& f)
{
    ASSERT_TRUE(QTest::qWaitFor([&] { return f.isFinished(); }, 10000));
}

struct DateFixture : testing::Test {
    TestEnv env;
    std::unique_ptr<Store> store;
    QHash<QString, QDateTime> metadataDates;

    void makeStore()
    {
        StoreServices s = env.services();
        s.metadataReader = std::make_shared<FakeReader>(metadataDates);
        store.reset();  // one Store at a time holds the support folder, as one process does
        store = std::make_unique<Store>(std::move(s));
    }
    FileItem& add(const QString& relative)
    {
        const QString path = env.makeFile(relative);
        setModified(path, kModified);
        store->editItems([&](QList<FileItem>& items) { items.append(FileItem::file(path)); });
        return const_cast<FileItem&>(store->items().last());
    }
    void setCapture(int i, std::optional<QDateTime> d)
    {
        store->editItems([&](QList<FileItem>& items) { items[i].captureDate = d; });
    }
    void SetUp() override { makeStore(); }
};

TEST_F(DateFixture, CaptureDateElseModificationDate)
{
    add("a.mov");
    add("b.mov");
    setCapture(0, kCapture);
    store->editRules([](RuleSettings& r) { r.dateEnabled = true; });
    EXPECT_EQ(store->dates().dateText(store->items().at(0)), "2024-05-31");
    EXPECT_EQ(store->dates().dateText(store->items().at(1)), "2023-01-02");
    EXPECT_EQ(store->preview().newName(store->items().at(0), 0, {}), "2024-05-31_a.mov");
    store->editRules([](RuleSettings& r) {
        r.dateSource = DateSource::modified;
        r.dateFormat = "yyyy-MM-dd_HHmmss";
    });
    EXPECT_EQ(store->dates().dateText(store->items().at(0)), "2023-01-02_030405");
    store->editRules([](RuleSettings& r) {
        r.dateSource = DateSource::capture;
        r.dateFormat = "";
    });
    EXPECT_EQ(store->dates().dateText(store->items().at(0)), "2024-05-31");
    store->editRules([](RuleSettings& r) { r.dateFormat = "yyyy-MM-dd_HHmmss"; });
    EXPECT_EQ(store->dates().dateText(store->items().at(0)), "2024-05-31_142501");
}

TEST_F(DateFixture, CreationDateWhenTheFileSystemKeepsOne)
{
    add("a.mov");
    store->editRules([](RuleSettings& r) {
        r.dateEnabled = true;
        r.dateSource = DateSource::created;
    });
    const QDateTime born = QFileInfo(store->items().at(0).url).birthTime();
    EXPECT_EQ(store->dates().dateText(store->items().at(0)), born.isValid() ? born.toString("yyyy-MM-dd") : QString());
}

TEST_F(DateFixture, TextsAreCachedUntilAKeyPartOrTheCountChanges)
{
    add("a.mov");
    EXPECT_EQ(store->dates().dateText(store->items().at(0)), "");
    EXPECT_TRUE(store->dates().dateStringCache().isEmpty());  // rule off: nothing cached
    store->editRules([](RuleSettings& r) { r.dateEnabled = true; });
    EXPECT_EQ(store->dates().dateText(store->items().at(0)), "2023-01-02");
    setModified(store->items().at(0).url, kCapture);
    EXPECT_EQ(store->dates().dateText(store->items().at(0)), "2023-01-02");  // cached
    // A move gives a new URL and so a new key.
    const QString moved = env.path("moved.mov");
    ASSERT_TRUE(QFile::rename(store->items().at(0).url, moved));
    store->editItems([&](QList<FileItem>& items) {
        items[0] = [&] {
            FileItem f = FileItem::file(moved);
            f.id = items[0].id;
            return f;
        }();
    });
    EXPECT_EQ(store->dates().dateText(store->items().at(0)), "2024-05-31");
    EXPECT_EQ(store->dates().fileDateCache().size(), 2);
    add("b.mov");
    EXPECT_TRUE(store->dates().fileDateCache().isEmpty());
    EXPECT_TRUE(store->dates().dateStringCache().isEmpty());
}

// The dates a check read are kept for the next one, unless the caches were dropped meanwhile (a
// file moved or changed while the check ran).
TEST_F(DateFixture, ACheckKeepsItsDatesOnlyWhenNothingWasDroppedMeanwhile)
{
    add("a.mov");
    store->editRules([](RuleSettings& r) { r.dateEnabled = true; });
    for (const bool droppedMeanwhile : {true, false}) {
        SCOPED_TRACE(droppedMeanwhile);
        store->dates().clearCaches();
        std::optional<NamePreview::ConflictResult> checked = checkConflicts(store->preview().snapshot({}),
                                                                            store->preview().listings());
        ASSERT_TRUE(checked.has_value());
        if (droppedMeanwhile)
            store->dates().clearCaches();
        store->preview().keepResults(*checked);
        EXPECT_EQ(store->dates().dateStringCache().size(), droppedMeanwhile ? 0 : 1);
        EXPECT_EQ(store->dates().fileDateCache().size(), droppedMeanwhile ? 0 : 1);
    }
}

TEST_F(DateFixture, MissingFileGivesNoDateAndNameIsUnchanged)
{
    add("a.mov");
    QFile::remove(store->items().at(0).url);
    store->editRules([](RuleSettings& r) { r.dateEnabled = true; });
    EXPECT_EQ(store->preview().newName(store->items().at(0), 0, {}), "a.mov");
    EXPECT_EQ(store->dates().fileDateCache().size(), 1);
}

TEST(RuleSetDateText, ChoosesBySourceAndDefaultsToNow)
{
    TestEnv env;
    const QString path = env.makeFile("a.mov");
    setModified(path, kModified);
    RuleSettings p;
    EXPECT_EQ(ruleSetDateText(p, path, kCapture), "");
    p.dateEnabled = true;
    EXPECT_EQ(ruleSetDateText(p, path, kCapture), "2024-05-31");
    EXPECT_EQ(ruleSetDateText(p, path, std::nullopt), "2023-01-02");
    p.dateSource = DateSource::modified;
    p.dateFormat = "";
    EXPECT_EQ(ruleSetDateText(p, path, kCapture), "2023-01-02");
    p.dateFormat = "yyyy";
    const QString before = QString::number(QDate::currentDate().year());
    const QString now = ruleSetDateText(p, std::nullopt, std::nullopt);
    EXPECT_TRUE(now == before || now == QString::number(QDate::currentDate().year()));
}

TEST_F(DateFixture, ExtractionReadsStillsAndVideosAndClearsMissingDates)
{
    metadataDates.insert(env.path("still.jpg"), kCapture);
    metadataDates.insert(env.path("clip.mov"), kModified);
    metadataDates.insert(env.path("doc.pdf"), kModified);
    makeStore();
    add("still.jpg");
    add("blank.jpg");
    add("clip.mov");
    add("doc.pdf");
    setCapture(1, kModified);
    setCapture(3, kCapture);
    const QFuture<void> done = store->dates().extractCaptureDates();
    EXPECT_TRUE(store->activity().dateBusy);
    waitFor(done);
    EXPECT_EQ(store->items().at(0).captureDate, kCapture);
    EXPECT_EQ(store->items().at(1).captureDate, std::nullopt);
    EXPECT_EQ(store->items().at(2).captureDate, kModified);
    EXPECT_EQ(store->items().at(3).captureDate, kCapture);  // PDFs are not read
    EXPECT_FALSE(store->activity().dateBusy);
    EXPECT_EQ(store->status(), "Capture dates extracted.");
}

TEST_F(DateFixture, ExtractionOnPdfsOnlyStillReports)
{
    store->setLangZh(true);
    add("a.pdf");
    waitFor(store->dates().extractCaptureDates());
    EXPECT_EQ(store->items().at(0).captureDate, std::nullopt);
    EXPECT_EQ(store->status(), "已提取拍摄/创建日期。");
}

TEST_F(DateFixture, StampingCountsOnlyFilesDone)
{
    metadataDates.insert(env.path("clip.mov"), kCapture);
    makeStore();
    add("a.jpg");     // no date anywhere
    add("b.mxf");     // capture date, but the file is gone
    add("clip.mov");  // date read from the video now
    add("d.txt");     // capture date in the list
    setCapture(1, kCapture);
    setCapture(3, kCapture);
    QFile::remove(store->items().at(1).url);
    store->editRules([](RuleSettings& r) {
        r.dateEnabled = true;
        r.dateSource = DateSource::modified;
    });
    EXPECT_EQ(store->dates().dateText(store->items().at(3)), "2023-01-02");
    waitFor(store->dates().setFileDatesFromCapture());
    EXPECT_EQ(store->status(), "Set file date on 2 file(s) from capture date.");
    EXPECT_EQ(QFileInfo(store->items().at(2).url).lastModified(), kCapture);
    EXPECT_EQ(QFileInfo(store->items().at(3).url).lastModified(), kCapture);
    EXPECT_EQ(store->items().at(2).captureDate, std::nullopt);  // dates read here are not kept
    // The stamped date shows at once, not the cached old one.
    EXPECT_EQ(store->dates().dateText(store->items().at(3)), "2024-05-31");
    store->setLangZh(true);
    waitFor(store->dates().setFileDatesFromCapture());
    EXPECT_EQ(store->status(), "已把 2 个文件的日期设为拍摄/创建日期。");
}

TEST(DateFormatterCache, PosixPatternLettersAndQuotedText)
{
    EXPECT_EQ(DateFormatterCache::format(kCapture, "yyyy-MM-dd HH:mm"), "2024-05-31 14:25");
    EXPECT_EQ(DateFormatterCache::format(kCapture, "'clip'_yyyy"), "clip_2024");
    EXPECT_EQ(DateFormatterCache::format(QDateTime(), "yyyy"), "");
}

TEST(DateFormatterCache, EmptiedWholeWhenANewPatternFindsMoreThanFifty)
{
    // A thread of its own, so the count starts from an empty cache.
    std::thread([] {
        const auto pattern = [](int i) { return QStringLiteral("yyyy'%1'").arg(i); };
        for (int i = 0; i < 51; ++i)
            DateFormatterCache::format(kCapture, pattern(i));
        EXPECT_EQ(DateFormatterCache::cachedFormatterCount(), 51);
        EXPECT_EQ(DateFormatterCache::formatter(pattern(3)), DateFormatterCache::formatter(pattern(3)));
        EXPECT_EQ(DateFormatterCache::format(kCapture, pattern(51)), "202451");
        EXPECT_EQ(DateFormatterCache::cachedFormatterCount(), 1);
    }).join();
}

}  // namespace
