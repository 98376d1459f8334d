#include "files/item_bookkeeping.h"
#include "files/path_remap.h"
#include "files/renamer.h"
#include "files_fixture.h"

TEST(PathRemapping, FollowsFilesAndFoldersThroughABatch)
{
    struct Case {
        const char* what;
        QString url;
        MoveBatch moves;
        QString expected;
    };
    const QList<Case> cases = {
        {"inside a renamed folder", "/a/x/y.mov", {{"/a", "/b"}}, "/b/x/y.mov"},
        {"file then its folder", "/a/f1", {{"/a/f1", "/a/f2"}, {"/a", "/c"}}, "/c/f2"},
        {"through a temporary name", "/d/x", {{"/d/x", "/d/tmp"}, {"/d/tmp", "/d/y"}}, "/d/y"},
        {"other letter case matches nothing", "/d/Clip.mov", {{"/d/clip.mov", "/d/x.mov"}}, "/d/Clip.mov"},
        {"a sibling with a longer name is not inside", "/a2/f", {{"/a", "/b"}}, "/a2/f"},
        {"unclean paths are cleaned", "/d/./e/../x", {{"/d/x", "/d/y"}}, "/d/y"},
        {"a doubled slash is cleaned", "/d//x", {{"/d/x", "/d/y"}}, "/d/y"},
        {"a last dot is cleaned", "/d/x/.", {{"/d/x", "/d/y"}}, "/d/y"},
        {"a last double dot is cleaned", "/d/e/..", {{"/d", "/f"}}, "/f"},
        {"names that only start with dots are kept", "/d/..x/.y/...", {{"/d/..x/.y/...", "/d/z"}}, "/d/z"},
        {"a name starting with dots is no parent", "/d/..x", {{"/d", "/f"}}, "/f/..x"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(ItemBookkeeping::remapMovedURLs({c.url}, c.moves), QStringList{c.expected});
    }
}

// Name, stem and extension follow a new path, whether the extension changed or not, and whether
// they are written over the old ones' characters or made anew; a copy of the item keeps its own.
TEST(PathRemapping, NamesFollowThePath)
{
    struct Case {
        QString from, to, name, stem, ext;
    };
    const QList<Case> cases = {
        {"/d/a.mov", "/d/Shot_1.mov", "Shot_1.mov", "Shot_1", "mov"},
        {"/d/a.mov", "/d/a.MOV", "a.MOV", "a", "MOV"},
        {"/d/a.mov", "/d/a", "a", "a", ""},
        {"/d/a", "/d/a.mov", "a.mov", "a", "mov"},
        {"/d/a.mov", "/d/.mov", ".mov", ".mov", ""},
        {"/d/a.mov", "/d/clip.", "clip.", "clip.", ""},
        {"/d/a.tar.gz", "/d/b.tar.gz", "b.tar.gz", "b.tar", "gz"},
        {"/d/long_name.mov", "/d/s.mov", "s.mov", "s", "mov"},
        {"/d/s.mov", "/d/long_name.mov", "long_name.mov", "long_name", "mov"},
    };
    for (const Case& c : cases) {
        for (const bool inPlace : {false, true}) {
            SCOPED_TRACE(c.to.toStdString() + (inPlace ? " in place" : ""));
            FileItem item = FileItem::file(c.from);
            const FileItem before = item;  // shares every text with the item
            FileItem own = FileItem::file(c.from);
            item.url = c.to;
            own.url = c.to;
            if (!inPlace || !PathRemap::refreshNamesInPlace(item))
                PathRemap::refreshNames(item);
            if (!inPlace || !PathRemap::refreshNamesInPlace(own))
                PathRemap::refreshNames(own);
            for (const FileItem* f : {&item, &own}) {
                EXPECT_EQ(f->name, c.name);
                EXPECT_EQ(f->stem, c.stem);
                EXPECT_EQ(f->ext, c.ext);
            }
            EXPECT_EQ(before.name, PathText::lastComponent(c.from));
        }
    }
}

// The list follows a batch through the items the batch names, through one look-up per item, or
// by matching the moves in order; whichever way, it lands where the files are.
TEST_F(FilesTest, ListFollowsABatchWhicheverWayItIsMatched)
{
    struct Named {
        int item;      // the listed item the batch says it moved
        int position;  // where the batch saw it in the list
        QString to;
    };
    struct Case {
        const char* what;
        QStringList listed;
        MoveBatch moves;
        QList<Named> named;
        QStringList expected;
    };
    const QList<Case> cases = {
        {"items the batch names",
         {"/w/a.mov", "/w/b.mov"},
         {{"/w/a.mov", "/w/c.mov"}},
         {{0, 0, "/w/c.mov"}},
         {"/w/c.mov", "/w/b.mov"}},
        {"a place that holds another item now is not trusted",
         {"/w/a.mov", "/w/b.mov"},
         {{"/w/a.mov", "/w/c.mov"}},
         {{0, 1, "/w/c.mov"}},
         {"/w/c.mov", "/w/b.mov"}},
        {"a renamed folder above listed files",
         {"/w/F/in.mov", "/w/x.mov"},
         {{"/w/F", "/w/G"}, {"/w/x.mov", "/w/y.mov"}},
         {{1, 1, "/w/y.mov"}},
         {"/w/G/in.mov", "/w/y.mov"}},
        {"moves without items", {"/w/a.mov", "/w/b.mov"}, {{"/w/b.mov", "/w/c.mov"}}, {}, {"/w/a.mov", "/w/c.mov"}},
        {"a swap through a temporary name, without items",
         {"/w/a.mov", "/w/b.mov"},
         {{"/w/b.mov", "/w/.rntmp_1"}, {"/w/a.mov", "/w/b.mov"}, {"/w/.rntmp_1", "/w/a.mov"}},
         {},
         {"/w/b.mov", "/w/a.mov"}},
        {"an undo's moves, the reverse of the list's order",
         {"/w/x1.mov", "/w/keep.mov", "/w/x2.mov", "/w/x3.mov"},
         {{"/w/x3.mov", "/w/a3.mov"}, {"/w/x2.mov", "/w/a2.mov"}, {"/w/x1.mov", "/w/a1.mov"}},
         {},
         {"/w/a1.mov", "/w/keep.mov", "/w/a2.mov", "/w/a3.mov"}},
        {"a shift along a row, listed against its order",
         {"/w/c.mov", "/w/b.mov"},
         {{"/w/b.mov", "/w/a.mov"}, {"/w/c.mov", "/w/b.mov"}},
         {},
         {"/w/b.mov", "/w/a.mov"}},
        {"a shift along a row, listed in its order",
         {"/w/b.mov", "/w/c.mov"},
         {{"/w/b.mov", "/w/a.mov"}, {"/w/c.mov", "/w/b.mov"}},
         {},
         {"/w/a.mov", "/w/b.mov"}},
        {"moves in no order of the list",
         {"/w/a.mov", "/w/b.mov", "/w/c.mov"},
         {{"/w/b.mov", "/w/y.mov"}, {"/w/c.mov", "/w/z.mov"}, {"/w/a.mov", "/w/x.mov"}},
         {},
         {"/w/x.mov", "/w/y.mov", "/w/z.mov"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QList<FileItem> items;
        for (const QString& url : c.listed)
            items << FileItem::file(url);
        ItemMoves named;
        for (const Named& n : c.named) {
            named.moves << Move{items[n.item].url, n.to};
            named.positions << n.position;
        }
        store->setItems(items);
        store->bookkeeping().commitRenamed(c.moves, named);
        QStringList urls, names;
        for (const FileItem& f : store->items()) {
            urls << f.url;
            names << f.name;
        }
        EXPECT_EQ(urls, c.expected);
        QStringList expectedNames;
        for (const QString& url : c.expected)
            expectedNames << PathText::lastComponent(url);
        EXPECT_EQ(names, expectedNames);
    }
}

TEST_F(FilesTest, FolderModeListsOneItemPerFolderAndRestoresFilesAfterRenames)
{
    dir("A");
    dir("B");
    auto fromA = [&](const QString& n) { return FileItem::file(work("A/" + n), work("A")); };
    const FileItem a1 = fromA("1.mov"), a2 = fromA("2.mov"), a3 = fromA("3.mov");
    const FileItem b1 = FileItem::file(work("B/1.mov"), work("B"));
    const FileItem x = FileItem::file(work("x.mov"));
    QStringList listing;
    for (const FileItem& f : ItemBookkeeping::folderListing({a1, x, a2, b1}))
        listing << f.name;
    EXPECT_EQ(listing, (QStringList{"A", "x.mov", "B"}));

    store->setItems({a1, a2, a3, x});
    store->bookkeeping().setRenameFolders(true);
    ASSERT_EQ(store->items().size(), 2);
    EXPECT_TRUE(store->items()[0].isDir);
    store->renamer().applyRenames({{store->items()[0].id, "A_renamed"}});
    EXPECT_EQ(store->status(), "Renamed 1.");
    store->bookkeeping().setRenameFolders(false);
    ASSERT_EQ(store->items().size(), 4);
    EXPECT_EQ(store->items()[2].url, work("A_renamed/3.mov"));
    EXPECT_EQ(store->items()[2].fromFolder, work("A_renamed"));
    EXPECT_TRUE(store->fileBackup().isEmpty());
}

TEST_F(FilesTest, RecordedBinMovesFollowFilesOnlyAndBecomeOneBatch)
{
    dir("F");
    const FileItem inside = FileItem::file(work("F/in.mov"));
    const FileItem loose = FileItem::file(work("loose.mov"));
    store->setItems({inside, loose});
    store->bookkeeping().recordMovedFiles({{work("loose.mov"), work("L.mov")}, {work("F"), work("G")}});
    EXPECT_EQ(store->items()[0].url, work("F/in.mov"));
    EXPECT_EQ(store->items()[1].name, "L.mov");
    EXPECT_EQ(store->historyState().undoStack.size(), 1);
    EXPECT_EQ(store->historyState().renameLog.size(), 2);
}

TEST_F(FilesTest, AiNamedItemsAreCountedAndSwitchedTogether)
{
    FileItem named = FileItem::file(work("a"));
    named.aiName = "Sunset";
    FileItem empty = FileItem::file(work("b"));
    empty.aiName = "";
    FileItem none = FileItem::file(work("c"));
    store->setItems({named, empty, none});
    EXPECT_EQ(store->bookkeeping().aiNamedItemCount(), 1);
    store->bookkeeping().setUseAIForNamedItems(false);
    EXPECT_FALSE(store->items()[0].useAI);
    EXPECT_TRUE(store->items()[1].useAI);
}
