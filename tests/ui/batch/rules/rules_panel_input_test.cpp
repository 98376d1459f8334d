// What passes over the rules panel must not change a rule: wheel turns, card drags, files.
#include "../../app/shell_fixture.h"
#include "batch/rules/rule_card.h"
#include "batch/rules/rules_form.h"
#include "model/presets.h"
#include "smartrename/smart_rename_style_picker.h"
#include "ui_events.h"

#include <QComboBox>
#include <QJsonDocument>
#include <QLineEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <gtest/gtest.h>

namespace {
struct RulesPanel : ShellFixture {
    RulesForm* form = nullptr;
    QScrollArea* area = nullptr;

    RulesPanel()
    {
        store->editRules([](RuleSettings& r) {
            r.findEnabled = r.delBeforeEnabled = r.delAfterEnabled = r.removeEnabled = r.truncEnabled = true;
            r.prefixEnabled = r.suffixEnabled = r.numberEnabled = r.dateEnabled = true;
        });
        store->editSections([](NameSections& s) { s.templateEnabled = s.smartRenameEnabled = s.extEnabled = true; });
        window->resize(1200, 760);
        showActive();
        form = window->findChild<RulesForm*>();
        area = window->findChild<QScrollArea*>("rulesArea");
    }
    QByteArray rules() const { return QJsonDocument(store->presets().current().toJson()).toJson(); }
    QLineEdit* findField() const { return form->card(BatchRuleKind::findReplace)->box()->findChild<QLineEdit*>(); }
};
}  // namespace

TEST(RulesPanelWheel, TurnsOverMenusAndSteppersScrollThePanelAndChangeNoRule)
{
    RulesPanel p;
    ASSERT_TRUE(p.form && p.area);
    QScrollBar* bar = p.area->verticalScrollBar();
    ASSERT_GT(bar->maximum(), 0);
    QList<QWidget*> controls;
    for (QComboBox* c : p.form->findChildren<QComboBox*>())
        controls << c;
    for (QSpinBox* s : p.form->findChildren<QSpinBox*>())
        controls << s;
    const QByteArray before = p.rules();
    int tried = 0;
    for (QWidget* c : controls) {
        if (!c->isVisible())
            continue;
        ++tried;
        bar->setValue(bar->maximum() / 2);
        for (int notches : {1, -1, -1})
            ui::wheel(c, notches);
        EXPECT_EQ(p.rules(), before) << c->metaObject()->className() << " " << c->objectName().toStdString();
        EXPECT_NE(bar->value(), bar->maximum() / 2) << "the panel did not scroll";
    }
    EXPECT_GE(tried, 8);

    // A control the user has clicked into still takes the wheel.
    QComboBox* caseMenu = p.form->card(BatchRuleKind::caseRule)->findChild<QComboBox*>();
    caseMenu->setFocus();
    ui::wheel(caseMenu, -1);
    EXPECT_NE(p.rules(), before);
}

TEST(RulesPanelDrops, FilesDroppedAnywhereInTheRulesColumnAreListed)
{
    RulesPanel p;
    QWidget* targets[] = {p.findField(), p.form->card(BatchRuleKind::prefix),
                          p.form->card(BatchRuleKind::prefix)->handle(),
                          p.form->card(BatchRuleKind::truncate)->findChild<QSpinBox*>(), p.form};
    int n = 0;
    for (QWidget* target : targets) {
        const QString file = p.env.makeFile(QStringLiteral("in/clip%1.mov").arg(++n));
        EXPECT_TRUE(ui::dropUrls(target, {QUrl::fromLocalFile(file)})) << target->metaObject()->className();
        (void)QTest::qWaitFor([&] { return p.store->items().size() == n; }, 2000);
        ASSERT_EQ(p.store->items().size(), n) << target->metaObject()->className();
        EXPECT_EQ(p.store->items().last().url, file);
    }
    EXPECT_EQ(p.findField()->text(), "");
    EXPECT_EQ(p.store->rules().find, "");
}

TEST(RulesPanelDrops, ACardDraggedOverATextFieldMovesTheCardAndTypesNothing)
{
    RulesPanel p;
    QLineEdit* find = p.findField();
    QMimeData* mime = p.form->card(BatchRuleKind::prefix)->handle()->makeMimeData();
    QDragEnterEvent enter(find->rect().center(), Qt::MoveAction, mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(find, &enter);
    EXPECT_TRUE(enter.isAccepted());  // by the card around the field
    QDropEvent drop(QPointF(find->rect().center()), Qt::MoveAction, mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(find, &drop);
    delete mime;
    EXPECT_EQ(find->text(), "");
    EXPECT_EQ(p.store->rules().find, "");
    EXPECT_EQ(p.store->rules().batchRuleOrder.first(), BatchRuleKind::prefix);
    EXPECT_TRUE(p.store->items().isEmpty());
}

TEST(RulesPanelDrops, CardsAndChipsTakeOnlyTheirOwnDrags)
{
    RulesPanel p;
    RuleCard* card = p.form->card(BatchRuleKind::caseRule);
    auto* picker = p.form->findChild<SmartRenameStylePicker*>();
    ASSERT_TRUE(picker);
    StyleChip* chip = picker->chips().last();
    QMimeData text;
    text.setText(QStringLiteral("prefix"));
    QMimeData chipDrag;
    chipDrag.setData("application/x-brindlecove-style-chip", rawValue(picker->chips().first()->style()).toUtf8());
    QMimeData* cardDrag = p.form->card(BatchRuleKind::prefix)->handle()->makeMimeData();
    const struct {
        QWidget* target;
        const QMimeData* mime;
        bool accepted;
    } cases[] = {
        {card, &text, false}, {card, &chipDrag, false}, {card, cardDrag, true},
        {chip, &text, false}, {chip, cardDrag, false},  {chip, &chipDrag, true},
    };
    for (const auto& c : cases) {
        QDragEnterEvent enter(c.target->rect().center(), Qt::MoveAction, c.mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(c.target, &enter);
        EXPECT_EQ(enter.isAccepted(), c.accepted)
            << c.target->metaObject()->className() << " " << c.mime->formats().join(',').toStdString();
    }
    delete cardDrag;
}

TEST(RulesPanelPresets, ANameIsTrimmedAndABlankNameSavesNothing)
{
    RulesPanel p;
    p.store->setLangZh(true);
    p.dialogs.promptAnswers.push_back(QString("  Trips  "));
    p.form->savePreset();
    EXPECT_EQ(p.store->presetNames(), QStringList{"Trips"});
    EXPECT_EQ(p.store->status(), "已保存预设:Trips");
    ASSERT_EQ(p.dialogs.prompts.size(), 1);
    EXPECT_EQ(p.dialogs.prompts[0].okText, "好");
    EXPECT_EQ(p.dialogs.prompts[0].cancelText, "取消");

    p.dialogs.promptAnswers.push_back(QString(" \t\n "));
    p.form->savePreset();
    EXPECT_EQ(p.store->presetNames(), QStringList{"Trips"});
    EXPECT_EQ(p.store->status(), "已保存预设:Trips");
}
