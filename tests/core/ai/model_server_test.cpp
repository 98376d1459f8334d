// The local model server: what its answers mean, the memory of that answer, and requests.
#include "ai/ai_name.h"
#include "ai/model_server.h"
#include "fake_model_server.h"
#include "platform/lang.h"
#include "platform/settings.h"

#include <QEventLoop>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTcpServer>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <future>
#include <gtest/gtest.h>

using AIName::Availability;

namespace {

ModelServerConfig configFor(const QString& address)
{
    ModelServerConfig c;
    c.address = address;
    c.probeTimeoutMs = 1500;
    c.requestTimeoutMs = 1500;
    return c;
}

// An address where nothing listens: a port taken and released again.
QString deadAddress()
{
    QTcpServer s;
    s.listen(QHostAddress::LocalHost, 0);
    const quint16 port = s.serverPort();
    s.close();
    return QStringLiteral("http://127.0.0.1:%1").arg(port);
}

}  // namespace

TEST(ModelServer, AvailabilityFollowsWhatTheServerAnswers)
{
    struct Case {
        const char* name;
        FakeResponse models;
        QString model;
        Availability expected;
    };
    const QList<Case> cases{
        {"a listed model", FakeModelServer::models({"qwen"}), {}, Availability::available},
        {"the named model is listed", FakeModelServer::models({"a", "qwen"}), "qwen", Availability::available},
        {"the named model is missing", FakeModelServer::models({"a"}), "qwen", Availability::unavailable},
        {"loading its model", {503, R"({"error":{"message":"Loading model"}})"}, {}, Availability::notReady},
        {"no model loaded", FakeModelServer::models({}), {}, Availability::notReady},
        {"garbage", {200, "<html>hello</html>"}, {}, Availability::unavailable},
        {"an error status", {500, "{}"}, {}, Availability::unavailable},
        {"not this kind of server", {404, "not found"}, {}, Availability::unavailable},
        {"stalls", {200, {}, true}, {}, Availability::unavailable},
        {"hangs up mid-answer", {200, R"({"data":[{"id":"x"}]})", false, true}, {}, Availability::unavailable},
    };
    for (const Case& c : cases) {
        FakeModelServer server([&](const FakeRequest&) { return c.models; });
        ModelServerConfig config = configFor(server.address());
        config.probeTimeoutMs = 300;
        config.model = c.model;
        EXPECT_EQ(ModelServer::probe(config), c.expected) << c.name;
        ASSERT_FALSE(server.requests().isEmpty()) << c.name;
        EXPECT_EQ(server.requests().first().path, "/v1/models") << c.name;
    }
}

TEST(ModelServer, AvailabilityWithoutAUsableAddressAsksNobody)
{
    FakeModelServer server([](const FakeRequest&) { return FakeModelServer::models({"m"}); });
    ModelServerConfig off = configFor(server.address());
    off.enabled = false;
    EXPECT_EQ(ModelServer::probe(off), Availability::notEnabled);
    EXPECT_EQ(ModelServer::probe(configFor("")), Availability::notEnabled);
    EXPECT_EQ(ModelServer::probe(configFor("ftp://127.0.0.1:8080")), Availability::notEnabled);
    EXPECT_TRUE(server.requests().isEmpty());

    EXPECT_EQ(ModelServer::probe(configFor(deadAddress())), Availability::unavailable);

    // A file's content would leave the machine: only after the user agreed to that address.
    ModelServerConfig remote = configFor("http://192.0.2.10:8080");
    EXPECT_EQ(ModelServer::probe(remote), Availability::notEligible);
    EXPECT_EQ(ModelServer::chat(remote, "i", "p"), std::nullopt);
    remote.confirmedRemote = "http://192.0.2.11:8080";
    EXPECT_FALSE(remote.addressAllowed());
    remote.confirmedRemote = remote.address;
    EXPECT_TRUE(remote.addressAllowed());
}

TEST(ModelServer, OnlyLoopbackAddressesCountAsLocal)
{
    const QList<std::pair<QString, bool>> cases{
        {"http://127.0.0.1:8080", true},    {"http://localhost:11434/", true},
        {"http://127.8.9.1", true},         {"http://[::1]:8080", true},
        {"https://LOCALHOST", true},        {"http://192.168.1.5:8080", false},
        {"http://example.com:8080", false}, {"http://localhost.example.com", false},
        {"http://0.0.0.0:8080", false},
    };
    for (const auto& [address, local] : cases)
        EXPECT_EQ(ModelServerConfig::isLocalAddress(address), local) << address.toStdString();
}

TEST(ModelServer, SettingsRoundTripWithLocalDefaults)
{
    MemorySettings settings;
    const ModelServerConfig defaults = ModelServerConfig::load(settings);
    EXPECT_TRUE(defaults.enabled);
    EXPECT_EQ(defaults.address, "http://127.0.0.1:8080");
    EXPECT_EQ(defaults.model, "");
    ModelServerConfig changed = defaults;
    changed.address = "http://localhost:11434";
    changed.model = "llama3.2";
    changed.save(settings);
    EXPECT_EQ(ModelServerConfig::load(settings), changed);
}

TEST(ModelServer, ChatSendsInstructionsAndPromptAndReadsTheFirstChoice)
{
    FakeModelServer server([](const FakeRequest& r) {
        if (r.path == "/v1/models")
            return FakeModelServer::models({"first-model", "second"});
        FakeResponse two = FakeModelServer::chatAnswer("Beach Sunset");
        QJsonObject doc = QJsonDocument::fromJson(two.body).object();
        QJsonArray choices = doc["choices"].toArray();
        choices.append(QJsonObject{{"message", QJsonObject{{"content", "Second"}}}});
        doc["choices"] = choices;
        return FakeResponse{200, QJsonDocument(doc).toJson()};
    });
    const auto answer = ModelServer::chat(configFor(server.address() + "/v1/"), "be brief", "File content:\nsea");
    EXPECT_EQ(answer, "Beach Sunset");

    const FakeRequest post = server.requests().last();
    EXPECT_EQ(post.method, "POST");
    EXPECT_EQ(post.path, "/v1/chat/completions");
    const QJsonObject body = QJsonDocument::fromJson(post.body).object();
    // The model the server lists first, two messages, and no sampling options.
    EXPECT_EQ(body.keys(), (QStringList{"messages", "model"}));
    EXPECT_EQ(body["model"].toString(), "first-model");
    const QJsonArray messages = body["messages"].toArray();
    ASSERT_EQ(messages.size(), 2);
    EXPECT_EQ(messages[0].toObject(), (QJsonObject{{"role", "system"}, {"content", "be brief"}}));
    EXPECT_EQ(messages[1].toObject(), (QJsonObject{{"role", "user"}, {"content", "File content:\nsea"}}));
}

TEST(ModelServer, ANamedModelIsSentWithoutAskingForTheList)
{
    FakeModelServer server(FakeModelServer::answering([](const FakeRequest&) { return "x"; }));
    ModelServerConfig config = configFor(server.address());
    config.model = "mine";
    EXPECT_EQ(ModelServer::chat(config, "i", "p"), "x");
    ASSERT_EQ(server.requests().size(), 1);
    EXPECT_EQ(QJsonDocument::fromJson(server.requests().first().body)["model"].toString(), "mine");
}

TEST(ModelServer, AnyBrokenAnswerIsNoAnswerNeverAHang)
{
    const QList<std::pair<const char*, FakeResponse>> cases{
        {"stalls", {200, {}, true}},
        {"hangs up mid-answer", {200, R"({"choices":[{"message":{"content":"x"}}]})", false, true}},
        {"garbage", {200, "\x01\x02 not json"}},
        {"no choices", {200, R"({"choices":[]})"}},
        {"content not text", {200, R"({"choices":[{"message":{"content":42}}]})"}},
        {"server error", {500, R"({"error":"boom"})"}},
        {"refusal status", {400, R"({"error":"context too long"})"}},
    };
    for (const auto& [name, response] : cases) {
        FakeModelServer server(
            [&](const FakeRequest& r) { return r.path == "/v1/models" ? FakeModelServer::models({"m"}) : response; });
        ModelServerConfig config = configFor(server.address());
        config.requestTimeoutMs = 400;
        EXPECT_EQ(ModelServer::chat(config, "i", "p"), std::nullopt) << name;
    }
    EXPECT_EQ(ModelServer::chat(configFor(deadAddress()), "i", "p"), std::nullopt);
}

TEST(AvailabilityCache, AnswersAreKeptForThirtySecondsOfMonotonicTime)
{
    qint64 now = 1000;
    int asked = 0;
    Availability answer = Availability::notReady;
    AIName::AvailabilityCache cache(
        [&] {
            ++asked;
            return answer;
        },
        [&] { return now; });
    EXPECT_EQ(cache.lastKnown(), std::nullopt);
    EXPECT_EQ(cache.get(), Availability::notReady);
    answer = Availability::available;
    now += 29999;
    EXPECT_EQ(cache.get(), Availability::notReady);  // 29.999 s: still the stored answer
    EXPECT_EQ(asked, 1);
    now += 1;
    EXPECT_EQ(cache.fresh(), std::nullopt);
    EXPECT_EQ(cache.lastKnown(), Availability::notReady);
    EXPECT_EQ(cache.get(), Availability::available);  // 30.0 s: asked again
    EXPECT_EQ(asked, 2);

    // Settings changed: the next read asks at once.
    cache.invalidate();
    EXPECT_EQ(cache.fresh(), std::nullopt);
    cache.get();
    EXPECT_EQ(asked, 3);
}

TEST(AvailabilityCache, AnAnswerForOldSettingsIsNotKept)
{
    qint64 now = 0;
    AIName::AvailabilityCache* self = nullptr;
    AIName::AvailabilityCache cache(
        [&] {
            self->invalidate();  // the user changes the address while the probe runs
            return Availability::available;
        },
        [&] { return now; });
    self = &cache;
    EXPECT_EQ(cache.get(), Availability::available);
    EXPECT_EQ(cache.fresh(), std::nullopt);
}

TEST(AIAvailability, TheWindowThreadNeverWaitsAndHearsOfTheAnswer)
{
    FakeModelServer server([](const FakeRequest&) {
        QThread::msleep(200);
        return FakeModelServer::models({"m"});
    });
    AIName::setServerConfig(configFor(server.address()));
    // No answer yet: the last known one (none: unavailable), while a worker asks.
    EXPECT_EQ(AIName::availability(), Availability::unavailable);
    QEventLoop loop;
    QObject::connect(&AIName::AvailabilityNotifier::instance(), &AIName::AvailabilityNotifier::availabilityChanged,
                     &loop, &QEventLoop::quit);
    QTimer::singleShot(5000, &loop, &QEventLoop::quit);
    loop.exec();
    EXPECT_EQ(AIName::availability(), Availability::available);
    EXPECT_EQ(server.requests().size(), 1);
}

TEST(AIAvailability, MessagesTellTheUserWhatToDoInBothLanguages)
{
    Lang::setZh(false);
    EXPECT_EQ(AIName::unavailableMessage(Availability::available), "");
    EXPECT_EQ(AIName::unavailableMessage(Availability::notReady), "AI model is still downloading. Try again later.");
    EXPECT_EQ(AIName::unavailableMessage(Availability::unavailable), "AI is currently unavailable.");
    for (Availability a : {Availability::notEligible, Availability::notEnabled, Availability::unsupportedOS}) {
        EXPECT_TRUE(AIName::unavailableMessage(a).contains("AI server settings"));
        EXPECT_FALSE(AIName::unavailableMessage(a).contains("Apple"));
    }
    Lang::setZh(true);
    EXPECT_EQ(AIName::unavailableMessage(Availability::notReady), QString::fromUtf8("AI 模型正在下载,请稍后再试。"));
    EXPECT_EQ(AIName::unavailableMessage(Availability::unavailable), QString::fromUtf8("AI 当前不可用。"));
    EXPECT_TRUE(AIName::unavailableMessage(Availability::notEnabled).contains(QString::fromUtf8("AI 服务设置")));
    Lang::setZh(false);
}

TEST(ModelServer, QuittingEndsAnExchangeWithASilentServerAndRefusesNewOnes)
{
    FakeModelServer server([](const FakeRequest&) { return FakeResponse{200, {}, true}; });
    ModelServerConfig config = configFor(server.address());
    config.probeTimeoutMs = 120000;  // far longer than anyone waits for a quit
    auto probe = std::async(std::launch::async, [&] { return ModelServer::probe(config); });
    ASSERT_TRUE(QTest::qWaitFor([&] { return !server.requests().isEmpty(); }, 10000));

    ModelServer::stopForQuit();
    ASSERT_EQ(probe.wait_for(std::chrono::seconds(10)), std::future_status::ready) << "still waiting on the server";
    EXPECT_EQ(probe.get(), Availability::unavailable);
    EXPECT_EQ(ModelServer::probe(config), Availability::unavailable);
    EXPECT_EQ(server.requests().size(), 1);  // the later one never went out
}
