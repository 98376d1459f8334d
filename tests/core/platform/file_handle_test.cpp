#include "platform/file_handle.h"
#include "test_support.h"

#include <QFile>
#include <cerrno>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

TEST(FileHandleTest, ReadsABoundedHeadOfARegularFile)
{
    TestEnv env;
    const QString path = env.makeFile("a.mxf", "0123456789");
    FileHandle h = openFileForReading(path);
    ASSERT_TRUE(h.isOpen());
    EXPECT_EQ(readFileHead(h, 4), "0123");
    EXPECT_EQ(readFileHead(h, 1000), "0123456789");
    EXPECT_EQ(readFileHead(h, 0), "");
    closeFileHandle(h);
    EXPECT_FALSE(h.isOpen());
    closeFileHandle(h);  // twice is harmless
    EXPECT_EQ(readFileHead(h, 4), "");
}

TEST(FileHandleTest, RefusesWhatIsNotARegularFileWithoutBlocking)
{
    TestEnv env;
    const QString fifo = env.path("pipe.mxf");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    env.makeFile("folder.mxf/inner", "x");
    const struct {
        QString path;
        int error;
    } cases[] = {
        {fifo, EINVAL},
        {env.path("folder.mxf"), EISDIR},
        {env.path("missing.mxf"), ENOENT},
    };
    for (const auto& c : cases) {
        FileHandle h = openFileForReading(c.path);
        EXPECT_FALSE(h.isOpen()) << c.path.toStdString();
        EXPECT_EQ(h.error, c.error) << c.path.toStdString();
        closeFileHandle(h);
    }
}

}  // namespace
