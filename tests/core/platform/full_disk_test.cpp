// Stored files on a full disk: a failed save must leave the old file whole and say it failed.
// Uses a tiny tmpfs, which needs root; elsewhere the tests skip and say why.
#include "files/history_writer.h"
#include "platform/atomic_write.h"
#include "platform/settings.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <unistd.h>

namespace {

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A 64 KiB tmpfs holding `path` with `old` in it, then filled to the last byte.
class FullDisk : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (geteuid() != 0)
            GTEST_SKIP() << "mounting a small tmpfs needs root";
        ASSERT_TRUE(m_dir.isValid());
        m_root = m_dir.path().toStdString();
        if (mount("tmpfs", m_root.c_str(), "tmpfs", 0, "size=64k") != 0)
            GTEST_SKIP() << "cannot mount a tmpfs here";
        m_mounted = true;
    }
    void TearDown() override
    {
        if (m_mounted)
            umount(m_root.c_str());
    }
    QString path(const QString& name) const { return m_dir.filePath(name); }
    void put(const QString& name, const QByteArray& data)
    {
        QFile f(path(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        ASSERT_EQ(f.write(data), data.size());
    }
    void fill()
    {
        QFile f(path("filler"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
        const QByteArray block(4096, 'x');
        while (f.write(block) > 0) {
        }
        f.write(QByteArray(1, 'x'));  // the last partial block
    }

    QTemporaryDir m_dir;
    std::string m_root;
    bool m_mounted = false;
};

}  // namespace

TEST_F(FullDisk, AtomicWriteKeepsTheOldFileAndReportsTheFailure)
{
    put("preset.json", "{\"old\":true}");
    fill();
    const QString error = writeAtomically(path("preset.json"), QByteArray("{\"new\":1}"));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(readAll(path("preset.json")), QByteArray("{\"old\":true}"));
}

TEST_F(FullDisk, HistoryWriterReportsTheFailureAndKeepsTheOldHistory)
{
    put("history.json", "[1]");
    fill();
    HistoryWriter writer;
    QString failure;
    writer.write(
        path("history.json"),
        [](const HistoryWriter::Pieces& put) {
            if (put("[1,"))
                put("2]");
        },
        [&](const QString& why) { failure = why; });
    writer.waitForIdle();
    EXPECT_FALSE(failure.isEmpty());
    EXPECT_EQ(readAll(path("history.json")), QByteArray("[1]"));
}

TEST_F(FullDisk, SettingsKeepTheOldFile)
{
    {
        FileSettings s(path("settings.json"));
        s.setString("aiLang", "german");
    }
    const QByteArray before = readAll(path("settings.json"));
    ASSERT_FALSE(before.isEmpty());
    fill();
    {
        FileSettings s(path("settings.json"));
        s.setString("aiLang", "french");
    }
    EXPECT_EQ(readAll(path("settings.json")), before);
}

TEST_F(FullDisk, DamagedSettingsThatCannotBeSetAsideAreNeverOverwritten)
{
    put("settings.json", "not json");
    ASSERT_EQ(mount(nullptr, m_root.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr), 0);
    {
        FileSettings s(path("settings.json"));
        ASSERT_TRUE(s.damage());
        EXPECT_FALSE(s.damage()->error.isEmpty());
        s.setString("aiLang", "german");  // kept for this run only
        EXPECT_EQ(s.stringValue("aiLang"), "german");
    }
    EXPECT_EQ(readAll(path("settings.json")), QByteArray("not json"));
}
