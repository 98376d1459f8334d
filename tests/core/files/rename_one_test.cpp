#include "files_fixture.h"
#include "files/renamer.h"

TEST_F(FilesTest, RenameOneTrimsValidatesAndRecords)
{
    file("clip.mov");
    file("other.mov");
    const QUuid id = add("clip.mov");

    EXPECT_TRUE(store->renamer().renameOne(id, "clip.mov"));  // the current name: nothing happens
    EXPECT_TRUE(store->historyState().undoStack.isEmpty());
    EXPECT_FALSE(store->renamer().renameOne(id, "  \n"));
    EXPECT_FALSE(store->renamer().renameOne(QUuid::createUuid(), "x.mov"));

    EXPECT_FALSE(store->renamer().renameOne(id, "a/b.mov"));
    EXPECT_EQ(store->status(), "Skipped: “/” isn't allowed in a file name");
    EXPECT_FALSE(store->renamer().renameOne(id, "other.mov"));
    EXPECT_EQ(store->status(), "Skipped: \"other.mov\" already exists.");
    EXPECT_EQ(content("other.mov"), "other.mov");

    EXPECT_TRUE(store->renamer().renameOne(id, "  Take 1.mov\n"));
    EXPECT_EQ(item(id).name, "Take 1.mov");
    EXPECT_EQ(item(id).stem, "Take 1");
    EXPECT_EQ(content("Take 1.mov"), "clip.mov");
    ASSERT_EQ(store->historyState().undoStack.size(), 1);
    EXPECT_EQ(store->historyState().undoStack[0], (MoveBatch{{work("clip.mov"), work("Take 1.mov")}}));
    EXPECT_EQ(store->historyState().renameLog.size(), 1);

    EXPECT_TRUE(store->renamer().renameOne(id, "TAKE 1.mov"));  // letter case only
    EXPECT_EQ(names(), (QStringList{"TAKE 1.mov", "other.mov"}));
}

TEST_F(FilesTest, RenameItemByIdBuildsTheNameFromStemAndExtension)
{
    struct Case {
        std::optional<QString> ext;
        const char* result;
    };
    const Case cases[] = {
        {std::nullopt, "B.mov"},
        {QString(" .mp4"), "C.mp4"},
        {QString(""), "D"},
    };
    file("A.mov");
    const QUuid id = add("A.mov");
    const char* stems[] = {"B", "C", "D"};
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(store->renamer().renameItemByID(id, stems[i], cases[i].ext));
        EXPECT_EQ(item(id).name, cases[i].result);
    }
    EXPECT_EQ(names(), QStringList{"D"});
    EXPECT_FALSE(store->renamer().renameItemByID(id, " ", std::nullopt));
}
