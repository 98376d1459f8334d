#include "model/file_item.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <gtest/gtest.h>

// A path already clean is kept as it is; every other is cleaned as before. The table holds the
// near misses of a clean path.
TEST(PathText, StandardizedKeepsCleanPathsAndCleansTheRest)
{
    const QStringList paths = {"/",     "/a",   "/a/b.mov", "/a/", "//a",      "/a//b",    "/a/./b",      "/a/../b",
                               "/a/..", "/a/.", "/.",       "/..", "/.../x",   "/a/.b",    "/a/b..",      "/a/..b",
                               "/a/b.", "a/b",  "./a",      "",    "/a b/ c ", "/中文/名", "/a/b/../../c"};
    for (const QString& p : paths)
        EXPECT_EQ(PathText::standardized(p), QDir::cleanPath(QFileInfo(p).absoluteFilePath())) << p.toStdString();
    // A list of 100,000 files from one folder shares that folder's text instead of copying it.
    const QString folder = QString::fromLatin1("/media/card/DCIM");
    EXPECT_TRUE(FileItem::file(folder + "/a.mov", folder).fromFolder->isSharedWith(folder));
}

// Every listed file and folder gets an id of its own, of the random kind QUuid makes.
TEST(FileItem, IdsAreDistinctRandomUuids)
{
    QSet<QUuid> ids;
    for (int i = 0; i < 5000; ++i) {
        const FileItem item = i % 2 ? FileItem::file(QStringLiteral("/a/%1.mov").arg(i))
                                    : FileItem::folder(QStringLiteral("/a/%1").arg(i));
        EXPECT_EQ(item.id.version(), QUuid::Random);
        EXPECT_EQ(item.id.variant(), QUuid::DCE);
        ids.insert(item.id);
    }
    EXPECT_EQ(ids.size(), 5000);
}
