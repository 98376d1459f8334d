// The folder listings the preview keeps between keystrokes answer exactly like the disk, and a
// change to the folder is never answered from the old listing.
#include "files/rename_decision.h"
#include "files_fixture.h"

#include <fcntl.h>
#include <sys/stat.h>

namespace {

// Dates the folder's last change an hour back, as for a folder listed long after it was filled.
void settle(const QString& folder)
{
    struct timespec times[2] = {{0, UTIME_OMIT}, {::time(nullptr) - 3600, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(folder).constData(), times, 0), 0);
}

}  // namespace

class FolderListingsTest : public FilesTest {};

TEST_F(FolderListingsTest, AKeptListingAnswersLikeTheDiskUntilTheFolderChanges)
{
    const QString folder = dir("big");
    QList<Move> moves;
    for (int i = 0; i < 70; ++i)
        moves << Move{file(QStringLiteral("big/f%1.dat").arg(i)), folder + QStringLiteral("/g%1.dat").arg(i)};
    file("big/x.txt");
    file("big/Ü.txt");
    moves << Move{work("big/f0.dat"), folder + "/x.txt"}   // taken
          << Move{work("big/f1.dat"), folder + "/X.TXT"}   // another spelling: free on this volume
          << Move{work("big/f2.dat"), folder + "/ü.txt"}   // the same, beyond ASCII
          << Move{work("big/f3.dat"), folder + "/Ü.txt"};  // taken
    settle(folder);

    FolderListings listings;
    const QList<bool> disk = targetsTakenOnDisk(folder, moves);
    EXPECT_EQ(listings.taken(folder, moves), disk);
    EXPECT_EQ(listings.size(), 1);
    EXPECT_EQ(listings.taken(folder, moves), disk);  // from the kept listing
    EXPECT_TRUE(disk.at(70));
    EXPECT_FALSE(disk.at(71));
    EXPECT_FALSE(disk.at(72));
    EXPECT_TRUE(disk.at(73));

    file("big/g5.dat");  // a new file: the folder's modification time moves on
    const QList<bool> after = listings.taken(folder, moves);
    EXPECT_TRUE(after.at(5));
    EXPECT_EQ(after, targetsTakenOnDisk(folder, moves));
    // Just changed: read again next time, since a change within the same tick would not show.
    EXPECT_EQ(listings.size(), 0);

    QFile::remove(work("big/g5.dat"));
    settle(folder);
    EXPECT_FALSE(listings.taken(folder, moves).at(5));
    EXPECT_EQ(listings.size(), 1);
}

TEST_F(FolderListingsTest, AFolderThatCannotBeReadIsLookedUpNameByName)
{
    FolderListings listings;
    QList<Move> moves;
    for (int i = 0; i < 70; ++i)
        moves << Move{work(QStringLiteral("gone/f%1").arg(i)), work(QStringLiteral("gone/g%1").arg(i))};
    EXPECT_EQ(listings.taken(work("gone"), moves), QList<bool>(70, false));
    EXPECT_EQ(listings.size(), 0);
}
