// Two processes on one support folder (a second launch that could not reach a busy first one):
// only the holder of the lock writes the undo history, the rename log and the presets.
#include "files/history.h"
#include "model/presets.h"
#include "platform/support_lock.h"
#include "test_support.h"

#include <QFile>
#include <gtest/gtest.h>

TEST(SupportLock, OneHolderAtATimeUntilItGoes)
{
    TestEnv env;
    auto first = std::make_unique<SupportLock>(env.path("support"));
    EXPECT_EQ(first->state(), SupportLock::State::held);
    {
        const SupportLock second(env.path("support"));
        EXPECT_EQ(second.state(), SupportLock::State::heldByOther);
        EXPECT_FALSE(second.mayWrite());
    }
    first.reset();
    EXPECT_EQ(SupportLock(env.path("support")).state(), SupportLock::State::held);

    // No lock can be made at all: nobody else holds the folder, so writing goes on (and fails
    // with its own message when the folder is really unusable).
    env.makeFile("file");
    const SupportLock none(env.path("file/support"));
    EXPECT_EQ(none.state(), SupportLock::State::unavailable);
    EXPECT_TRUE(none.mayWrite());
}

TEST(SupportLock, ASecondStoreSavesNoHistoryLogOrPresetsAndSaysSo)
{
    TestEnv env;
    auto first = env.makeStore();
    first->presets().save("Theirs");
    auto second = env.makeStore();
    ASSERT_TRUE(first->writesSupportFiles());
    ASSERT_FALSE(second->writesSupportFiles());
    EXPECT_EQ(second->status(), "Brindlecove is already running in another window, which keeps the undo history, "
                                "rename log and presets; this window will not save them.");

    second->history().record({{env.path("a"), env.path("b")}});
    second->history().flushPendingSaves();
    EXPECT_FALSE(QFile::exists(second->history().historyFilePath()));
    EXPECT_FALSE(QFile::exists(second->history().renameLogFilePath()));
    EXPECT_EQ(second->historyState().undoStack.size(), 1);  // undo still works in this window

    EXPECT_FALSE(second->presets().save("Mine"));
    // The launch notice stays beside the first message after it.
    EXPECT_TRUE(
        second->status().startsWith("Couldn't save preset: Mine (another Brindlecove window keeps the presets). "
                                    "Brindlecove is already running"))
        << second->status().toStdString();
    second->setLangZh(true);
    EXPECT_FALSE(second->presets().remove("Theirs"));
    EXPECT_EQ(second->status(), "无法删除预设:Theirs(预设由另一个 Brindlecove 窗口保存)。");
    const PresetImport imported = second->presets().importFrom(
        env.makeFile("in/Night.gui.json", readFile(env.path("support/presets/Theirs.gui.json"))));
    EXPECT_EQ(imported.failure, PresetImport::Failure::notSaved);
    second->presets().refreshNames();
    EXPECT_EQ(second->presetNames(), QStringList{"Theirs"});  // read, never written

    EXPECT_EQ(env.makeStore({"zh-Hans"})->status(),
              "Brindlecove 已在另一个窗口中运行,由它保存撤销历史、重命名日志和预设;此窗口不会保存它们。");

    first->history().record({{env.path("c"), env.path("d")}});
    first->history().flushPendingSaves();
    EXPECT_TRUE(QFile::exists(first->history().historyFilePath()));

    // The holder gone, the next launch writes again.
    first.reset();
    second.reset();
    auto third = env.makeStore();
    EXPECT_TRUE(third->writesSupportFiles());
    EXPECT_TRUE(third->presets().save("Mine"));
}
