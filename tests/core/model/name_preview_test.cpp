#include "model/name_preview.h"
#include "model/name_validation.h"
#include "smartrename/smart_rename_recognize.h"
#include "test_support.h"

#include <QDir>
#include <QFile>
#include <functional>
#include <gtest/gtest.h>

namespace {

struct NameFixture : testing::Test {
    TestEnv env;
    std::unique_ptr<Store> store = env.makeStore();

    FileItem add(const QString& relative, bool create = true)
    {
        const QString path = create ? env.makeFile(relative) : env.path(relative);
        FileItem item = FileItem::file(path);
        store->editItems([&](QList<FileItem>& items) { items.append(item); });
        return item;
    }
    QString nameAt(int i, const QSet<QUuid>& selection = {}) const
    {
        return store->preview().newName(store->items().at(i), i, selection);
    }
};

TEST_F(NameFixture, ScopeLimitedToEmptySelectionChangesNothing)
{
    add("a.mov");
    add("b.mov");
    store->editRules([](RuleSettings& r) {
        r.prefixEnabled = true;
        r.prefixText = "x_";
    });
    store->editSections([](NameSections& s) { s.scopeAllFiles = false; });
    EXPECT_EQ(nameAt(0), "a.mov");
    EXPECT_EQ(store->preview().conflictReasons({}).willRename, 0);
    EXPECT_EQ(nameAt(1, {store->items().at(1).id}), "x_b.mov");
}

TEST_F(NameFixture, NumbersFollowPlaceInWholeListWhateverTheScope)
{
    for (int i = 0; i < 6; ++i)
        add(QStringLiteral("f%1.mov").arg(i));
    store->editRules([](RuleSettings& r) {
        r.numberEnabled = true;
        r.numPos = NumberPosition::replace;
        r.numStart = 10;
    });
    store->editSections([](NameSections& s) { s.scopeAllFiles = false; });
    const QSet<QUuid> sel{store->items().at(2).id, store->items().at(5).id};
    EXPECT_EQ(nameAt(2, sel), "12.mov");
    EXPECT_EQ(nameAt(5, sel), "15.mov");
    store->editRules([](RuleSettings& r) { r.numDir = NumberDir::desc; });
    EXPECT_EQ(nameAt(2, sel), "13.mov");
    EXPECT_EQ(nameAt(5, sel), "10.mov");
}

TEST_F(NameFixture, FixedSectionsTemplateBeatsSmartRenameBeatsAIName)
{
    FileItem item = add("A001_C002.mov");
    store->editItems([](QList<FileItem>& items) { items[0].aiName = QStringLiteral("Sunset Beach"); });
    store->editSections([](NameSections& s) { s.useAIName = true; });
    EXPECT_EQ(nameAt(0), "Sunset Beach.mov");
    store->editSections([](NameSections& s) { s.smartRenameEnabled = true; });
    EXPECT_EQ(nameAt(0), store->preview().smartFixed("A001_C002") + ".mov");
    store->editMeta([&](MetaDrafts& m) { m.metaDraft[item.id].clipName = "Hero"; });
    store->editSections([](NameSections& s) {
        s.templateEnabled = true;
        s.templateText = "%clipname_%n_%scene";
    });
    EXPECT_EQ(nameAt(0), "Hero_1_%scene.mov");  // unresolved references stay as typed
    store->editItems([](QList<FileItem>& items) { items[0].useAI = false; });
    store->editSections([](NameSections& s) {
        s.templateEnabled = false;
        s.smartRenameEnabled = false;
    });
    EXPECT_EQ(nameAt(0), "A001_C002.mov");
}

TEST_F(NameFixture, ExtensionRule)
{
    add("a.mov");
    const QString dir = env.path("folder");
    QDir().mkpath(dir);
    store->editItems([&](QList<FileItem>& items) { items.append(FileItem::folder(dir)); });
    store->editSections([](NameSections& s) {
        s.extEnabled = true;
        s.extText = ".MP4";
    });
    EXPECT_EQ(nameAt(0), "a.MP4");
    EXPECT_EQ(nameAt(1), "folder");
    store->editSections([](NameSections& s) { s.extText = " .. "; });
    EXPECT_EQ(nameAt(0), "a");
}

// With no rule on, every name must come back as it is, whatever its shape.
TEST_F(NameFixture, NoRulesKeepEveryNameShape)
{
    const QStringList names{"clip.mov", "clip.", "clip..", "a.b.c", ".hidden", "noext"};
    for (const QString& n : names)
        add(n);
    for (int i = 0; i < names.size(); ++i)
        EXPECT_EQ(nameAt(i), names[i]);
    EXPECT_EQ(store->preview().conflictReasons({}).willRename, 0);
    EXPECT_EQ(store->items().at(1).stem, "clip.");
    EXPECT_EQ(store->items().at(1).ext, "");
}

TEST_F(NameFixture, RuleChangeInSameTurnIsSeen)
{
    add("a.mov");
    store->editRules([](RuleSettings& r) {
        r.suffixEnabled = true;
        r.suffixText = "_1";
    });
    EXPECT_EQ(nameAt(0), "a_1.mov");
    store->editRules([](RuleSettings& r) { r.suffixText = "_2"; });
    EXPECT_EQ(nameAt(0), "a_2.mov");
    store->setBatchRuleOrder({BatchRuleKind::suffix, BatchRuleKind::caseRule});
    store->editRules([](RuleSettings& r) { r.caseMode = CaseMode::upper; });
    EXPECT_EQ(nameAt(0), "A_2.mov");
}

TEST_F(NameFixture, SmartFixedIsMemoisedAndStyleChangeEmptiesCache)
{
    const QString first = store->preview().smartFixed("  x  ");
    EXPECT_EQ(store->preview().smartFixCache().value("  x  "), first);
    store->preview().smartFixCache()["  x  "] = "memo";
    EXPECT_EQ(store->preview().smartFixed("  x  "), "memo");
    store->editSections([](NameSections& s) { s.smartRenameEnabled = true; });
    EXPECT_EQ(store->preview().smartFixCache().size(), 1);  // other settings keep it
    store->editSections([](NameSections& s) { s.smartRenameStyle = SmartRenameStyle::posting; });
    EXPECT_TRUE(store->preview().smartFixCache().isEmpty());
    EXPECT_NE(store->preview().smartFixed("  x  "), "memo");
}

// A check that began before the Smart Rename settings changed must not bring back what the old
// settings made of its stems.
TEST_F(NameFixture, ACheckKeepsSmartRenameResultsOnlyWhenTheSettingsStayed)
{
    add("ABC_Spot_30s_V2.mov");
    store->editSections([](NameSections& s) { s.smartRenameEnabled = true; });
    const auto checkAndKeep = [&](bool changeMeanwhile) {
        store->preview().dropSmartFixes();
        NameSnapshot snapshot = store->preview().snapshot({});
        auto result = checkConflicts(std::move(snapshot), nullptr);
        if (changeMeanwhile)
            store->setCustomCutTypes(store->smart().customCutTypes);
        store->preview().keepResults(*result);
    };
    checkAndKeep(false);
    EXPECT_FALSE(store->preview().smartFixCache().isEmpty());
    checkAndKeep(true);
    EXPECT_TRUE(store->preview().smartFixCache().isEmpty());
}

TEST_F(NameFixture, SmartFixedRetriesWithSeparatorAndCleanUp)
{
    SmartRename::CustomNamingConfig config;
    config.separator = " - ";
    store->setCustomNamingConfig(config);
    const auto correct = [&](const QString& cleaned, bool noCode) {
        return SmartRename::correct(cleaned, SmartRenameStyle::finishing, store->smart().customCutTypes, config,
                                    store->smart().learnedWordSplits, noCode);
    };
    const auto separatorRetry = correct("ABC_Spot_30s_V2", false);
    ASSERT_FALSE(separatorRetry.missingVersion);
    ASSERT_TRUE(correct("ABC-Spot-30s-V2", false).missingVersion);
    EXPECT_EQ(store->preview().smartFixed("ABC-Spot-30s-V2"), separatorRetry.corrected);

    const auto cleanUpRetry = correct("ABC_Spot_Name_30s_V2", true);
    ASSERT_FALSE(cleanUpRetry.missingVersion);
    EXPECT_EQ(store->preview().smartFixed("ABC: Spot Name  30s V.2"), cleanUpRetry.corrected);
    // Still missing after both retries: the first answer stands.
    EXPECT_EQ(store->preview().smartFixed("ABC_Spot Name_30s"), correct("ABC_Spot Name_30s", false).corrected);
}

TEST_F(NameFixture, SmartFixCacheIsEmptiedWholeAtItsBound)
{
    for (int i = 0; i < 50000; ++i)
        store->preview().smartFixCache().insert(QString::number(i), {});
    store->preview().smartFixed("new");
    EXPECT_EQ(store->preview().smartFixCache().size(), 1);
}

struct ValidationCase {
    QString proposed, current;
    const char* english;
    const char* chinese;
};

TEST(ValidateNewName, ReasonsInBothLanguages)
{
    const ValidationCase cases[] = {
        {"", "a", "the new name is empty", "新名称为空"},
        {".", "a", "the new name is empty", "新名称为空"},
        {"..", "a", "the new name is empty", "新名称为空"},
        {"a/b", "a", "“/” isn't allowed in a file name", "文件名不能包含“/”"},
        {QString("a") + QChar(0) + "b", "a", "the new name contains an invalid character", "新名称含有无效字符"},
        {QString(256, u'a'), "a", "the new name is too long", "新名称过长"},
        {QString(100, QChar(0x4E2D)), "a", "the new name is too long", "新名称过长"},
        {".a", "a", "a name starting with “.” would hide the file", "以“.”开头的名称会让文件被隐藏"},
        {QString(255, u'a'), "a", nullptr, nullptr},
        {".other", ".hidden", nullptr, nullptr},
        {"a:b", "a", nullptr, nullptr},
    };
    TestEnv env;
    auto store = env.makeStore();
    for (bool zh : {false, true}) {
        store->setLangZh(zh);
        for (const ValidationCase& c : cases) {
            const auto reason = validateNewName(c.proposed, c.current);
            if (!c.english) {
                EXPECT_FALSE(reason) << c.proposed.left(20).toStdString();
                continue;
            }
            ASSERT_TRUE(reason) << c.proposed.left(20).toStdString();
            EXPECT_EQ(*reason, QString::fromUtf8(zh ? c.chinese : c.english));
        }
    }
}

TEST(IsSameFile, ComparesIdentityNotText)
{
    TestEnv env;
    const QString a = env.makeFile("a.txt");
    const QString b = env.makeFile("b.txt");
    ASSERT_EQ(::link(QFile::encodeName(a).constData(), QFile::encodeName(env.path("hard.txt")).constData()), 0);
    EXPECT_TRUE(isSameFile(a, env.path("./a.txt")));
    EXPECT_TRUE(isSameFile(a, env.path("hard.txt")));
    EXPECT_FALSE(isSameFile(a, b));
    EXPECT_FALSE(isSameFile(a, env.path("missing")));
}

struct ConflictFixture : NameFixture {
    void replaceRule(const QString& find, const QString& replace)
    {
        store->editRules([&](RuleSettings& r) {
            r.findEnabled = true;
            r.find = find;
            r.replace = replace;
            r.useRegex = true;
        });
    }
    QString reasonOf(int i, const NamePreview::ConflictResult& r) const
    {
        return r.reasons.value(store->items().at(i).id);
    }
};

TEST_F(ConflictFixture, SwapOfTwoListedNamesIsAllowed)
{
    add("a.mov");
    add("b.mov");
    replaceRule("^(a|b)$", "X");
    store->editRules([](RuleSettings& r) {
        r.findEnabled = false;
        r.numberEnabled = true;
        r.numPos = NumberPosition::replace;
        r.numFormat = NumberFormat::lower;
        r.numDir = NumberDir::desc;
        r.numPad = 0;
    });
    EXPECT_EQ(nameAt(0), "b.mov");
    EXPECT_EQ(nameAt(1), "a.mov");
    const auto result = store->preview().conflictReasons({});
    EXPECT_TRUE(result.reasons.isEmpty());
    EXPECT_EQ(result.willRename, 2);
}

TEST_F(ConflictFixture, CaseOnlyChangePasses)
{
    add("clip.mov");
    store->editRules([](RuleSettings& r) { r.caseMode = CaseMode::title; });
    EXPECT_EQ(nameAt(0), "Clip.mov");
    const auto result = store->preview().conflictReasons({});
    EXPECT_TRUE(result.reasons.isEmpty());
    EXPECT_EQ(result.willRename, 1);
}

TEST_F(ConflictFixture, NamesDifferingOnlyByCaseCollide)
{
    add("one/a1.mov");
    add("one/A2.mov");
    add("two/a3.mov");
    add("Ünï/é4.mov");
    add("Ünï/É5.mov");
    add("ünï/é6.mov");  // another folder: only the folder's letter case differs
    replaceRule("[0-9]", "");
    const auto result = store->preview().conflictReasons({});
    for (int i : {0, 1, 3, 4, 5})
        EXPECT_EQ(reasonOf(i, result), "another file in the list would get the same name") << i;
    EXPECT_TRUE(reasonOf(2, result).isEmpty());
    EXPECT_EQ(result.willRename, 1);
}

TEST_F(ConflictFixture, NameTakenOnDisk)
{
    add("a.mov");
    env.makeFile("b.mov");
    ASSERT_EQ(::symlink("nowhere", QFile::encodeName(env.path("c.mov")).constData()), 0);
    add("d.mov");
    replaceRule("^(a|d)$", "b");
    store->setLangZh(true);
    auto result = store->preview().conflictReasons({});
    EXPECT_EQ(reasonOf(0, result), "列表里另一个文件会得到同样的名字");
    replaceRule("^a$", "b");
    result = store->preview().conflictReasons({});
    EXPECT_EQ(reasonOf(0, result), "文件夹里已有同名文件");
    replaceRule("^d$", "c");  // a dangling link still takes the name
    result = store->preview().conflictReasons({});
    EXPECT_EQ(reasonOf(1, result), "文件夹里已有同名文件");
    EXPECT_EQ(result.willRename, 0);
}

TEST_F(ConflictFixture, TargetOfListedFileThatStaysIsTaken)
{
    add("a.mov");
    add("b.mov");
    replaceRule("^a$", "b");  // b keeps its name, so a cannot move onto it
    const auto result = store->preview().conflictReasons({});
    EXPECT_EQ(reasonOf(0, result), "a file with this name already exists in the folder");
    EXPECT_EQ(result.willRename, 0);
}

TEST_F(ConflictFixture, InvalidNamesKeepTheirReasonAndUnchangedAreNotCounted)
{
    add("a.mov");
    add("b.mov");
    add("c.mov");
    replaceRule("^a$", "x/y");
    store->editRules([](RuleSettings& r) {
        r.removeEnabled = true;
        r.removeStr = "b";
    });
    const auto result = store->preview().conflictReasons({});
    EXPECT_EQ(reasonOf(0, result), "“/” isn't allowed in a file name");
    EXPECT_EQ(reasonOf(1, result), "a name starting with “.” would hide the file");  // ".mov"
    EXPECT_EQ(result.reasons.size(), 2);
    EXPECT_EQ(result.willRename, 0);
}

}  // namespace

// The check on another thread reads a snapshot; its names must be the ones the list shows and
// Apply renames to, whichever section makes them, and a newer check can stop it between names.
TEST_F(NameFixture, ASnapshotGivesThePreviewsNamesAndStopsWhenCancelled)
{
    for (const char* name : {"A001_C002_take 1.mov", "clip.mp4", "IMG_0001.JPG", "notes"})
        add(name);
    store->editItems([](QList<FileItem>& items) { items[2].aiName = QStringLiteral("Beach"); });
    store->editRules([](RuleSettings& r) {
        r.findEnabled = true;
        r.useRegex = true;
        r.find = "([0-9]+)";
        r.replace = "<$1>";
        r.numberEnabled = true;
        r.dateEnabled = true;
        r.dateSource = DateSource::modified;
    });
    const QSet<QUuid> selection{store->items().at(1).id, store->items().at(2).id};
    const QList<std::function<void(NameSections&)>> sections = {
        [](NameSections&) {},
        [](NameSections& s) { s.scopeAllFiles = false; },
        [](NameSections& s) { s.useAIName = true; },
        [](NameSections& s) { s.smartRenameEnabled = true; },
        [](NameSections& s) {
            s.templateEnabled = true;
            s.templateText = "%name-%n";
            s.extEnabled = true;
            s.extText = ".MOV";
        },
    };
    for (qsizetype k = 0; k < sections.size(); ++k) {
        SCOPED_TRACE(k);
        store->editSections([&](NameSections& s) {
            s = NameSections();
            sections[k](s);
        });
        NameSnapshot snapshot = store->preview().snapshot(selection);
        const std::optional<QList<QString>> names = snapshotNames(snapshot);
        ASSERT_TRUE(names.has_value());
        ASSERT_EQ(names->size(), store->items().size());
        for (int i = 0; i < store->items().size(); ++i)
            EXPECT_EQ(names->at(i), nameAt(i, selection));
    }

    const std::atomic<bool> cancelled{true};
    NameSnapshot snapshot = store->preview().snapshot({});
    EXPECT_FALSE(snapshotNames(snapshot, &cancelled).has_value());
    EXPECT_FALSE(checkConflicts(store->preview().snapshot({}), store->preview().listings(), &cancelled).has_value());
}

// A long list's names are worked out on several threads in parts: each part's names are still
// the preview's, whatever the rules read (place in the list, dates, Smart Rename results).
TEST_F(NameFixture, ALongListsNamesAreThePreviewsWhateverTheParts)
{
    QList<FileItem> items;
    const QDateTime base(QDate(2024, 5, 31), QTime(9, 0));
    for (int i = 0; i < 5000; ++i) {
        FileItem item = FileItem::file(env.path(QStringLiteral("A%1_C%2 take %3.mov").arg(i % 97).arg(i).arg(i % 7)));
        if (i % 3 != 0)
            item.captureDate = base.addSecs(i * 3600);
        items << item;
    }
    store->setItems(items);
    const QList<std::function<void(RuleSettings&, NameSections&)>> setups = {
        [](RuleSettings& r, NameSections&) {
            r.findEnabled = true;
            r.useRegex = true;
            r.find = "^A([0-9]+)_C([0-9]+)";
            r.replace = "Reel$1\\$_#_$2$9";
            r.spaceMode = SpaceMode::underscore;
        },
        [](RuleSettings& r, NameSections&) {
            r.numberEnabled = true;
            r.numDir = NumberDir::desc;
            r.numPos = NumberPosition::renumber;
            r.caseMode = CaseMode::upper;
            r.dateEnabled = true;
            r.dateFormat = "yyyyMMdd-HH";
        },
        [](RuleSettings& r, NameSections& s) {
            s.smartRenameEnabled = true;
            s.extEnabled = true;
            s.extText = " .MOV";
            r.truncEnabled = true;
            r.keepN = 12;
        },
    };
    for (qsizetype k = 0; k < setups.size(); ++k) {
        SCOPED_TRACE(k);
        RuleSettings rules;
        rules.batchRuleOrder = store->rules().batchRuleOrder;
        NameSections sections;
        setups[k](rules, sections);
        store->editRules([&](RuleSettings& r) { r = rules; });
        store->editSections([&](NameSections& s) { s = sections; });
        NameSnapshot snapshot = store->preview().snapshot({});
        const std::optional<QList<QString>> names = snapshotNames(snapshot);
        ASSERT_TRUE(names.has_value());
        ASSERT_EQ(names->size(), items.size());
        int differing = 0;
        for (int i = 0; i < items.size(); ++i)
            differing += names->at(i) != nameAt(i) ? 1 : 0;
        EXPECT_EQ(differing, 0);
        EXPECT_NE(names->at(4999), items.at(4999).name);
    }
}
