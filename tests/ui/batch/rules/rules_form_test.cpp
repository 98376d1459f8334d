#include "ai/ai_name.h"
#include "ai/ai_naming_runner.h"
#include "batch/rules/regex_help_view.h"
#include "batch/rules/rule_card.h"
#include "batch/rules/rules_form.h"
#include "common/ai_server_dialog.h"
#include "common/first_frame.h"
#include "common/section_box.h"
#include "fake_model_server.h"
#include "files/renamer.h"
#include "model/file_dates.h"
#include "model/name_preview.h"
#include "model/preset_bundle.h"
#include "model/presets.h"
#include "platform/settings.h"
#include "smartrename/smart_rename_style_picker.h"
#include "test_support.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

class RulesFormTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        store = env.makeStore();
        form = std::make_unique<RulesForm>(*store, dialogs);
        form->resize(520, 1400);
        form->show();
    }
    void TearDown() override
    {
        form.reset();
        store->setLangZh(false);
    }

    void addFiles(const QStringList& names)
    {
        QList<FileItem> items;
        for (const QString& n : names)
            items.append(FileItem::file(env.makeFile(n)));
        store->setItems(items);
    }
    // The preview of the first listed file.
    QString preview(int index = 0) const { return store->preview().newName(store->items().at(index), index, {}); }

    QLineEdit* field(const QString& placeholder) const
    {
        for (QLineEdit* e : form->findChildren<QLineEdit*>())
            if (e->placeholderText() == placeholder)
                return e;
        ADD_FAILURE() << "no field " << placeholder.toStdString();
        return nullptr;
    }
    // A check box reacts to clicks on its indicator and text, not on the rest of a stretched row.
    static void tick(QCheckBox* box) { QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2)); }
    QCheckBox* toggle(const QString& text) const
    {
        QCheckBox* box = ui::findByText<QCheckBox>(form.get(), text);
        EXPECT_NE(box, nullptr) << text.toStdString();
        return box;
    }
    void type(const QString& placeholder, const QString& text)
    {
        QLineEdit* e = field(placeholder);
        e->setFocus();
        ui::typeText(e, text);
    }
    // The picker of a card showing the given raw value among its items.
    QComboBox* picker(BatchRuleKind kind, const QString& itemRaw) const
    {
        for (QComboBox* c : form->card(kind)->findChildren<QComboBox*>())
            if (c->findData(itemRaw) >= 0)
                return c;
        ADD_FAILURE() << "no picker with " << itemRaw.toStdString();
        return nullptr;
    }
    static void choose(QComboBox* combo, const QString& raw)
    {
        const int i = combo->findData(raw);
        ASSERT_GE(i, 0);
        combo->setCurrentIndex(i);
        emit combo->activated(i);
    }
    static QStringList items(QComboBox* c)
    {
        QStringList out;
        for (int i = 0; i < c->count(); ++i)
            out << c->itemData(i).toString();
        return out;
    }
    QSpinBox* spin(const QString& prefix) const
    {
        for (QSpinBox* s : form->findChildren<QSpinBox*>())
            if (s->prefix() == prefix)
                return s;
        ADD_FAILURE() << "no stepper " << prefix.toStdString();
        return nullptr;
    }
    QStringList order() const
    {
        QStringList out;
        for (BatchRuleKind k : store->rules().batchRuleOrder)
            out << rawValue(k);
        return out;
    }

    TestEnv env;
    std::unique_ptr<Store> store;
    FakeDialogs dialogs;
    std::unique_ptr<RulesForm> form;
};

TEST_F(RulesFormTest, TextEditorsWriteTheStoreAndThePreviewFollowsAtOnce)
{
    addFiles({"A001_Take 01.mov"});
    struct Case {
        const char* toggle;
        QList<QPair<QString, QString>> typed;  // placeholder, text
        const char* expected;
    };
    const QList<Case> cases = {
        {"Find && Replace", {{"find", "Take"}, {"replace", "T"}}, "A001_T 01.mov"},
        {"Delete before", {{"marker — everything before it is removed", "_"}}, "_Take 01.mov"},
        {"Delete after", {{"marker — everything after it is removed", "_"}}, "A001_.mov"},
        {"Remove text", {{"string to remove (all occurrences)", "0"}}, "A1_Take 1.mov"},
        {"Add prefix", {{"prefix", "X_"}}, "X_A001_Take 01.mov"},
        {"Add suffix", {{"suffix (before extension)", "_v2"}}, "A001_Take 01_v2.mov"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.toggle);
        store->editRules([](RuleSettings& r) {
            RuleSettings fresh;
            fresh.batchRuleOrder = r.batchRuleOrder;
            r = fresh;
        });
        QCheckBox* on = toggle(c.toggle);
        tick(on);
        EXPECT_TRUE(on->isChecked());
        for (const auto& [placeholder, text] : c.typed)
            type(placeholder, text);
        EXPECT_EQ(preview(), c.expected);
        tick(on);  // off again: the text stays, the name goes back
        EXPECT_EQ(preview(), "A001_Take 01.mov");
    }
}

TEST_F(RulesFormTest, SwitchingARuleOffHidesItsEditorAndKeepsItsText)
{
    QCheckBox* on = toggle("Add prefix");
    tick(on);
    type("prefix", "Day1_");
    QLineEdit* edit = field("prefix");
    EXPECT_TRUE(edit->isVisible());
    tick(on);
    EXPECT_FALSE(store->rules().prefixEnabled);
    EXPECT_FALSE(edit->isVisible());
    EXPECT_EQ(store->rules().prefixText, "Day1_");
    tick(on);
    EXPECT_TRUE(edit->isVisible());
    EXPECT_EQ(edit->text(), "Day1_");
}

TEST_F(RulesFormTest, IncludeTogglesRegexAndPickersFollowTheStore)
{
    addFiles({"clip 20240315 take.mov"});
    tick(toggle("Find && Replace"));
    tick(toggle("Regular expression"));
    type("find", "(\\d{4})(\\d{2})(\\d{2})");
    type("replace", "$1-$2-$3");
    EXPECT_TRUE(store->rules().useRegex);
    EXPECT_EQ(preview(), "clip 2024-03-15 take.mov");

    choose(picker(BatchRuleKind::caseRule, "upper"), "upper");
    EXPECT_EQ(store->rules().caseMode, CaseMode::upper);
    choose(picker(BatchRuleKind::whitespace, "underscore"), "underscore");
    EXPECT_EQ(preview(), "CLIP_2024-03-15_TAKE.mov");
    choose(picker(BatchRuleKind::caseRule, "upper"), "none");
    choose(picker(BatchRuleKind::whitespace, "underscore"), "none");
    EXPECT_EQ(preview(), "clip 2024-03-15 take.mov");
    EXPECT_TRUE(form->card(BatchRuleKind::caseRule)->isVisible());

    tick(toggle("Delete before"));
    type("marker — everything before it is removed", " ");
    tick(ui::findByText<QCheckBox>(form->card(BatchRuleKind::deleteBefore), "Also delete the marker itself"));
    EXPECT_TRUE(store->rules().delBeforeIncl);
    EXPECT_EQ(preview(), "2024-03-15 take.mov");

    // The Store changed elsewhere (a preset): the controls follow.
    store->editRules([](RuleSettings& r) {
        r.caseMode = CaseMode::lower;
        r.find = "x";
    });
    EXPECT_EQ(picker(BatchRuleKind::caseRule, "upper")->currentData().toString(), "lower");
    EXPECT_EQ(field("find")->text(), "x");
}

TEST_F(RulesFormTest, SteppersStopAtTheirBoundsAndPadFollowsTheNumberFormat)
{
    addFiles({"a.mov", "b.mov"});
    tick(toggle("Truncate"));
    tick(toggle("Sequential number"));
    struct Bound {
        const char* prefix;
        int lo, hi;
        int RuleSettings::*member;
    };
    for (const Bound& b :
         {Bound{"keep ", 1, 100, &RuleSettings::keepN}, Bound{"start ", 0, 100000, &RuleSettings::numStart},
          Bound{"pad ", 0, 8, &RuleSettings::numPad}}) {
        SCOPED_TRACE(b.prefix);
        QSpinBox* s = spin(b.prefix);
        s->setValue(b.hi + 5);
        EXPECT_EQ(store->rules().*b.member, b.hi);
        s->setValue(b.lo - 5);
        EXPECT_EQ(store->rules().*b.member, b.lo);
    }
    spin("pad ")->setValue(3);
    spin("start ")->setValue(7);
    EXPECT_EQ(preview(1), "b_008.mov");

    choose(picker(BatchRuleKind::sequentialNumber, "upper"), "upper");
    EXPECT_FALSE(spin("pad ")->isEnabled());
    EXPECT_EQ(store->rules().numPad, 3);
    choose(picker(BatchRuleKind::sequentialNumber, "upper"), "digit");
    EXPECT_TRUE(spin("pad ")->isEnabled());

    // The character stepper appears with the custom position only.
    QComboBox* numPos = picker(BatchRuleKind::sequentialNumber, "renumber");
    EXPECT_EQ(items(numPos), QStringList({"suffix", "prefix", "replace", "renumber", "custom"}));
    QSpinBox* at = spin("after char ");
    EXPECT_FALSE(at->isVisible());
    choose(numPos, "custom");
    EXPECT_TRUE(at->isVisible());
    at->setValue(500);
    EXPECT_EQ(store->rules().numCustomAt, 200);

    store->setLangZh(true);
    EXPECT_EQ(spin("保留 ")->suffix(), " 位");
    EXPECT_EQ(spin("第 ")->suffix(), " 字符后");
}

TEST_F(RulesFormTest, DateEditorOffersNoRenumberAndPresetsReplaceTheFormat)
{
    tick(toggle("Insert date"));
    QComboBox* pos = picker(BatchRuleKind::insertDate, "custom");
    EXPECT_EQ(items(pos), QStringList({"suffix", "prefix", "replace", "custom"}));

    auto* presets = form->findChild<QToolButton*>("dateFormatPresets");
    QAction* compact = ui::menuAction(presets->menu(), "yyyyMMdd_HHmmss");
    ASSERT_NE(compact, nullptr);
    compact->trigger();
    EXPECT_EQ(store->rules().dateFormat, "yyyyMMdd_HHmmss");
    EXPECT_EQ(field("yyyy-MM-dd")->text(), "yyyyMMdd_HHmmss");

    auto* extract = form->findChild<QPushButton*>("extractCaptureDates");
    auto* stamp = form->findChild<QPushButton*>("setFileDates");
    EXPECT_FALSE(extract->isEnabled());
    EXPECT_FALSE(stamp->isEnabled());
    addFiles({"a.jpg"});
    EXPECT_TRUE(extract->isEnabled());
    store->editActivity([](Activity& a) { a.dateBusy = true; });
    EXPECT_FALSE(extract->isEnabled());
    store->editActivity([](Activity& a) { a.dateBusy = false; });

    choose(picker(BatchRuleKind::insertDate, "modified"), "modified");
    EXPECT_FALSE(extract->isVisible());
}

TEST_F(RulesFormTest, CardsFollowTheOrderAndADropMovesTheDraggedCardToTheReceiversPlace)
{
    addFiles({"take.mov"});
    EXPECT_EQ(form->shownCardOrder(), store->rules().batchRuleOrder);
    store->editRules([](RuleSettings& r) {
        r.caseMode = CaseMode::upper;
        r.prefixEnabled = true;
        r.prefixText = "x";
    });
    EXPECT_EQ(preview(), "xTAKE.mov");

    // A real drop event on the case card carrying the prefix card's payload.
    QMimeData* mime = form->card(BatchRuleKind::prefix)->handle()->makeMimeData();
    EXPECT_EQ(mime->data("application/x-brindlecove-rule-card"), "prefix");
    EXPECT_FALSE(mime->hasText());  // never typed into a text field
    RuleCard* caseCard = form->card(BatchRuleKind::caseRule);
    QDragEnterEvent enter(caseCard->rect().center(), Qt::MoveAction, mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(caseCard, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(caseCard->rect().center()), Qt::MoveAction, mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(caseCard, &drop);
    delete mime;
    EXPECT_TRUE(drop.isAccepted());
    EXPECT_EQ(order(), QStringList({"findReplace", "deleteBefore", "deleteAfter", "remove", "prefix", "caseRule",
                                    "truncate", "whitespace", "suffix", "sequentialNumber", "insertDate"}));
    EXPECT_EQ(form->shownCardOrder(), store->rules().batchRuleOrder);
    EXPECT_EQ(preview(), "XTAKE.mov");
    // Saved for the next launch.
    EXPECT_EQ(env.settings->value("batchRuleOrder").toStringList(), order());
    auto restarted = env.makeStore();
    EXPECT_EQ(restarted->rules().batchRuleOrder, store->rules().batchRuleOrder);

    // First on last, last on first.
    EXPECT_TRUE(form->dropRule({"findReplace"}, BatchRuleKind::insertDate));
    EXPECT_EQ(order().last(), "findReplace");
    EXPECT_TRUE(form->dropRule({"findReplace", "junk"}, BatchRuleKind::deleteBefore));
    EXPECT_EQ(order().first(), "findReplace");
}

TEST_F(RulesFormTest, RefusedDropsChangeNothing)
{
    const QStringList before = order();
    EXPECT_FALSE(form->dropRule({}, BatchRuleKind::remove));
    EXPECT_FALSE(form->dropRule({"remove"}, BatchRuleKind::remove));
    EXPECT_FALSE(form->dropRule({"clip.mov"}, BatchRuleKind::remove));
    EXPECT_FALSE(form->dropRule({"clip.mov", "prefix"}, BatchRuleKind::remove));
    EXPECT_FALSE(form->dropRule({"FINDREPLACE"}, BatchRuleKind::remove));
    EXPECT_EQ(order(), before);
    EXPECT_FALSE(env.settings->value("batchRuleOrder").isValid());
}

TEST_F(RulesFormTest, OnlyKindsInTheOrderGetCards)
{
    store->setBatchRuleOrder({BatchRuleKind::suffix, BatchRuleKind::findReplace});
    EXPECT_EQ(form->shownCardOrder(), QList<BatchRuleKind>({BatchRuleKind::suffix, BatchRuleKind::findReplace}));
    EXPECT_TRUE(form->card(BatchRuleKind::suffix)->isVisible());
    EXPECT_FALSE(form->card(BatchRuleKind::prefix)->isVisible());
}

TEST_F(RulesFormTest, PresetsSaveLoadDeleteThroughTheMenuAndButtons)
{
    QMenu* menu = form->presetsMenu();
    EXPECT_EQ(ui::menuTexts(menu), QStringList({"Save Preset", "-", "Import Presets…", "Export Presets…"}));
    EXPECT_FALSE(ui::menuAction(menu, "Export Presets…")->isEnabled());
    EXPECT_FALSE(form->presetButtonRow()->isVisible());

    // A cancelled prompt saves nothing.
    store->setStatus("before");
    ui::menuAction(menu, "Save Preset")->trigger();
    ASSERT_EQ(dialogs.prompts.size(), 1);
    EXPECT_EQ(dialogs.prompts[0].title, "Save Preset");
    EXPECT_EQ(dialogs.prompts[0].message, "Name for this rule set:");
    EXPECT_EQ(store->status(), "before");
    EXPECT_TRUE(store->presetNames().isEmpty());

    store->editRules([](RuleSettings& r) {
        r.prefixEnabled = true;
        r.prefixText = "D1_";
    });
    dialogs.promptAnswers.push_back(QString("Dailies/Selects"));
    ui::menuAction(menu, "Save Preset")->trigger();
    EXPECT_EQ(store->status(), "Preset saved: Dailies_Selects");
    EXPECT_TRUE(QFile::exists(store->presets().folder() + "/Dailies_Selects.gui.json"));
    EXPECT_EQ(ui::menuTexts(menu), QStringList({"Save Preset", "-", "Dailies_Selects", "-", "Delete", "-",
                                                "Import Presets…", "Export Presets…"}));
    EXPECT_TRUE(form->presetButtonRow()->isVisible());

    // The button applies the rule set.
    store->editRules([](RuleSettings& r) {
        r.prefixEnabled = false;
        r.prefixText.clear();
    });
    QPushButton* button = ui::findByText<QPushButton>(form->presetButtonRow(), "Dailies_Selects");
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->toolTip(), "Apply preset “Dailies_Selects”");
    ui::click(button);
    EXPECT_EQ(store->rules().prefixText, "D1_");
    EXPECT_TRUE(field("prefix")->isVisible());
    EXPECT_EQ(store->status(), "Loaded preset: Dailies_Selects");

    QMenu* remove = ui::menuAction(menu, "Delete")->menu();
    ui::menuAction(remove, "Dailies_Selects")->trigger();
    EXPECT_EQ(store->status(), "Deleted preset: Dailies_Selects");
    EXPECT_FALSE(form->presetButtonRow()->isVisible());
    EXPECT_EQ(ui::menuTexts(menu).size(), 4);
}

TEST_F(RulesFormTest, AtMostSixPresetButtons)
{
    for (int i = 1; i <= 8; ++i)
        store->presets().save(QString("p%1").arg(i));
    const auto buttons = form->presetButtonRow()->findChildren<QPushButton*>();
    QStringList titles;
    for (QPushButton* b : buttons)
        if (!b->isHidden())
            titles << b->text();
    EXPECT_EQ(titles, QStringList({"p1", "p2", "p3", "p4", "p5", "p6"}));
    EXPECT_EQ(ui::menuTexts(form->presetsMenu()).size(), 8 + 7);
}

TEST_F(RulesFormTest, ExportAndImportGoThroughTheFilePanels)
{
    store->presets().save("Dailies");
    const QString bundle = env.path("out/Brindlecove Presets.json");
    QDir().mkpath(env.path("out"));
    // Cancelled: nothing written.
    ui::menuAction(form->presetsMenu(), "Export Presets…")->trigger();
    ASSERT_EQ(dialogs.saves.size(), 1);
    EXPECT_EQ(dialogs.saves[0].fileName, "Brindlecove Presets.json");
    EXPECT_TRUE(dialogs.saves[0].nameFilters.join(' ').contains("*.json"));
    EXPECT_FALSE(QFile::exists(bundle));

    dialogs.saveAnswers.push_back(bundle);
    ui::menuAction(form->presetsMenu(), "Export Presets…")->trigger();
    EXPECT_EQ(store->status(), "Exported 1 preset(s).");
    QFile f(bundle);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(QJsonDocument::fromJson(f.readAll()).object().value("format").toString(), "BrindlecovePresets");

    dialogs.answerOpen({bundle});
    ui::menuAction(form->presetsMenu(), "Import Presets…")->trigger();
    EXPECT_FALSE(dialogs.opens.last().multiple);
    EXPECT_EQ(store->status(), "Imported 1 preset(s).");
    EXPECT_EQ(store->presetNames(), QStringList({"Dailies", "Dailies (imported)"}));

    // Not a preset file: the fixed message, nothing added.
    store->setLangZh(true);
    dialogs.answerOpen({env.makeFile("notes.json", "hello")});
    ui::menuAction(form->presetsMenu(), "导入预设…")->trigger();
    EXPECT_EQ(store->status(), "这不是 Brindlecove 预设文件。");
    EXPECT_EQ(store->presetNames().size(), 2);

    // A failed export reports the reason.
    dialogs.saveAnswers.push_back(env.path("missing/folder/x.json"));
    ui::menuAction(form->presetsMenu(), "导出预设…")->trigger();
    EXPECT_TRUE(store->status().startsWith("导出失败:")) << store->status().toStdString();
}

TEST_F(RulesFormTest, AnImportThatFailsSaysWhyAndWhatWasImported)
{
    PresetBundle bundle;
    for (const QString& name : {QString("A"), QString(300, u'B'), QString("C")})  // the long name cannot be written
        bundle.presets.insert(name, GUIPreset());
    const QString stopped = env.makeFile("in/bundle.json", bundle.encode());
    const struct {
        bool zh;
        QString file;
        QString statusStart;
    } cases[] = {
        {false, stopped, "Imported 1 of 3 preset(s); the others could not be saved: "},
        {true, stopped, "已导入 3 个预设中的 1 个;其余的无法保存:"},
        {false, env.path("in/missing.json"), "Couldn't read the preset file: "},
        {true, env.path("in/missing.json"), "无法读取预设文件:"},
    };
    for (const auto& c : cases) {
        store->setLangZh(c.zh);
        dialogs.answerOpen({c.file});
        ui::menuAction(form->presetsMenu(), c.zh ? "导入预设…" : "Import Presets…")->trigger();
        EXPECT_TRUE(store->status().startsWith(c.statusStart)) << store->status().toStdString();
        EXPECT_GT(store->status().size(), c.statusStart.size()) << "the reason is given";
    }
}

TEST_F(RulesFormTest, ShowingThePanelRefreshesThePresetNames)
{
    form->hide();
    QDir().mkpath(store->presets().folder());
    QFile f(store->presets().folder() + "/Night.gui.json");
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QJsonDocument(store->presets().current().toJson()).toJson());
    f.close();
    EXPECT_TRUE(store->presetNames().isEmpty());
    form->show();
    EXPECT_EQ(store->presetNames(), QStringList({"Night"}));
}

TEST_F(RulesFormTest, TemplateWarningListsTokensTheFirstFileCannotResolve)
{
    auto* warning = form->findChild<QWidget*>("templateWarning");
    tick(toggle("Name from template"));
    type("%scene_%shot_%take", "");  // focus only
    store->editSections([](NameSections& s) { s.templateText = "%name_%xyz_%clip name_%Scene"; });
    EXPECT_FALSE(warning->isVisible()) << "no files, no warning";

    addFiles({"A001.mov", "B002.mov"});
    EXPECT_EQ(form->unrecognizedTemplateTokens(), QStringList({"%xyz", "%Scene"}));
    ASSERT_TRUE(warning->isVisible());
    auto texts = [&] {
        QStringList out;
        for (QLabel* l : warning->findChildren<QLabel*>())
            out << l->text();
        return out.join("");
    };
    EXPECT_EQ(texts(), "Unrecognized: %xyz, %Scene (checked against the first file) — left as literal text.");
    EXPECT_EQ(preview(), "A001_%xyz__%Scene.mov");
    store->setLangZh(true);
    EXPECT_EQ(texts(), "无法识别:%xyz、%Scene(按第一个文件检查)—— 会按原文字显示。");

    // Only recognised tokens: no warning; section off: no warning.
    store->editSections([](NameSections& s) { s.templateText = "%name-%n"; });
    EXPECT_FALSE(warning->isVisible());
    EXPECT_EQ(preview(1), "B002-2.mov");
    store->editSections([](NameSections& s) {
        s.templateText = "%xyz";
        s.templateEnabled = false;
    });
    EXPECT_FALSE(warning->isVisible());
}

TEST_F(RulesFormTest, SectionsBindTheirFlagsAndKeepTheirTextWhileOff)
{
    addFiles({"clip.MOV"});
    tick(toggle("Change extension"));
    type("new extension, no dot", " .mp4");
    EXPECT_EQ(store->sections().extText, " .mp4");
    EXPECT_EQ(preview(), "clip.mp4");
    tick(toggle("Change extension"));
    EXPECT_FALSE(store->sections().extEnabled);
    EXPECT_EQ(field("new extension, no dot")->text(), " .mp4");
    EXPECT_EQ(preview(), "clip.MOV");

    tick(toggle("Smart Rename (deliverable naming)"));
    EXPECT_TRUE(store->sections().smartRenameEnabled);
    auto* picker = form->findChild<SmartRenameStylePicker*>();
    ASSERT_NE(picker, nullptr);
    EXPECT_TRUE(picker->isEnabled());
}

TEST_F(RulesFormTest, RegexHelpOpensFromTheEditorAndClosesOnReturn)
{
    tick(toggle("Find && Replace"));
    auto* help = form->findChild<QToolButton*>("regexHelpButton");
    EXPECT_EQ(help->toolTip(), "Regex help & examples");
    ui::click(help);
    QDialog* sheet = form->regexHelp();
    ASSERT_NE(sheet, nullptr);
    EXPECT_TRUE(sheet->isVisible());
    QStringList pairs;
    for (QLabel* l : sheet->findChildren<QLabel*>("examplePair"))
        pairs << l->text();
    EXPECT_EQ(pairs, QStringList({"(\\d{4})(\\d{2})(\\d{2})  →  $1-$2-$3", "(\\w+)_(\\w+)  →  $2_$1",
                                  "\\d+  →  (empty)", ".*-  →  (empty)", "\\s+  →  _"}));
    const GUIPreset before = store->presets().current();
    QTest::keyClick(sheet, Qt::Key_Return);
    QCoreApplication::processEvents();
    EXPECT_TRUE(form->regexHelp() == nullptr || !form->regexHelp()->isVisible());
    EXPECT_EQ(store->presets().current().toJson(), before.toJson());
}

// Every example the help sheet shows does what it says in the engine.
TEST_F(RulesFormTest, RegexHelpExamplesWorkInTheEngine)
{
    const QList<RegexHelpView::Example> examples = RegexHelpView::makeExamples();
    const QList<QPair<QString, QString>> expected = {
        {"clip_20240315.mov", "clip_2024-03-15.mov"},
        {"Scene_Take.mov", "Take_Scene.mov"},
        {"A001C002.mov", "AC.mov"},
        {"proj-reel-shot.mov", "shot.mov"},
        {"my  clip \tname.mov", "my_clip_name.mov"},
    };
    ASSERT_EQ(examples.size(), expected.size());
    for (int i = 0; i < examples.size(); ++i) {
        SCOPED_TRACE(examples[i].description.toStdString());
        addFiles({expected[i].first});
        store->editRules([&](RuleSettings& r) {
            r.findEnabled = true;
            r.useRegex = true;
            r.find = examples[i].find;
            r.replace = examples[i].replace;
        });
        EXPECT_EQ(preview(), expected[i].second);
    }
    // The token table's own example.
    EXPECT_EQ(RegexHelpView::makeTokens().size(), 12);
}

TEST_F(RulesFormTest, StylePickerSelectsAndReordersStyles)
{
    auto* picker = form->findChild<SmartRenameStylePicker*>();
    store->preview().smartFixCache().insert("x", "y");
    picker->selectStyle(SmartRenameStyle::finishing);  // already current: the memo still goes
    EXPECT_TRUE(store->preview().smartFixCache().isEmpty());

    StyleChip* posting = picker->chips().at(1);
    EXPECT_EQ(posting->text(), "POSTING");
    QTest::mouseClick(posting, Qt::LeftButton);
    EXPECT_EQ(store->sections().smartRenameStyle, SmartRenameStyle::posting);
    EXPECT_TRUE(picker->chips().at(1)->property("selected").toBool());

    auto styles = [&] {
        QStringList out;
        for (SmartRenameStyle s : store->smart().smartRenameStyleOrder)
            out << rawValue(s);
        return out;
    };
    EXPECT_TRUE(picker->moveStyle({"FINISHING"}, SmartRenameStyle::email));
    EXPECT_EQ(styles(), QStringList({"POSTING", "EMAIL", "FINISHING", "CUSTOM"}));
    EXPECT_TRUE(picker->moveStyle({"CUSTOM"}, SmartRenameStyle::email));
    EXPECT_EQ(styles(), QStringList({"POSTING", "CUSTOM", "EMAIL", "FINISHING"}));
    EXPECT_EQ(env.settings->value("smartRenameStyleOrder").toStringList(), styles());
    QCoreApplication::processEvents();
    QStringList chipTexts;
    for (StyleChip* c : picker->chips())
        chipTexts << c->text();
    EXPECT_EQ(chipTexts, styles());

    for (const QStringList& refused : {QStringList{}, QStringList{"EMAIL"}, QStringList{"finishing"}})
        EXPECT_FALSE(picker->moveStyle(refused, SmartRenameStyle::email));
    EXPECT_EQ(styles(), QStringList({"POSTING", "CUSTOM", "EMAIL", "FINISHING"}));
    EXPECT_EQ(store->sections().smartRenameStyle, SmartRenameStyle::posting);
}

TEST_F(RulesFormTest, AISectionSaysTheModelIsUnavailableAndFollowsARun)
{
    auto* message = form->findChild<QLabel*>("aiUnavailable");
    EXPECT_TRUE(message->isVisible());
    EXPECT_EQ(message->text(), "AI is currently unavailable.");
    store->setLangZh(true);
    EXPECT_EQ(message->text(), "AI 当前不可用。");
    EXPECT_EQ(toggle("按模板命名")->text(), "按模板命名");

    auto* progress = form->findChild<QWidget*>("aiProgressGroup");
    EXPECT_FALSE(progress->isVisible());
    store->editActivity([](Activity& a) {
        a.aiBusy = true;
        a.aiProgress = "3/10";
    });
    EXPECT_TRUE(progress->isVisible());
    EXPECT_NE(ui::findByText<QLabel>(progress, "3/10"), nullptr);
    ui::click(ui::findByText<QPushButton>(progress, "停止"));
    EXPECT_TRUE(store->activity().aiStopRequested);
}

TEST_F(RulesFormTest, AISectionShowsItsControlsOnlyWhileTheModelCanAnswer)
{
    AIName::Availability state = AIName::Availability::available;
    int runs = 0;
    form->setAIServices({[&] { return state; }, [&] { ++runs; }});
    auto* controls = form->findChild<QWidget*>("aiControls");
    EXPECT_TRUE(controls->isVisible());
    EXPECT_FALSE(form->findChild<QLabel*>("aiUnavailable")->isVisible());

    auto* suggest = form->findChild<QPushButton*>("aiSuggestAll");
    EXPECT_EQ(suggest->text(), "Suggest names for all");
    EXPECT_FALSE(suggest->isEnabled());  // no files
    addFiles({"a.txt", "b.txt"});
    ASSERT_TRUE(suggest->isEnabled());
    ui::click(suggest);
    EXPECT_EQ(runs, 1);
    store->editActivity([](Activity& a) { a.aiBusy = true; });
    EXPECT_FALSE(suggest->isEnabled());
    store->editActivity([](Activity& a) { a.aiBusy = false; });

    QComboBox* lang = nullptr;
    for (QComboBox* c : controls->findChildren<QComboBox*>())
        lang = c;
    ASSERT_NE(lang, nullptr);
    QStringList expected;
    for (NameLang l : allCases<NameLang>())
        expected << rawValue(l);
    EXPECT_EQ(items(lang), expected);
    EXPECT_EQ(lang->width(), 170);
    choose(lang, rawValue(NameLang::japanese));
    EXPECT_EQ(store->sections().aiLang, NameLang::japanese);

    // The check row needs "Use AI names" on and at least one named file.
    auto* checkRow = form->findChild<QWidget*>("aiCheckRows");
    store->editItems([](QList<FileItem>& list) { list[0].aiName = QString("Invoice March"); });
    EXPECT_FALSE(checkRow->isVisible());
    tick(toggle("Use AI names"));
    EXPECT_TRUE(store->sections().useAIName);
    EXPECT_TRUE(checkRow->isVisible());
    ui::click(ui::findByText<QPushButton>(checkRow, "None"));
    EXPECT_FALSE(store->items()[0].useAI);
    EXPECT_TRUE(store->items()[1].useAI);  // no AI name: untouched
    EXPECT_EQ(store->items()[0].aiName, QString("Invoice March"));
    ui::click(ui::findByText<QPushButton>(checkRow, "All"));
    EXPECT_TRUE(store->items()[0].useAI);
    store->editItems([](QList<FileItem>& list) { list[0].aiName.reset(); });
    EXPECT_FALSE(checkRow->isVisible());

    store->setLangZh(true);
    EXPECT_EQ(suggest->text(), "为全部生成名称");
    EXPECT_NE(ui::findByText<QCheckBox>(controls, "使用 AI 名称"), nullptr);
    EXPECT_NE(ui::findByText<QLabel>(controls, "命名语言"), nullptr);
    EXPECT_NE(ui::findByText<QLabel>(controls, "在本机根据每个文件内容生成(文本与 PDF)。下方规则仍会叠加。"), nullptr);
    store->editItems([](QList<FileItem>& list) { list[0].aiName = QString("Invoice March"); });
    EXPECT_NE(ui::findByText<QLabel>(checkRow, "勾选要应用的文件:"), nullptr);
    EXPECT_NE(ui::findByText<QPushButton>(checkRow, "全不选"), nullptr);

    state = AIName::Availability::notReady;
    store->setLangZh(false);
    EXPECT_FALSE(controls->isVisible());
    EXPECT_EQ(form->findChild<QLabel*>("aiUnavailable")->text(), "AI model is still downloading. Try again later.");
}

TEST_F(RulesFormTest, ChineseLabelsReplaceTheEnglishOnes)
{
    store->setLangZh(true);
    EXPECT_NE(ui::findByText<QCheckBox>(form.get(), "查找替换"), nullptr);
    tick(toggle("查找替换"));
    EXPECT_NE(field("查找"), nullptr);
    EXPECT_NE(field("替换为"), nullptr);
    EXPECT_EQ(ui::menuTexts(form->presetsMenu()).first(), "保存预设");
    EXPECT_EQ(form->card(BatchRuleKind::remove)->handle()->toolTip(), "拖动以调整顺序");
    EXPECT_EQ(picker(BatchRuleKind::sequentialNumber, "upper")->itemText(0), "1, 2, 3");
}

}  // namespace

TEST_F(RulesFormTest, AIServerSettingsAskBeforeFileContentsLeaveTheComputer)
{
    auto* link = form->findChild<QPushButton*>("aiServerSettings");
    ASSERT_TRUE(link->isVisible());
    EXPECT_EQ(link->text(), "AI Server Settings…");
    ui::click(link);
    auto* dialog = form->findChild<AIServerDialog*>();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->addressField()->text(), "http://127.0.0.1:8080");

    // Not a loopback address, yet one that never leaves this machine if a probe reaches it.
    dialog->addressField()->setText("http://0.0.0.0:9");
    dialogs.answerAlert(0);  // Cancel
    EXPECT_FALSE(dialog->commit());
    ASSERT_EQ(dialogs.alerts.size(), 1);
    EXPECT_EQ(dialogs.alerts[0].message, "Send file contents to another computer?");
    EXPECT_FALSE(env.settings->stringValue("aiServerAddress"));

    dialogs.answerAlert(1);  // Use This Address
    EXPECT_TRUE(dialog->commit());
    EXPECT_EQ(env.settings->stringValue("aiServerAddress"), "http://0.0.0.0:9");
    EXPECT_EQ(AIName::serverConfig().confirmedRemote, "http://0.0.0.0:9");

    dialog->addressField()->setText(" http://localhost:11434 ");
    dialog->modelField()->setText("llama3.2");
    EXPECT_TRUE(dialog->commit());
    EXPECT_EQ(dialogs.alerts.size(), 2);  // a local address is not asked about
    EXPECT_EQ(ModelServerConfig::load(*env.settings).model, "llama3.2");
    EXPECT_EQ(AIName::serverConfig().address, "http://localhost:11434");
}

TEST_F(RulesFormTest, SuggestNamesForAllNamesTheFilesAndTheNamesCanBeApplied)
{
    FakeModelServer server(FakeModelServer::answering([](const FakeRequest& r) {
        const QString prompt = QJsonDocument::fromJson(r.body)["messages"][1]["content"].toString();
        return "\"" + prompt.section('\n', 1).trimmed() + " Notes\"";
    }));
    ModelServerConfig config;
    config.address = server.address();
    AIName::setServerConfig(config);
    const auto available = [] { return AIName::Availability::available; };
    store->aiRunner().setServices({available, {}, {}});
    form->setAIServices({available, {}});
    store->setItems(
        {FileItem::file(env.makeFile("a.txt", "Budget")), FileItem::file(env.makeFile("b.txt", "Casting"))});

    QEventLoop loop;
    QObject::connect(&store->aiRunner(), &AINamingRunner::finished, &loop, &QEventLoop::quit);
    QTimer::singleShot(20000, &loop, &QEventLoop::quit);
    ui::click(form->findChild<QPushButton*>("aiSuggestAll"));
    EXPECT_TRUE(form->findChild<QWidget*>("aiProgressGroup")->isVisible());
    loop.exec();
    EXPECT_EQ(store->status(), "AI named 2 file(s).");
    EXPECT_TRUE(form->findChild<QWidget*>("aiCheckRows")->isVisible());
    EXPECT_EQ(preview(0), "Budget Notes.txt");

    store->renamer().applyInScope({});
    EXPECT_TRUE(QFile::exists(env.path("Budget Notes.txt")));
    EXPECT_TRUE(QFile::exists(env.path("Casting Notes.txt")));
}

namespace {
// The application's start: editors of switched-off rules wait for the first frame, and are then
// built as they would have been at once, in the language and with the text of that moment.
TEST(RulesFormFirstFrame, SwitchedOffEditorsAreBuiltAfterTheFirstFrameAsTheyWouldBeAtOnce)
{
    TestEnv env;
    std::unique_ptr<Store> store = env.makeStore();
    FakeDialogs dialogs;
    store->editRules([](RuleSettings& r) { r.prefixText = "Day1_"; });
    FirstFrame::holdUntilPainted();
    RulesForm form(*store, dialogs);
    form.resize(520, 1400);
    form.show();
    const auto fields = [&form] { return form.findChildren<QLineEdit*>().size(); };
    EXPECT_EQ(fields(), 0);
    // Switched on before the frame: built at once.
    store->editRules([](RuleSettings& r) { r.suffixEnabled = true; });
    EXPECT_EQ(fields(), 1);

    store->setLangZh(true);
    store->editRules([](RuleSettings& r) { r.prefixText = "Day2_"; });
    FirstFrame::painted();
    QCoreApplication::processEvents();
    EXPECT_GT(fields(), 1);
    QLineEdit* prefix = nullptr;
    for (QLineEdit* e : form.card(BatchRuleKind::prefix)->findChildren<QLineEdit*>())
        prefix = e;
    ASSERT_NE(prefix, nullptr);
    EXPECT_EQ(prefix->text(), "Day2_");
    EXPECT_EQ(prefix->placeholderText(), "前缀");
    EXPECT_FALSE(prefix->isVisible());
    store->setLangZh(false);
    EXPECT_EQ(prefix->placeholderText(), "prefix");
}
}  // namespace
