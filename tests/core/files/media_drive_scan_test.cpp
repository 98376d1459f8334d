#include "files/dir_walk.h"
#include "files/intake.h"
#include "files/media_drive_scan.h"
#include "files/scoped_access.h"
#include "files_test_util.h"
#include "platform/natural_sort.h"
#include "test_support.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
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

namespace {
// Makes folder inside folder below `root` by relative steps (the whole path may be longer than
// any path the system opens in one go); returns the relative path of each level.
QStringList makeChain(const QString& root, const QStringList& names)
{
    QStringList made;
    int fd = ::open(QFile::encodeName(root).constData(), O_RDONLY | O_DIRECTORY);
    for (const QString& name : names) {
        const QByteArray n = QFile::encodeName(name);
        if (fd < 0 || ::mkdirat(fd, n.constData(), 0755) != 0)
            break;
        const int below = ::openat(fd, n.constData(), O_RDONLY | O_DIRECTORY);
        ::close(fd);
        fd = below;
        made << (made.isEmpty() ? name : made.last() + '/' + name);
    }
    if (fd >= 0)
        ::close(fd);
    return made;
}

// Removes what makeChain made, deepest first (the temporary folder's own clean-up works with
// whole paths, which these exceed).
void removeChain(const QString& root, const QStringList& names)
{
    QList<int> fds{::open(QFile::encodeName(root).constData(), O_RDONLY | O_DIRECTORY)};
    for (const QString& name : names.mid(0, names.size() - 1))
        fds << ::openat(fds.last(), QFile::encodeName(name).constData(), O_RDONLY | O_DIRECTORY);
    for (qsizetype i = names.size() - 1; i >= 0; --i) {
        ::unlinkat(fds[i], QFile::encodeName(names[i]).constData(), AT_REMOVEDIR);
        ::close(fds[i]);
    }
}

int highestOpenDescriptor()
{
    int highest = 0;
    for (const QString& n : QDir("/proc/self/fd").entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::System))
        highest = qMax(highest, n.toInt());
    return highest;
}
}  // namespace

TEST_F(MediaDrive, FoldersThatCannotBeOpenedAreCountedAndTheFirstIsNamed)
{
    make({"a.mov"});
    // Past the longest path the system opens: 21 levels of 200-letter names.
    QStringList names;
    for (int i = 0; i < 21; ++i)
        names << QStringLiteral("L%1").arg(i, 2, 10, QChar('0')) + QString(198, u'x');
    const QStringList chain = makeChain(env.path("drive"), names);
    ASSERT_EQ(chain.size(), names.size());
    ASSERT_GT(env.path("drive/" + chain.last()).toUtf8().size(), 4096);
    env.makeFile("drive/" + chain[3] + "/deep.mov");

    store->intake().loadMediaDrive(env.path("drive"));
    QFile::remove(env.path("drive/" + chain[3] + "/deep.mov"));
    removeChain(env.path("drive"), names);
    EXPECT_EQ(relativeItems(), (QStringList{"a.mov", chain[3] + "/deep.mov"}));
    EXPECT_EQ(store->status(), "Media Drive: loaded 2 clip(s) from “drive”. Could not open 1 folder(s); the first was “"
                                   + chain.last() + "”.");

    // A folder the user may not read (root reads anything, so this part needs another user).
    if (::geteuid() == 0)
        return;
    const QString locked = env.path("other/locked");
    env.makeFile("other/locked/inside.mov");
    env.makeFile("other/b.mov");
    ASSERT_EQ(::chmod(QFile::encodeName(locked).constData(), 0), 0);
    store->setLangZh(true);
    store->intake().loadMediaDrive(env.path("other"));
    ::chmod(QFile::encodeName(locked).constData(), 0755);
    EXPECT_EQ(store->status(), "媒体盘:从「other」载入 1 个片段。无法打开 1 个文件夹;第一个是「locked」。");
}

TEST_F(MediaDrive, ADeepTreeNeedsNoDescriptorPerLevel)
{
    QStringList names;
    for (int i = 0; i < 40; ++i)
        names << "d";
    QDir().mkpath(env.path("drive"));
    const QStringList chain = makeChain(env.path("drive"), names);
    ASSERT_EQ(chain.size(), 40);
    env.makeFile("drive/" + chain.last() + "/deep.mov");

    // Only a few descriptors are left to the scan.
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_NOFILE, &saved), 0);
    rlimit tight = saved;
    tight.rlim_cur = rlim_t(highestOpenDescriptor() + 4);
    ASSERT_EQ(::setrlimit(RLIMIT_NOFILE, &tight), 0);
    const MediaDriveScan scan = scanMediaDrive(env.path("drive"));
    ::setrlimit(RLIMIT_NOFILE, &saved);

    EXPECT_EQ(scan.kept, QStringList{env.path("drive/" + chain.last() + "/deep.mov")});
    EXPECT_EQ(scan.unopenedFolders, 0);
}

namespace {
// The scan's result worked out the plain way: every media path of the tree sorted by the
// collator's keys, then the first of each collapse key kept.
QStringList keptByCollator(const QString& root)
{
    QStringList paths;
    DirWalk::Options options;
    options.recursive = true;
    options.skipPackages = true;
    DirWalk::walk(root, options, [&](const DirWalk::Entry& e) {
        const QString ext = PathText::extension(e.name).toLower();
        if (e.kind == DirWalk::Kind::Regular && mediaExtensions().contains(ext))
            paths << e.path();
    });
    const QCollator collator = naturalCollator();
    QList<int> order(paths.size());
    for (int i = 0; i < order.size(); ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return collator.compare(paths[a], paths[b]) < 0; });
    QStringList kept;
    QSet<QString> seen;
    for (int at : order) {
        const QString key = collapseKey(paths[at]);
        if (!key.isEmpty() && (seen.contains(key) || (seen.insert(key), false)))
            continue;
        kept << paths[at];
    }
    return kept;
}
}  // namespace

// Files of a folder fall between its subfolders' files by name, folders whose names differ
// only in case or leading zeros tie, and sequences collapse per folder: the order from byte keys
// (with folders ordered whole where no other folder's key leads into theirs, then with a file at
// the root so that every path is sorted together) and the one from the collator (taken when a
// name is not ASCII) agree with the plain way.
TEST_F(MediaDrive, OrderAndCollapseMatchTheCollatorAcrossNestedFolders)
{
    make({"x/a.mov",          "x/sub/b.mov",      "x/z.mov",           "x/sub/c_0001.dpx", "x/sub/c_0002.dpx",
          "x/c_0001.dpx",     "x/c_0003.dpx",     "x-y/m.mov",         "x y/m.mov",        "x1/a01/s.0010.exr",
          "x1/a1/s.0009.exr", "x1/a1/s.0011.exr", "x1/A01/s.0002.exr", "X01/B.wav",        "x01/b.wav",
          "x10/a.MOV",        "x9/a.mov",         "x9/a.R3D",          "x9/A001_002.R3D",  "x9/A001_001.R3D",
          "x9/tab 1000.tif",  "x9/tab 999.tif",   "x9/1000.dpx",       "x9 b/c.mov",       "x9b/c.mov",
          "x9-/c.mov",        "x09/shot.0001.dpx"});
    const QString drive = env.path("drive");
    const QList<std::pair<const char*, QStringList>> stages = {
        {"folders whole", {}},
        {"a file at the root", {"top.mov"}},
        {"collator", {"x9/é_0001.dpx", "x9/é_0002.dpx", "x9/r|s_001.dpx", "x9/影片_0001.dpx", "x9/Écran.mov"}},
    };
    for (const auto& [stage, added] : stages) {
        make(added);
        const MediaDriveScan scan = scanMediaDrive(drive);
        const QStringList expected = keptByCollator(drive);
        EXPECT_EQ(scan.kept, expected) << stage;
        int total = 0;
        DirWalk::walk(drive, {true, true, true, false}, [&](const DirWalk::Entry& e) {
            total += e.kind == DirWalk::Kind::Regular
                  && mediaExtensions().contains(PathText::extension(e.name).toLower());
        });
        EXPECT_EQ(scan.collapsed, total - expected.size()) << stage;
    }
}

// The frame-number scanner written out for ASCII stems captures what the expression does.
TEST(MediaDriveCollapseKey, FrameNumberScannerAgreesWithTheExpression)
{
    const QRegularExpression frameNumber(QStringLiteral("^(.*?)[._-]?\\d{3,}$"));
    const QStringList stems = {"shot_0001",
                               "shot0001",
                               "shot.0001",
                               "shot-0001",
                               "shot__0001",
                               "shot_-0001",
                               "shot_01",
                               "shot_001",
                               "001",
                               "_001",
                               "a_1_001",
                               "v2_1000000",
                               "s.0001.",
                               "s 001",
                               "-",
                               "",
                               "A001_C002_0101AB_001"};
    for (const QString& stem : stems) {
        const QRegularExpressionMatch m = frameNumber.match(stem);
        const QString base = m.hasMatch() ? m.captured(1) : QString();
        const QString expected = base.isEmpty() ? QString() : "SEQ|/P|" + base + "|dpx";
        EXPECT_EQ(collapseKey("/P/" + stem + ".dpx"), expected) << stem.toStdString();
    }
}
