// The tab's actions on the results: variants (manager, toolbar and row menus), Apply Rename,
// and the hand-off to the Email tab; and pictures of the whole tab.
#include "common/disclosure_group.h"
#include "common/icons.h"
#include "model/presets.h"
#include "model/store.h"
#include "platform/settings.h"
#include "smartrename/naming_layout_editor.h"
#include "smartrename/smart_rename_editors.h"
#include "smartrename/smart_rename_results_model.h"
#include "smartrename/smart_rename_style_picker.h"
#include "smartrename/smart_rename_toolbar.h"
#include "smartrename/smart_rename_view.h"
#include "smartrename/smart_variants.h"
#include "smartrename/teach_word_popup.h"
#include "smartrename/variants_section.h"
#include "test_support.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

struct ActionsFixture {
    TestEnv env;
    std::unique_ptr<Store> store = env.makeStore();
    FakeDialogs dialogs;
    std::unique_ptr<SmartRenameView> view = std::make_unique<SmartRenameView>(*store, dialogs);
    SmartRenameToolbar& bar() { return *view->toolbar(); }
    VariantsSection& variants() { return *view->variantsSection(); }
    const QList<SmartRenameRow>& rows() const { return store->smart().smartRenameRows; }
    void pasteAndRecognize(const QString& text)
    {
        view->inputEditor()->setPlainText(text);
        ui::click(bar().recognizeButton());
    }
    void clickCell(int row, int column)
    {
        QTableView* table = view->resultsView();
        const QRect cell = table->visualRect(view->resultsModel()->index(row, column));
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, cell.center());
    }
    void suffixRule(const QString& text)
    {
        store->editRules([&](RuleSettings& r) {
            r.suffixEnabled = true;
            r.suffixText = text;
        });
    }
};

TEST(SmartRenameVariantsView, ManagerSavesRenamesAppliesAndDeletes)
{
    ActionsFixture f;
    f.view->show();
    f.view->variantsGroup()->setExpanded(true);
    ui::click(f.variants().saveButton());
    EXPECT_EQ(f.store->status(), "Batch Rules has nothing switched on — turn some rules on first.");
    EXPECT_TRUE(f.dialogs.prompts.isEmpty());

    f.suffixRule("_Web");
    f.dialogs.promptAnswers.push_back(QString(" Web "));
    ui::click(f.variants().saveButton());
    ASSERT_EQ(f.dialogs.prompts.size(), 1);
    EXPECT_EQ(f.dialogs.prompts.first().title, "Save variant");
    EXPECT_EQ(f.dialogs.prompts.first().message, "Name this variant:");
    ASSERT_EQ(f.variants().rows().size(), 1);
    const VariantsSection::Row row = f.variants().rows().first();
    EXPECT_EQ(row.name->text(), "Web");
    EXPECT_EQ(row.summary->text(), "suffix _Web");
    EXPECT_FALSE(row.apply->isEnabled());

    // Typing keeps the name in memory; finishing the edit writes it.
    row.name->setFocus();
    row.name->selectAll();
    ui::typeText(row.name, "Online");
    EXPECT_EQ(f.store->smart().smartVariants.first().name, "Online");
    EXPECT_EQ(decodeSmartVariants(*f.env.settings->dataValue("smartVariants"))->first().name, "Web");
    QTest::keyClick(row.name, Qt::Key_Return);
    EXPECT_EQ(decodeSmartVariants(*f.env.settings->dataValue("smartVariants"))->first().name, "Online");
    EXPECT_EQ(f.variants().rows().first().name, row.name);  // the row was not rebuilt under the cursor

    f.pasteAndRecognize("ABC_Spot_:30_V1\nXYZ_Other_:15_V2");
    EXPECT_TRUE(row.apply->isEnabled());
    ui::click(row.apply);
    EXPECT_TRUE(f.rows().at(1).corrected.endsWith("_Web"));
    EXPECT_EQ(f.store->status(), "Applied “Online” to 2 name(s).");
    EXPECT_TRUE(f.view->resultsModel()->marks(0).contains("Online"));

    ui::click(row.remove);
    QCoreApplication::processEvents();
    EXPECT_TRUE(f.variants().rows().isEmpty());
    EXPECT_TRUE(f.store->smart().smartVariants.isEmpty());
}

TEST(SmartRenameVariantsView, MenusOfferVariantsAndPresetsToAllOrOneRow)
{
    ActionsFixture f;
    f.view->show();
    f.pasteAndRecognize("ABC_Spot_:30_V1\nXYZ_Other_:15_V2");
    EXPECT_TRUE(f.bar().variantsButton()->isHidden());
    EXPECT_FALSE(f.bar().copyAllButton()->isHidden());
    EXPECT_FALSE(f.bar().generateEmailButton()->isHidden());
    EXPECT_FALSE(f.view->resultsModel()
                     ->data(f.view->resultsModel()->index(0, SmartRenameResultsModel::Variant), Qt::ToolTipRole)
                     .isValid());

    f.suffixRule("_TV");
    ASSERT_TRUE(f.store->presets().save("Broadcast"));
    f.store->setSmartVariants({{QUuid::createUuid(), "Web", GUIPreset{}}});
    EXPECT_FALSE(f.bar().variantsButton()->isHidden());
    QMenu* all = f.bar().variantsButton()->menu();
    emit all->aboutToShow();
    EXPECT_EQ(ui::menuTexts(all), QStringList({"Apply to all names", "Web", "-", "Batch Rules presets", "Broadcast",
                                               "-", "Reset all to recognized names"}));
    EXPECT_FALSE(ui::menuAction(all, "Reset all to recognized names")->isEnabled());

    std::unique_ptr<QMenu> one(f.view->rowVariantMenu(1));
    EXPECT_EQ(ui::menuTexts(one.get()), QStringList({"Web", "-", "Batch Rules presets", "Broadcast"}));
    ui::menuAction(one.get(), "Broadcast")->trigger();
    EXPECT_TRUE(f.rows().at(1).corrected.endsWith("_TV"));
    EXPECT_FALSE(f.rows().at(0).variantName);
    EXPECT_EQ(f.store->status(), "Applied “Broadcast”.");
    one.reset(f.view->rowVariantMenu(1));
    EXPECT_EQ(ui::menuTexts(one.get()).mid(4), QStringList({"-", "Reset to recognized name"}));
    emit all->aboutToShow();
    EXPECT_TRUE(ui::menuAction(all, "Reset all to recognized names")->isEnabled());
    ui::menuAction(one.get(), "Reset to recognized name")->trigger();
    EXPECT_FALSE(f.rows().at(1).variantName);

    f.store->setLangZh(true);
    emit all->aboutToShow();
    EXPECT_EQ(ui::menuTexts(all).first(), "套用到全部名字");
    EXPECT_EQ(ui::menuTexts(all).last(), "全部还原为识别结果");
    EXPECT_EQ(f.bar().variantsButton()->text(), "变体");
}

TEST(SmartRenameHandOffView, ApplyRenameRenamesLoadedFilesAndEmailTakesOneRow)
{
    ActionsFixture f;
    f.view->show();
    f.pasteAndRecognize("ABC_Spot_:30_V1");
    EXPECT_TRUE(f.bar().applyRenameButton()->isHidden());

    const QString path = f.env.makeFile("abc_spot_30_v1.mov");
    f.store->setItems({FileItem::file(path)});
    ui::click(f.view->useLoadedButton());
    EXPECT_FALSE(f.bar().applyRenameButton()->isHidden());
    EXPECT_EQ(f.bar().applyRenameButton()->toolTip(),
              "Renames the real files on disk for every row loaded from Use Loaded Files.");
    const QString corrected = f.rows().first().corrected;
    ui::click(f.bar().applyRenameButton());
    EXPECT_TRUE(QFileInfo::exists(f.env.path(corrected + ".mov")));
    EXPECT_FALSE(QFileInfo::exists(path));
    EXPECT_EQ(f.rows().first().original, corrected + ".mov");
    ui::click(f.bar().applyRenameButton());
    EXPECT_EQ(f.store->status(), "No changes to apply.");

    f.clickCell(0, SmartRenameResultsModel::Email);
    ASSERT_TRUE(f.store->email().pendingEmailContexts);
    ASSERT_EQ(f.store->email().pendingEmailContexts->size(), 1);
    EXPECT_EQ(f.store->email().pendingEmailContexts->first().correctedName, corrected);
    EXPECT_EQ(f.store->prefs().activeTab, 4);
    EXPECT_EQ(f.view->resultsModel()->data(f.view->resultsModel()->index(0, SmartRenameResultsModel::Email),
                                           Qt::ToolTipRole),
              "Generate an email for just this file");
}

TEST(SmartRenameWalkthrough, PastedNamesTaughtSplitCustomLayoutVariantAndFilesRenamedAsShown)
{
    ActionsFixture f;
    f.view->show();
    QStringList pasted;
    for (int i = 1; i <= 10; ++i)
        pasted << QStringLiteral("abc_zorblax_trailer_30_v%1.mov").arg(i);
    f.pasteAndRecognize(pasted.join('\n'));
    ASSERT_EQ(f.rows().size(), 10);

    ui::click(f.bar().teachButton());
    TeachWordPopup& teach = *f.view->teachPopup();
    ui::typeText(teach.wordField(), "zorblax");
    ui::typeText(teach.splitField(), "Zor Blax");
    ui::click(teach.saveButton());
    teach.hide();
    EXPECT_TRUE(f.rows().first().corrected.contains("ZorBlax"));

    f.view->findChild<SmartRenameStylePicker*>()->selectStyle(SmartRenameStyle::custom);
    f.view->customRulesGroup()->setExpanded(true);
    QLineEdit* separator = f.view->namingEditor()->separatorField();
    separator->selectAll();
    ui::typeText(separator, "-");

    QList<FileItem> items;
    for (const char* name : {"abc_zorblax_trailer_30_v1.mov", "abc_zorblax_teaser_15_v2.mov", "xyz_promo_60_v3.MOV"})
        items << FileItem::file(f.env.makeFile(QStringLiteral("work/") + name));
    f.store->setItems(items);
    ui::click(f.view->useLoadedButton());
    ASSERT_EQ(f.rows().size(), 3);
    EXPECT_TRUE(f.rows().first().corrected.contains("-ZorBlax-"));

    f.suffixRule("-Web");
    f.dialogs.promptAnswers.push_back(QString("Web"));
    ui::click(f.variants().saveButton());
    ASSERT_EQ(f.variants().rows().size(), 1);
    ui::click(f.variants().rows().first().apply);
    QStringList shown;
    for (const SmartRenameRow& row : f.rows())
        shown << row.corrected + "." + row.sourceItem->ext;
    EXPECT_TRUE(shown.first().endsWith("-Web.mov"));

    ui::click(f.bar().applyRenameButton());
    QStringList onDisk = QDir(f.env.path("work")).entryList(QDir::Files);
    onDisk.sort();
    shown.sort();
    EXPECT_EQ(onDisk, shown);
    EXPECT_EQ(f.store->status(), "Renamed 3.");
}

TEST(SmartRenameScreenshot, WholeTabInBothLanguages)
{
    const QString dir = qEnvironmentVariable("BRINDLECOVE_SCREENSHOTS");
    if (dir.isEmpty())
        GTEST_SKIP() << "set BRINDLECOVE_SCREENSHOTS to a folder to write the pictures";
    useInstalledIconTheme();
    ActionsFixture f;
    f.suffixRule("_Web");
    f.store->setSmartVariants({{QUuid::createUuid(), "Web", f.store->presets().current()}});
    f.store->smartEditors().teachWord("zorblax", "Zor Blax");
    f.store->setItems({FileItem::file(f.env.makeFile("abc_zorblax_trailer_30_v2.mov"))});
    f.view = std::make_unique<SmartRenameView>(*f.store, f.dialogs);
    f.view->findChild<SmartRenameStylePicker*>()->selectStyle(SmartRenameStyle::custom);
    f.view->customRulesGroup()->setExpanded(true);
    f.view->variantsGroup()->setExpanded(true);
    f.pasteAndRecognize("ABC_HolidayPromo_:30_V2.mov\nXYZ Brand Anthem 60 final\n\"Summer Sale\" :15 V.3");
    ui::click(f.view->useLoadedButton());
    f.store->variants().applyRules("Web", f.store->smart().smartVariants.first().rules, f.rows().first().id);
    f.view->resize(1100, 1500);
    f.view->show();
    QDir().mkpath(dir);
    for (const auto& [zh, name] : {std::pair{false, "en"}, std::pair{true, "zh"}}) {
        f.store->setLangZh(zh);
        QTest::qWait(50);
        EXPECT_TRUE(f.view->grab().save(QDir(dir).filePath(QStringLiteral("smart_tab_%1.png").arg(name))));
        f.view->openTeachWordSplit();
        QTest::qWait(50);
        EXPECT_TRUE(
            f.view->teachPopup()->grab().save(QDir(dir).filePath(QStringLiteral("smart_teach_%1.png").arg(name))));
        f.view->teachPopup()->hide();
    }
}

}  // namespace
