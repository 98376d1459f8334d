#include "files_fixture.h"

#include "platform/lang.h"
#include "platform/open_folder.h"
#include "platform/safe_move.h"

#include <cerrno>
#include <sys/inotify.h>
#include <unistd.h>

using Method = SafeMove::Method;

class SafeMoveMethods : public FilesTest, public ::testing::WithParamInterface<Method> {};

TEST_P(SafeMoveMethods, MovesFilesAndFoldersButNeverReplaces)
{
    const QString a = file("a.mov");
    const QString b = file("b.mov");
    auto err = SafeMove::move(a, b, GetParam());
    ASSERT_TRUE(err.has_value());
    EXPECT_TRUE(err->exists());
    EXPECT_EQ(content("a.mov"), "a.mov");
    EXPECT_EQ(content("b.mov"), "b.mov");

    EXPECT_FALSE(SafeMove::move(a, work("c.mov"), GetParam()));
    EXPECT_EQ(names(), (QStringList{"b.mov", "c.mov"}));

    dir("d1");
    file("d1/x.mov");
    dir("d2");
    EXPECT_TRUE(SafeMove::move(work("d1"), work("d2"), GetParam()));  // an empty folder still counts
    EXPECT_FALSE(SafeMove::move(work("d1"), work("d3"), GetParam()));
    EXPECT_EQ(content("d3/x.mov"), "d1/x.mov");
}

TEST_P(SafeMoveMethods, CaseOnlyChangeMoves)
{
    file("clip.mov");
    EXPECT_FALSE(SafeMove::move(work("clip.mov"), work("Clip.mov"), GetParam()));
    EXPECT_EQ(names(), QStringList{"Clip.mov"});

    // Two spellings of one file (as a volume that ignores case shows them; here hard links): the
    // move goes through a temporary name, and where the other spelling stays it comes back.
    ASSERT_EQ(::link(QFile::encodeName(work("Clip.mov")).constData(), QFile::encodeName(work("clip.mov")).constData()),
              0);
    auto err = SafeMove::move(work("clip.mov"), work("Clip.mov"), GetParam());
    ASSERT_TRUE(err.has_value());
    EXPECT_TRUE(err->exists());
    EXPECT_EQ(names(), (QStringList{"Clip.mov", "clip.mov"}));
}

// Both spellings exist as separate files (a case-sensitive volume): the refusal must come before
// anything is moved, so that no moment exists in which the file sits under a hidden name.
TEST_P(SafeMoveMethods, RefusedCaseOnlyChangeTouchesNothing)
{
    file("clip.mov");
    file("Clip.mov");
    const int fd = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    ASSERT_GE(fd, 0);
    ASSERT_GE(::inotify_add_watch(fd, QFile::encodeName(work()).constData(),
                                  IN_MOVED_FROM | IN_MOVED_TO | IN_CREATE | IN_DELETE),
              0);
    auto err = SafeMove::move(work("clip.mov"), work("Clip.mov"), GetParam());
    ASSERT_TRUE(err.has_value());
    EXPECT_TRUE(err->exists());
    char events[4096];
    EXPECT_LT(::read(fd, events, sizeof events), 0) << "the folder was changed";
    ::close(fd);
    EXPECT_EQ(content("clip.mov"), "clip.mov");
    EXPECT_EQ(content("Clip.mov"), "Clip.mov");
}

INSTANTIATE_TEST_SUITE_P(AllMethods, SafeMoveMethods,
                         ::testing::Values(Method::Auto, Method::LinkUnlink, Method::CheckedRename));

// Moves within one folder go through the folder held open; they still never replace, and a
// folder that was itself moved is looked up by its path again, not followed.
TEST_F(FilesTest, MovesThroughAnOpenFolderNeverReplaceAndFollowPaths)
{
    dir("F");
    const QString a = file("F/a.mov");
    file("F/b.mov");
    OpenFolder folder;
    auto err = folder.move(a, work("F/b.mov"));
    ASSERT_TRUE(err.has_value());
    EXPECT_TRUE(err->exists());
    EXPECT_EQ(content("F/a.mov"), "F/a.mov");
    EXPECT_EQ(content("F/b.mov"), "F/b.mov");
    EXPECT_FALSE(folder.move(a, work("F/c.mov")));
    EXPECT_FALSE(folder.move(work("F/c.mov"), work("F/d.mov")));

    EXPECT_FALSE(folder.move(work("F"), work("G")));
    err = folder.move(work("F/d.mov"), work("F/e.mov"));
    ASSERT_TRUE(err.has_value());
    EXPECT_EQ(err->code, ENOENT);
    EXPECT_FALSE(folder.move(work("G/d.mov"), work("G/e.mov")));
    EXPECT_FALSE(folder.move(work("G/e.mov"), work("e.mov")));
    EXPECT_EQ(content("e.mov"), "F/a.mov");
    EXPECT_EQ(content("G/b.mov"), "F/b.mov");
}

// Names reach the kernel byte for byte however they are encoded on the way: ASCII, the longest
// name a folder takes, letters beyond ASCII, and a swap between the kinds.
TEST_F(FilesTest, MovesThroughAnOpenFolderKeepEveryName)
{
    dir("F");
    const QString longest(255, QChar('n'));
    const QStringList names = {"a.mov", longest, "Szenenübersicht.mov", "镜头 01.mov", QString(253, QChar('m')) + "é"};
    OpenFolder folder;
    QString at = file("F/start.mov");
    for (const QString& name : names) {
        SCOPED_TRACE(name.left(20).toStdString());
        EXPECT_FALSE(folder.move(at, work("F/" + name)));
        at = work("F/" + name);
        EXPECT_EQ(content("F/" + name), "F/start.mov");
    }
    file("F/" + longest);
    auto err = folder.move(at, work("F/" + longest));  // taken: refused, nothing moved
    ASSERT_TRUE(err.has_value());
    EXPECT_TRUE(err->exists());
    EXPECT_EQ(content("F/" + longest), "F/" + longest);
}

TEST_F(FilesTest, MissingSourceReportsNotFound)
{
    auto err = SafeMove::move(work("nope.mov"), work("x.mov"));
    ASSERT_TRUE(err.has_value());
    EXPECT_EQ(err->code, ENOENT);
    Lang::setZh(false);
    EXPECT_EQ(err->text(), QStringLiteral("“nope.mov” could not be found."));
}

TEST(MoveErrorText, NamesTheCauseInBothLanguages)
{
    struct Case {
        int code;
        const char* en;
        const char* zh;
    };
    const Case cases[] = {
        {EEXIST, "An item named “b.mov” already exists.", "已存在名为「b.mov」的项目。"},
        {EROFS, "The volume is read-only.", "该卷是只读的。"},
        {EACCES, "You don't have permission to rename “a.mov”.", "没有权限重命名「a.mov」。"},
        {ENOSPC, "There is not enough space on the volume.", "卷上空间不足。"},
        {EXDEV, "“a.mov” can't be moved to another volume.", "无法将「a.mov」移动到其他卷。"},
        {ENAMETOOLONG, "The name “b.mov” is too long.", "名称「b.mov」太长。"},
    };
    for (const Case& c : cases) {
        const MoveError err{c.code, "/v/a.mov", "/v/b.mov"};
        Lang::setZh(false);
        EXPECT_EQ(err.text(), QString::fromUtf8(c.en));
        Lang::setZh(true);
        EXPECT_EQ(err.text(), QString::fromUtf8(c.zh));
    }
    Lang::setZh(false);
    EXPECT_TRUE(MoveError({EIO, "/v/a.mov", "/v/b.mov"}).text().startsWith("“a.mov” couldn't be renamed: "));
}
