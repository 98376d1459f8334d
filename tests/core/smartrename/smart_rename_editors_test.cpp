// Taught word splits, the cut type table and the naming layout as their editors change them.
#include "model/name_preview.h"
#include "model/store.h"
#include "platform/settings.h"
#include "smartrename/smart_fix.h"
#include "smartrename/smart_rename_editors.h"
#include "smartrename/smart_rename_run.h"
#include "test_support.h"

#include <gtest/gtest.h>

namespace {

using Kind = SmartRename::CustomNamingConfig::SectionKind;

class SmartEditorsTest : public ::testing::Test {
protected:
    void SetUp() override { store = env.makeStore(); }
    SmartRenameEditors& editors() { return store->smartEditors(); }
    const SmartSettings& smart() { return store->smart(); }
    void poisonCache() { store->preview().smartFixCache().insert("stem", "stale"); }
    bool cacheEmptied() { return store->preview().smartFixCache().isEmpty(); }

    TestEnv env;
    std::unique_ptr<Store> store;
};

TEST(SmartTeachText, KeysAndSplitWords)
{
    const struct {
        QString word, splitAs, key;
        QStringList words;
    } cases[] = {
        {" immortalgame\t", "Immortal  Game", "IMMORTALGAME", {"Immortal", "Game"}},
        {QString("\u3000straße "), "Stra\tße", "STRASSE", {"Stra\tße"}},
        {"IMMORTAL GAME", " Immortalgame ", "IMMORTAL GAME", {"Immortalgame"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SmartRename::taughtWordKey(c.word), c.key);
        EXPECT_EQ(SmartRename::taughtSplitWords(c.splitAs), c.words);
        EXPECT_TRUE(SmartRename::canTeach(c.word, c.splitAs));
    }
    EXPECT_FALSE(SmartRename::canTeach(" \t", "Immortal Game"));
    EXPECT_FALSE(SmartRename::canTeach("IMMORTALGAME", "   "));
}

TEST_F(SmartEditorsTest, TeachingReplacesForgettingRemovesAndRecognitionFollows)
{
    store->setSmartRenameInputText("ABC_zorblax_V1");
    store->smartRun().recognize();
    const QString before = smart().smartRenameRows.first().spotName;

    poisonCache();
    EXPECT_TRUE(editors().teachWord(" zorblax ", "Zor  Blax"));
    EXPECT_TRUE(cacheEmptied());
    EXPECT_EQ(smart().learnedWordSplits, (QMap<QString, QStringList>{{"ZORBLAX", {"Zor", "Blax"}}}));
    EXPECT_EQ(smart().smartRenameRows.first().spotName, "ZorBlax");
    EXPECT_NE(before, "ZorBlax");

    EXPECT_TRUE(editors().teachWord("ZorBlax", "Zorb Lax"));
    EXPECT_EQ(smart().learnedWordSplits, (QMap<QString, QStringList>{{"ZORBLAX", {"Zorb", "Lax"}}}));
    EXPECT_EQ(env.makeStore()->smart().learnedWordSplits, smart().learnedWordSplits);
    EXPECT_FALSE(editors().teachWord("other", "  "));
    EXPECT_EQ(smart().learnedWordSplits.size(), 1);

    editors().forgetWord("ZORBLAX");
    EXPECT_TRUE(smart().learnedWordSplits.isEmpty());
    EXPECT_EQ(smart().smartRenameRows.first().spotName, before);
    EXPECT_TRUE(env.makeStore()->smart().learnedWordSplits.isEmpty());
}

TEST(SmartCutTypeText, VariantsAreNormalisedWhenStored)
{
    const struct {
        QString typed;
        QStringList stored;
    } cases[] = {
        {"sizzle ,  szl,,", {"SIZZLE", "SZL"}},
        {" , ,\t,", {}},
        {"szl, szl", {"SZL", "SZL"}},
        {"straße", {"STRASSE"}},
        {"SIZZLE, ", {"SIZZLE"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SmartRename::parseCutTypeVariants(c.typed), c.stored) << c.typed.toStdString();
    EXPECT_EQ(SmartRename::cutTypeVariantsText({QUuid(), "Sizzle", {"SIZZLE", "SZL"}}), "SIZZLE, SZL");
    EXPECT_EQ(SmartRename::cutTypeVariantsText({}), "");
}

TEST_F(SmartEditorsTest, CutTypesMatchByVariantHigherRowFirstAndOutliveARestart)
{
    const auto cutTypeOf = [&](const QString& name) {
        return SmartRename::smartFix(name, SmartRenameStyle::custom, smart().customCutTypes, smart().customNamingConfig,
                                     {})
            .cutType.value_or(QString());
    };
    editors().resetCutTypes();
    editors().addCutType();
    const QUuid added = smart().customCutTypes.last().id;
    editors().setCutTypeName(added, " Lift Spot ");
    EXPECT_EQ(cutTypeOf("ABC_Spot_Lift_V1"), "");  // a name alone matches nothing
    poisonCache();
    editors().setCutTypeVariants(added, "lift, szl");
    EXPECT_TRUE(cacheEmptied());
    EXPECT_EQ(smart().customCutTypes.last().canonical, " Lift Spot ");
    EXPECT_EQ(cutTypeOf("ABC_Spot_Lift_V1"), "LiftSpot");  // as the layout writes " Lift Spot "
    EXPECT_EQ(cutTypeOf("ABC_Spot_SZL_V1"), "Sizzle");     // the built-in row stands higher

    const QUuid trailer = smart().customCutTypes.first().id;
    editors().deleteCutType(trailer);
    const QList<SmartRename::CutType> edited = smart().customCutTypes;
    EXPECT_EQ(env.makeStore()->smart().customCutTypes, edited);  // the deleted built-in stays deleted

    poisonCache();
    editors().resetCutTypes();
    EXPECT_TRUE(cacheEmptied());
    ASSERT_EQ(smart().customCutTypes.size(), 11);
    EXPECT_EQ(smart().customCutTypes.first().canonical, "Trlr");
    EXPECT_EQ(env.makeStore()->smart().customCutTypes, smart().customCutTypes);
}

TEST_F(SmartEditorsTest, SectionChipsMove)
{
    const QList<Kind> def = SmartRename::CustomNamingConfig::allSections();
    const struct {
        QStringList dropped;
        Kind target;
        std::optional<QList<Kind>> order;
    } cases[] = {
        {{"cutType"}, Kind::code, QList{Kind::cutType, Kind::code, Kind::spotName, Kind::timing, Kind::version}},
        {{"code"}, Kind::cutType, QList{Kind::spotName, Kind::cutType, Kind::code, Kind::timing, Kind::version}},
        {{"version", "code"},
         Kind::code,
         QList{Kind::version, Kind::code, Kind::spotName, Kind::cutType, Kind::timing}},
        {{"code"}, Kind::code, std::nullopt},
        {{}, Kind::code, std::nullopt},
        {{"Code"}, Kind::timing, std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SmartRename::movedSection(def, c.dropped, c.target), c.order) << c.dropped.join(',').toStdString();
    EXPECT_FALSE(SmartRename::movedSection({Kind::code, Kind::version}, {"timing"}, Kind::code));

    SmartRename::CustomNamingConfig config;
    config.separator = " - ";
    config.versionPrefix = "";
    editors().setNamingConfig(config);
    EXPECT_FALSE(editors().moveSection({"code"}, Kind::code));
    EXPECT_TRUE(editors().moveSection({"version"}, Kind::code));
    EXPECT_EQ(env.makeStore()->smart().customNamingConfig.sectionOrder.first(), Kind::version);
    poisonCache();
    editors().resetSectionOrder();
    EXPECT_TRUE(cacheEmptied());
    config.sectionOrder = def;
    EXPECT_EQ(smart().customNamingConfig, config);
    EXPECT_EQ(env.makeStore()->smart().customNamingConfig, config);
}

}  // namespace
