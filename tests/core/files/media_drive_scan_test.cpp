#include "files/intake.h"
#include "files/media_drive_scan.h"
#include "files/scoped_access.h"
#include "files_test_util.h"
#include "test_support.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

#include <unistd.h>

namespace {

struct MediaDrive : ::testing::Test {
    TestEnv env;
    std::unique_ptr<Store> store = env.makeStore();

    void make(const QStringList& relative)
    {
        for (const QString& r : relative)
            env.makeFile("drive/" + r, {});
    }
    QStringList relativeItems() const
    {
        QStringList out;
        const QString base = env.path("drive") + "/";
        for (const FileItem& i : store->items())
            out << QString(i.url).remove(0, base.size());
        return out;
    }
};

QStringList frames(const QString& pattern, int from, int to)
{
    QStringList out;
    for (int n = from; n <= to; ++n)
        out << pattern.arg(n, 4, 10, QChar('0'));
    return out;
}

}  // namespace

TEST_F(MediaDrive, SequenceCollapsesToFirstFrameAndReportsInBothLanguages)
{
    make(frames("A/shot_%1.dpx", 1, 100) << "A/clip.mov");
    store->intake().loadMediaDrive(env.path("drive"));
    EXPECT_EQ(relativeItems(), (QStringList{"A/clip.mov", "A/shot_0001.dpx"}));
    EXPECT_EQ(store->status(), "Media Drive: loaded 2 clip(s) from “drive” (99 sequence/span frames collapsed).");
    EXPECT_EQ(store->access().scopedFolderRoots(), QStringList{env.path("drive")});

    store->setLangZh(true);
    store->intake().loadMediaDrive(env.path("drive"));  // a second scan adds nothing
    EXPECT_EQ(store->items().size(), 2);
    EXPECT_EQ(store->status(), "媒体盘:从「drive」载入 0 个片段(合并 99 个序列/分卷帧)。");
}

TEST_F(MediaDrive, ReportWithoutCollapseHasNoSuffix)
{
    make({"a.mov", "b.wav", "c.txt"});
    store->intake().loadMediaDrive(env.path("drive"));
    EXPECT_EQ(store->status(), "Media Drive: loaded 2 clip(s) from “drive”.");
    store->setLangZh(true);
    make({"d.MXF"});
    store->intake().loadMediaDrive(env.path("drive") + "/");
    EXPECT_EQ(store->status(), "媒体盘:从「drive」载入 1 个片段。");
}

struct CollapseCase {
    const char* what;
    QStringList files;
    QStringList expected;
    int collapsed;
};

TEST_F(MediaDrive, CollapseKeysTable)
{
    const QList<CollapseCase> cases = {
        {"folder is part of the key",
         {"A/shot_0001.dpx", "A/shot_0002.dpx", "B/shot_0001.dpx"},
         {"A/shot_0001.dpx", "B/shot_0001.dpx"},
         1},
        {"extension is part of the key", {"shot_0001.dpx", "shot_0001.exr"}, {"shot_0001.dpx", "shot_0001.exr"}, 0},
        {"R3D spans collapse into the first",
         {"A001_C002_0101AB_003.R3D", "A001_C002_0101AB_001.R3D", "A001_C002_0101AB_002.R3D"},
         {"A001_C002_0101AB_001.R3D"},
         2},
        {"numeric order keeps frame 999", {"frame.1000.tif", "frame.999.tif"}, {"frame.999.tif"}, 1},
        {"stem of digits only never collapses", {"0001.dpx", "0002.dpx"}, {"0001.dpx", "0002.dpx"}, 0},
        {"fewer than three digits never collapse", {"shot_01.dpx", "shot_02.dpx"}, {"shot_01.dpx", "shot_02.dpx"}, 0},
        {"stills are no sequence",
         {"IMG_0001.jpg", "IMG_0002.jpg", "IMG_0003.jpg"},
         {"IMG_0001.jpg", "IMG_0002.jpg", "IMG_0003.jpg"},
         0},
        {"case is ignored in the order", {"b.mov", "A.mov", "c.MOV"}, {"A.mov", "b.mov", "c.MOV"}, 0},
    };
    for (const CollapseCase& c : cases) {
        TestEnv local;
        QStringList made;
        for (const QString& f : c.files)
            made << local.makeFile("d/" + f, {});
        const MediaDriveScan scan = scanMediaDrive(local.path("d"));
        QStringList got;
        for (const QString& p : scan.kept)
            got << QString(p).remove(0, local.path("d").size() + 1);
        EXPECT_EQ(got, c.expected) << c.what;
        EXPECT_EQ(scan.collapsed, c.collapsed) << c.what;
    }
    EXPECT_EQ(collapseKey("/P/shot_0001.dpx"), "SEQ|/P|shot|dpx");
    EXPECT_EQ(collapseKey("/P/A001_C002_0101AB_001.R3D"), "R3D|/P|A001_C002_0101AB|r3d");
}

TEST_F(MediaDrive, HiddenPackagesLinksAndOtherExtensionsAreNotScanned)
{
    make({"clip.mov", ".hidden.mov", ".cache/inside.mov", "Project.fcpbundle/media/inner.mov", "notes.txt"});
    ASSERT_EQ(::symlink(QFile::encodeName(env.path("drive")).constData(),
                        QFile::encodeName(env.path("drive/loop")).constData()),
              0);
    ASSERT_EQ(::symlink("clip.mov", QFile::encodeName(env.path("drive/alias.mov")).constData()), 0);
    store->intake().loadMediaDrive(env.path("drive"));
    EXPECT_EQ(relativeItems(), QStringList{"clip.mov"});
}

TEST_F(MediaDrive, FilesListedByOtherIntakeAreNotAddedAgain)
{
    make({"a.mov", "b.mov"});
    store->intake().addURLs({env.path("drive/a.mov")});
    store->intake().loadMediaDrive(env.path("drive"));
    EXPECT_EQ(relativeItems(), (QStringList{"a.mov", "b.mov"}));
    EXPECT_EQ(store->status(), "Media Drive: loaded 1 clip(s) from “drive”.");
}

TEST_F(MediaDrive, UnreadableRootChangesNothing)
{
    store->setStatus("before");
    store->intake().loadMediaDrive(env.path("no-such-drive"));
    EXPECT_TRUE(store->items().isEmpty());
    EXPECT_EQ(store->status(), "before");
}

TEST_F(MediaDrive, NonUtf8NamesAreCountedInReport)
{
    make({"a.mov"});
    const NonUtf8File bad(env.path("drive"));
    if (!bad.made)
        GTEST_SKIP() << "file system refuses non-UTF-8 names";
    store->intake().loadMediaDrive(env.path("drive"));
    EXPECT_EQ(store->status(),
              "Media Drive: loaded 1 clip(s) from “drive”. Skipped 1 name(s) that are not valid UTF-8.");
}
