// Writes pictures of the panel for a person to look at when BRINDLECOVE_SCREENSHOTS names a
// folder; otherwise it is skipped.
#include "batch/rules/regex_help_view.h"
#include "batch/rules/rules_form.h"
#include "common/dialogs.h"
#include "model/presets.h"
#include "test_support.h"

#include <QScrollArea>
#include <gtest/gtest.h>

namespace {
// Nothing is asked while the pictures are taken.
struct NoDialogs : Dialogs {
    OpenResult openPanel(const OpenPanel&) override { return {}; }
    std::optional<QString> savePanel(const SavePanel&) override { return std::nullopt; }
    AlertResult alert(const Alert&) override { return {}; }
    std::optional<QString> promptText(const TextPrompt&) override { return std::nullopt; }
};
}  // namespace

TEST(RulesFormScreenshot, BothLanguagesWithSeveralRulesOn)
{
    const QString dir = qEnvironmentVariable("BRINDLECOVE_SCREENSHOTS");
    if (dir.isEmpty())
        GTEST_SKIP() << "set BRINDLECOVE_SCREENSHOTS to a folder to write the pictures";
    TestEnv env;
    auto store = env.makeStore();
    store->setItems({FileItem::file(env.makeFile("A001_C002_20240315.mov"))});
    store->editItems([](QList<FileItem>& list) { list[0].aiName = QString("Rooftop chase"); });
    store->editSections([](NameSections& s) { s.useAIName = true; });
    store->presets().save("Dailies");
    store->presets().save("Selects");
    store->editRules([](RuleSettings& r) {
        r.findEnabled = true;
        r.find = "(\\d{4})(\\d{2})(\\d{2})";
        r.replace = "$1-$2-$3";
        r.useRegex = true;
        r.caseMode = CaseMode::upper;
        r.prefixEnabled = true;
        r.prefixText = "PRJ_";
        r.numberEnabled = true;
        r.numPos = NumberPosition::custom;
        r.dateEnabled = true;
    });
    store->editSections([](NameSections& s) {
        s.templateEnabled = true;
        s.templateText = "%name_%scene";
        s.smartRenameEnabled = true;
        s.extEnabled = true;
        s.extText = "mp4";
    });
    NoDialogs dialogs;
    for (bool zh : {false, true}) {
        store->setLangZh(zh);
        QScrollArea scroll;
        auto* form = new RulesForm(*store, dialogs);
        form->setAIServices({[] { return AIName::Availability::available; }, {}});
        scroll.setWidget(form);
        scroll.setWidgetResizable(true);
        scroll.resize(560, 900);
        scroll.show();
        form->adjustSize();
        form->resize(540, form->sizeHint().height());
        ASSERT_TRUE(form->grab().save(dir + (zh ? "/rules_zh.png" : "/rules_en.png")));
        RegexHelpView help;
        help.adjustSize();
        ASSERT_TRUE(help.grab().save(dir + (zh ? "/regex_help_zh.png" : "/regex_help_en.png")));
    }
    store->setLangZh(false);
}
