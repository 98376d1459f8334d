#include "email/email_builtins.h"
#include "model/file_dates.h"
#include "model/name_preview.h"
#include "platform/settings.h"
#include "test_support.h"

#include <gtest/gtest.h>

namespace {
QStringList canonicals(const QList<SmartRename::CutType>& list)
{
    QStringList out;
    for (const auto& c : list)
        out << c.canonical;
    return out;
}

QStringList builtInNames()
{
    return canonicals(SmartRename::defaultCutTypes());
}

SmartRename::CutType cut(const QString& canonical)
{
    return {QUuid::createUuid(), canonical, {canonical.toUpper()}};
}
}  // namespace

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
    EXPECT_FALSE(TestEnv().makeStore({})->langZh());
}

TEST(StoreSettings, BatchRuleOrderDropsUnknownAndAppendsMissing)
{
    TestEnv env;
    env.settings->setStringList("batchRuleOrder", {"suffix", "bogus", "prefix"});
    auto store = env.makeStore();
    const QList<BatchRuleKind> expected{BatchRuleKind::suffix,      BatchRuleKind::prefix,
                                        BatchRuleKind::findReplace, BatchRuleKind::deleteBefore,
                                        BatchRuleKind::deleteAfter, BatchRuleKind::remove,
                                        BatchRuleKind::caseRule,    BatchRuleKind::truncate,
                                        BatchRuleKind::whitespace,  BatchRuleKind::sequentialNumber,
                                        BatchRuleKind::insertDate};
    EXPECT_EQ(store->rules().batchRuleOrder, expected);

    TestEnv twice;
    twice.settings->setStringList("batchRuleOrder", {"suffix", "bogus", "suffix", "prefix"});
    EXPECT_EQ(twice.makeStore()->rules().batchRuleOrder, expected);
}

// A value of the wrong type or shape under a key restores that key's default and is not rewritten.
TEST(StoreSettings, WrongTypesAndBadDataRestoreDefaults)
{
    TestEnv env;
    env.settings->setString("showRestoreAll", "false");
    env.settings->setString("mediaDriveMode", "true");
    env.settings->setBool("quickEditMode", true);
    env.settings->setString("aiLang", "klingon");
    env.settings->setBool("smartRenameIgnoreText", true);
    env.settings->setString("batchRuleOrder", "prefix");
    env.settings->setData("customNamingConfig", "{\"separator\": 5}");
    env.settings->setData("learnedWordSplits", "{\"ABC\": \"A B C\"}");
    env.settings->setData("smartVariants", "not json");
    env.settings->setData("emailTemplates", "[]");
    auto store = env.makeStore();

    EXPECT_TRUE(store->prefs().showRestoreAll);
    EXPECT_FALSE(store->prefs().mediaDriveMode);
    EXPECT_TRUE(store->prefs().quickEditMode);
    EXPECT_EQ(store->sections().aiLang, NameLang::automatic);
    EXPECT_EQ(store->smart().smartRenameIgnoreText, "");
    EXPECT_EQ(store->rules().batchRuleOrder.first(), BatchRuleKind::findReplace);
    EXPECT_EQ(store->smart().customNamingConfig, SmartRename::CustomNamingConfig{});
    EXPECT_TRUE(store->smart().learnedWordSplits.isEmpty());
    EXPECT_TRUE(store->smart().smartVariants.isEmpty());
    EXPECT_EQ(store->email().emailTemplates, BuiltInEmail::all());
    EXPECT_EQ(env.settings->stringValue("showRestoreAll"), "false");
    EXPECT_EQ(env.settings->dataValue("emailTemplates"), "[]");
}

TEST(StoreSettings, StoredValuesAreRestored)
{
    TestEnv env;
    env.settings->setString("aiLang", "japanese");
    env.settings->setStringList("binCheckboxCols", {"Hero"});
    env.settings->setStringList("smartRenameStyleOrder", {"CUSTOM", "EMAIL"});
    env.settings->setData("customNamingConfig", "{\"separator\":\"-\",\"caseStyle\":\"As-Is\"}");
    env.settings->setData("learnedWordSplits", "{\"NIGHTSHOOT\":[\"Night\",\"Shoot\"]}");
    auto store = env.makeStore();

    EXPECT_EQ(store->sections().aiLang, NameLang::japanese);
    EXPECT_EQ(store->meta().binCheckboxCols, (QSet<QString>{"Hero", "Good", "Circle"}));
    EXPECT_EQ(store->smart().smartRenameStyleOrder,
              (QList<SmartRenameStyle>{SmartRenameStyle::custom, SmartRenameStyle::email, SmartRenameStyle::finishing,
                                       SmartRenameStyle::posting}));
    SmartRename::CustomNamingConfig partial;  // absent keys keep their defaults
    partial.separator = "-";
    partial.caseStyle = SmartRename::CustomNamingConfig::CaseStyle::asIs;
    EXPECT_EQ(store->smart().customNamingConfig, partial);
    EXPECT_EQ(store->smart().learnedWordSplits.value("NIGHTSHOOT"), (QStringList{"Night", "Shoot"}));
}

TEST(StoreSettings, CustomNamingConfigWithUnknownRawValueIsDefault)
{
    for (const QByteArray& json :
         {QByteArray("{\"caseStyle\":\"Shouty\"}"), QByteArray("{\"sectionOrder\":[\"code\",\"scene\"]}"),
          QByteArray("{\"quoteSpotName\":\"yes\"}"), QByteArray("[]")}) {
        TestEnv env;
        env.settings->setData("customNamingConfig", json);
        EXPECT_EQ(env.makeStore()->smart().customNamingConfig, SmartRename::CustomNamingConfig{}) << json.data();
    }
}

TEST(StoreSettings, CutTypesAbsentGiveBuiltInsAndMarkThemSeen)
{
    TestEnv env;
    auto store = env.makeStore();
    EXPECT_EQ(canonicals(store->smart().customCutTypes), builtInNames());
    EXPECT_FALSE(env.settings->contains("customCutTypes"));
    EXPECT_EQ(env.settings->stringListValue("seenBuiltInCutTypes"), builtInNames());
}

TEST(StoreSettings, CutTypeMergeCases)
{
    struct Case {
        const char* what;
        QStringList user;
        std::optional<QStringList> seen;
        QStringList expected;
        bool rewritten;
    };
    const Case cases[] = {
        {"seen absent: only the built-in outside the fixed set is appended",
         {"Promo"},
         std::nullopt,
         {"Promo", "Digital Trlr"},
         true},
        {"user entry in other case blocks the built-in", {"DIGITAL TRLR"}, std::nullopt, {"DIGITAL TRLR"}, false},
        {"all seen: a deleted built-in stays deleted", {"Promo"}, builtInNames(), {"Promo"}, false},
        {"unseen built-ins are merged once",
         {"Trlr"},
         QStringList{"Trlr", "Tsr", "Sizzle", "Featurette", "Misc", "Radio", "Stringout", "Select", "Graphic"},
         {"Trlr", "Clip", "Digital Trlr"},
         true},
        {"TRLR blocks an unseen Trlr",
         {"TRLR"},
         QStringList{},
         {"TRLR", "Tsr", "Sizzle", "Featurette", "Misc", "Radio", "Stringout", "Select", "Graphic", "Clip",
          "Digital Trlr"},
         true},
    };
    for (const Case& c : cases) {
        TestEnv env;
        QList<SmartRename::CutType> user;
        for (const QString& name : c.user)
            user << cut(name);
        const QByteArray stored = SmartRename::encodeCutTypes(user);
        env.settings->setData("customCutTypes", stored);
        if (c.seen)
            env.settings->setStringList("seenBuiltInCutTypes", *c.seen);
        auto store = env.makeStore();
        EXPECT_EQ(canonicals(store->smart().customCutTypes), c.expected) << c.what;
        EXPECT_EQ(store->smart().customCutTypes.mid(0, user.size()), user) << c.what;
        EXPECT_EQ(env.settings->dataValue("customCutTypes") != stored, c.rewritten) << c.what;
        EXPECT_EQ(env.settings->stringListValue("seenBuiltInCutTypes"), builtInNames()) << c.what;
    }
}

TEST(StoreSettings, SettersWriteTheirKeysEvenWhenUnchanged)
{
    TestEnv env;
    auto store = env.makeStore();
    store->preview().smartFixCache().insert("A", "B");
    const auto list = store->smart().customCutTypes;
    store->setCustomCutTypes(list);
    EXPECT_TRUE(store->preview().smartFixCache().isEmpty());
    EXPECT_EQ(SmartRename::decodeCutTypes(*env.settings->dataValue("customCutTypes")), list);

    store->setShowRestoreAll(true);
    store->setAiLang(NameLang::russian);
    store->setSmartRenameIgnoreText("[tag]");
    store->setBatchRuleOrder({BatchRuleKind::insertDate});
    EXPECT_EQ(env.settings->boolValue("showRestoreAll"), true);
    EXPECT_EQ(env.settings->stringValue("aiLang"), "russian");
    EXPECT_EQ(env.settings->stringValue("smartRenameIgnoreText"), "[tag]");
    EXPECT_EQ(env.settings->stringListValue("batchRuleOrder"), QStringList{"insertDate"});

    store->setEmailTemplates({});
    EXPECT_EQ(env.makeStore()->email().emailTemplates, BuiltInEmail::all());
}

TEST(StoreSettings, DateCachesEmptiedOnlyWhenTheItemCountChanges)
{
    TestEnv env;
    auto store = env.makeStore();
    QList<FileItem> three;
    for (const char* name : {"a.mov", "b.mov", "c.mov"})
        three << FileItem::file(env.path(name));
    store->setItems(three);
    store->dates().dateStringCache().insert("k", "v");
    std::reverse(three.begin(), three.end());
    store->setItems(three);
    EXPECT_EQ(store->dates().dateStringCache().size(), 1);
    store->editItems([&](QList<FileItem>& items) { items << FileItem::file(env.path("d.mov")); });
    EXPECT_TRUE(store->dates().dateStringCache().isEmpty());
}

TEST(StoreSettings, DamagedSettingsFileIsReported)
{
    TestEnv env;
    const QString path = env.makeFile("settings.json", "not json");
    StoreServices services = env.services();
    services.settings = std::make_shared<FileSettings>(path);
    Store store(services);
    EXPECT_TRUE(
        store.status().startsWith("The settings could not be read; the file was kept as “settings.json.damaged-"))
        << store.status().toStdString();
}
