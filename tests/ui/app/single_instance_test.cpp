// A later launch hands its files to the running instance; one that is busy (a long apply) keeps
// its socket, and files a launch gave up on are not opened there later as well.
#include "app/single_instance.h"
#include "test_support.h"

#include <QLocalServer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <future>
#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

struct SingleInstanceTest : ::testing::Test {
    QTemporaryDir dir;
    QString path = dir.filePath("test.sock");

    // A launch in another process: it blocks while the running instance's event loop goes on.
    SingleInstance::HandOff handOffWhileRunning(const QStringList& paths)
    {
        auto later = std::async(std::launch::async, [&] { return SingleInstance::handOff(paths, 5000, path); });
        EXPECT_TRUE(
            QTest::qWaitFor([&] { return later.wait_for(std::chrono::seconds(0)) == std::future_status::ready; },
                            10000));
        return later.get();
    }

    // What a crashed instance leaves: a socket file nobody listens on.
    void leaveDeadSocket()
    {
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un addr{};
        addr.sun_family = AF_UNIX;
        const QByteArray name = QFile::encodeName(path);
        std::memcpy(addr.sun_path, name.constData(), size_t(name.size()));
        ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
        ::close(fd);
        ASSERT_TRUE(QFile::exists(path));
    }
};

}  // namespace

TEST_F(SingleInstanceTest, PathsReachTheRunningInstance)
{
    SingleInstance running(nullptr, path);
    ASSERT_TRUE(running.listen());
    QSignalSpy received(&running, &SingleInstance::pathsReceived);
    EXPECT_EQ(handOffWhileRunning({"/a/b.mov", "/c.txt"}), SingleInstance::HandOff::delivered);
    ASSERT_EQ(received.size(), 1);
    EXPECT_EQ(received[0][0].toStringList(), (QStringList{"/a/b.mov", "/c.txt"}));
}

TEST_F(SingleInstanceTest, ABusyInstanceKeepsItsSocketAndNeverGetsTheFilesOfALaunchThatGaveUp)
{
    SingleInstance running(nullptr, path);
    ASSERT_TRUE(running.listen());
    QSignalSpy received(&running, &SingleInstance::pathsReceived);

    // Its event loop does not run while this call waits: it is busy.
    EXPECT_EQ(SingleInstance::handOff({"/gave/up.mov"}, 300, path), SingleInstance::HandOff::noAnswer);
    SingleInstance second(nullptr, path);
    EXPECT_FALSE(second.listen());

    QTest::qWait(200);  // no longer busy: it sees the connection the launch left
    EXPECT_EQ(received.size(), 0);
    EXPECT_EQ(handOffWhileRunning({"/next.mov"}), SingleInstance::HandOff::delivered);
    ASSERT_EQ(received.size(), 1);
    EXPECT_EQ(received[0][0].toStringList(), QStringList{"/next.mov"});
}

TEST_F(SingleInstanceTest, ASocketNobodyListensOnIsReplaced)
{
    leaveDeadSocket();
    EXPECT_EQ(SingleInstance::handOff({"/x"}, 5000, path), SingleInstance::HandOff::nobodyListening);
    SingleInstance running(nullptr, path);
    ASSERT_TRUE(running.listen());
    QSignalSpy received(&running, &SingleInstance::pathsReceived);
    EXPECT_EQ(handOffWhileRunning({"/y"}), SingleInstance::HandOff::delivered);
    EXPECT_EQ(received.size(), 1);

    QFile::remove(path);
    EXPECT_EQ(SingleInstance::handOff({"/z"}, 5000, path), SingleInstance::HandOff::nobodyListening);
}
