// Variants: saving the current Batch Rules, applying a rule set to the results, and what the
// applied rows carry for Apply Rename.
#include "model/presets.h"
#include "model/store.h"
#include "platform/settings.h"
#include "smartrename/smart_variants.h"
#include "test_support.h"

#include <QDate>
#include <gtest/gtest.h>

namespace {

class SmartVariantsTest : public ::testing::Test {
protected:
    void SetUp() override { store = env.makeStore(); }
    SmartVariants& variants() { return store->variants(); }
    const QList<SmartRenameRow>& rows() { return store->smart().smartRenameRows; }
    const QList<SmartVariant>& saved() { return store->smart().smartVariants; }
    std::optional<QList<SmartVariant>> stored()
    {
        const auto data = env.settings->dataValue("smartVariants");
        return data ? decodeSmartVariants(*data) : std::nullopt;
    }
    static SmartRenameRow row(const QString& corrected, std::optional<FileItem> item = std::nullopt)
    {
        SmartRenameRow r;
        r.id = QUuid::createUuid();
        r.corrected = corrected;
        r.sourceItem = std::move(item);
        return r;
    }
    static GUIPreset suffix(const QString& text)
    {
        GUIPreset p;
        p.suffixEnabled = true;
        p.suffixText = text;
        return p;
    }

    TestEnv env;
    std::unique_ptr<Store> store;
};

TEST_F(SmartVariantsTest, SavingNeedsASwitchedOnRuleAndAName)
{
    int asked = 0;
    const auto answer = [&](std::optional<QString> a) {
        return [&asked, a] {
            ++asked;
            return a;
        };
    };
    for (bool zh : {false, true}) {
        store->setLangZh(zh);
        variants().saveCurrentRulesAsVariant(answer(QString("Never")));
        EXPECT_EQ(store->status(), zh ? "Batch Rules 里没有开启任何规则 —— 先开启一些规则。"
                                      : "Batch Rules has nothing switched on — turn some rules on first.");
    }
    EXPECT_EQ(asked, 0);
    EXPECT_TRUE(saved().isEmpty());
    EXPECT_FALSE(stored());

    store->setLangZh(false);
    store->editRules([](RuleSettings& r) {
        r.suffixEnabled = true;
        r.suffixText = "_Web";
    });
    variants().saveCurrentRulesAsVariant(answer(std::nullopt));
    variants().saveCurrentRulesAsVariant(answer(QString("  \t")));
    EXPECT_TRUE(saved().isEmpty());
    variants().saveCurrentRulesAsVariant(answer(QString("  Web cut ")));
    EXPECT_EQ(asked, 3);
    ASSERT_EQ(saved().size(), 1);
    EXPECT_EQ(saved().first().name, "Web cut");
    EXPECT_EQ(saved().first().rules.suffixText, "_Web");
    EXPECT_EQ(store->status(), "Saved variant: Web cut");
    EXPECT_EQ(stored(), saved());

    // Update takes the current rules and keeps the name; delete removes it. Both are written.
    store->editRules([](RuleSettings& r) { r.suffixText = "_TV"; });
    variants().updateVariantFromCurrentRules(saved().first().id);
    EXPECT_EQ(saved().first().rules.suffixText, "_TV");
    EXPECT_EQ(saved().first().name, "Web cut");
    EXPECT_EQ(stored(), saved());
    variants().deleteVariant(saved().first().id);
    EXPECT_TRUE(saved().isEmpty());
    EXPECT_EQ(stored(), QList<SmartVariant>{});
}

TEST_F(SmartVariantsTest, ARenameIsWrittenWhenTheFieldFinishesEditing)
{
    store->setSmartVariants({{QUuid::createUuid(), "Old", suffix("_x")}});
    const QUuid id = saved().first().id;
    variants().renameVariant(id, "New", false);
    EXPECT_EQ(saved().first().name, "New");
    EXPECT_EQ(stored()->first().name, "Old");
    variants().renameVariant(id, "New", true);
    EXPECT_EQ(stored()->first().name, "New");
    EXPECT_EQ(env.makeStore()->smart().smartVariants.first().name, "New");
}

TEST_F(SmartVariantsTest, AVariantStartsFromTheRecognisedNameAndNumbersByListPosition)
{
    store->setSmartRenameRows({row("A_V1"), row("B_V1"), row("C_V1")});
    variants().applyRules("Web", suffix("_Web"));
    EXPECT_EQ(rows().at(1).corrected, "B_V1_Web");
    EXPECT_EQ(store->status(), "Applied “Web” to 3 name(s).");

    GUIPreset numbered;
    numbered.numberEnabled = true;
    numbered.numSep = "-";
    const QUuid second = rows().at(1).id;
    variants().applyRules("Num", numbered, second);
    EXPECT_EQ(rows().at(1).corrected, "B_V1-02");  // not B_V1_Web-…, and counted in the whole list
    EXPECT_EQ(rows().at(1).variantName, "Num");
    EXPECT_EQ(rows().at(0).corrected, "A_V1_Web");
    EXPECT_EQ(store->status(), "Applied “Num”.");
    store->setLangZh(true);
    variants().applyRules("Num", numbered, second);
    EXPECT_EQ(store->status(), "已套用「Num」。");
    variants().applyRules("Web", suffix("_Web"));
    EXPECT_EQ(store->status(), "已把「Web」套用到 3 个名字。");

    variants().resetToRecognized(second);
    EXPECT_EQ(rows().at(1).corrected, "B_V1");
    EXPECT_FALSE(rows().at(1).variantName);
    EXPECT_EQ(rows().at(2).corrected, "C_V1_Web");
}

TEST_F(SmartVariantsTest, AFileWithoutAReadableDateGetsTodayAndIsCounted)
{
    GUIPreset dated;
    dated.dateEnabled = true;
    dated.dateSource = "modified";
    dated.dateFormat = "yyyyMMdd";
    dated.datePos = "suffix";
    const QString today = QDate::currentDate().toString("yyyyMMdd");
    const FileItem present = FileItem::file(env.makeFile("Spot_V1.mov"));
    const FileItem gone = FileItem::file(env.path("Gone_V1.mov"));
    store->setSmartRenameRows({row("Spot_V1", present), row("Gone_V1", gone), row("Pasted_V1")});
    variants().applyRules("Dated", dated);
    EXPECT_EQ(rows().at(0).corrected, "Spot_V1_" + today);
    EXPECT_EQ(rows().at(1).corrected, "Gone_V1_" + today);
    EXPECT_EQ(rows().at(2).corrected, "Pasted_V1_" + today);
    EXPECT_EQ(store->status(), "Applied “Dated” to 3 name(s). 1 had no readable file date, so today's date was used.");
    store->setLangZh(true);
    variants().applyRules("Dated", dated);
    EXPECT_EQ(store->status(), "已把「Dated」套用到 3 个名字。 其中 1 个读不到文件日期,已改用今天的日期。");
}

TEST_F(SmartVariantsTest, AnExtensionRuleGivesRowsFromFilesAVariantExtension)
{
    const FileItem file = FileItem::file(env.makeFile("Spot_V1.mov"));
    const struct {
        std::optional<bool> extEnabled;
        std::optional<QString> extText;
        std::optional<QString> fileExt;  // what a row from a file gets; pasted rows never get one
    } cases[] = {
        {true, QString(" .mp4. "), QString("mp4")},
        {true, QString(""), QString("")},
        {true, std::nullopt, QString("")},
        {false, QString("mp4"), std::nullopt},
        {std::nullopt, QString("mp4"), std::nullopt},
    };
    for (const auto& c : cases) {
        GUIPreset p = suffix("_x");
        p.extEnabled = c.extEnabled;
        p.extText = c.extText;
        store->setSmartRenameRows({row("Spot_V1", file), row("Pasted_V1")});
        variants().applyRules("Ext", p);
        EXPECT_EQ(rows().at(0).variantExt, c.fileExt) << c.extText.value_or("-").toStdString();
        EXPECT_FALSE(rows().at(1).variantExt);
    }
}

TEST_F(SmartVariantsTest, SavedPresetsApplyAndCopyUnderTheirName)
{
    store->editRules([](RuleSettings& r) {
        r.prefixEnabled = true;
        r.prefixText = "TV_";
    });
    ASSERT_TRUE(store->presets().save("Broadcast"));
    store->setSmartRenameRows({row("Spot_V1")});
    variants().applySavedPreset("Broadcast");
    EXPECT_EQ(rows().first().corrected, "TV_Spot_V1");
    EXPECT_EQ(rows().first().variantName, "Broadcast");
    variants().applySavedPreset("Missing");
    variants().copyPresetAsVariant("Missing");
    EXPECT_EQ(rows().first().variantName, "Broadcast");
    EXPECT_TRUE(saved().isEmpty());
    variants().copyPresetAsVariant("Broadcast");
    ASSERT_EQ(saved().size(), 1);
    EXPECT_EQ(saved().first().name, "Broadcast");
    EXPECT_EQ(saved().first().rules.prefixText, "TV_");
    EXPECT_EQ(stored(), saved());
}

}  // namespace
