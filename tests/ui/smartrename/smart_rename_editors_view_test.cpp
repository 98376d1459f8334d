// The Custom rules group (naming layout and cut types) and the Teach Word Split popup, driven
// through their widgets.
#include "common/disclosure_group.h"
#include "common/drag_chip.h"
#include "common/segmented_control.h"
#include "model/store.h"
#include "platform/settings.h"
#include "smartrename/cut_type_editor.h"
#include "smartrename/naming_layout_editor.h"
#include "smartrename/smart_rename_editors.h"
#include "smartrename/smart_rename_style_picker.h"
#include "smartrename/smart_rename_toolbar.h"
#include "smartrename/smart_rename_view.h"
#include "smartrename/teach_word_popup.h"
#include "test_support.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

using Kind = SmartRename::CustomNamingConfig::SectionKind;

struct EditorsFixture {
    TestEnv env;
    std::unique_ptr<Store> store = env.makeStore();
    FakeDialogs dialogs;
    std::unique_ptr<SmartRenameView> view = std::make_unique<SmartRenameView>(*store, dialogs);
    NamingLayoutEditor& naming() { return *view->namingEditor(); }
    CutTypeEditor& cutTypes() { return *naming().cutTypeEditor(); }
    const SmartSettings& smart() { return store->smart(); }
    void chooseCustom()
    {
        view->findChild<SmartRenameStylePicker*>()->selectStyle(SmartRenameStyle::custom);
        view->customRulesGroup()->setExpanded(true);
    }
    QStringList chipTexts()
    {
        QStringList out;
        for (DragChip* c : naming().sectionChips())
            out << c->text();
        return out;
    }
    bool dropChip(const QString& payload, int onto)
    {
        QMimeData mime;
        mime.setData("application/x-brindlecove-section-chip", payload.toUtf8());
        DragChip* target = naming().sectionChips().at(onto);
        QDragEnterEvent enter(target->rect().center(), Qt::MoveAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &enter);
        QDropEvent drop(QPointF(target->rect().center()), Qt::MoveAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &drop);
        QCoreApplication::processEvents();
        return drop.isAccepted();
    }
};

TEST(SmartRenameCustomRules, ShownOnlyForCustomAndCollapsedWhenItComesBack)
{
    EditorsFixture f;
    f.view->show();
    EXPECT_FALSE(f.view->customRulesGroup()->isVisible());
    f.chooseCustom();
    EXPECT_TRUE(f.view->customRulesGroup()->isVisible());
    // A chip that was selected reads in the normal text colour again once another is picked.
    StyleChip* finishing = f.view->findChild<SmartRenameStylePicker*>()->chips().first();
    EXPECT_FALSE(finishing->property("selected").toBool());
    EXPECT_TRUE(
        finishing->styleSheet().contains("color: " + QApplication::palette().color(QPalette::WindowText).name()))
        << finishing->styleSheet().toStdString();
    EXPECT_TRUE(f.naming().isVisible());
    ui::typeText(f.naming().separatorField(), "-");
    f.view->findChild<SmartRenameStylePicker*>()->selectStyle(SmartRenameStyle::posting);
    EXPECT_FALSE(f.view->customRulesGroup()->isVisible());
    f.view->findChild<SmartRenameStylePicker*>()->selectStyle(SmartRenameStyle::custom);
    EXPECT_TRUE(f.view->customRulesGroup()->isVisible());
    EXPECT_FALSE(f.view->customRulesGroup()->isExpanded());
    EXPECT_EQ(f.naming().separatorField()->text(), "_-");
}

TEST(SmartRenameCustomRules, LayoutControlsWriteAtOnceAndChipsMove)
{
    EditorsFixture f;
    f.chooseCustom();
    f.view->show();
    NamingLayoutEditor& n = f.naming();
    n.separatorField()->selectAll();
    QTest::keyClick(n.separatorField(), Qt::Key_Backspace);
    ui::typeText(n.separatorField(), " - ");
    n.versionPrefixField()->clear();
    n.versionPrefixField()->setFocus();
    QTest::keyClick(n.versionPrefixField(), Qt::Key_Backspace);
    ui::typeText(n.versionPrefixField(), "v");
    QTest::keyClick(n.versionPrefixField(), Qt::Key_Backspace);
    ui::click(n.casePicker()->segment(1));
    ui::click(n.includeCodeBox());
    ui::click(n.spaceSpotBox());
    SmartRename::CustomNamingConfig expected;
    expected.separator = " - ";
    expected.versionPrefix = "";
    expected.caseStyle = SmartRename::CustomNamingConfig::CaseStyle::upperCase;
    expected.includeProductionCode = false;
    expected.spotNameSpaced = true;
    EXPECT_EQ(f.smart().customNamingConfig, expected);
    EXPECT_EQ(SmartRename::CustomNamingConfig::decode(*f.env.settings->dataValue("customNamingConfig")), expected);

    EXPECT_EQ(f.chipTexts(), QStringList({"Code", "Spot Name", "Type", "Timing", "Version"}));
    EXPECT_FALSE(f.dropChip("code", 0));
    EXPECT_FALSE(f.dropChip("Version", 0));
    EXPECT_TRUE(f.dropChip("cutType", 0));
    EXPECT_EQ(f.chipTexts(), QStringList({"Type", "Code", "Spot Name", "Timing", "Version"}));
    f.store->setLangZh(true);
    EXPECT_EQ(f.chipTexts(), QStringList({"片型", "代码", "片名", "时长", "版本号"}));
    ui::click(n.resetOrderButton());
    EXPECT_EQ(f.chipTexts(), QStringList({"代码", "片名", "片型", "时长", "版本号"}));
    expected.sectionOrder = SmartRename::CustomNamingConfig::allSections();
    EXPECT_EQ(f.smart().customNamingConfig, expected);
}

TEST(SmartRenameCustomRules, VariantsFieldKeepsWhatIsTypedUntilEditingFinishes)
{
    EditorsFixture f;
    f.chooseCustom();
    f.view->show();
    CutTypeEditor& c = f.cutTypes();
    ASSERT_EQ(c.rows().size(), 11);
    ui::click(c.addButton());
    ASSERT_EQ(c.rows().size(), 12);
    const CutTypeEditor::Row row = c.rows().last();
    ui::typeText(row.name, "Lift ");
    row.variants->setFocus();
    ui::typeText(row.variants, "sizzle ,  szl, ");
    EXPECT_EQ(row.variants->text(), "sizzle ,  szl, ");  // nothing eaten while typing
    EXPECT_EQ(f.smart().customCutTypes.last().variants, QStringList({"SIZZLE", "SZL"}));
    EXPECT_EQ(f.smart().customCutTypes.last().canonical, "Lift ");
    ui::typeText(row.variants, "lift");
    EXPECT_EQ(f.smart().customCutTypes.last().variants, QStringList({"SIZZLE", "SZL", "LIFT"}));
    QTest::keyClick(row.variants, Qt::Key_Return);
    EXPECT_EQ(row.variants->text(), "SIZZLE, SZL, LIFT");
    const auto stored = SmartRename::decodeCutTypes(*f.env.settings->dataValue("customCutTypes"));
    EXPECT_EQ(stored, f.smart().customCutTypes);

    ui::click(c.rows().first().remove);
    QCoreApplication::processEvents();
    EXPECT_EQ(c.rows().size(), 11);
    EXPECT_EQ(f.smart().customCutTypes.first().canonical, "Tsr");
    ui::click(c.resetButton());
    EXPECT_EQ(c.rows().size(), 11);
    EXPECT_EQ(c.rows().first().name->text(), "Trlr");
    EXPECT_EQ(c.rows().last().variants->text(), "DIGITALTRAILER, DIGITALTRLR, DIGTRLR, DTRLR");
}

TEST(SmartRenameTeach, PopupSavesForgetsAndRecognisesAgain)
{
    EditorsFixture f;
    f.view->show();
    f.view->inputEditor()->setPlainText("ABC_zorblax_V1");
    ui::click(f.view->toolbar()->teachButton());
    TeachWordPopup& p = *f.view->teachPopup();
    EXPECT_TRUE(p.isVisible());
    EXPECT_FALSE(p.saveButton()->isEnabled());
    EXPECT_FALSE(p.taughtList()->isVisibleTo(&p));
    ui::typeText(p.wordField(), " zorblax ");
    ui::typeText(p.splitField(), "   ");
    EXPECT_FALSE(p.saveButton()->isEnabled());
    QTest::keyClick(p.splitField(), Qt::Key_Return);
    EXPECT_TRUE(f.smart().learnedWordSplits.isEmpty());
    ui::typeText(p.splitField(), "Zor  Blax");
    EXPECT_TRUE(p.saveButton()->isEnabled());
    QTest::keyClick(p.splitField(), Qt::Key_Return);  // Return only ends the edit
    EXPECT_TRUE(f.smart().learnedWordSplits.isEmpty());
    ui::click(p.saveButton());
    EXPECT_EQ(f.smart().learnedWordSplits.value("ZORBLAX"), QStringList({"Zor", "Blax"}));
    EXPECT_TRUE(p.wordField()->text().isEmpty());
    EXPECT_TRUE(p.splitField()->text().isEmpty());
    ASSERT_EQ(f.smart().smartRenameRows.size(), 1);
    EXPECT_EQ(f.smart().smartRenameRows.first().spotName, "ZorBlax");

    f.store->smartEditors().teachWord("1up", "One Up");
    f.store->smartEditors().teachWord("Alpha", "Al Pha");
    EXPECT_EQ(p.listedKeys(), QStringList({"1UP", "ALPHA", "ZORBLAX"}));
    EXPECT_TRUE(p.taughtList()->isVisibleTo(&p));
    for (const char* key : {"1UP", "ALPHA", "ZORBLAX"}) {
        ui::click(p.removeButton(key));
        QCoreApplication::processEvents();
    }
    EXPECT_TRUE(f.smart().learnedWordSplits.isEmpty());
    EXPECT_FALSE(p.taughtList()->isVisibleTo(&p));
    EXPECT_NE(f.smart().smartRenameRows.first().spotName, "ZorBlax");

    // Opening again starts with empty fields.
    ui::typeText(p.wordField(), "x");
    p.hide();
    ui::click(f.view->toolbar()->teachButton());
    EXPECT_TRUE(p.wordField()->text().isEmpty());
}

}  // namespace
