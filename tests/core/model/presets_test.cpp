#include "model/preset_bundle.h"
#include "model/presets.h"
#include "platform/lang.h"
#include "test_support.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <gtest/gtest.h>

namespace {
QByteArray presetData(const QString& prefix)
{
    GUIPreset p;
    p.prefixEnabled = true;
    p.prefixText = prefix;
    return QJsonDocument(p.toJson()).toJson();
}
}  // namespace

TEST(Presets, SaveLoadAndReadRoundTrip)
{
    TestEnv env;
    auto store = env.makeStore();
    store->editRules([](RuleSettings& r) { r.suffixEnabled = true, r.suffixText = "_v2"; });
    EXPECT_TRUE(store->presets().save("Dailies/Selects"));
    EXPECT_EQ(store->status(), "Preset saved: Dailies_Selects");
    EXPECT_EQ(store->presetNames(), QStringList{"Dailies_Selects"});
    const auto stored = GUIPreset::fromJsonData(readFile(env.path("support/presets/Dailies_Selects.gui.json")));
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->toJson().size(), 37);

    store->editRules([](RuleSettings& r) { r.suffixText = "changed"; });
    EXPECT_TRUE(store->presets().save("Dailies/Selects"));  // replaces without asking
    store->editRules([](RuleSettings& r) { r.suffixText = "other"; });
    store->presets().load("Dailies_Selects");
    EXPECT_EQ(store->rules().suffixText, "changed");
    EXPECT_EQ(store->status(), "Loaded preset: Dailies_Selects");
    EXPECT_EQ(store->presets().read("Dailies_Selects")->suffixText, "changed");

    store->setLangZh(true);
    store->presets().load("missing");
    EXPECT_EQ(store->status(), "Loaded preset: Dailies_Selects");  // nothing happened
    EXPECT_FALSE(store->presets().read("missing"));
    EXPECT_FALSE(store->presets().save(""));
    EXPECT_TRUE(store->presets().save(QString("Night") + QChar(0) + "\x01Shoot"));
    EXPECT_EQ(store->status(), "已保存预设:Night__Shoot");
}

TEST(Presets, SaveThatCannotWriteSaysSo)
{
    TestEnv env;
    env.makeFile("support/presets", "a file where the folder should be");
    auto store = env.makeStore();
    EXPECT_FALSE(store->presets().save("Dailies"));
    EXPECT_EQ(store->status(), "Couldn't save preset: Dailies");
    store->setLangZh(true);
    EXPECT_FALSE(store->presets().save("Dailies"));
    EXPECT_EQ(store->status(), "无法保存预设:Dailies");
}

TEST(Presets, DeleteReportsOnlyWhatHappened)
{
    TestEnv env;
    auto store = env.makeStore();
    store->presets().save("Keep");
    EXPECT_TRUE(store->presets().remove("Keep"));
    EXPECT_EQ(store->status(), "Deleted preset: Keep");
    EXPECT_TRUE(store->presetNames().isEmpty());
    EXPECT_TRUE(store->presets().remove("Keep"));  // already gone
    EXPECT_EQ(store->status(), "Deleted preset: Keep");

    env.makeFile("support/presets/Stuck.gui.json/inside", "x");  // a folder that can't be removed as a file
    store->presets().refreshNames();
    store->setLangZh(true);
    EXPECT_FALSE(store->presets().remove("Stuck"));
    EXPECT_EQ(store->status(), "无法删除预设:Stuck");
    EXPECT_EQ(store->presetNames(), QStringList{"Stuck"});
}

TEST(Presets, ListingOrderAndFilter)
{
    TestEnv env;
    for (const char* name : {"preset10.gui.json", "Preset2.gui.json", "preset1.gui.json", ".hidden.gui.json",
                             "notes.json", "LOUD.GUI.JSON", "b.gui.json", "B.gui.json"})
        env.makeFile(QString("support/presets/") + name, "{}");
    auto store = env.makeStore();
    EXPECT_TRUE(store->presetNames().isEmpty());  // until the first refresh
    store->presets().refreshNames();
    EXPECT_EQ(store->presetNames(), (QStringList{".hidden", "B", "b", "preset1", "Preset2", "preset10"}));
    TestEnv fresh;
    auto none = fresh.makeStore();
    none->presets().refreshNames();  // a missing folder lists nothing
    EXPECT_TRUE(none->presetNames().isEmpty());
}

TEST(Presets, ExportWritesSortedPrettyBundleOfReadablePresets)
{
    TestEnv env;
    auto store = env.makeStore();
    const QString dest = env.path("Brindlecove Presets.json");
    EXPECT_EQ(store->presets().exportAll(dest), "");
    const auto empty = QJsonDocument::fromJson(readFile(dest)).object();
    EXPECT_EQ(empty.value("format"), "BrindlecovePresets");
    EXPECT_EQ(empty.value("version"), 1);
    EXPECT_EQ(empty.value("presets").toObject(), QJsonObject());

    store->presets().save("Zeta");
    store->presets().save("Alpha");
    env.makeFile("support/presets/Broken.gui.json", "{\"find\": 1}");
    store->presets().refreshNames();
    EXPECT_EQ(store->presets().exportAll(dest), "");
    const QByteArray text = readFile(dest);
    const auto bundle = PresetBundle::decode(text);
    ASSERT_TRUE(bundle);
    EXPECT_EQ(bundle->presets.keys(), (QStringList{"Alpha", "Zeta"}));
    EXPECT_EQ(bundle->presets.value("Alpha"), store->presets().current());
    EXPECT_TRUE(text.startsWith("{\n  \"format\" : \"BrindlecovePresets\",\n  \"presets\" : {\n    \"Alpha\" : {\n"));
    EXPECT_LT(text.indexOf("\"caseMode\""), text.indexOf("\"dateCustomAt\""));

    EXPECT_NE(store->presets().exportAll(env.path("no/such/folder/out.json")), "");
}

TEST(Presets, ImportNamesClashesInTheInterfaceLanguage)
{
    for (const bool zh : {false, true}) {
        TestEnv env;
        auto store = env.makeStore();
        store->setLangZh(zh);
        store->presets().save("Dailies");
        PresetBundle bundle;
        bundle.presets.insert("Dailies", *GUIPreset::fromJsonData(presetData("A")));
        bundle.presets.insert("", *GUIPreset::fromJsonData(presetData("B")));
        bundle.presets.insert("a/b", *GUIPreset::fromJsonData(presetData("C")));
        bundle.presets.insert("a_b", *GUIPreset::fromJsonData(presetData("D")));
        const QString source = env.makeFile("bundle.json", bundle.encode());
        const PresetImport result = store->presets().importFrom(source);
        EXPECT_EQ(result.failure, PresetImport::Failure::none);
        EXPECT_EQ(result.imported, 4);
        const QString imported = zh ? "(导入)" : " (imported)";
        const QString empty = zh ? "导入" : "Imported";
        EXPECT_EQ(QSet<QString>(store->presetNames().begin(), store->presetNames().end()),
                  (QSet<QString>{"Dailies", "Dailies" + imported, empty, "a_b", "a_b" + imported}));
        EXPECT_EQ(store->presets().read("Dailies" + imported)->prefixText, "A");
        EXPECT_EQ(store->presets().read("a_b")->prefixText, "C");  // "a/b" sorts first
        EXPECT_EQ(store->presets().read("a_b" + imported)->prefixText, "D");
        EXPECT_EQ(store->presets().read("Dailies")->prefixText, "");

        EXPECT_EQ(store->presets().importFrom(source).failure, PresetImport::Failure::none);
        EXPECT_TRUE(store->presetNames().contains("Dailies" + imported + imported));
    }
}

TEST(Presets, ImportNeverReplacesAFileTheListMissed)
{
    TestEnv env;
    auto store = env.makeStore();
    store->presets().refreshNames();
    const QString existing = env.makeFile("support/presets/Night.gui.json", presetData("mine"));
    const QString source = env.makeFile("in/Night.gui.json", presetData("theirs"));
    EXPECT_EQ(store->presets().importFrom(source).imported, 1);
    EXPECT_EQ(readFile(existing), presetData("mine"));
    EXPECT_EQ(store->presets().read("Night (imported)")->prefixText, "theirs");
}

TEST(Presets, ImportSingleFilesAndFailures)
{
    TestEnv env;
    auto store = env.makeStore();
    EXPECT_EQ(store->presets().importFrom(env.makeFile("Night.gui.json", presetData("n"))).imported, 1);
    EXPECT_EQ(store->presets().importFrom(env.makeFile("Dailies.json", presetData("d"))).imported, 1);
    EXPECT_EQ(store->presetNames(), (QStringList{"Dailies", "Night"}));

    QJsonObject other = QJsonDocument::fromJson(PresetBundle().encode()).object();
    other.insert("format", "SomethingElse");
    const struct {
        const char* file;
        QByteArray data;
    } bad[] = {
        {"other.json", QJsonDocument(other).toJson()},
        {"text.json", "just some text"},
        {"partial.json", "{\"format\":\"BrindlecovePresets\",\"presets\":{}}"},
        {"huge-version.json", "{\"format\":\"BrindlecovePresets\",\"version\":1e300,\"presets\":{}}"},
        {"broken.json", "{\"format\":\"BrindlecovePresets\",\"version\":1,\"presets\":{\"x\":{\"find\":1}}}"},
    };
    for (const auto& b : bad)
        EXPECT_EQ(store->presets().importFrom(env.makeFile(b.file, b.data)).failure, PresetImport::Failure::notPresets)
            << b.file;
    EXPECT_EQ(store->presets().importFrom(env.path("missing.json")).failure, PresetImport::Failure::unreadable);
    EXPECT_EQ(store->presetNames(), (QStringList{"Dailies", "Night"}));

    const QString empty = env.makeFile("empty.json", PresetBundle().encode());
    const PresetImport none = store->presets().importFrom(empty);
    EXPECT_EQ(none.failure, PresetImport::Failure::none);
    EXPECT_EQ(none.imported, 0);
}

TEST(Presets, ImportStoppedByAFailedWriteKeepsAndListsWhatWasWritten)
{
    TestEnv env;
    auto store = env.makeStore();
    PresetBundle bundle;
    bundle.presets.insert("A", *GUIPreset::fromJsonData(presetData("a")));
    bundle.presets.insert(QString(300, u'B'), *GUIPreset::fromJsonData(presetData("b")));  // no file system takes it
    bundle.presets.insert("C", *GUIPreset::fromJsonData(presetData("c")));
    const PresetImport result = store->presets().importFrom(env.makeFile("bundle.json", bundle.encode()));
    EXPECT_EQ(result.failure, PresetImport::Failure::notSaved);
    EXPECT_FALSE(result.error.isEmpty());
    EXPECT_EQ(result.imported, 1);
    EXPECT_EQ(result.total, 3);
    EXPECT_EQ(store->presetNames(), QStringList{"A"});
}

TEST(Presets, LoadingAPresetWhoseFileCannotBeReadSaysSo)
{
    const struct {
        const char* what;
        bool folder;
        QByteArray data;
    } cases[] = {
        {"not JSON", false, "\x01garbage"},
        {"JSON but not a rule set", false, "{\"format\":\"BrindlecovePresets\"}"},
        {"a folder in its place", true, {}},
    };
    for (const auto& c : cases) {
        TestEnv env;
        auto store = env.makeStore();
        store->editRules([](RuleSettings& r) { r.suffixText = "kept"; });
        if (c.folder)
            QDir().mkpath(env.path("support/presets/Night.gui.json"));
        else
            env.makeFile("support/presets/Night.gui.json", c.data);
        store->presets().refreshNames();
        ASSERT_EQ(store->presetNames(), QStringList{"Night"}) << c.what;
        store->presets().load("Night");
        EXPECT_EQ(store->status(), "Couldn't load preset: Night (its file could not be read).") << c.what;
        EXPECT_EQ(store->rules().suffixText, "kept") << c.what;
        store->setLangZh(true);
        store->presets().load("Night");
        EXPECT_EQ(store->status(), "无法载入预设:Night(无法读取其文件)。") << c.what;
    }
}
