// What is asked of the model, and how its answers become names.
#include "ai/ai_name.h"
#include "fake_model_server.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

namespace {

QString u8(const char* s)
{
    return QString::fromUtf8(s);
}

void useServer(const FakeModelServer& server)
{
    ModelServerConfig c;
    c.address = server.address();
    c.requestTimeoutMs = 2000;
    AIName::setServerConfig(c);
}

QJsonArray sentMessages(const FakeModelServer& server)
{
    return QJsonDocument::fromJson(server.requests().last().body)["messages"].toArray();
}

}  // namespace

TEST(AIPrompts, AnswersCleanToFileNames)
{
    const QString seventyFive = QString(59, 'a') + ' ' + QString(15, 'b');
    const QList<std::pair<QString, QString>> cases{
        {"\"Beach Sunset\".\nThis name describes the photo.", "Beach Sunset"},
        {"Report: Q1/Q2", "Report_ Q1_Q2"},
        {u8("《项目计划书》"), u8("项目计划书")},
        {u8("「季度报告」。"), u8("季度报告")},
        {u8("“Quarterly Plan”"), "Quarterly Plan"},
        {"  `a*b?c<d>e|f\\g`  ", "a_b_c_d_e_f_g"},
        {"Too    many   blanks ", "Too many blanks"},
        {"first line\r\nsecond line", "first line"},
        {"\"'.'\"..", ""},
        {seventyFive, QString(59, 'a')},
        // a local reasoning model thinks aloud first
        {"<think>The text is about a trip.\nMaybe \"Trip\"?</think>\n\nTrip Notes 2024", "Trip Notes 2024"},
        {"<think>still thinking when the answer was cut", ""},
        // no tab or NUL reaches a name
        {QString("Trip\tNotes") + QChar(0) + QChar(0x7) + " Final", "Trip Notes Final"},
    };
    for (const auto& [answer, expected] : cases)
        EXPECT_EQ(AIName::cleanAnswer(answer), expected) << answer.toStdString();
}

TEST(AIPrompts, NamesAreCutAtSixtyUserPerceivedCharacters)
{
    const QString flag = u8("🇨🇳");
    QString answer;
    for (int i = 0; i < 70; ++i)
        answer += flag;
    EXPECT_EQ(AIName::cleanAnswer(answer), answer.left(60 * flag.size()));
}

TEST(AIPrompts, TranslationsKeepInnerLinesAndOrdinaryFullStops)
{
    EXPECT_EQ(AIName::cleanTranslation(" \"Hello world.\" \n"), "Hello world.");
    EXPECT_EQ(AIName::cleanTranslation(u8("你好。")), u8("你好"));
    EXPECT_EQ(AIName::cleanTranslation("line one\nline two"), "line one\nline two");
    EXPECT_EQ(AIName::cleanTranslation("<think>hm</think>\nBonjour"), "Bonjour");
    EXPECT_EQ(AIName::cleanTranslation("``"), std::nullopt);
}

TEST(AIPrompts, TheNameRequestCarriesItsInstructionsAndTheFirst1500Characters)
{
    FakeModelServer server(FakeModelServer::answering([](const FakeRequest&) { return "\"Sales Report 2024\"."; }));
    useServer(server);
    const QString text = u8("é") + QString(9999, 'x');
    EXPECT_EQ(AIName::suggestNameNow(text, "Japanese"), "Sales Report 2024");
    const QJsonArray messages = sentMessages(server);
    EXPECT_EQ(messages[0].toObject()["content"].toString(),
              "You create a concise, descriptive filename (without extension) from the file content. "
              "Write the filename entirely in Japanese, translating the meaning if the content is in another "
              "language. Use 2 to 6 words, no file extension, no quotes, no trailing punctuation. Reply with only "
              "the filename.");
    EXPECT_EQ(messages[1].toObject()["content"].toString(), "File content:\n" + text.left(1500));

    AIName::suggestNameNow("short", {});
    EXPECT_TRUE(sentMessages(server)[0].toObject()["content"].toString().contains(
        "entirely in the same language as the content, translating"));
}

TEST(AIPrompts, AnAnswerThatCleansToNothingIsNoName)
{
    FakeModelServer server(FakeModelServer::answering([](const FakeRequest&) { return "\"...\""; }));
    useServer(server);
    EXPECT_EQ(AIName::suggestNameNow("text", {}), std::nullopt);
    EXPECT_EQ(AIName::classifyNow("text", false), std::nullopt);
}

TEST(AIPrompts, ClassifyAndTranslateAskTheirOwnQuestions)
{
    FakeModelServer server(FakeModelServer::answering([](const FakeRequest& r) {
        const QString system = QJsonDocument::fromJson(r.body)["messages"][0]["content"].toString();
        return system.startsWith("Translate") ? QString("\"Bonjour.\"") : QString::fromUtf8("发票。");
    }));
    useServer(server);
    EXPECT_EQ(AIName::classifyNow("Invoice no. 7", true), u8("发票"));
    EXPECT_TRUE(
        sentMessages(server)[0].toObject()["content"].toString().startsWith(u8("把文件归入一个简短的类别(1-4个字)")));
    EXPECT_EQ(AIName::translateNow("  Hello  ", "French"), "Bonjour.");
    EXPECT_EQ(sentMessages(server)[0].toObject()["content"].toString(),
              "Translate the given text into French. Reply with only the translation, no quotes, no explanation.");
    EXPECT_EQ(sentMessages(server)[1].toObject()["content"].toString(), "Hello");

    const auto before = server.requests().size();
    EXPECT_EQ(AIName::translateNow(" \n ", "French"), QString());
    EXPECT_EQ(server.requests().size(), before);  // blanks only: nobody is asked
}
