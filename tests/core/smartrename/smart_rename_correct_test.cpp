// Delivery names through recognition and all four output styles. Spelling comes from a fixed
// word list so that the expected splits do not depend on the installed dictionary.
#include "smartrename/smart_rename_recognize.h"
#include "smartrename/word_checker.h"

#include <gtest/gtest.h>

using namespace SmartRename;
using Style = SmartRenameStyle;
using Config = CustomNamingConfig;

namespace {

const QStringList kWords{"welcome", "back", "long", "night",  "the",  "sun",  "day",      "sunday",
                         "up",      "on",   "upon", "dragon", "fire", "spot", "immortal", "beloved"};

class SpellWordList : public ::testing::Test {
protected:
    void SetUp() override { setSpellChecker(std::make_shared<WordListChecker>(kWords)); }
    void TearDown() override { setSpellChecker(nullptr); }
};

Config spacedUpperNoCode()
{
    Config c;
    c.separator = " - ";
    c.caseStyle = Config::CaseStyle::upperCase;
    c.includeProductionCode = false;
    c.spotNameSpaced = true;
    c.timingPrefix = ":";
    return c;
}

Config withOrder(QList<Config::SectionKind> order)
{
    Config c;
    c.sectionOrder = order;
    return c;
}

Config withSeparator(const QString& sep)
{
    Config c;
    c.separator = sep;
    return c;
}

Config codeOff()
{
    Config c;
    c.includeProductionCode = false;
    return c;
}

Config asIsPlain()
{
    Config c;
    c.caseStyle = Config::CaseStyle::asIs;
    return c;
}

Config asIsQuoted()
{
    Config c;
    c.caseStyle = Config::CaseStyle::asIs;
    c.quoteSpotName = true;
    c.versionPrefix = "v";
    return c;
}

const QList<CutType> kUserCutTypes{
    {QUuid::createUuid(), "Promo", {"PROMO", "PRM"}},
    {QUuid::createUuid(), "Trlr", {"TRAILER"}},
    {QUuid::createUuid(), "Lift Spot", {"LIFTSPOT"}},
};

const QMap<QString, QStringList> kLearned{{"IMMORTALBELOVED", {"Immortal", "Beloved"}},
                                          {"WELCOMEBACK", {"wElcome", "BACK"}}};

using Opt = std::optional<QString>;
const Opt none;

struct Case {
    const char* name;
    Style style;
    const char* corrected;
    Opt code, spot, cut, timing, version;
    Config config = {};
    bool noCode = false;
    bool learned = false;
};

// corrected, then code, spot name, cut type, timing, version (absent = none: no version means
// missingVersion).
const Case kCases[] = {
    // The worked example in every style.
    {"ABC_welcomeback_trailer_30_v02_rev2", Style::finishing, "ABC_WelcomeBack_Trlr_30_V2Rev2", "ABC", "WelcomeBack",
     "Trlr", "30", "2Rev2"},
    {"ABC_welcomeback_trailer_30_v02_rev2", Style::posting, "ABC_WELCOMEBACK_TRLR_30_V2REV2", "ABC", "WELCOMEBACK",
     "TRLR", "30", "2REV2"},
    {"ABC_welcomeback_trailer_30_v02_rev2", Style::email, "\"Welcome Back\" Trlr :30 V.2 Rev 2", "ABC", "Welcome Back",
     "Trlr", "30", "2Rev2"},
    {"ABC_welcomeback_trailer_30_v02_rev2", Style::custom, "ABC_WelcomeBack_Trlr_30_V2Rev2", "ABC", "WelcomeBack",
     "Trlr", "30", "2Rev2"},
    {"ABC_welcomeback_trailer_30_v02_rev2", Style::custom, "WELCOME BACK - TRLR - :30 - V2REV2", "ABC", "WELCOME BACK",
     "TRLR", "30", "2REV2", spacedUpperNoCode()},
    {"ABC_welcomeback_trailer_30_v02", Style::finishing, "ABC_WelcomeBack_Trlr_30_V2", "ABC", "WelcomeBack", "Trlr",
     "30", "2"},

    // The scan stops at the version; the first timing wins.
    {"ABC_Spot_V2_30", Style::finishing, "ABC_Spot_V2", "ABC", "Spot", none, none, "2"},
    {"ABC_Spot_:30_TV15", Style::finishing, "ABC_Spot_30", "ABC", "Spot", none, "30", none},
    {"ABC_Spot_TV5_v1", Style::email, "\"Spot\" :05 V.1", "ABC", "Spot", none, "05", "1"},
    {"ABC_Spot_AV120_v1", Style::finishing, "ABC_Spot_120_V1", "ABC", "Spot", none, "120", "1"},
    {"ABC_Spot_TV1234", Style::finishing, "ABC_SpotTv1234", "ABC", "SpotTv1234", none, none, none},
    {"ABC_Trailer_2", Style::finishing, "ABC_Trlr_02", "ABC", none, "Trlr", "02", none},
    {"ABC_Spot_30_60_V1", Style::finishing, "ABC_Spot60_30_V1", "ABC", "Spot60", none, "30", "1"},
    {"ABC Spot 2024 V1", Style::finishing, "AbcSpot2024_V1", none, "AbcSpot2024", none, none, "1"},

    // Cut types: after the cut type, glued pairs, sizes, glued suffixes.
    {"ABC_Sizzle_Reel_V1", Style::finishing, "ABC_Reel_Sizzle_V1", "ABC", "Reel", "Sizzle", none, "1"},
    {"ABC_Trailer_Teaser_V1", Style::finishing, "ABC_Teaser_Trlr_V1", "ABC", "Teaser", "Trlr", none, "1"},
    {"ABC_Digital_Trailer_V1", Style::finishing, "ABC_DigitalTrlr_V1", "ABC", none, "DigitalTrlr", none, "1"},
    {"ABC_Dig_Trlr_V1", Style::posting, "ABC_DIGITALTRLR_V1", "ABC", none, "DIGITALTRLR", none, "1"},
    {"ABC_Spot_Digital_Trailer_V1", Style::email, "\"Spot\" Digital Trlr V.1", "ABC", "Spot", "Digital Trlr", none,
     "1"},
    {"ABC_D_1920x1080_V1", Style::finishing, "ABC_Digital1920x1080_V1", "ABC", none, "Digital1920x1080", none, "1"},
    {"ABC_D_1920x1080_V1", Style::posting, "ABC_DIGITAL1920X1080_V1", "ABC", none, "DIGITAL1920X1080", none, "1"},
    {"ABC_Spot_Digital1080x1350_V1", Style::finishing, "ABC_Spot_Digital1080x1350_V1", "ABC", "Spot",
     "Digital1080x1350", none, "1"},
    {"ABC_1920x1080_V1", Style::finishing, "ABC_1920X1080_V1", "ABC", "1920X1080", none, none, "1"},
    {"ABC_PROMOD1080X1080_V1", Style::finishing, "ABC_Promo_Digital1080x1080_V1", "ABC", "Promo", "Digital1080x1080",
     none, "1"},
    {"ABC_WELCOMEBACKTRAILER_V1", Style::finishing, "ABC_WelcomeBack_Trlr_V1", "ABC", "WelcomeBack", "Trlr", none, "1"},
    {"ABC_SPOTTSR_V1", Style::finishing, "ABC_Spottsr_V1", "ABC", "Spottsr", none, none, "1"},

    // Codes: none without "_", the first word whatever it is, the no-code flag.
    {"Spot Trailer V1", Style::finishing, "Spot_Trlr_V1", none, "Spot", "Trlr", none, "1"},
    {"V2_Spot", Style::finishing, "V2_Spot", "V2", "Spot", none, none, none},
    {"ABC_Spot_V1", Style::finishing, "AbcSpot_V1", none, "AbcSpot", none, none, "1", {}, true},
    {"Welcome Back Trlr :30 V2",
     Style::finishing,
     "WelcomeBack_Trlr_30_V2",
     none,
     "WelcomeBack",
     "Trlr",
     "30",
     "2",
     {},
     true},

    // A hidden code with nothing else stands in as the spot name.
    {"ABC_V2", Style::email, "\"Abc\" V.2", "ABC", "Abc", none, none, "2"},
    {"ABC_V3", Style::finishing, "ABC_V3", "ABC", none, none, none, "3"},
    {"ABC_Trailer_V3", Style::custom, "Abc_Trlr_V3", "ABC", "Abc", "Trlr", none, "3", codeOff()},

    // Apostrophes.
    {"ABC_Don't_Trailer_V1", Style::finishing, "ABC_Dont_Trlr_V1", "ABC", "Dont", "Trlr", none, "1"},
    {"ABC_Don't_Trailer_V1", Style::email, "\"Don't\" Trlr V.1", "ABC", "Don't", "Trlr", none, "1"},

    // Versions and their markers.
    {"ABC_Spot_V2REVA", Style::finishing, "ABC_Spot_V2RevA", "ABC", "Spot", none, none, "2RevA"},
    {"ABC_Spot_V2_REV_A", Style::email, "\"Spot\" V.2 Rev A", "ABC", "Spot", none, none, "2RevA"},
    {"ABC_Spot_V2_ALT_B", Style::email, "\"Spot\" V.2 Alt B", "ABC", "Spot", none, none, "2AltB"},
    {"ABC_Spot_V2ALT", Style::email, "\"Spot\" V.2 Alt", "ABC", "Spot", none, none, "2Alt"},
    {"ABC_Spot_V2ALTREV", Style::finishing, "ABC_Spot_V2AltRev", "ABC", "Spot", none, none, "2AltRev"},
    {"ABC_Spot_V3A", Style::email, "\"Spot\" V.3A", "ABC", "Spot", none, none, "3A"},
    {"ABC_Spot_V2_B_Extra", Style::finishing, "ABC_Spot_V2B", "ABC", "Spot", none, none, "2B"},
    {"ABC_Spot_V2.1", Style::finishing, "ABC_Spot_V2", "ABC", "Spot", none, none, "2"},
    {"ABC_Spot_V007", Style::finishing, "ABC_Spot_V7", "ABC", "Spot", none, none, "7"},
    {"ABC_Spot_V00", Style::finishing, "ABC_Spot_V0", "ABC", "Spot", none, none, "0"},
    {"ABC_Spot_V2AB", Style::finishing, "ABC_SpotV2ab", "ABC", "SpotV2ab", none, none, none},
    {"ABC_Spot_V2REV-", Style::finishing, "ABC_SpotV2rev", "ABC", "SpotV2rev", none, none, none},

    // User cut types count in CUSTOM only.
    {"ABC_Spot_Promo_V1", Style::finishing, "ABC_SpotPromo_V1", "ABC", "SpotPromo", none, none, "1"},
    {"ABC_Spot_Promo_V1", Style::custom, "ABC_Spot_Promo_V1", "ABC", "Spot", "Promo", none, "1"},
    {"ABC_Spot_Teaser_V1", Style::custom, "ABC_SpotTeaser_V1", "ABC", "SpotTeaser", none, none, "1"},
    {"ABC_Spot_Lift_Spot_V1", Style::custom, "ABC_Spot_LiftSpot_V1", "ABC", "Spot", "LiftSpot", none, "1"},

    // CUSTOM layouts.
    {"ABC_Spot_Trailer_30_V1", Style::custom, "V1_ABC", "ABC", "Spot", "Trlr", "30", "1",
     withOrder({Config::SectionKind::version, Config::SectionKind::code})},
    {"ABC_Spot_Trailer_30_V1", Style::custom, "ABCSpotTrlr30V1", "ABC", "Spot", "Trlr", "30", "1", withSeparator("")},
    {"ABC_the_long_night_Trailer_V2_REV_3", Style::custom, "ABC_\"thelongnight\"_Trlr_v2REV3", "ABC", "thelongnight",
     "Trlr", none, "2REV3", asIsQuoted()},

    // Learned splits come before spelling and keep the user's case.
    {"ABC_immortalbeloved_v2_rev2", Style::custom, "ABC_ImmortalBeloved_V2REV2", "ABC", "ImmortalBeloved", none, none,
     "2REV2", asIsPlain(), false, true},
    {"ABC_immortalbeloved_v2",
     Style::finishing,
     "ABC_ImmortalBeloved_V2",
     "ABC",
     "ImmortalBeloved",
     none,
     none,
     "2",
     {},
     false,
     true},
    {"ABC_welcomeback_v2", Style::custom, "ABC_\"wElcomeBACK\"_v2", "ABC", "wElcomeBACK", none, none, "2", asIsQuoted(),
     false, true},
    {"ABC_welcome-back_dragonfire_V1", Style::email, "\"Welcome Back Dragon Fire\" V.1", "ABC",
     "Welcome Back Dragon Fire", none, none, "1"},

    // Nothing to split on.
    {"", Style::finishing, "", none, none, none, none, none},
    {"___", Style::email, "___", none, none, none, none, none},
};

// Readable failure messages without a QString printer.
std::string show(const std::optional<QString>& s)
{
    return s ? "\"" + s->toStdString() + "\"" : "(none)";
}

class CorrectTable : public SpellWordList, public ::testing::WithParamInterface<Case> {};

TEST_P(CorrectTable, ParsesAndWrites)
{
    const Case& c = GetParam();
    const Result r = correct(c.name, c.style, kUserCutTypes, c.config,
                             c.learned ? kLearned : QMap<QString, QStringList>{}, c.noCode);
    EXPECT_EQ(r.corrected.toStdString(), c.corrected);
    EXPECT_EQ(show(r.productionCode), show(c.code));
    EXPECT_EQ(show(r.spotName), show(c.spot));
    EXPECT_EQ(show(r.cutType), show(c.cut));
    EXPECT_EQ(show(r.timing), show(c.timing));
    EXPECT_EQ(show(r.version), show(c.version));
    EXPECT_EQ(r.missingVersion, !c.version.has_value());
}

std::string caseName(const ::testing::TestParamInfo<Case>& info)
{
    return std::to_string(info.index) + "_" + rawValue(info.param.style).toStdString();
}

INSTANTIATE_TEST_SUITE_P(DeliveryNames, CorrectTable, ::testing::ValuesIn(kCases), caseName);

void PrintTo(const Case& c, std::ostream* os)
{
    *os << c.name << " in " << rawValue(c.style).toStdString();
}

}  // namespace
