// Input cleaning, ignore tags, extensions, title case and the fixed tables.
#include "smartrename/smart_rename_clean.h"
#include "smartrename/smart_rename_format.h"
#include "smartrename/smart_rename_recognize.h"

#include <gtest/gtest.h>

using namespace SmartRename;

namespace {

struct TextCase {
    QString in;
    QString out;
};

TEST(SmartRenameClean, NormalisesQuotesInvisiblesAndBlanks)
{
    const TextCase cases[] = {
        {"ABC_Spot_V2", "ABC_Spot_V2"},
        {" ABC_Spot", "ABC_Spot"},
        {"ABC_Spot ", "ABC_Spot"},
        {"", ""},
        {u"\u201CABC_Spot_V2\u201D"_qs, "ABC_Spot_V2"},
        {u"\"ABC\u2033Spot\u201E\""_qs, "ABCSpot"},
        {u"ABC\u200BSpot\uFEFF_V2\u2060"_qs, "ABCSpot_V2"},
        {"ABC 'Welcome Back' V2", "ABC Welcome Back V2"},
        {u"ABC \u2018Welcome\u2019 V2"_qs, "ABC Welcome V2"},
        {"'Spot' V2", "Spot V2"},
        {"don't stop", "don't stop"},
        {u"don\u2019t stop"_qs, "don't stop"},
        {"ABC\tSpot\nV2", "ABC Spot V2"},
        {"ABC\t\tSpot", "ABC  Spot"},
        {u"\u3000ABC\u00A0Spot\r\n"_qs, "ABC Spot"},
        {u"片名_预告_V1"_qs, u"片名_预告_V1"_qs},
    };
    for (const TextCase& c : cases)
        EXPECT_EQ(cleanInput(c.in), c.out) << c.in.toStdString();
}

TEST(SmartRenameClean, SplitsOnlyPlausibleExtensions)
{
    const struct {
        QString name, stem, ext;
    } cases[] = {
        {"clip.final.mov", "clip.final", "mov"},
        {".hidden", ".hidden", ""},
        {"Spot V2.1", "Spot V2.1", ""},
        {"a.mp4 copy", "a.mp4 copy", ""},
        {"x.abcdefghijklm", "x.abcdefghijklm", ""},
        {"x.abcdefghijkl", "x", "abcdefghijkl"},
        {"noext", "noext", ""},
        {"trailing.", "trailing.", ""},
        {"ABC_Spot_V2.MXF", "ABC_Spot_V2", "MXF"},
        {u"片名.视频"_qs, u"片名"_qs, u"视频"_qs},
    };
    for (const auto& c : cases) {
        const auto [stem, ext] = splitExtension(c.name);
        EXPECT_EQ(stem, c.stem) << c.name.toStdString();
        EXPECT_EQ(ext, c.ext) << c.name.toStdString();
    }
}

TEST(SmartRenameClean, IgnoreTagsAreTrimmedAndRemovedIgnoringCase)
{
    EXPECT_EQ(parseIgnoreTags("FINAL, , temp "), QStringList({"FINAL", "temp"}));
    EXPECT_EQ(parseIgnoreTags(",,\t, "), QStringList());
    EXPECT_EQ(parseIgnoreTags(" a b ,c"), QStringList({"a b", "c"}));

    EXPECT_EQ(removeIgnoredTags("ABC_FINAL_Spot_Final_final_V1", {"final"}), "ABC__Spot___V1");
    // A later tag sees what the earlier removals left.
    EXPECT_EQ(removeIgnoredTags("ABC_TEMPX_V1", {"temp", "x_"}), "ABC_V1");
    EXPECT_EQ(removeIgnoredTags("A.B_V1", {"."}), "AB_V1");  // literal, not a pattern
}

TEST(SmartRenameFormat, TitleCaseKeepsBlankRuns)
{
    EXPECT_EQ(titleCaseWord("welcome"), "Welcome");
    EXPECT_EQ(titleCaseWord("McQueen"), "Mcqueen");
    EXPECT_EQ(titleCaseWord("2nd"), "2Nd");
    EXPECT_EQ(titleCaseWord("1920X1080"), "1920X1080");
    EXPECT_EQ(titleCaseWord("30"), "30");
    EXPECT_EQ(titleCaseWord(""), "");
    EXPECT_EQ(titleCase("DIGITAL  TRLR the"), "Digital  Trlr The");
    EXPECT_EQ(titleCase(" x "), " X ");
}

TEST(SmartRenameRules, VersionsAndMarkers)
{
    using M = QList<Marker>;
    EXPECT_EQ(parseVersion(u"V02"), (ParsedVersion{"2", {}}));
    EXPECT_EQ(parseVersion(u"V2REV2"), (ParsedVersion{"2", M{{"REV", "2"}}}));
    EXPECT_EQ(parseVersion(u"V2REV02"), (ParsedVersion{"2", M{{"REV", "02"}}}));
    EXPECT_EQ(parseVersion(u"V2.1ALT"), (ParsedVersion{"2", M{{"ALT", ""}}}));
    EXPECT_EQ(parseVersion(u"V2ALTREV"), (ParsedVersion{"2", M{{"ALT", ""}, {"REV", ""}}}));
    EXPECT_EQ(parseVersion(u"V1AREV3"), (ParsedVersion{"1", M{{"", "A"}, {"REV", "3"}}}));
    EXPECT_FALSE(parseVersion(u"V"));
    EXPECT_FALSE(parseVersion(u"VERSION2"));
    EXPECT_FALSE(parseVersion(u"V2AB"));
    EXPECT_FALSE(parseVersion(u"V2REV-"));
    EXPECT_FALSE(parseVersion(u"V2_"));

    const QStringList keys{"V2", "REV", "2", "ALTB", "C", "SPOT", "D"};
    const MarkerSuffix s = parseVersionSuffix(keys, 1);
    EXPECT_EQ(s.markers, (M{{"REV", "2"}, {"ALT", "B"}, {"", "C"}}));
    EXPECT_EQ(s.next, 5);
}

TEST(SmartRenameRules, TimingsAndSizes)
{
    EXPECT_EQ(normalizeTiming(u"5"), "05");
    EXPECT_EQ(normalizeTiming(u"120"), "120");
    EXPECT_FALSE(normalizeTiming(u"1234"));
    EXPECT_FALSE(normalizeTiming(u""));
    EXPECT_FALSE(normalizeTiming(u"3O"));

    using P = std::pair<QString, QString>;
    EXPECT_EQ(sizeCutType(u"DIGITAL1920X1080"), (P{"", "Digital1920x1080"}));
    EXPECT_EQ(sizeCutType(u"PROMOD1080X1080"), (P{"PROMO", "Digital1080x1080"}));
    EXPECT_EQ(sizeCutType(u"PROMODIG9X16"), (P{"PROMO", "Digital9x16"}));
    EXPECT_FALSE(sizeCutType(u"1920X1080"));
    EXPECT_FALSE(sizeCutType(u"DX1080"));
    EXPECT_FALSE(sizeCutType(u"D1920X"));
    EXPECT_EQ(digitalPrefixedCutType(u"1920X1080"), "Digital1920x1080");
    EXPECT_FALSE(digitalPrefixedCutType(u"X1080"));
    EXPECT_FALSE(digitalPrefixedCutType(u"1920X"));
    EXPECT_FALSE(digitalPrefixedCutType(u"1920X10X80"));

    EXPECT_EQ(splitCutTypeSuffix(u"WELCOMEBACKTRAILER", builtInCutTypes()), (P{"WELCOMEBACK", "Trlr"}));
    EXPECT_FALSE(splitCutTypeSuffix(u"SPOTTSR", builtInCutTypes()));
    EXPECT_FALSE(splitCutTypeSuffix(u"TRAILER", builtInCutTypes()));
    EXPECT_EQ(lookupCutType(u"DTRLR", builtInCutTypes()), "Digital Trlr");
    EXPECT_FALSE(lookupCutType(u"Trlr", builtInCutTypes()));  // canonical names never match
}

TEST(SmartRenameTables, BuiltInsAndNamingConfig)
{
    const QList<CutType> a = defaultCutTypes(), b = defaultCutTypes();
    ASSERT_EQ(a.size(), 11);
    for (qsizetype i = 0; i < a.size(); ++i) {
        EXPECT_EQ(a[i].canonical, b[i].canonical);
        EXPECT_EQ(a[i].variants, b[i].variants);
        EXPECT_NE(a[i].id, b[i].id);
    }
    EXPECT_EQ(builtInCutTypeNames().size(), 10);
    EXPECT_FALSE(builtInCutTypeNames().contains("Digital Trlr"));

    const auto partial = CustomNamingConfig::decode(R"({"separator":"-","versionPrefix":null})");
    ASSERT_TRUE(partial);
    CustomNamingConfig expected;
    expected.separator = "-";
    EXPECT_EQ(*partial, expected);
    EXPECT_FALSE(CustomNamingConfig::decode(R"({"caseStyle":"Lower"})"));
    EXPECT_FALSE(CustomNamingConfig::decode(R"({"sectionOrder":["code","bogus"]})"));
    EXPECT_FALSE(CustomNamingConfig::decode(R"({"quoteSpotName":"yes"})"));

    CustomNamingConfig custom;
    custom.caseStyle = CustomNamingConfig::CaseStyle::asIs;
    custom.sectionOrder = {CustomNamingConfig::SectionKind::version};
    EXPECT_EQ(CustomNamingConfig::decode(custom.encode()), custom);
}

}  // namespace
