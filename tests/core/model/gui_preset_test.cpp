#include "model/gui_preset.h"
#include "model/name_preview.h"
#include "model/presets.h"
#include "platform/lang.h"
#include "test_support.h"

#include <QJsonDocument>
#include <gtest/gtest.h>

namespace {
struct LangGuard {
    explicit LangGuard(bool zh) { Lang::setZh(zh); }
    ~LangGuard() { Lang::setZh(false); }
};

QJsonObject minimalPresetJson()
{
    GUIPreset p;
    return p.toJson();  // optionals absent: the 24 required keys only
}
}  // namespace

TEST(GUIPresetDecode, RequiredKeysAndTypesAreStrict)
{
    ASSERT_TRUE(GUIPreset::fromJson(minimalPresetJson()));
    struct Case {
        const char* key;
        QJsonValue value;  // undefined: remove the key
        bool decodes;
    };
    const Case cases[] = {
        {"keepN", QJsonValue(QJsonValue::Undefined), false},
        {"keepN", "5", false},
        {"keepN", 2.5, false},
        {"keepN", 1e300, false},  // far outside Int: refused, never converted
        {"keepN", -1e300, false},
        {"keepN", 2147483648.0, false},
        {"numStart", -2147483648.0, true},
        {"find", QJsonValue(QJsonValue::Null), false},
        {"findEnabled", 1, false},
        {"numFormat", QJsonValue(QJsonValue::Null), true},
        {"numFormat", 3, false},
        {"dateEnabled", "yes", false},
        {"dateCustomAt", 4, true},
        {"numPos", "sideways", true},  // raw values are checked where the rule set is used
        {"somethingNew", 1, true},
    };
    for (const Case& c : cases) {
        QJsonObject o = minimalPresetJson();
        if (c.value.isUndefined())
            o.remove(c.key);
        else
            o.insert(c.key, c.value);
        EXPECT_EQ(GUIPreset::fromJson(o).has_value(), c.decodes) << c.key;
    }
    EXPECT_FALSE(GUIPreset::fromJsonData("[1]"));
    EXPECT_FALSE(GUIPreset::fromJsonData("{"));
}

TEST(GUIPresetDecode, AbsentOptionalsStayAbsentAndAreNotWritten)
{
    const auto p = GUIPreset::fromJson(minimalPresetJson());
    ASSERT_TRUE(p);
    EXPECT_FALSE(p->dateEnabled);
    EXPECT_FALSE(p->extText);
    EXPECT_EQ(p->toJson().size(), 24);
    EXPECT_FALSE(p->toJson().contains("numFormat"));
}

TEST(GUIPresetStore, CurrentPresetOfDefaultsCarriesAll37Keys)
{
    TestEnv env;
    const QJsonObject o = env.makeStore()->presets().current().toJson();
    EXPECT_EQ(o.size(), 37);
    const std::pair<const char*, const char*> texts[] = {
        {"caseMode", "none"},         {"keepSide", "first"}, {"spaceMode", "none"},     {"numPos", "suffix"},
        {"numFormat", "digit"},       {"numDir", "asc"},     {"dateSource", "capture"}, {"datePos", "prefix"},
        {"dateFormat", "yyyy-MM-dd"}, {"numSep", "_"},       {"dateSep", "_"},          {"extText", ""}};
    for (const auto& [key, value] : texts)
        EXPECT_EQ(o.value(key).toString(), value) << key;
    EXPECT_EQ(o.value("keepN").toInt(), 5);
    EXPECT_EQ(o.value("delBeforeIncl"), QJsonValue(false));
}

TEST(GUIPresetStore, ApplyRoundTripsEveryField)
{
    TestEnv env;
    auto store = env.makeStore();
    store->editRules([](RuleSettings& r) {
        r.findEnabled = true, r.find = "a", r.replace = "b", r.delAfterIncl = true;
        r.caseMode = CaseMode::title, r.keepSide = KeepSide::last, r.keepN = 9;
        r.spaceMode = SpaceMode::collapse, r.numPos = NumberPosition::custom;
        r.numFormat = NumberFormat::lower, r.numDir = NumberDir::desc, r.numCustomAt = 3;
        r.dateEnabled = true, r.dateSource = DateSource::modified, r.datePos = NumberPosition::renumber;
        r.dateCustomAt = 7;
    });
    store->editSections([](NameSections& s) { s.extEnabled = true, s.extText = "mov"; });
    const GUIPreset saved = store->presets().current();
    auto other = TestEnv().makeStore();
    other->presets().apply(saved);
    EXPECT_EQ(other->presets().current(), saved);
    EXPECT_EQ(other->rules().dateSource, DateSource::modified);
    EXPECT_EQ(other->sections().extText, "mov");
}

// Older files lack the date and extension fields: the user's current ones stay. Other later
// fields reset to their defaults; unknown raw values fall back per field.
TEST(GUIPresetStore, ApplyKeepsAbsentDateAndExtensionFields)
{
    TestEnv env;
    auto store = env.makeStore();
    store->editRules([](RuleSettings& r) {
        r.dateEnabled = true, r.dateSource = DateSource::created, r.datePos = NumberPosition::replace;
        r.dateFormat = "yyMMdd", r.delBeforeIncl = true, r.numFormat = NumberFormat::upper;
        r.numDir = NumberDir::desc, r.numCustomAt = 4;
    });
    store->editSections([](NameSections& s) { s.extEnabled = true, s.extText = "mxf"; });

    auto p = GUIPreset::fromJson(minimalPresetJson());
    ASSERT_TRUE(p);
    p->keepSide = "LAST";
    p->numPos = "sideways";
    p->caseMode = "UPPER";
    p->datePos = "sideways";
    p->dateSource = "exif";
    store->presets().apply(*p);

    const RuleSettings& r = store->rules();
    EXPECT_TRUE(r.dateEnabled);
    EXPECT_EQ(r.dateSource, DateSource::created);
    EXPECT_EQ(r.datePos, NumberPosition::replace);
    EXPECT_EQ(r.dateFormat, "yyMMdd");
    EXPECT_TRUE(store->sections().extEnabled);
    EXPECT_EQ(store->sections().extText, "mxf");
    EXPECT_FALSE(r.delBeforeIncl);
    EXPECT_EQ(r.numFormat, NumberFormat::digit);
    EXPECT_EQ(r.numDir, NumberDir::asc);
    EXPECT_EQ(r.numCustomAt, 0);
    EXPECT_EQ(r.keepSide, KeepSide::first);
    EXPECT_EQ(r.numPos, NumberPosition::suffix);
    EXPECT_EQ(r.caseMode, CaseMode::none);
}

TEST(GUIPresetStore, EngineAndStoredFormFollowEveryPublish)
{
    TestEnv env;
    auto store = env.makeStore();
    EXPECT_EQ(store->presets().current().prefixText, "");
    store->editRules([](RuleSettings& r) { r.prefixEnabled = true, r.prefixText = "A_"; });
    EXPECT_EQ(store->presets().current().prefixText, "A_");
    EXPECT_EQ(store->preview().applyBatchRules("x", 0, {}), "A_x");
    store->editSections([](NameSections& s) { s.extText = "wav"; });
    EXPECT_EQ(store->presets().current().extText, "wav");
}

TEST(GUIPresetSummary, PiecesInBothLanguages)
{
    auto with = [](auto f) {
        GUIPreset p;
        f(p);
        return p;
    };
    struct Case {
        GUIPreset preset;
        const char* en;
        const char* zh;
    };
    const Case cases[] = {
        {with([](GUIPreset&) {}), "", ""},
        {with([](GUIPreset& p) { p.findEnabled = true, p.find = "a", p.replace = "b", p.numberEnabled = true; }),
         "a → b · numbering", "a → b · 编号"},
        {with([](GUIPreset& p) { p.truncEnabled = true, p.keepN = 0; }), "", ""},
        {with([](GUIPreset& p) { p.truncEnabled = true, p.keepN = 3, p.keepSide = "last"; }), "keep 3 last",
         "保留 3 个(last)"},
        {with([](GUIPreset& p) { p.caseMode = "title", p.spaceMode = "hyphen"; }), "case: title · spaces: hyphen",
         "大小写:title · 空格:hyphen"},
        {with([](GUIPreset& p) {
             p.delBeforeEnabled = true, p.delBefore = "x", p.delAfterEnabled = true, p.delAfter = "y";
             p.removeEnabled = true, p.removeStr = "z", p.findEnabled = true;  // find empty: no piece
         }),
         "del before x · del after y · remove z", "删除之前 x · 删除之后 y · 移除 z"},
        {with([](GUIPreset& p) {
             p.prefixEnabled = true, p.prefixText = "P", p.suffixEnabled = true, p.suffixText = "S";
             p.dateEnabled = true, p.extEnabled = true;
         }),
         "prefix P · suffix S · date · extension → ", "前缀 P · 后缀 S · 日期 · 扩展名 → "},
        {with([](GUIPreset& p) { p.caseMode = "UPPER", p.spaceMode = "none", p.dateEnabled = false; }), "", ""},
    };
    for (const Case& c : cases) {
        {
            LangGuard en(false);
            EXPECT_EQ(c.preset.summary(), QString::fromUtf8(c.en));
        }
        LangGuard zh(true);
        EXPECT_EQ(c.preset.summary(), QString::fromUtf8(c.zh));
    }
}

TEST(RuleEnums, LabelsInBothLanguages)
{
    struct Case {
        QString (*read)();
        const char* en;
        const char* zh;
    };
    const Case cases[] = {
        {[] { return label(CaseMode::none); }, "—", "—"},
        {[] { return label(CaseMode::title); }, "Title Case", "首字母大写"},
        {[] { return label(KeepSide::last); }, "Last", "后"},
        {[] { return label(SpaceMode::underscore); }, "→ _", "→ _"},
        {[] { return label(SpaceMode::collapse); }, "collapse", "合并"},
        {[] { return label(NumberPosition::renumber); }, "Renumber existing", "重新编号(替换原数字)"},
        {[] { return label(NumberPosition::custom); }, "At position…", "指定位置…"},
        {[] { return label(NumberFormat::upper); }, "A, B, C", "A, B, C"},
        {[] { return label(NumberDir::desc); }, "Descending", "倒序"},
        {[] { return label(DateSource::capture); }, "Capture/creation", "拍摄/创建"},
        {[] { return label(DateSource::created); }, "File created", "文件创建时间"},
        {[] { return label(NameLang::automatic); }, "Auto (content)", "自动(按内容)"},
        {[] { return label(NameLang::tchinese); }, "繁體中文", "繁體中文"},
        {[] { return label(NameLang::portuguese); }, "Português", "Português"},
    };
    for (const Case& c : cases) {
        {
            LangGuard en(false);
            EXPECT_EQ(c.read(), QString::fromUtf8(c.en));
        }
        LangGuard zh(true);
        EXPECT_EQ(c.read(), QString::fromUtf8(c.zh));
    }
    for (NameLang lang : allCases<NameLang>())
        EXPECT_EQ(lookupRawValue<NameLang>(rawValue(lang)), lang);
    EXPECT_EQ(rawValue(NameLang::automatic), "auto");
    EXPECT_EQ(promptName(NameLang::automatic), "");
    EXPECT_EQ(promptName(NameLang::schinese), "Simplified Chinese");
    EXPECT_EQ(promptName(NameLang::russian), "Russian");
    EXPECT_EQ(lookupRawValue<SmartRenameStyle>("EMAIL"), SmartRenameStyle::email);
    EXPECT_EQ(lookupRawValue<SmartRenameStyle>("email"), std::nullopt);
}
