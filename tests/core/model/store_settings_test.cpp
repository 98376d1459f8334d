#include "test_support.h"

#include <gtest/gtest.h>

TEST(StoreSettings, FirstLaunchTakesLanguageFromSystemWithoutWritingIt)
{
    TestEnv env;
    auto store = env.makeStore({"zh-Hans-CN", "en-US"});
    EXPECT_TRUE(store->langZh());
    EXPECT_FALSE(env.settings->contains("langZh"));
    store->setLangZh(false);
    EXPECT_EQ(env.settings->boolValue("langZh"), false);
    auto again = env.makeStore({"zh-Hans-CN"});
    EXPECT_FALSE(again->langZh());
}

TEST(StoreSettings, BatchRuleOrderDropsUnknownAndAppendsMissing)
{
    TestEnv env;
    env.settings->setStringList("batchRuleOrder", {"suffix", "bogus", "prefix"});
    auto store = env.makeStore();
    const QList<BatchRuleKind> expected{
        BatchRuleKind::suffix, BatchRuleKind::prefix, BatchRuleKind::findReplace,
        BatchRuleKind::deleteBefore, BatchRuleKind::deleteAfter, BatchRuleKind::remove,
        BatchRuleKind::caseRule, BatchRuleKind::truncate, BatchRuleKind::whitespace,
        BatchRuleKind::sequentialNumber, BatchRuleKind::insertDate};
    EXPECT_EQ(store->rules().batchRuleOrder, expected);
}
