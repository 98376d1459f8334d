#include "media_tools.h"
#include "metadata/file_swap.h"
#include "metadata/metadata_writer.h"
#include "test_support.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

class WriteFails : public FileSwap {
protected:
    bool writeAll(int fd, const QByteArray& data) override
    {
        // Half the bytes reach the disk, then it is full.
        FileSwap::writeAll(fd, data.left(data.size() / 2));
        errno = ENOSPC;
        return false;
    }
};

class RenameFails : public FileSwap {
protected:
    bool renameOver(const QString&, const QString&) override
    {
        errno = EROFS;
        return false;
    }
};

// A small file system of its own (needs root): a full disk or a read-only folder for real.
class Scratch {
public:
    Scratch(const QString& dir, const char* options) : m_dir(dir)
    {
        m_mounted = geteuid() == 0 && ::mount("tmpfs", QFile::encodeName(dir).constData(), "tmpfs", 0, options) == 0;
    }
    ~Scratch()
    {
        if (m_mounted)
            ::umount2(QFile::encodeName(m_dir).constData(), MNT_DETACH);
    }
    bool mounted() const { return m_mounted; }
    bool makeReadOnly() const
    {
        return ::mount("tmpfs", QFile::encodeName(m_dir).constData(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) == 0;
    }

private:
    QString m_dir;
    bool m_mounted = false;
};

MetaFields someFields()
{
    MetaFields f;
    f.caption = "New caption with some length to it";
    f.title = "New title";
    f.copyright = "New copyright";
    return f;
}

TEST(FileSwap, AFailedWriteOrRenameLeavesTheOriginalAndNoTemporaryFile)
{
    TestEnv env;
    const QString pdf = env.makeFile("a.pdf", handWrittenPdf("/Title (Old)"));
    const QString jpg = env.path("b.jpg");
    ASSERT_TRUE(makeImage(jpg));
    WriteFails writeFails;
    RenameFails renameFails;
    for (FileSwap* swap : std::initializer_list<FileSwap*>{&writeFails, &renameFails}) {
        for (const QString& path : {pdf, jpg}) {
            const QByteArray before = fileBytes(path);
            QString status;
            EXPECT_FALSE(MetadataWriter::writeImageOrPDF(someFields(), path, &status, swap));
            EXPECT_FALSE(status.isEmpty());
            EXPECT_EQ(fileBytes(path), before);
            EXPECT_EQ(folderEntries(env.path()), (QStringList{"a.pdf", "b.jpg"}));
        }
    }
}

TEST(FileSwap, AFullDiskLeavesTheOriginalAndNoTemporaryFile)
{
    TestEnv env;
    const QString dir = env.path("disk");
    QDir().mkpath(dir);
    Scratch disk(dir, "size=256k");
    if (!disk.mounted())
        GTEST_SKIP() << "needs root to mount a small tmpfs";
    const QString pdf = dir + "/a.pdf";
    // A long entry fills the disk to more than half, so the new copy cannot fit beside it.
    const QByteArray big = handWrittenPdf("/Title (Old) /Creator (" + QByteArray(150 * 1024, 'x') + ")");
    ASSERT_TRUE(QFile(env.makeFile("big.pdf", big)).copy(pdf));
    QString pdfStatus;
    EXPECT_FALSE(MetadataWriter::writeImageOrPDF(someFields(), pdf, &pdfStatus));
    EXPECT_TRUE(pdfStatus.contains(qt_error_string(ENOSPC))) << pdfStatus.toStdString();
    EXPECT_EQ(fileBytes(pdf), big);
    EXPECT_EQ(folderEntries(dir), QStringList{"a.pdf"});

    // The movie's own disk holds it and half as much again: the remuxed copy cannot fit.
    ASSERT_TRUE(makeMovie(env.path("b.mov"), {"title=Old"}));
    const qint64 size = QFileInfo(env.path("b.mov")).size();
    const QString movieDir = env.path("moviedisk");
    QDir().mkpath(movieDir);
    Scratch movieDisk(movieDir, QByteArray("size=" + QByteArray::number(size * 3 / 2)).constData());
    ASSERT_TRUE(movieDisk.mounted());
    const QString movie = movieDir + "/b.mov";
    ASSERT_TRUE(QFile::copy(env.path("b.mov"), movie));
    const QByteArray before = fileBytes(movie);
    QString status;
    EXPECT_FALSE(MetadataWriter::writeVideo(someFields(), movie, &status));
    EXPECT_FALSE(status.isEmpty());
    EXPECT_EQ(fileBytes(movie), before);
    EXPECT_EQ(folderEntries(movieDir), QStringList{"b.mov"});
}

TEST(FileSwap, AReadOnlyFolderLeavesTheOriginal)
{
    TestEnv env;
    const QString dir = env.path("ro");
    QDir().mkpath(dir);
    Scratch disk(dir, "size=1m");
    const QString path = dir + "/a.pdf";
    env.makeFile("ro/a.pdf", handWrittenPdf("/Title (Old)"));
    if (disk.mounted())
        ASSERT_TRUE(disk.makeReadOnly());
    else if (geteuid() == 0)
        GTEST_SKIP() << "root writes into any folder; a read-only mount needs a tmpfs";
    else
        ASSERT_EQ(::chmod(QFile::encodeName(dir).constData(), 0555), 0);
    const QByteArray before = fileBytes(path);
    QString status;
    EXPECT_FALSE(MetadataWriter::writeImageOrPDF(someFields(), path, &status));
    EXPECT_FALSE(status.isEmpty());
    EXPECT_EQ(fileBytes(path), before);
    EXPECT_EQ(folderEntries(dir), QStringList{"a.pdf"});
    ::chmod(QFile::encodeName(dir).constData(), 0755);
}

TEST(FileSwap, KeepsPermissionsAndOwnerAndWritesThroughASymlink)
{
    TestEnv env;
    const QString target = env.makeFile("media/a.pdf", handWrittenPdf("/Title (Old)"));
    const QString link = env.path("link.pdf");
    ASSERT_TRUE(QFile::link(target, link));
    ASSERT_EQ(::chmod(QFile::encodeName(target).constData(), 0640), 0);
    const bool root = geteuid() == 0;
    if (root) {
        ASSERT_EQ(::chown(QFile::encodeName(target).constData(), 1234, 5678), 0);
    }
    ASSERT_TRUE(MetadataWriter::writeImageOrPDF(someFields(), link));
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_TRUE(fileBytes(target).contains("New title"));
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(target).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    if (root) {
        EXPECT_EQ(st.st_uid, 1234u);
        EXPECT_EQ(st.st_gid, 5678u);
    }
    EXPECT_EQ(folderEntries(env.path("media")), QStringList{"a.pdf"});
}

}  // namespace
