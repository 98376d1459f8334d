#include "email/email_builtins.h"
#include "platform/json_util.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <gtest/gtest.h>

TEST(EmailTemplates, BuiltInsAreFixedAndKeepTheirIdsWithinARun)
{
    const QList<EmailTemplate> first = BuiltInEmail::all();
    ASSERT_EQ(first.size(), 2);
    const EmailTemplate& delivery = first[0];
    EXPECT_EQ(delivery.name, "Delivery Notice");
    EXPECT_EQ(delivery.mode, EmailTemplate::Mode::batch);
    EXPECT_EQ(delivery.lineTemplate, "- %corrected_name (was %original_name)");
    EXPECT_EQ(delivery.body, "Hi %recipient,\n\nPlease find the following %count file[s] ready for delivery as of "
                             "%date:\n\n%filelist\n\nBest,\n%sender");
    EXPECT_EQ(delivery.customFields, (QStringList{"recipient", "sender"}));
    const EmailTemplate& single = first[1];
    EXPECT_EQ(single.name, "Single File Notice");
    EXPECT_EQ(single.mode, EmailTemplate::Mode::perFile);
    EXPECT_EQ(single.body, "Hi %recipient,\n\n\"%corrected_name\" is ready (was %original_name).\n\nBest,\n%sender");
    EXPECT_NE(delivery.id, single.id);
    EXPECT_EQ(BuiltInEmail::all(), first);
}

TEST(EmailTemplates, ListJsonRoundTripsAndIsStrict)
{
    const QByteArray data = encodeEmailTemplates(BuiltInEmail::all());
    EXPECT_EQ(decodeEmailTemplates(data), BuiltInEmail::all());
    const QJsonObject one = QJsonDocument::fromJson(data).array().at(0).toObject();
    EXPECT_EQ(one.keys().size(), 6);
    EXPECT_EQ(one.value("mode"), "Batch (one email, all files)");
    EXPECT_EQ(one.value("id").toString(), Json::uuidText(BuiltInEmail::deliveryNotice().id));
    EXPECT_EQ(QJsonDocument::fromJson(data).array().at(1).toObject().value("mode"), "Per File (one email each)");

    struct Case {
        const char* what;
        const char* key;
        QJsonValue value;  // undefined: remove the key
        bool readable;
    };
    const Case cases[] = {
        {"extra key ignored", "color", "red", true},
        {"customFields missing", "customFields", QJsonValue(QJsonValue::Undefined), false},
        {"customFields not strings", "customFields", QJsonArray{1}, false},
        {"unknown mode", "mode", "Batch", false},
        {"mode in other case", "mode", "batch (one email, all files)", false},
        {"body not a string", "body", QJsonValue(QJsonValue::Null), false},
        {"id not a UUID", "id", "1234", false},
        {"id in braces", "id", "{" + Json::uuidText(QUuid::createUuid()) + "}", false},
        {"lower-case id", "id", Json::uuidText(QUuid::createUuid()).toLower(), true},
    };
    for (const Case& c : cases) {
        QJsonObject changed = one;
        if (c.value.isUndefined())
            changed.remove(c.key);
        else
            changed.insert(c.key, c.value);
        const QJsonArray list{QJsonDocument::fromJson(data).array().at(1), changed};
        EXPECT_EQ(decodeEmailTemplates(QJsonDocument(list).toJson()).has_value(), c.readable) << c.what;
    }
    EXPECT_EQ(decodeEmailTemplates("[]"), QList<EmailTemplate>{});
    EXPECT_FALSE(decodeEmailTemplates("{}"));
}

TEST(EmailTemplates, ContextTokensAreTheSevenParts)
{
    const EmailFileContext c{"a.mov", "A_Trlr_V1.mov", "ABC", "Spot", "Trlr", "30", "V1"};
    const QMap<QString, QString> expected{{"original_name", "a.mov"},
                                          {"corrected_name", "A_Trlr_V1.mov"},
                                          {"code", "ABC"},
                                          {"spotname", "Spot"},
                                          {"cuttype", "Trlr"},
                                          {"timing", "30"},
                                          {"version", "V1"}};
    EXPECT_EQ(c.tokens(), expected);
    EXPECT_EQ(EmailFileContext{}.tokens().size(), 7);
}

namespace {
const EmailFileContext kSpot{"a.mov", "ABC_Spot_Trlr_30_V1.mov", "ABC", "Spot", "Trlr", "30", "V1"};
const EmailFileContext kBare{"b", "B_V2", "", "B", "", "", "2"};
}  // namespace

TEST(EmailRendering, BatchAndPerFileFillEveryToken)
{
    EmailTemplate t;
    t.lineTemplate =
        "%code|%spotname|%cuttype|%timing|%version|%corrected_name|%original_name|%recipient|%date|file[s]";
    t.body = "Hi %Recipient, %count file[s] box[es] as of %date:\n%filelist\n%code %count %Corrected Name %missing";
    const QMap<QString, QString> values{{"recipient", "Ann %corrected_name"}, {"code", "X"}, {"count", "99"}};

    EXPECT_EQ(t.renderBatch({kSpot, kBare}, values, "D"),
              "Hi Ann %corrected_name, 2 files boxes as of D:\n"
              "ABC|Spot|Trlr|30|V1|ABC_Spot_Trlr_30_V1.mov|a.mov|%recipient|%date|files\n"
              "|B|||2|B_V2|b|%recipient|%date|files\n"
              "X 2 %Corrected Name %missing");
    EXPECT_EQ(t.renderPerFile(kSpot, values, "D"),
              "Hi Ann %corrected_name, 99 file box as of D:\n%filelist\nABC 99 ABC_Spot_Trlr_30_V1.mov %missing");
    EXPECT_EQ(t.renderBatch({}, {}, "D"), "Hi %Recipient, 0 files boxes as of D:\n\n%code 0 %Corrected Name %missing");
}

TEST(EmailRendering, BuiltInsReadAsWritten)
{
    const QMap<QString, QString> values{{"recipient", "Ann"}, {"sender", "Bo"}};
    EXPECT_EQ(BuiltInEmail::deliveryNotice().renderBatch({kSpot}, values, "Dec 10, 2026"),
              "Hi Ann,\n\nPlease find the following 1 files ready for delivery as of Dec 10, 2026:\n\n"
              "- ABC_Spot_Trlr_30_V1.mov (was a.mov)\n\nBest,\nBo");
    EXPECT_EQ(BuiltInEmail::singleFileNotice().renderPerFile(kSpot, {{"recipient", "Ann"}}, "D"),
              "Hi Ann,\n\n\"ABC_Spot_Trlr_30_V1.mov\" is ready (was a.mov).\n\nBest,\n%sender");
}

TEST(EmailRendering, DatesTakeTheMediumStyleOfTheLanguage)
{
    const QDate day(2026, 12, 10);
    EXPECT_EQ(emailDate(day, QLocale("en_US")), "Dec 10, 2026");
    EXPECT_EQ(emailDate(day, QLocale("zh_CN")), QString::fromUtf8("2026年12月10日"));
}

TEST(EmailRendering, CustomFieldNamesTakeTheFormTokensMatch)
{
    const std::pair<QString, QString> cases[] = {
        {"  Project Lead ", "project_lead"},
        {"Two  Blanks", "two__blanks"},
        {"\tRecipient\t", "recipient"},
        {"in\tside", "in\tside"},
        {"   ", ""},
        {"done", "done"},
    };
    for (const auto& [typed, stored] : cases)
        EXPECT_EQ(normalizeCustomFieldName(typed), stored) << typed.toStdString();
}
