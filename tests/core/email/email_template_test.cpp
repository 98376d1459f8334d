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
