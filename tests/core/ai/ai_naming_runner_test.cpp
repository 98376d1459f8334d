// Naming every listed file through a model server on this machine.
#include "ai/ai_name.h"
#include "ai/ai_naming_runner.h"
#include "fake_model_server.h"
#include "files/list_operations.h"
#include "test_support.h"

#include <QEventLoop>
#include <QJsonDocument>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

QString u8(const char* s)
{
    return QString::fromUtf8(s);
}

// The prompt's content: what follows "File content:\n".
QString contentOf(const FakeRequest& r)
{
    return QJsonDocument::fromJson(r.body)["messages"][1]["content"].toString().mid(14);
}

struct RunnerEnv {
    TestEnv env;
    std::unique_ptr<Store> store = env.makeStore();
    std::unique_ptr<FakeModelServer> server;

    explicit RunnerEnv(FakeModelServer::Handler handler, int timeoutMs = 3000)
        : server(std::make_unique<FakeModelServer>(std::move(handler)))
    {
        ModelServerConfig c;
        c.address = server->address();
        c.requestTimeoutMs = timeoutMs;
        AIName::setServerConfig(c);
        store->aiRunner().setServices({[] { return AIName::Availability::available; }, {}, {}});
    }

    // Files named "<stem>.txt" holding their stem, or "<stem>.bin" (no readable text).
    void list(const QStringList& files)
    {
        store->editItems([&](QList<FileItem>& items) {
            for (const QString& f : files)
                items << FileItem::file(env.makeFile(f, f.section('.', 0, 0).toUtf8()));
        });
    }

    void runAndWait()
    {
        QEventLoop loop;
        QObject::connect(&store->aiRunner(), &AINamingRunner::finished, &loop, &QEventLoop::quit);
        QTimer::singleShot(20000, &loop, &QEventLoop::quit);
        store->aiRunner().run();
        if (store->aiRunner().running())
            loop.exec();
        ASSERT_FALSE(store->aiRunner().running());
    }

    QStringList aiNames() const
    {
        QStringList out;
        for (const FileItem& item : store->items())
            out << item.aiName.value_or("-") + (item.useAI ? "" : " (off)");
        return out;
    }

    // Runs `f` on the main thread while the server holds its answer.
    void onMain(std::function<void()> f) const
    {
        QMetaObject::invokeMethod(store.get(), std::move(f), Qt::BlockingQueuedConnection);
    }
};

FakeModelServer::Handler namesFromContent()
{
    return FakeModelServer::answering([](const FakeRequest& r) { return "\"" + contentOf(r) + " Named\""; });
}

}  // namespace

TEST(AINamingRunner, NamesFilesWithTextAndCountsTheOthersAsSkipped)
{
    for (bool zh : {false, true}) {
        RunnerEnv run(namesFromContent());
        run.store->setLangZh(zh);
        run.list({"alpha.txt", "photo.bin", "beta.md", "clip.bin", "gamma.csv"});
        run.runAndWait();
        EXPECT_EQ(run.aiNames(), (QStringList{"alpha Named", "-", "beta Named", "-", "gamma Named"}));
        EXPECT_TRUE(run.store->sections().useAIName);
        EXPECT_EQ(run.store->status(), zh ? u8("AI 命名 3 个,跳过 2 个(无可读文本)。")
                                          : "AI named 3 file(s), 2 skipped (no readable text).");
        EXPECT_FALSE(run.store->activity().aiBusy);
        EXPECT_EQ(run.store->activity().aiProgress, "");
    }
}

TEST(AINamingRunner, ARunThatNamesNothingTurnsAINamesOff)
{
    RunnerEnv run(namesFromContent());
    run.list({"a.bin", "b.bin"});
    run.store->editSections([](NameSections& s) { s.useAIName = true; });
    run.runAndWait();
    EXPECT_FALSE(run.store->sections().useAIName);
    EXPECT_EQ(run.store->status(), "AI named 0 file(s), 2 skipped (no readable text).");
}

TEST(AINamingRunner, AllNamedSaysSoAndSkippedItemsKeepTheirOldName)
{
    RunnerEnv run(FakeModelServer::answering(
        [](const FakeRequest& r) { return contentOf(r) == "keep" ? QString("...") : contentOf(r) + " New"; }));
    run.list({"one.txt", "two.txt"});
    run.runAndWait();
    EXPECT_EQ(run.store->status(), "AI named 2 file(s).");
    run.store->setLangZh(true);
    run.list({"keep.txt"});
    run.store->editItems([](QList<FileItem>& items) {
        items.last().aiName = "Old";
        items.last().useAI = false;
    });
    run.runAndWait();
    EXPECT_EQ(run.aiNames(), (QStringList{"one New", "two New", "Old (off)"}));
    EXPECT_EQ(run.store->status(), u8("AI 命名 2 个,跳过 1 个(无可读文本)。"));
}

TEST(AINamingRunner, StopFinishesTheFileInHandAndSaysWhatIsLeft)
{
    for (bool zh : {false, true}) {
        RunnerEnv* self = nullptr;
        QStringList progressSeen;
        RunnerEnv run(FakeModelServer::answering([&](const FakeRequest& r) {
            if (contentOf(r) == "f4")
                self->onMain([&] {
                    progressSeen << self->store->activity().aiProgress;
                    self->store->aiRunner().stop();
                });
            return contentOf(r) + " Named";
        }));
        self = &run;
        run.store->setLangZh(zh);
        QStringList files;
        for (int i = 1; i <= 12; ++i)
            files << QString("f%1.txt").arg(i);
        run.list(files);
        run.runAndWait();
        EXPECT_EQ(progressSeen, QStringList{"4/12"});
        EXPECT_EQ(run.aiNames().mid(3, 2), (QStringList{"f4 Named", "-"}));
        EXPECT_EQ(run.store->status(),
                  zh ? u8("已停止。AI 命名 4 个,剩余 8 个未处理。") : "Stopped. AI named 4 file(s); 8 not done.");
        EXPECT_TRUE(run.store->sections().useAIName);
        EXPECT_FALSE(run.store->activity().aiBusy);
    }
}

TEST(AINamingRunner, ItemsRemovedDuringTheRunArePassedOver)
{
    RunnerEnv* self = nullptr;
    RunnerEnv run(FakeModelServer::answering([&](const FakeRequest& r) {
        if (contentOf(r) == "b")  // while "b" is being named, "b" and "d" leave the list
            self->onMain([&] {
                QSet<QUuid> gone;
                for (const FileItem& item : self->store->items())
                    if (item.stem == "b" || item.stem == "d")
                        gone << item.id;
                self->store->list().removeItems(gone);
            });
        return contentOf(r) + " Named";
    }));
    self = &run;
    run.list({"a.txt", "b.txt", "c.txt", "d.txt", "e.txt"});
    run.runAndWait();
    EXPECT_EQ(run.aiNames(), (QStringList{"a Named", "c Named", "e Named"}));
    // b counts as skipped, d nowhere.
    EXPECT_EQ(run.store->status(), "AI named 3 file(s), 1 skipped (no readable text).");
}

TEST(AINamingRunner, AStallingServerCostsOneTimeOutPerFileNeverAHang)
{
    RunnerEnv run(
        [](const FakeRequest& r) {
            if (r.path == "/v1/models")
                return FakeModelServer::models({"m"});
            return FakeResponse{200, {}, true};
        },
        300);
    run.list({"a.txt", "b.txt"});
    run.runAndWait();
    EXPECT_EQ(run.store->status(), "AI named 0 file(s), 2 skipped (no readable text).");
}

TEST(AINamingRunner, AnUnavailableModelOnlySaysWhy)
{
    RunnerEnv run(namesFromContent());
    run.list({"a.txt"});
    bool everBusy = false;
    QObject::connect(run.store.get(), &Store::activityChanged, [&] { everBusy |= run.store->activity().aiBusy; });
    run.store->aiRunner().setServices({[] { return AIName::Availability::notReady; }, {}, {}});
    run.store->aiRunner().run();
    EXPECT_EQ(run.store->status(), "AI model is still downloading. Try again later.");
    EXPECT_FALSE(everBusy);
    EXPECT_EQ(run.aiNames(), QStringList{"-"});
    EXPECT_TRUE(run.server->requests().isEmpty());
}

TEST(AINamingRunner, NamesAreAskedInTheChosenLanguage)
{
    RunnerEnv run(namesFromContent());
    run.store->setAiLang(NameLang::german);
    run.list({"a.txt"});
    run.runAndWait();
    const QString system =
        QJsonDocument::fromJson(run.server->requests().last().body)["messages"][0]["content"].toString();
    EXPECT_TRUE(system.contains("entirely in German,"));
}
