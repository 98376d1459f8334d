#include "platform/json_util.h"

#include <gtest/gtest.h>

// Stored files written piece by piece must read back through the strict parser exactly, whatever
// a file name holds.
TEST(JsonWriter, StringsAndNumbersReadBackExactly)
{
    const QStringList texts = {
        QString(),
        QStringLiteral("/plain/ascii path.mov"),
        QStringLiteral("quote \" backslash \\ slash / end"),
        QStringLiteral("tab\tnewline\nreturn\rbell\x07 del\x7f"),
        QString::fromUtf16(u"中文名 é \U0001F3AC.mov"),
        QStringLiteral("\x01\x1f"),
    };
    QByteArray data = "[";
    for (const QString& t : texts) {
        Json::appendString(data, t);
        data += ',';
    }
    Json::appendNumber(data, 787654321.125);
    data += ',';
    Json::appendNumber(data, -0.5);
    data += ']';
    const auto array = Json::parseArray(data);
    ASSERT_TRUE(array.has_value()) << data.constData();
    ASSERT_EQ(array->size(), texts.size() + 2);
    for (qsizetype i = 0; i < texts.size(); ++i)
        EXPECT_EQ(array->at(i).toString(), texts[i]) << i;
    EXPECT_EQ(array->at(texts.size()).toDouble(), 787654321.125);
    EXPECT_EQ(array->at(texts.size() + 1).toDouble(), -0.5);
}
