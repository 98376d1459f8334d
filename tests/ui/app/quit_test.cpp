#include "app/quit_guard.h"
#include "shell_fixture.h"

#include <gtest/gtest.h>

namespace {
// Lists `count` items whose metadata drafts differ from what was read.
void editMetadata(Store& store, int count)
{
    QList<FileItem> items;
    for (int i = 0; i < count; ++i)
        items << FileItem::file(QStringLiteral("/tmp/clip%1.mov").arg(i));
    store.setItems(items);
    store.editMeta([&](MetaDrafts& m) {
        for (const FileItem& it : items) {
            MetaFields read;
            MetaFields edited;
            edited.title = "changed";
            m.metaOriginal.insert(it.id, read);
            m.metaDraft.insert(it.id, edited);
        }
    });
}
}  // namespace

TEST(QuitQuestion, NothingUnsavedQuitsWithoutAsking)
{
    ShellFixture f;
    f.window->show();
    EXPECT_TRUE(f.window->close());
    EXPECT_EQ(f.dialogs.callCount(), 0);
}

TEST(QuitQuestion, UnsavedMetadataAsksAndOnlyQuitAnywayQuits)
{
    ShellFixture f;
    f.window->show();
    editMetadata(*f.store, 3);
    f.dialogs.answerAlert(0);   // Cancel
    f.dialogs.answerAlert(-1);  // Escape
    EXPECT_FALSE(f.window->close());
    EXPECT_FALSE(f.window->close());
    EXPECT_TRUE(f.window->isVisible());
    ASSERT_EQ(f.dialogs.alerts.size(), 2);
    const Dialogs::Alert& a = f.dialogs.alerts[0];
    EXPECT_EQ(a.message, "Quit without saving metadata changes?");
    EXPECT_EQ(a.informative, "3 file(s) have edits in the Metadata tab that haven't been saved to the files.");
    EXPECT_EQ(a.buttons, (QStringList{"Cancel", "Quit Anyway"}));
    EXPECT_EQ(a.defaultButton, 0);
    EXPECT_EQ(a.destructiveButton, 1);

    f.store->setLangZh(true);
    f.dialogs.answerAlert(1);
    EXPECT_TRUE(f.window->close());
    const Dialogs::Alert& zh = f.dialogs.alerts[2];
    EXPECT_EQ(zh.message, "不保存元数据修改就退出吗?");
    EXPECT_EQ(zh.informative, "「元数据」标签中有 3 个文件的修改还没有保存到文件。");
    EXPECT_EQ(zh.buttons, (QStringList{"取消", "仍然退出"}));
}

TEST(QuitQuestion, CtrlQTakesTheSamePath)
{
    ShellFixture f;
    ASSERT_TRUE(f.showActive());
    editMetadata(*f.store, 1);
    QTest::keyClick(f.window.get(), Qt::Key_Q, Qt::ControlModifier);
    ASSERT_EQ(f.dialogs.alerts.size(), 1);
    EXPECT_TRUE(f.window->isVisible());
}
