// The Metadata editor's drafts on real files: which files a selection shows and saves to,
// loading (stills at once, movies on a worker), saving to one and several files, Apply to all,
// Revert, and the undo history's limit.
#include "bin/bin_columns.h"
#include "media_tools.h"
#include "metadata/metadata_drafts.h"
#include "metadata/metadata_reader.h"
#include "model/store.h"
#include "platform/settings.h"
#include "test_support.h"

#include <QFile>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace {

struct DraftsFixture {
    TestEnv env;
    std::unique_ptr<Store> store;
    explicit DraftsFixture(const QStringList& languages = {"en-US"}) : store(env.makeStore(languages)) {}

    MetadataDrafts& drafts() { return store->metaDrafts(); }
    QList<FileItem> list(const QStringList& paths)
    {
        QList<FileItem> items;
        for (const QString& p : paths)
            items << FileItem::file(p);
        store->setItems(items);
        return items;
    }
    QString image(const QString& name, int width = 64, int height = 48)
    {
        const QString p = env.path(name);
        EXPECT_TRUE(makeImage(p, width, height));
        return p;
    }
    QString movie(const QString& name)
    {
        const QString p = env.path(name);
        EXPECT_TRUE(makeMovie(p, {"title=Read title", "artist=Read artist"}));
        return p;
    }
    QString pdf(const QString& name) { return env.makeFile(name, handWrittenPdf("/Title (Call sheet)")); }
    // A file of an image's name that no writer can rewrite.
    QString brokenImage(const QString& name) { return env.makeFile(name, "not a picture"); }
    const MetaFields* draftOf(const FileItem& f) const
    {
        const auto& m = store->meta().metaDraft;
        return m.contains(f.id) ? &*m.constFind(f.id) : nullptr;
    }
    const MetaFields* originalOf(const FileItem& f) const
    {
        const auto& m = store->meta().metaOriginal;
        return m.contains(f.id) ? &*m.constFind(f.id) : nullptr;
    }
    bool waitIdle()
    {
        return QTest::qWaitFor([&] { return !drafts().busy(); }, 60000);
    }
};

QString missingMediaTools()
{
    return missingTool({"ffmpeg", "exiftool"});
}

TEST(MetadataSelection, PrimaryAndTargetsFollowListOrderAndKind)
{
    TestEnv env;
    const auto store = env.makeStore();
    QList<FileItem> items{FileItem::file("/m/a.jpg"), FileItem::file("/m/b.pdf"),  FileItem::file("/m/c.JPG"),
                          FileItem::file("/m/d.mov"), FileItem::folder("/m/Reel"), FileItem::file("/m/e.txt"),
                          FileItem::file("/m/f.jpeg")};
    struct Case {
        QList<int> selected;  // in click order
        int primary;          // -1: none
        QList<int> targets;
    };
    const QList<Case> cases{
        {{}, -1, {}},     {{2, 0}, 0, {0, 2}}, {{1, 0, 2}, 0, {0, 2}},  // a PDF between two images is no target
        {{3, 1}, 1, {1}}, {{6, 3}, 3, {3}},     // a video first in the list: the image is left out
        {{4}, 4, {4}},    {{5, 4}, 4, {4, 5}},  // a folder and a text file are both of no kind
    };
    for (const Case& c : cases) {
        QSet<QUuid> sel;
        for (int i : c.selected)
            sel.insert(items[i].id);
        sel.insert(QUuid::createUuid());  // an id that has left the list is ignored
        const auto primary = primaryItem(items, sel);
        EXPECT_EQ(primary ? int(items.indexOf(*primary)) : -1, c.primary);
        QList<int> targets;
        for (const FileItem& t : targetItems(items, sel))
            targets << int(items.indexOf(t));
        EXPECT_EQ(targets, c.targets);
    }
    const QStringList en{"Image", "PDF", "Image", "Video", "Folder", "—", "Image"};
    const QStringList zh{"图片", "PDF", "图片", "视频", "文件夹", "—", "图片"};
    for (bool chinese : {false, true}) {
        store->setLangZh(chinese);
        for (int i = 0; i < items.size(); ++i)
            EXPECT_EQ(metaKindLabel(items[i]), (chinese ? zh : en)[i]) << i;
    }
}

TEST(MetadataSelection, EditedFieldsGoOverTheFilesOwnRecord)
{
    MetaFields own;
    own.kind = MetaKind::video;
    own.info = "1920×1080";
    own.vidW = 1920;
    own.durSec = 12;
    own.album = "own album";
    own.custom = {{"Resolution", "1920×1080"}, {"File Size", "3 MB"}, {"Scene", "9"}, {"Mood", "dark"}};
    MetaFields edited;
    edited.kind = MetaKind::video;
    edited.title = "Ad";
    edited.date = QDateTime(QDate(2024, 1, 2), QTime(3, 4));
    edited.clipName = "A001";
    edited.vidW = 640;
    edited.custom = {{"Resolution", "640×480"}, {"Scene", "4"}, {"Take", "2"}};

    const MetaFields out = withEditedFields(own, edited);
    EXPECT_EQ(out.title, "Ad");
    EXPECT_EQ(out.date, edited.date);
    EXPECT_EQ(out.clipName, "A001");
    EXPECT_EQ(out.info, "1920×1080");
    EXPECT_EQ(out.vidW, 1920);
    EXPECT_EQ(out.durSec, 12);
    EXPECT_EQ(out.album, "own album");
    const QMap<QString, QString> custom{{"Resolution", "1920×1080"},
                                        {"File Size", "3 MB"},
                                        {"Scene", "4"},
                                        {"Take", "2"}};
    EXPECT_EQ(out.custom, custom);  // "Mood", absent from the edited record, is gone
}

TEST(MetadataDraftHistory, KeepsTheNewestHundred)
{
    DraftHistory h;
    for (int i = 1; i <= 101; ++i) {
        MetaFields f;
        f.title = QString::number(i);
        h.push(f);
    }
    EXPECT_EQ(h.size(), DraftHistory::kLimit);
    for (int i = 101; i >= 2; --i)
        EXPECT_EQ(h.takeNewest()->title, QString::number(i));
    EXPECT_TRUE(h.isEmpty());
    EXPECT_FALSE(h.takeNewest());
}

TEST(MetadataDrafts, StillIsReadOnceAndItsEditsCountAsUnsaved)
{
    if (const QString m = missingMediaTools(); !m.isEmpty())
        GTEST_SKIP() << m.toStdString();
    DraftsFixture f;
    const QString photo = f.image("a.jpg");
    ASSERT_TRUE(setTags(photo, {{"Iptc.Application2.Caption", "On the pier"}}));
    const auto items = f.list({photo, f.pdf("b.pdf")});

    const auto loaded = f.drafts().load(items[0]);
    EXPECT_FALSE(loaded.reading);
    EXPECT_EQ(loaded.draft.caption, "On the pier");
    ASSERT_TRUE(f.draftOf(items[0]));
    EXPECT_EQ(*f.draftOf(items[0]), loaded.draft);
    EXPECT_EQ(f.store->unsavedMetaItems(), 0);

    MetaFields edited = loaded.draft;
    edited.caption = "Off the pier";
    f.drafts().storeDraft(items[0].id, edited);
    EXPECT_EQ(f.store->unsavedMetaItems(), 1);  // the quit question will ask

    // The stored draft is shown again without reading the file: the file still says otherwise.
    EXPECT_EQ(f.drafts().load(items[0]).draft.caption, "Off the pier");
    EXPECT_EQ(f.drafts().load(items[1]).draft.title, "Call sheet");

    f.drafts().revert({items[0].id, items[1].id, QUuid::createUuid()});
    EXPECT_FALSE(f.draftOf(items[0]));
    EXPECT_FALSE(f.draftOf(items[1]));
    EXPECT_EQ(f.drafts().load(items[0]).draft.caption, "On the pier");
    EXPECT_EQ(f.store->unsavedMetaItems(), 0);
}

TEST(MetadataDrafts, MovieReadLandsOnlyWhileItsFileIsShown)
{
    if (const QString m = missingMediaTools(); !m.isEmpty())
        GTEST_SKIP() << m.toStdString();
    DraftsFixture f;
    const auto items = f.list({f.movie("a.mov"), f.image("b.jpg")});
    QSignalSpy landed(&f.drafts(), &MetadataDrafts::draftRead);

    auto loaded = f.drafts().load(items[0]);
    EXPECT_TRUE(loaded.reading);
    EXPECT_EQ(loaded.draft.kind, MetaKind::video);
    EXPECT_EQ(loaded.draft, [] {
        MetaFields empty;
        empty.kind = MetaKind::video;
        return empty;
    }());
    // The placeholder is never stored, so a Save cannot write its empty texts into the movie.
    f.drafts().storeDraft(items[0].id, loaded.draft);
    EXPECT_FALSE(f.draftOf(items[0]));
    ASSERT_TRUE(landed.wait(30000));
    EXPECT_EQ(landed.at(0).at(0).toUuid(), items[0].id);
    ASSERT_TRUE(f.draftOf(items[0]));
    EXPECT_EQ(f.draftOf(items[0])->title, "Read title");
    EXPECT_EQ(f.draftOf(items[0])->author, "Read artist");
    EXPECT_EQ(*f.originalOf(items[0]), *f.draftOf(items[0]));

    // Read again after a revert, but another file is shown before the read ends: dropped.
    f.drafts().revert({items[0].id});
    EXPECT_TRUE(f.drafts().load(items[0]).reading);
    EXPECT_TRUE(f.drafts().load(items[0]).reading);  // one read, not two
    f.drafts().load(items[1]);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !f.drafts().isReading(items[0].id); }, 30000));
    EXPECT_EQ(landed.size(), 1);
    EXPECT_FALSE(f.draftOf(items[0]));
    // So the next visit reads the movie again instead of showing empty fields.
    EXPECT_TRUE(f.drafts().load(items[0]).reading);
    ASSERT_TRUE(landed.wait(30000));
    EXPECT_EQ(f.draftOf(items[0])->title, "Read title");
}

TEST(MetadataDrafts, SaveToOneFileInBothLanguages)
{
    if (const QString m = missingMediaTools(); !m.isEmpty())
        GTEST_SKIP() << m.toStdString();
    struct Case {
        const char* language;
        bool broken;
        const char* status;
    };
    const QList<Case> cases{
        {"en-US", false, "Metadata saved: a.jpg"},
        {"zh-CN", false, "元数据已保存:a.jpg"},
        {"en-US", true, "Failed to save metadata."},
        {"zh-CN", true, "保存元数据失败。"},
    };
    for (const Case& c : cases) {
        DraftsFixture f({c.language});
        const auto items = f.list({c.broken ? f.brokenImage("a.jpg") : f.image("a.jpg")});
        MetaFields draft = f.drafts().load(items[0]).draft;
        draft.kind = MetaKind::image;
        draft.caption = "Saved caption";
        f.drafts().storeDraft(items[0].id, draft);
        const MetaFields originalBefore = *f.originalOf(items[0]);
        QSignalSpy busy(&f.drafts(), &MetadataDrafts::busyChanged);
        f.drafts().save(items, items[0].id, draft);
        EXPECT_TRUE(f.drafts().busy());
        ASSERT_TRUE(f.waitIdle());
        EXPECT_EQ(busy.size(), 2);
        EXPECT_EQ(f.store->status(), QString::fromUtf8(c.status));
        if (c.broken) {
            EXPECT_EQ(*f.originalOf(items[0]), originalBefore);
            EXPECT_EQ(f.store->unsavedMetaItems(), 1);
        } else {
            EXPECT_EQ(*f.originalOf(items[0]), draft);
            EXPECT_EQ(f.store->unsavedMetaItems(), 0);
            EXPECT_EQ(exiftool(items[0].url, {"-IPTC:Caption-Abstract"}).value("Caption-Abstract").toString(),
                      "Saved caption");
        }
    }
}

TEST(MetadataDrafts, SaveToSeveralKeepsEachFilesOwnFacts)
{
    if (const QString m = missingMediaTools(); !m.isEmpty())
        GTEST_SKIP() << m.toStdString();
    DraftsFixture f;
    const auto items = f.list({f.image("a.jpg", 64, 48), f.image("b.jpg", 320, 200), f.brokenImage("c.jpg")});
    MetaFields draft = f.drafts().load(items[0]).draft;
    draft.caption = "Shared caption";
    draft.custom["Scene"] = "12";
    f.drafts().storeDraft(items[0].id, draft);
    MetaFields otherDraft = f.drafts().load(items[1]).draft;
    otherDraft.custom["Scene"] = "99";
    f.drafts().storeDraft(items[1].id, otherDraft);
    ASSERT_EQ(otherDraft.vidW, 320);

    QSignalSpy busy(&f.drafts(), &MetadataDrafts::busyChanged);
    f.drafts().save(items, items[0].id, draft);
    f.drafts().save(items, items[0].id, draft);  // refused while the first runs
    ASSERT_TRUE(f.waitIdle());
    EXPECT_EQ(busy.size(), 2);
    EXPECT_EQ(f.store->status(), "Saved metadata to 2/3 selected file(s).");
    for (int i : {0, 1})
        EXPECT_EQ(exiftool(items[i].url, {"-IPTC:Caption-Abstract"}).value("Caption-Abstract").toString(),
                  "Shared caption");
    const MetaFields& b = *f.draftOf(items[1]);
    EXPECT_EQ(b.caption, "Shared caption");
    EXPECT_EQ(b.custom.value("Scene"), "12");
    EXPECT_EQ(b.custom.value("Source Path"), items[1].url);
    EXPECT_EQ(b.vidW, 320);
    EXPECT_EQ(b.info, otherDraft.info);
    EXPECT_EQ(*f.originalOf(items[1]), b);
    EXPECT_FALSE(f.draftOf(items[2]));  // the failed file records nothing
    EXPECT_EQ(f.store->unsavedMetaItems(), 0);
}

TEST(MetadataDrafts, ApplyToAllRefreshesTheWrittenFilesDrafts)
{
    if (const QString m = missingMediaTools(); !m.isEmpty())
        GTEST_SKIP() << m.toStdString();
    DraftsFixture f({"zh-CN"});
    const auto items = f.list({f.image("a.jpg"), f.pdf("b.pdf"), f.image("c.jpg"), f.image("d.jpg")});
    MetaFields stale = f.drafts().load(items[2]).draft;
    stale.copyright = "old";
    f.drafts().storeDraft(items[2].id, stale);
    MetaFields draft = f.drafts().load(items[0]).draft;
    draft.copyright = "© Brindle";
    f.drafts().storeDraft(items[0].id, draft);

    f.drafts().applyToAll(items[0].id, draft);
    ASSERT_TRUE(f.waitIdle());
    EXPECT_EQ(f.store->status(), "元数据已应用到 3 个文件。");
    for (int i : {0, 2, 3})
        EXPECT_EQ(exiftool(items[i].url, {"-IPTC:CopyrightNotice"}).value("CopyrightNotice").toString(), "© Brindle");
    // A later Save of c.jpg must not put "old" back.
    EXPECT_EQ(f.draftOf(items[2])->copyright, "© Brindle");
    EXPECT_EQ(*f.originalOf(items[2]), *f.draftOf(items[2]));
    EXPECT_FALSE(f.draftOf(items[3]));  // never loaded: read from the file when shown
    EXPECT_FALSE(f.draftOf(items[1]));
    EXPECT_EQ(f.store->unsavedMetaItems(), 0);
}

TEST(MetadataDrafts, MovieIsSavedOffTheMainThread)
{
    if (const QString m = missingMediaTools(); !m.isEmpty())
        GTEST_SKIP() << m.toStdString();
    DraftsFixture f;
    const auto items = f.list({f.movie("a.mov"), f.movie("b.mp4")});
    QSignalSpy landed(&f.drafts(), &MetadataDrafts::draftRead);
    f.drafts().load(items[0]);
    ASSERT_TRUE(landed.wait(30000));
    MetaFields draft = *f.draftOf(items[0]);
    draft.title = "Spot 30";
    f.drafts().storeDraft(items[0].id, draft);

    f.drafts().applyToAll(items[0].id, draft);
    EXPECT_TRUE(f.drafts().busy());
    ASSERT_TRUE(f.waitIdle());
    EXPECT_EQ(f.store->status(), "Metadata applied to 2 file(s).");
    for (const FileItem& item : items)
        EXPECT_EQ(exiftool(item.url, {"-QuickTime:Title"}).value("Title").toString(), "Spot 30")
            << item.name.toStdString();
}

TEST(MetadataDrafts, CustomKeysAreRememberedOnce)
{
    DraftsFixture f;
    const QStringList before = f.store->meta().binCustomCols;
    f.drafts().rememberCustomKey("Mood");
    f.drafts().rememberCustomKey("Mood");
    f.drafts().rememberCustomKey("mood");
    EXPECT_EQ(f.store->meta().binCustomCols, before + QStringList({"Mood", "mood"}));
}

}  // namespace

// A movie read that is over before load() returns (a small file, a busy main thread) lands after
// load() has handed its caller the placeholder, never inside it: the editor would otherwise show
// the placeholder over the read and wait for it forever.
TEST(MetadataDrafts, AReadOverAtOnceLandsAfterThePlaceholder)
{
    struct ReadyReader : EmptyMetadataReader {
        QFuture<MetaFields> read(const QString&) const override
        {
            MetaFields read;
            read.kind = MetaKind::video;
            read.title = "Read title";
            return QtFuture::makeReadyFuture(read);
        }
    };
    TestEnv env;
    StoreServices services;
    services.settings = std::make_shared<MemorySettings>();
    services.supportFolder = env.path("support");
    services.metadataReader = std::make_shared<ReadyReader>();
    Store store(services);
    const QList<FileItem> items{FileItem::file(env.path("a.mov"))};
    store.setItems(items);
    QSignalSpy landed(&store.metaDrafts(), &MetadataDrafts::draftRead);
    EXPECT_TRUE(store.metaDrafts().load(items[0]).reading);
    EXPECT_EQ(landed.size(), 0);
    ASSERT_TRUE(landed.wait(5000));
    EXPECT_EQ(store.meta().metaDraft.value(items[0].id).title, "Read title");
}
