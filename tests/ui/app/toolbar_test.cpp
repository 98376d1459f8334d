#include "app/toolbar.h"
#include "common/segmented_control.h"
#include "shell_fixture.h"
#include "test_support.h"

#include <QToolButton>
#include <gtest/gtest.h>

TEST(Toolbar, LanguagePickerSwitchesEverythingAndIsStored)
{
    ShellFixture f;
    f.window->show();
    auto* lang = f.window->findChild<SegmentedControl*>("languagePicker");
    auto* add = f.window->findChild<QToolButton*>("addFiles");
    EXPECT_EQ(add->text(), "Add Files");
    EXPECT_FALSE(f.env.settings->contains("langZh"));
    ui::click(lang->segment(1));
    EXPECT_TRUE(f.store->langZh());
    EXPECT_EQ(f.env.settings->value("langZh"), QVariant(true));
    EXPECT_EQ(add->text(), "添加文件");
    EXPECT_EQ(lang->segment(0)->text(), "EN");
    EXPECT_EQ(lang->segment(1)->text(), "中文");
}

TEST(Toolbar, ClearIsDisabledForAnEmptyList)
{
    ShellFixture f;
    auto* clear = f.window->findChild<QToolButton*>("clearFiles");
    EXPECT_FALSE(clear->isEnabled());
    f.store->setItems({FileItem::file(f.env.makeFile("a.mov"))});
    EXPECT_TRUE(clear->isEnabled());
    ui::click(clear);
    EXPECT_TRUE(f.store->items().isEmpty());
    EXPECT_EQ(f.dialogs.callCount(), 0);  // no question asked
}

TEST(Toolbar, WatchPanelOffersSubfoldersAndCancellingStartsNothing)
{
    ShellFixture f;
    f.store->setLangZh(true);
    auto* watch = f.window->findChild<QToolButton*>("watchFolder");
    EXPECT_EQ(watch->text(), "监控");
    ui::click(watch);
    ASSERT_EQ(f.dialogs.opens.size(), 1);
    const Dialogs::OpenPanel& p = f.dialogs.opens[0];
    EXPECT_TRUE(p.chooseDirectories);
    EXPECT_FALSE(p.chooseFiles);
    EXPECT_FALSE(p.multiple);
    EXPECT_EQ(p.checkBoxText, "包含子文件夹");
    EXPECT_FALSE(p.checkBoxChecked);
    EXPECT_FALSE(f.store->watchState().watchFolder.has_value());
}

TEST(Toolbar, NarrowWindowMovesTheCommandsToASecondRow)
{
    ShellFixture f;
    f.window->resize(1600, 800);
    f.window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(f.window.get()));
    EXPECT_FALSE(f.window->toolbar()->isCompact());
    f.store->setLangZh(false);
    f.window->toolbar()->resize(400, f.window->toolbar()->height());
    EXPECT_TRUE(f.window->toolbar()->isCompact());
    f.window->toolbar()->resize(1500, f.window->toolbar()->height());
    EXPECT_FALSE(f.window->toolbar()->isCompact());
}
