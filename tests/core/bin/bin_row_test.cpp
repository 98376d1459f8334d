#include "bin/bin_row.h"
#include "bin/parse_flag.h"
#include "platform/lang.h"

#include <gtest/gtest.h>

namespace {

BinRow rowOf(MetaKind kind, const QString& name, bool online = true)
{
    BinRow row;
    row.id = QUuid::createUuid();
    row.kind = kind;
    row.name = name;
    if (online)
        row.url = "/media/" + name;
    row.fields.kind = kind;
    return row;
}

TEST(BinRowKeys, EachKeyWritesTheFieldOfTheRowsKindAndReadsItBack)
{
    struct Case {
        MetaKind kind;
        const char* key;
        QString MetaFields::*field;  // nullptr: nothing is written
    } cases[] = {
        {MetaKind::image, "title", &MetaFields::caption},
        {MetaKind::pdf, "title", &MetaFields::title},
        {MetaKind::video, "title", &MetaFields::title},
        {MetaKind::image, "author", &MetaFields::byline},
        {MetaKind::unsupported, "author", &MetaFields::author},
        {MetaKind::image, "extra", &MetaFields::copyright},
        {MetaKind::pdf, "extra", &MetaFields::subject},
        {MetaKind::video, "extra", nullptr},
        {MetaKind::unsupported, "extra", nullptr},
        {MetaKind::video, "clipname", &MetaFields::clipName},
        {MetaKind::video, "city", &MetaFields::city},
        {MetaKind::pdf, "country", &MetaFields::country},
        {MetaKind::image, "gps", &MetaFields::gps},
        {MetaKind::pdf, "keywords", &MetaFields::keywords},
    };
    for (const Case& c : cases) {
        BinRow row = rowOf(c.kind, "a.x");
        row.setValue("v", c.key);
        const MetaFields untouched = rowOf(c.kind, "a.x").fields;
        if (c.field) {
            EXPECT_EQ(row.fields.*c.field, "v") << c.key << int(c.kind);
            EXPECT_EQ(row.value(c.key), "v") << c.key;
        } else {
            EXPECT_EQ(row.fields, untouched) << c.key;
            EXPECT_EQ(row.value(c.key), "") << c.key;
        }
    }
}

TEST(BinRowKeys, NameExtOnlineAndCustomKeys)
{
    BinRow offline = rowOf(MetaKind::video, "A001.mov", false);
    EXPECT_EQ(offline.value("name"), "A001.mov");
    EXPECT_EQ(offline.value("ext"), "mov");
    EXPECT_EQ(offline.value("online"), "Offline");
    Lang::setZh(true);
    EXPECT_EQ(offline.value("online"), QString::fromUtf8("离线"));
    EXPECT_EQ(rowOf(MetaKind::video, "A.mov").value("online"), QString::fromUtf8("在线"));
    Lang::setZh(false);

    BinRow row = rowOf(MetaKind::image, "IMG_1.JPG");
    row.setValue("Hero.JPG", "name");
    EXPECT_EQ(row.value("name"), "Hero.JPG");
    row.setValue("", "name");
    EXPECT_FALSE(row.pendingName);
    EXPECT_EQ(row.value("name"), "IMG_1.JPG");
    row.setValue("", "ext");
    EXPECT_EQ(row.newExt, std::optional<QString>(""));
    EXPECT_EQ(row.value("ext"), "");
    row.setValue("Online", "online");
    EXPECT_EQ(row.value("online"), "Online");

    row.setValue("12", "custom:Scene");
    row.setValue("", "custom:Take");
    EXPECT_EQ(row.fields.custom.value("Scene"), "12");
    EXPECT_TRUE(row.fields.custom.contains("Take"));
    row.setValue("short", "cust");  // a key shorter than "custom:" is the entry with no name
    EXPECT_EQ(row.fields.custom.value(""), "short");
    EXPECT_EQ(row.value("xxxxxxxScene"), "12");
}

TEST(BinRowKeys, EditabilityPerKind)
{
    const char* keys[] = {"name", "clipname", "online", "title",    "author", "extra",       "ext",
                          "city", "country",  "gps",    "keywords", "date",   "custom:Scene"};
    // One letter per key above: y editable, n not.
    struct Case {
        MetaKind kind;
        const char* editable;
    } cases[] = {
        {MetaKind::image, "yyyyyyyyyyyyy"},
        {MetaKind::pdf, "yyyyyyynnnyny"},
        {MetaKind::video, "yyyyynynnnnyy"},
        {MetaKind::unsupported, "yyynnnynnnnny"},
    };
    for (const Case& c : cases) {
        const BinRow row = rowOf(c.kind, "a.x");
        for (int i = 0; i < 13; ++i)
            EXPECT_EQ(row.isEditable(keys[i]), c.editable[i] == 'y') << keys[i] << " kind " << int(c.kind);
    }
}

TEST(BinRowDates, OnlyTheFullTextSetsADate)
{
    struct Case {
        const char* text;
        const char* stored;
    } cases[] = {
        {"2024-05-01 09:30:00", "2024-05-01 09:30:00"},
        {"2024-05-01", ""},
        {"tomorrow", ""},
        {"", ""},
        {" 2024-05-01 09:30:00", ""},
        {"2024-13-01 09:30:00", ""},
    };
    for (const Case& c : cases) {
        BinRow row = rowOf(MetaKind::image, "a.jpg");
        row.fields.date = QDateTime(QDate(2000, 1, 1), QTime(0, 0));
        row.setValue(c.text, "date");
        EXPECT_EQ(row.value("date"), c.stored) << c.text;
        EXPECT_EQ(row.fields.date.has_value(), *c.stored != 0) << c.text;
    }
}

TEST(BinRowFormulas, CellsExpandAgainstTheRowAndReportUnknownTokens)
{
    BinRow row = rowOf(MetaKind::video, "A001_C002.mov");
    row.fields.custom = {{"Scene", "12"}, {"Shot/Take", "3b"}};
    row.fields.date = QDateTime(QDate(2024, 5, 1), QTime(9, 30));
    row.setValue("%scene_%shot_take-%n-%name", "clipname");
    row.setValue("%take", "custom:Note");
    row.setValue("100%", "title");
    EXPECT_EQ(row.value("clipname"), "%scene_%shot_take-%n-%name");
    EXPECT_EQ(row.displayValue("clipname"), "12_3b-1-A001_C002");
    EXPECT_TRUE(row.formulaDiagnostics("clipname").isEmpty());
    EXPECT_EQ(row.displayValue("custom:Note"), "%take");
    EXPECT_EQ(row.formulaDiagnostics("custom:Note"), QStringList{"%take"});
    EXPECT_TRUE(row.formulaDiagnostics("custom:Scene").isEmpty());
    EXPECT_EQ(row.displayValue("date"), "2024-05-01 09:30:00");

    const MetaFields resolved = row.resolvedFields();
    EXPECT_EQ(resolved.clipName, "12_3b-1-A001_C002");
    EXPECT_EQ(resolved.custom.value("Note"), "%take");
    EXPECT_EQ(resolved.title, "100%");
    EXPECT_EQ(row.fields.clipName, "%scene_%shot_take-%n-%name");  // the row keeps its formula

    // A formula sees the stored text of another formula cell, never its expansion.
    row.setValue("%clipname!", "custom:Label");
    EXPECT_EQ(row.resolvedFields().custom.value("Label"), "%scene_%shot_take-%n-%name!");
}

TEST(ParseFlag, FalseOnlyForTheNoWords)
{
    struct Case {
        const char* text;
        bool flag;
    } cases[] = {
        {" Off\t", false}, {"NO", false}, {"", false}, {"0", false},    {"false", false},
        {"yes", true},     {"1", true},   {"x", true}, {"off\n", true}, {"\xC2\xA0no\xE3\x80\x80", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(parseFlag(QString::fromUtf8(c.text)), c.flag) << c.text;
}

}  // namespace
