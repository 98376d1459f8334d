// Names and settings no screen would produce but a pasted list, a preset file or a broken
// file system can: every entry point must return a name, never crash or hang.
#include "model/name_preview.h"
#include "model/name_validation.h"
#include "model/rule_engine.h"
#include "smartrename/smart_rename_clean.h"
#include "smartrename/smart_rename_recognize.h"
#include "test_support.h"

#include <climits>
#include <gtest/gtest.h>

namespace {

const QChar kLoneHigh(char16_t(0xD800));
const QChar kLoneLow(char16_t(0xDC00));

QStringList hostileStems()
{
    return {QString(),
            QString(kLoneHigh),
            QString(kLoneLow) + "abc",
            "A001_C002" + QString(kLoneHigh),
            QString(kLoneHigh) + "'quoted" + QString(kLoneLow) + "' name_V2",
            "\u201C\u200B\u201D",
            "%",
            "%%" + QString(kLoneHigh),
            QString(300, u'x') + "_V" + QString(40, u'9'),
            QString(1000, u'_'),
            "V" + QString(kLoneHigh) + "REV" + QString(kLoneLow)};
}

TEST(HostileInput, EveryRuleOnWithExtremeNumbers)
{
    RuleSettings r;
    r.findEnabled = true;
    r.useRegex = true;
    r.find = "^(.)";
    r.replace = "$1$99#\\";
    r.delBeforeEnabled = true;
    r.delBefore = QString(kLoneLow);
    r.caseMode = CaseMode::title;
    r.truncEnabled = true;
    r.keepN = INT_MAX;
    r.keepSide = KeepSide::last;
    r.numberEnabled = true;
    r.numStart = INT_MAX;
    r.numPad = INT_MAX;
    r.numPos = NumberPosition::custom;
    r.numCustomAt = INT_MIN;
    r.numDir = NumberDir::desc;
    r.dateEnabled = true;
    r.datePos = NumberPosition::custom;
    r.dateCustomAt = INT_MAX;
    const auto kinds = allCases<BatchRuleKind>();
    const QList<BatchRuleKind> order(kinds.begin(), kinds.end());
    for (const QString& stem : hostileStems()) {
        for (int index : {0, INT_MAX}) {
            const QString out = applyRules(r, stem, index, INT_MAX, "2024", order);
            EXPECT_FALSE(out.isNull() && !stem.isEmpty());
        }
    }
    r.numFormat = NumberFormat::upper;
    r.numStart = INT_MIN;
    EXPECT_EQ(sequenceNumberText(r, INT_MAX, 0), "A");  // INT_MIN + INT_MAX - 1 is below 1
    r.numDir = NumberDir::asc;
    EXPECT_EQ(sequenceNumberText(r, 0, 0), "A");
}

TEST(HostileInput, SmartRenameAndTemplatesOnBrokenText)
{
    for (const QString& stem : hostileStems()) {
        const QString cleaned = SmartRename::cleanInput(stem);
        for (SmartRenameStyle style : allCases<SmartRenameStyle>()) {
            SmartRename::correct(cleaned, style, SmartRename::defaultCutTypes(), {}, {}, false);
            SmartRename::correct(cleaned, style, {}, {}, {}, true);
        }
        SmartRename::splitExtension(stem + "." + QString(kLoneHigh));
        SmartRename::removeIgnoredTags(stem, SmartRename::parseIgnoreTags(stem + ",," + QString(kLoneLow)));
        const TemplateExpansion t = expandTemplate(stem + "%clip" + QString(kLoneHigh), {{"clip", stem}, {"", "x"}});
        EXPECT_TRUE(t.text.contains(stem));
        validateNewName(stem, stem);
    }
}

TEST(HostileInput, StorePreviewOfBrokenNames)
{
    TestEnv env;
    auto store = env.makeStore();
    QList<FileItem> items;
    for (const QString& stem : hostileStems())
        items << FileItem::file(env.path(stem.isEmpty() ? QStringLiteral("plain") : stem) + ".mov");
    store->setItems(items);
    store->editRules([](RuleSettings& r) {
        r.findEnabled = true;
        r.useRegex = true;
        r.find = "((a+)+)+$";  // runaway on long runs: given up, the names stay
        r.numberEnabled = true;
        r.numStart = INT_MAX;
        r.numDir = NumberDir::desc;
    });
    store->editSections([](NameSections& s) {
        s.smartRenameEnabled = true;
        s.extEnabled = true;
        s.extText = QString(kLoneHigh);
    });
    for (int i = 0; i < store->items().size(); ++i)
        EXPECT_FALSE(store->preview().newName(store->items().at(i), i, {}).isEmpty());
    store->preview().conflictReasons({});
    store->editSections([](NameSections& s) {
        s.templateEnabled = true;
        s.templateText = "%";
    });
    EXPECT_EQ(store->preview().newName(store->items().at(0), 0, {}).left(1), "%");
}

}  // namespace
