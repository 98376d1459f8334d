#include "files_fixture.h"

#include "files/renamer.h"
#include "files/scoped_access.h"
#include "platform/lang.h"

#include <cerrno>

class AccessPrompt : public FilesTest {
protected:
    void SetUp() override
    {
        access->sandbox = true;
        store = newStore(/*sandboxed=*/true);
    }
};

TEST_F(AccessPrompt, DeclinedFolderIsAskedOncePerBatch)
{
    file("a");
    file("b");
    const QUuid a = add("a");
    const QUuid b = add("b");
    prompter->pressContinue = false;
    store->renamer().applyRenames({{a, "a2"}, {b, "b2"}});
    EXPECT_EQ(prompter->alerts, 1);
    EXPECT_EQ(prompter->lastAlert.message, "Allow access to “w”?");
    EXPECT_EQ(prompter->lastAlert.continueButton, "Continue");
    EXPECT_EQ(store->status(), "Renamed 0, skipped 2: You don't have permission to rename “b”.");
    EXPECT_TRUE(store->access().declinedAccessFolders().contains(work()));
    EXPECT_EQ(names(), (QStringList{"a", "b"}));

    // A single rename does not ask again; the next batch does.
    EXPECT_FALSE(store->renamer().renameOne(a, "a3"));
    EXPECT_EQ(prompter->alerts, 1);
    EXPECT_EQ(store->status(), "Failed: You don't have permission to rename “a”.");
    store->renamer().applyRenames({{a, "a2"}});
    EXPECT_EQ(prompter->alerts, 2);
}

TEST_F(AccessPrompt, GrantedFolderIsRetriedAndHeld)
{
    file("a");
    file("b");
    const QUuid a = add("a");
    const QUuid b = add("b");
    prompter->pick = work();
    Lang::setZh(true);
    store->renamer().applyRenames({{a, "a2"}, {b, "b2"}});
    Lang::setZh(false);
    EXPECT_EQ(prompter->lastAlert.message, "允许访问「w」吗?");
    EXPECT_EQ(prompter->lastPanel.prompt, "授予访问权限");
    EXPECT_EQ(prompter->lastPanel.startFolder, work());
    EXPECT_EQ(prompter->panels, 1);  // the second file's folder is held by then
    EXPECT_EQ(store->access().scopedFolderRoots(), QStringList{work()});
    EXPECT_EQ(names(), (QStringList{"a2", "b2"}));
    EXPECT_EQ(store->status(), "已重命名 2 个。");
}

TEST_F(AccessPrompt, OtherFolderChosenStillFailsButIsNotDeclined)
{
    file("a");
    const QUuid a = add("a");
    prompter->pick = dir("elsewhere");
    store->renamer().applyRenames({{a, "a2"}});
    EXPECT_EQ(store->access().scopedFolderRoots(), QStringList{work("elsewhere")});
    EXPECT_FALSE(store->access().declinedAccessFolders().contains(work()));
    store->renamer().applyRenames({{a, "a2"}});
    EXPECT_EQ(prompter->alerts, 2);
    EXPECT_EQ(names(), (QStringList{"a", "elsewhere"}));
}

TEST_F(AccessPrompt, NoDialogWhereNoneCanHelp)
{
    const QString from = file("a");
    const QString to = work("b");
    const MoveError denied{EPERM, from, to};

    EXPECT_FALSE(store->access().requestFolderAccess(from, to, MoveError{EROFS, from, to}));  // read-only volume
    EXPECT_EQ(prompter->alerts, 0);

    store->access().ensureScopedAccess(work());
    store->access().ensureScopedAccess(work() + "/");
    EXPECT_EQ(store->access().scopedFolderRoots(), QStringList{work()});
    EXPECT_EQ(access->starts, 1);
    EXPECT_FALSE(store->access().requestFolderAccess(from, to, denied));  // already held
    EXPECT_EQ(prompter->alerts, 0);
    store->access().stopScopedAccess();
    EXPECT_TRUE(store->access().scopedFolderRoots().isEmpty());

    store = newStore(/*sandboxed=*/false);
    EXPECT_FALSE(store->access().requestFolderAccess(from, to, denied));
    StoreServices underTests = env.services();
    underTests.sandboxed = true;
    underTests.runningUnitTests = true;
    underTests.accessPrompter = prompter;
    store = std::make_unique<Store>(std::move(underTests));
    EXPECT_FALSE(store->access().requestFolderAccess(from, to, denied));
    EXPECT_EQ(prompter->alerts, 0);
}
