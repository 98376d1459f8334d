#include "model/token_template.h"
#include "test_support.h"

#include <gtest/gtest.h>

namespace {

struct ExpandCase {
    const char* templ;
    TemplateTokens tokens;
    const char* text;
    QStringList unresolved;
};

TEST(ExpandTemplate, Table)
{
    const TemplateTokens scene{{"scene", "12"}, {"shot", "3A"}, {"take", "4"}};
    const ExpandCase cases[] = {
        {"%scene_%shot_%take", scene, "12_3A_4", {}},
        {"%scene%shot", scene, "123A", {}},
        {"%SCENE", {{"scene", "Sc"}}, "Sc", {}},
        {"%n_%seq", {{"n", "3"}, {"seq", "3"}}, "3_3", {}},
        {"%nope", {}, "%nope", {"%nope"}},
        {"%nope", {{"n", "7"}}, "7ope", {}},
        {"%name", {{"n", "1"}, {"name", "clip"}}, "clip", {}},
        {"%names", {{"n", "1"}, {"name", "clip"}}, "clips", {}},
        {"100%", scene, "100%", {}},
        {"%%scene", scene, "%12", {}},
        {"%clip name!", {{"clip_name", "A"}}, "A!", {}},
        {"%Bad Ref_ x %bad", {}, "%Bad Ref_ x %bad", {"%Bad Ref_ x", "%bad"}},
        {"%场景 %x", {}, "%场景 %x", {"%场景", "%x"}},
        {"%é1", {{"é", "E"}}, "E1", {}},
        // Letters whose lower case differs in length, next to where a reference is looked for.
        {"%ẞTAG!", {{"ßtag", "S"}}, "S!", {}},
        {"%\U00010400X_\U00010400", {{"\U00010428x", "D"}}, "D_\U00010400", {}},
        {"%İİİİİİİİscene, then text well past the longest name",
         {{"i\u0307i\u0307i\u0307i\u0307i\u0307i\u0307i\u0307i\u0307scene", "L"}},
         "L, then text well past the longest name",
         {}},
        {"%long_name_of_a_custom_column_here", {{"long_name_of_a_custom_column_here", "C"}}, "C", {}},
        {"", scene, "", {}},
    };
    for (const ExpandCase& c : cases) {
        const TemplateExpansion e = expandTemplate(QString::fromUtf8(c.templ), c.tokens);
        EXPECT_EQ(e.text, QString::fromUtf8(c.text)) << c.templ;
        EXPECT_EQ(e.unresolved, c.unresolved) << c.templ;
    }
}

TEST(ExpandTemplate, ALongTemplateFindsEveryReference)
{
    QString templ;
    QString expected;
    for (int i = 0; i < 3000; ++i) {
        templ += QStringLiteral("%Scene %n ");
        expected += QStringLiteral("12 7 ");
    }
    const TemplateExpansion e = expandTemplate(templ, {{"scene", "12"}, {"n", "7"}});
    EXPECT_EQ(e.text, expected);
    EXPECT_TRUE(e.unresolved.isEmpty());
}

TEST(TemplateTokens, FromRowAndIndex)
{
    TestEnv env;
    auto store = env.makeStore();
    BinRow row;
    row.url = env.path("A001.JPG");
    row.kind = MetaKind::image;
    row.name = "A001.JPG";
    row.fields.caption = "Caption";
    row.fields.title = "Title";
    row.fields.copyright = "(c)";
    row.fields.clipName = "Hero";
    row.fields.custom.insert("Shot/Take 2", "7");
    row.fields.custom.insert("clipname", "custom loses");
    const TemplateTokens t = templateTokens(2, row);
    EXPECT_EQ(t.value("title"), "Caption");
    EXPECT_EQ(t.value("extra"), "(c)");
    EXPECT_EQ(t.value("shot_take_2"), "7");
    EXPECT_EQ(t.value("clipname"), "Hero");
    EXPECT_EQ(t.value("clip_name"), "Hero");
    EXPECT_EQ(t.value("ext"), "JPG");
    EXPECT_EQ(t.value("name"), "A001");
    EXPECT_EQ(t.value("original"), "A001");
    EXPECT_EQ(t.value("n"), "3");
    EXPECT_EQ(t.value("seq"), "3");
    EXPECT_TRUE(t.contains("date"));
    EXPECT_EQ(t.value("date"), "");
    EXPECT_EQ(expandTemplate("%shot_take_2-%n", t).text, "7-3");

    row.kind = MetaKind::pdf;
    row.fields.subject = "Subj";
    row.fields.date = QDateTime(QDate(2024, 5, 31), QTime(14, 25, 1));
    const TemplateTokens pdf = templateTokens(0, row);
    EXPECT_EQ(pdf.value("title"), "Title");
    EXPECT_EQ(pdf.value("extra"), "Subj");
    EXPECT_EQ(pdf.value("date"), "2024-05-31 14:25:01");
}

}  // namespace
