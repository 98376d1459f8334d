#include "model/gui_preset.h"
#include "model/regex_replace.h"
#include "model/rule_engine.h"
#include "test_support.h"

#include <QElapsedTimer>
#include <functional>
#include <gtest/gtest.h>

namespace {

using K = BatchRuleKind;
const QList<BatchRuleKind> kAllInOrder{K::findReplace, K::deleteBefore,     K::deleteAfter, K::remove,
                                       K::caseRule,    K::truncate,         K::whitespace,  K::prefix,
                                       K::suffix,      K::sequentialNumber, K::insertDate};

// Table cases are written in the stored form, so that raw values this version does not know are
// covered on their way to the engine too.
RuleSettings typed(const GUIPreset& p)
{
    RuleSettings r;
    p.applyTo(r);
    return r;
}

struct RuleCase {
    const char* label;
    std::function<void(GUIPreset&)> set;
    QString stem;
    QString expected;
    int index = 0;
    int count = 1;
    QString date = {};
    QList<BatchRuleKind> order = kAllInOrder;
};

void PrintTo(const RuleCase& c, std::ostream* os)
{
    *os << c.label;
}

class RuleTable : public testing::TestWithParam<RuleCase> {};

TEST_P(RuleTable, GivesExpectedStem)
{
    const RuleCase& c = GetParam();
    GUIPreset p;
    c.set(p);
    EXPECT_EQ(applyRules(typed(p), c.stem, c.index, c.count, c.date, c.order), c.expected);
}

auto findRx(const char* find, const char* replace)
{
    return [=](GUIPreset& p) {
        p.findEnabled = true;
        p.useRegex = true;
        p.find = QString::fromUtf8(find);
        p.replace = QString::fromUtf8(replace);
    };
}

INSTANTIATE_TEST_SUITE_P(
    Rules, RuleTable,
    testing::Values(
        // order decides
        RuleCase{"prefix then lower",
                 [](GUIPreset& p) {
                     p.prefixEnabled = true;
                     p.prefixText = "A_";
                     p.caseMode = "lower";
                 },
                 "x",
                 "a_x",
                 0,
                 1,
                 "",
                 {K::prefix, K::caseRule}},
        RuleCase{"lower then prefix",
                 [](GUIPreset& p) {
                     p.prefixEnabled = true;
                     p.prefixText = "A_";
                     p.caseMode = "lower";
                 },
                 "x",
                 "A_x",
                 0,
                 1,
                 "",
                 {K::caseRule, K::prefix}},
        RuleCase{"kind twice runs twice",
                 [](GUIPreset& p) {
                     p.suffixEnabled = true;
                     p.suffixText = "!";
                 },
                 "x",
                 "x!!",
                 0,
                 1,
                 "",
                 {K::suffix, K::suffix}},
        RuleCase{"kind missing from order does not run",
                 [](GUIPreset& p) {
                     p.suffixEnabled = true;
                     p.suffixText = "!";
                 },
                 "x",
                 "x",
                 0,
                 1,
                 "",
                 {K::prefix}},
        RuleCase{"number then truncate",
                 [](GUIPreset& p) {
                     p.numberEnabled = true;
                     p.truncEnabled = true;
                     p.keepN = 3;
                 },
                 "abcdef",
                 "abc",
                 4,
                 9,
                 "",
                 {K::sequentialNumber, K::truncate}},
        RuleCase{"truncate then number",
                 [](GUIPreset& p) {
                     p.numberEnabled = true;
                     p.truncEnabled = true;
                     p.keepN = 3;
                 },
                 "abcdef",
                 "abc_05",
                 4,
                 9,
                 "",
                 {K::truncate, K::sequentialNumber}},
        // find and replace
        RuleCase{"plain replaces every occurrence, case-sensitive",
                 [](GUIPreset& p) {
                     p.findEnabled = true;
                     p.find = "a";
                     p.replace = "o";
                 },
                 "aAa", "oAo"},
        RuleCase{"plain ignores regex syntax",
                 [](GUIPreset& p) {
                     p.findEnabled = true;
                     p.find = "a.c";
                     p.replace = "X";
                 },
                 "abc_a.c", "abc_X"},
        RuleCase{"find switched off",
                 [](GUIPreset& p) {
                     p.find = "a";
                     p.replace = "o";
                 },
                 "a", "a"},
        RuleCase{"hash is the number even with numbering off",
                 [](GUIPreset& p) {
                     p.findEnabled = true;
                     p.find = "x";
                     p.replace = "Shot_#";
                     p.numPad = 3;
                 },
                 "x-x", "Shot_005-Shot_005", 4, 10},
        RuleCase{"regex group", findRx("([0-9]+)", "[$1]"), "a12b", "a[12]b"},
        RuleCase{"regex whole match", findRx("[0-9]+", "<$0>"), "a1b22", "a<1>b<22>"},
        RuleCase{"regex hash never reaches engine", findRx("^", "#$0-"), "clip", "01-clip", 0, 1},
        RuleCase{"regex dollar before letter is literal", findRx("b", "$x"), "abc", "a$xc"},
        RuleCase{"regex missing group gives nothing", findRx("(b)", "<$2>"), "abc", "a<>c"},
        RuleCase{"regex takes digits while a group exists", findRx("(b)", "$10"), "abc", "ab0c"},
        RuleCase{"regex backslash escapes dollar", findRx("b", "\\$1"), "abc", "a$1c"},
        RuleCase{"regex dollar at end", findRx("b", "$"), "abc", "a$c"},
        RuleCase{"regex invalid leaves name", findRx("(", "x"), "a(b", "a(b"},
        RuleCase{"regex is case-sensitive", findRx("A", "x"), "aA", "ax"},
        RuleCase{"regex empty matches", findRx("x*", "-"), "ab", "-a-b-"},
        // delete before / after, remove
        RuleCase{"delete before keeps marker",
                 [](GUIPreset& p) {
                     p.delBeforeEnabled = true;
                     p.delBefore = "_";
                 },
                 "a_b_c", "_b_c"},
        RuleCase{"delete before with marker",
                 [](GUIPreset& p) {
                     p.delBeforeEnabled = true;
                     p.delBefore = "_";
                     p.delBeforeIncl = true;
                 },
                 "a_b_c", "b_c"},
        RuleCase{"delete before no marker",
                 [](GUIPreset& p) {
                     p.delBeforeEnabled = true;
                     p.delBefore = "-";
                 },
                 "a_b", "a_b"},
        RuleCase{"delete after keeps marker",
                 [](GUIPreset& p) {
                     p.delAfterEnabled = true;
                     p.delAfter = "_";
                 },
                 "a_b_c", "a_"},
        RuleCase{"delete after with marker",
                 [](GUIPreset& p) {
                     p.delAfterEnabled = true;
                     p.delAfter = "_";
                     p.delAfterIncl = true;
                 },
                 "a_b_c", "a"},
        RuleCase{"remove every occurrence",
                 [](GUIPreset& p) {
                     p.removeEnabled = true;
                     p.removeStr = "ab";
                 },
                 "abcabAB", "cAB"},
        // case
        RuleCase{"upper", [](GUIPreset& p) { p.caseMode = "upper"; }, "straße", "STRASSE"},
        RuleCase{"title", [](GUIPreset& p) { p.caseMode = "title"; }, "hello WORLD", "Hello World"},
        RuleCase{"unknown case mode", [](GUIPreset& p) { p.caseMode = "Upper"; }, "ab", "ab"},
        // truncate by user-perceived characters
        RuleCase{"keep last 3 of shorter",
                 [](GUIPreset& p) {
                     p.truncEnabled = true;
                     p.keepSide = "last";
                     p.keepN = 3;
                 },
                 "ab", "ab"},
        RuleCase{"keep last 2",
                 [](GUIPreset& p) {
                     p.truncEnabled = true;
                     p.keepSide = "last";
                     p.keepN = 2;
                 },
                 "abcd", "cd"},
        RuleCase{"keep first counts clusters",
                 [](GUIPreset& p) {
                     p.truncEnabled = true;
                     p.keepN = 2;
                 },
                 QString::fromUtf8("e\u0301\U0001F1EF\U0001F1F5xyz"), QString::fromUtf8("e\u0301\U0001F1EF\U0001F1F5")},
        RuleCase{"keep side other text is first",
                 [](GUIPreset& p) {
                     p.truncEnabled = true;
                     p.keepSide = "LAST";
                     p.keepN = 1;
                 },
                 "ab", "a"},
        RuleCase{"keep 0 does nothing",
                 [](GUIPreset& p) {
                     p.truncEnabled = true;
                     p.keepN = 0;
                 },
                 "ab", "ab"},
        // whitespace
        RuleCase{"collapse", [](GUIPreset& p) { p.spaceMode = "collapse"; }, "  a   b  ", "a b"},
        RuleCase{"remove blanks", [](GUIPreset& p) { p.spaceMode = "remove"; }, "a b", "ab"},
        RuleCase{"underscore keeps tab inside", [](GUIPreset& p) { p.spaceMode = "underscore"; }, "a b\tc", "a_b\tc"},
        RuleCase{"hyphen", [](GUIPreset& p) { p.spaceMode = "hyphen"; }, "a b", "a-b"},
        RuleCase{"final trim of tabs and blanks",
                 [](GUIPreset& p) {
                     p.prefixEnabled = true;
                     p.prefixText = "\t ";
                 },
                 "x\t", "x"},
        RuleCase{"prefix of blanks alone",
                 [](GUIPreset& p) {
                     p.prefixEnabled = true;
                     p.prefixText = "  ";
                 },
                 "x", "x"},
        RuleCase{"line break is not trimmed",
                 [](GUIPreset& p) {
                     p.suffixEnabled = true;
                     p.suffixText = "\n";
                 },
                 "x", "x\n"},
        // numbering positions
        RuleCase{"number suffix", [](GUIPreset& p) { p.numberEnabled = true; }, "a", "a_03", 2, 5},
        RuleCase{"number prefix",
                 [](GUIPreset& p) {
                     p.numberEnabled = true;
                     p.numPos = "prefix";
                     p.numSep = "-";
                 },
                 "a", "03-a", 2, 5},
        RuleCase{"number replace",
                 [](GUIPreset& p) {
                     p.numberEnabled = true;
                     p.numPos = "replace";
                 },
                 "a", "03", 2, 5},
        RuleCase{"renumber first digit run",
                 [](GUIPreset& p) {
                     p.numberEnabled = true;
                     p.numPos = "renumber";
                     p.numStart = 7;
                 },
                 "clip12_take3", "clip07_take3"},
        RuleCase{"renumber without digits",
                 [](GUIPreset& p) {
                     p.numberEnabled = true;
                     p.numPos = "renumber";
                     p.numStart = 7;
                 },
                 "clip", "clip_07"},
        RuleCase{"renumber ignores non-ASCII digits",
                 [](GUIPreset& p) {
                     p.numberEnabled = true;
                     p.numPos = "renumber";
                 },
                 QString::fromUtf8("a\u0663b"), QString::fromUtf8("a\u0663b_01")},
        RuleCase{"custom past the end",
                 [](GUIPreset& p) {
                     p.numberEnabled = true;
                     p.numPos = "custom";
                     p.numCustomAt = 100;
                 },
                 "abcde", "abcde_01_"},
        RuleCase{"custom negative",
                 [](GUIPreset& p) {
                     p.numberEnabled = true;
                     p.numPos = "custom";
                     p.numCustomAt = -3;
                 },
                 "abcde", "_01_abcde"},
        RuleCase{"custom inside by clusters",
                 [](GUIPreset& p) {
                     p.numberEnabled = true;
                     p.numPos = "custom";
                     p.numCustomAt = 1;
                     p.numSep = "-";
                 },
                 QString::fromUtf8("e\u0301b"), QString::fromUtf8("e\u0301-01-b")},
        RuleCase{"custom absent position is 0",
                 [](GUIPreset& p) {
                     p.numberEnabled = true;
                     p.numPos = "custom";
                 },
                 "ab", "_01_ab"},
        RuleCase{"unknown position is suffix",
                 [](GUIPreset& p) {
                     p.numberEnabled = true;
                     p.numPos = "middle";
                 },
                 "a", "a_01"},
        // date
        RuleCase{"date prefix by default", [](GUIPreset& p) { p.dateEnabled = true; }, "a", "2024-05-31_a", 0, 1,
                 "2024-05-31"},
        RuleCase{"date suffix",
                 [](GUIPreset& p) {
                     p.dateEnabled = true;
                     p.datePos = "suffix";
                     p.dateSep = "-";
                 },
                 "a", "a-D", 0, 1, "D"},
        RuleCase{"date renumber acts as suffix",
                 [](GUIPreset& p) {
                     p.dateEnabled = true;
                     p.datePos = "renumber";
                 },
                 "a", "a_D", 0, 1, "D"},
        RuleCase{"date replace",
                 [](GUIPreset& p) {
                     p.dateEnabled = true;
                     p.datePos = "replace";
                 },
                 "a", "D", 0, 1, "D"},
        RuleCase{"date custom",
                 [](GUIPreset& p) {
                     p.dateEnabled = true;
                     p.datePos = "custom";
                     p.dateCustomAt = 1;
                 },
                 "ab", "a_D_b", 0, 1, "D"},
        RuleCase{"date empty separator",
                 [](GUIPreset& p) {
                     p.dateEnabled = true;
                     p.dateSep = "";
                 },
                 "a", "Da", 0, 1, "D"},
        RuleCase{"date without text leaves name", [](GUIPreset& p) { p.dateEnabled = true; }, "a", "a", 0, 1, ""},
        RuleCase{"date rule absent is off", [](GUIPreset&) {}, "a", "a", 0, 1, "D"}));

struct NumberCase {
    const char* label;
    std::function<void(GUIPreset&)> set;
    int count;
    int index;
    QString expected;
};
void PrintTo(const NumberCase& c, std::ostream* os)
{
    *os << c.label;
}
class NumberTable : public testing::TestWithParam<NumberCase> {};

TEST_P(NumberTable, GivesExpectedText)
{
    GUIPreset p;
    GetParam().set(p);
    EXPECT_EQ(sequenceNumberText(typed(p), GetParam().count, GetParam().index), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Numbers, NumberTable,
                         testing::Values(NumberCase{"ascending padded", [](GUIPreset& p) { p.numPad = 3; }, 10, 4,
                                                    "005"},
                                         NumberCase{"longer than pad is not cut",
                                                    [](GUIPreset& p) {
                                                        p.numPad = 1;
                                                        p.numStart = 100;
                                                    },
                                                    1, 0, "100"},
                                         NumberCase{"pad 0 plain",
                                                    [](GUIPreset& p) {
                                                        p.numPad = 0;
                                                        p.numStart = 7;
                                                    },
                                                    1, 0, "7"},
                                         NumberCase{"negative keeps sign",
                                                    [](GUIPreset& p) {
                                                        p.numPad = 0;
                                                        p.numStart = -5;
                                                    },
                                                    1, 0, "-5"},
                                         NumberCase{"negative padded like printf",
                                                    [](GUIPreset& p) {
                                                        p.numPad = 4;
                                                        p.numStart = -5;
                                                    },
                                                    1, 0, "-005"},
                                         NumberCase{"descending first gets highest",
                                                    [](GUIPreset& p) {
                                                        p.numDir = "desc";
                                                        p.numPad = 0;
                                                    },
                                                    10, 0, "10"},
                                         NumberCase{"descending last gets start",
                                                    [](GUIPreset& p) {
                                                        p.numDir = "desc";
                                                        p.numPad = 0;
                                                    },
                                                    10, 9, "1"},
                                         NumberCase{"descending with empty list",
                                                    [](GUIPreset& p) {
                                                        p.numDir = "desc";
                                                        p.numPad = 0;
                                                    },
                                                    0, 0, "1"},
                                         NumberCase{"unknown direction ascends",
                                                    [](GUIPreset& p) {
                                                        p.numDir = "DESC";
                                                        p.numPad = 0;
                                                    },
                                                    10, 0, "1"},
                                         NumberCase{"upper letters",
                                                    [](GUIPreset& p) {
                                                        p.numFormat = "upper";
                                                        p.numStart = 26;
                                                    },
                                                    5, 1, "AA"},
                                         NumberCase{"lower letters",
                                                    [](GUIPreset& p) {
                                                        p.numFormat = "lower";
                                                        p.numStart = 52;
                                                    },
                                                    5, 1, "ba"},
                                         NumberCase{"letters from 0",
                                                    [](GUIPreset& p) {
                                                        p.numFormat = "upper";
                                                        p.numStart = 0;
                                                    },
                                                    5, 0, "A"},
                                         NumberCase{"letters from 0 second",
                                                    [](GUIPreset& p) {
                                                        p.numFormat = "upper";
                                                        p.numStart = 0;
                                                    },
                                                    5, 1, "A"},
                                         // a hostile preset: no overflow, no giant field
                                         NumberCase{"start at the int limit",
                                                    [](GUIPreset& p) {
                                                        p.numStart = INT_MAX;
                                                        p.numPad = 0;
                                                    },
                                                    5, 3, "2147483650"},
                                         NumberCase{"descending from the int limit",
                                                    [](GUIPreset& p) {
                                                        p.numStart = INT_MIN;
                                                        p.numDir = "desc";
                                                        p.numPad = 0;
                                                    },
                                                    INT_MAX, 0, "-2"},
                                         NumberCase{"letters at the int limit",
                                                    [](GUIPreset& p) {
                                                        p.numStart = INT_MAX;
                                                        p.numFormat = "upper";
                                                    },
                                                    1, 0, "FXSHRXW"}));

TEST(SequenceLetters, BijectiveBase26)
{
    const std::pair<qint64, const char*> cases[] = {{1, "A"},    {26, "Z"},    {27, "AA"}, {52, "AZ"}, {53, "BA"},
                                                    {702, "ZZ"}, {703, "AAA"}, {0, "A"},   {-4, "A"}};
    for (const auto& [n, text] : cases)
        EXPECT_EQ(sequenceLetters(n), QString::fromLatin1(text)) << n;
}

TEST(SequenceNumber, HugePadIsHeldAt255)
{
    RuleSettings p;
    p.numPad = INT_MAX;
    const QString text = sequenceNumberText(p, 1, 0);
    EXPECT_EQ(text.size(), 255);
    EXPECT_TRUE(text.endsWith(u'1'));
}

TEST(RegexFind, CatastrophicPatternTimesOutAndIsGivenUp)
{
    RuleSettings p;
    p.findEnabled = true;
    p.useRegex = true;
    p.find = "(a+)+$";
    p.replace = "x";
    const QString hostile = QString(40, u'a') + u'b';
    QElapsedTimer timer;
    timer.start();
    EXPECT_EQ(applyRules(p, hostile, 0, 1, {}, {K::findReplace}), hostile);
    // Once given up, it costs nothing and behaves like a pattern that does not compile.
    EXPECT_FALSE(regexPatternUsable(p.find));
    EXPECT_EQ(applyRules(p, "aaa", 0, 1, {}, {K::findReplace}), "aaa");
    EXPECT_LT(timer.elapsed(), 20000);  // a guard against hanging, not a timing assertion
}

TEST(RegexFind, CacheIsEmptiedWholeAboveTheBound)
{
    for (int i = 0; i < 260; ++i)
        regexPatternUsable(QStringLiteral("bound%1").arg(i));
    EXPECT_LE(regexCacheSize(), 201);
    EXPECT_GE(regexCacheSize(), 1);
}

TEST(NewExtension, CleansTextWhenOn)
{
    NameSections s;
    EXPECT_EQ(newExtension(s, "mov"), "mov");
    s.extEnabled = true;
    s.extText = " .MP4. ";
    EXPECT_EQ(newExtension(s, "mov"), "MP4");
    s.extText.clear();
    EXPECT_EQ(newExtension(s, "mov"), "");
}

}  // namespace
