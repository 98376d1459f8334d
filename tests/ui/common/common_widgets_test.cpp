#include "common/dialogs.h"
#include "common/lang_binder.h"
#include "common/section_box.h"
#include "common/segmented_control.h"
#include "test_support.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QToolButton>
#include <gtest/gtest.h>

TEST(LangBinder, RelabelsOnLanguageSwitchAndStopsWithTheWidget)
{
    TestEnv env;
    auto store = env.makeStore();
    LangBinder tr(*store);
    auto* label = new QLabel;
    QPushButton button;
    tr.bindText(label, "Add Files", "添加文件");
    tr.bindText(&button, "Clear", "清空");
    EXPECT_EQ(label->text(), "Add Files");
    store->setLangZh(true);
    EXPECT_EQ(label->text(), "添加文件");
    EXPECT_EQ(button.text(), "清空");
    delete label;  // the binding must not outlive its widget
    store->setLangZh(false);
    EXPECT_EQ(button.text(), "Clear");
}

TEST(SegmentedControl, ClicksAreExclusiveAndAnUnknownTagShowsNothingSelected)
{
    SegmentedControl c;
    c.addSegment("A", 0);
    c.addSegment("B", 1);
    c.addSegment("C", 7);
    QSignalSpy spy(&c, &SegmentedControl::activated);
    c.setCurrentTag(0);
    EXPECT_EQ(spy.count(), 0);  // programmatic changes are silent
    ui::click(c.segment(2));
    EXPECT_EQ(c.currentTag(), 7);
    EXPECT_FALSE(c.segment(0)->isChecked());
    ui::click(c.segment(2));  // clicking the checked one keeps it checked
    EXPECT_EQ(c.currentTag(), 7);
    ASSERT_EQ(spy.count(), 2);
    EXPECT_EQ(spy.at(0).at(0).toInt(), 7);
    c.setCurrentTag(42);
    EXPECT_EQ(c.currentTag(), -1);
    for (int i = 0; i < c.count(); ++i)
        EXPECT_FALSE(c.segment(i)->isChecked());
}

TEST(SectionBox, SwitchingOffHidesTheEditorAndKeepsItsContent)
{
    SectionBox box("Template");
    auto* edit = new QLineEdit("%scene");
    box.setBody(edit);
    box.show();
    EXPECT_FALSE(edit->isVisible());
    QSignalSpy spy(&box, &SectionBox::toggled);
    ui::click(box.toggle());
    EXPECT_TRUE(edit->isVisible());
    EXPECT_TRUE(edit->isEnabled());
    ui::click(box.toggle());
    EXPECT_FALSE(edit->isVisible());
    EXPECT_EQ(edit->text(), "%scene");
    EXPECT_EQ(spy.count(), 2);
    box.setOn(true);
    EXPECT_TRUE(edit->isVisible());
    EXPECT_EQ(spy.count(), 2);
}

TEST(FakeDialogs, QuestionTakesQueuedAnswersAndCancelsWhenUnscripted)
{
    FakeDialogs d;
    d.answerAlert(1);
    EXPECT_TRUE(d.question("Sure?", "", "Cancel", "Go"));
    EXPECT_FALSE(d.question("Again?", "", "Cancel", "Go"));
    ASSERT_EQ(d.alerts.size(), 2);
    EXPECT_EQ(d.alerts[0].buttons, (QStringList{"Cancel", "Go"}));
    EXPECT_FALSE(d.openPanel({}).accepted());
}

TEST(UiHarness, TypesChineseThroughAnInputMethodCommit)
{
    QLineEdit edit;
    edit.show();
    edit.setFocus();
    ui::typeText(&edit, "ab");
    ui::typeText(&edit, "批量");
    EXPECT_EQ(edit.text(), "ab批量");
}
