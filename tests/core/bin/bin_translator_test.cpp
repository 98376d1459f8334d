// Translating a bin column through a model server on this machine.
#include "ai/ai_name.h"
#include "bin/bin_translator.h"
#include "bin_support.h"
#include "fake_model_server.h"

#include <QJsonDocument>
#include <gtest/gtest.h>

namespace {

QString u8(const char* s)
{
    return QString::fromUtf8(s);
}

// The text sent for translation, and the target language from the instructions.
QString textOf(const FakeRequest& r)
{
    return QJsonDocument::fromJson(r.body)["messages"][1]["content"].toString();
}
QString languageOf(const FakeRequest& r)
{
    const QString system = QJsonDocument::fromJson(r.body)["messages"][0]["content"].toString();
    return system.section("into ", 1).section('.', 0, 0);
}

struct TranslateFixture : BinFixture {
    std::unique_ptr<FakeModelServer> server;
    QStringList sent;  // "<language>:<text>" of each request, in order

    explicit TranslateFixture(std::function<void(const QString&)> onText = {})
        : server(std::make_unique<FakeModelServer>(FakeModelServer::answering([this, onText](const FakeRequest& r) {
              if (onText)
                  onText(textOf(r));
              return "EN(" + textOf(r) + ")";
          })))
    {
        ModelServerConfig c;
        c.address = server->address();
        c.requestTimeoutMs = 3000;
        AIName::setServerConfig(c);
        bin().translator().setServices({[] { return AIName::Availability::available; }, {}});
        list({"a.jpg", "b.mov", "c.pdf", "d.jpg"});
        bin().onAppear();
        settle();
    }
    bool translate(const QString& key)
    {
        return runTool(bin().translator(), [&] { bin().translator().translateColumn(key); });
    }
    QStringList column(const QString& key)
    {
        QStringList out;
        for (const BinRow& r : bin().rows())
            out.append(r.value(key));
        return out;
    }
    QStringList requests() const
    {
        QStringList out;
        for (const FakeRequest& r : server->requests())
            if (r.path == "/v1/chat/completions")
                out.append(languageOf(r) + ":" + textOf(r));
        return out;
    }
};

TEST(BinTranslator, TranslatesTheEditableNonEmptyCellsAsOneUndoStep)
{
    for (bool zh : {false, true}) {
        TranslateFixture f;
        f.store->setLangZh(zh);
        BinRow d = f.row(3);
        d.setValue("", "title");
        f.bin().writeRow(3, d);
        BinRow c = f.row(2);
        c.setValue("%clipname", "title");  // a formula is sent and replaced as typed
        f.bin().writeRow(2, c);
        const qsizetype snapshots = f.bin().metaHistory().size();

        ASSERT_TRUE(f.translate("title"));
        EXPECT_EQ(f.column("title"), (QStringList{"EN(read a.jpg)", "EN(read b.mov)", "EN(%clipname)", ""}));
        EXPECT_EQ(f.requests(), (QStringList{"English:read a.jpg", "English:read b.mov", "English:%clipname"}));
        EXPECT_EQ(f.store->status(), zh ? u8("已翻译 3 个单元格为 English。") : "Translated 3 cell(s) to English.");
        EXPECT_EQ(f.draft(f.row(1).id).title, "EN(read b.mov)");
        EXPECT_FALSE(f.bin().busy());
        ASSERT_EQ(f.bin().metaHistory().size(), snapshots + 1);
        f.bin().undoMetaEdit();
        EXPECT_EQ(f.column("title"), (QStringList{"read a.jpg", "read b.mov", "%clipname", ""}));
    }
}

TEST(BinTranslator, TheChosenLanguageNamesTheMenuTheRequestsAndTheStatus)
{
    TranslateFixture f;
    EXPECT_EQ(f.bin().translator().menuTitle(), u8("Translate column → English"));
    f.store->setAiLang(NameLang::schinese);
    f.store->setLangZh(true);
    EXPECT_EQ(f.bin().translator().menuTitle(), u8("翻译列 → Simplified Chinese"));
    // City is editable for images only: the videos and PDFs here send nothing.
    ASSERT_TRUE(f.translate("city"));
    EXPECT_TRUE(f.requests().isEmpty());
    EXPECT_EQ(f.store->status(), u8("已翻译 0 个单元格为 Simplified Chinese。"));
    BinRow a = f.row(0);
    a.setValue("Berlin", "city");
    f.bin().writeRow(0, a);
    ASSERT_TRUE(f.translate("city"));
    EXPECT_EQ(f.requests(), QStringList{"Simplified Chinese:Berlin"});
}

TEST(BinTranslator, StopKeepsTheCellsTranslatedSoFar)
{
    TranslateFixture* self = nullptr;
    TranslateFixture f([&](const QString& text) {
        if (text == "read b.mov")
            QMetaObject::invokeMethod(
                self->store.get(), [&] { self->bin().setStopRequested(true); }, Qt::BlockingQueuedConnection);
    });
    self = &f;
    ASSERT_TRUE(f.translate("title"));
    EXPECT_EQ(f.column("title"), (QStringList{"EN(read a.jpg)", "EN(read b.mov)", "read c.pdf", "read d.jpg"}));
    EXPECT_EQ(f.store->status(), "Translated 2 cell(s) to English.");
}

TEST(BinTranslator, AnUnavailableModelOnlySaysWhy)
{
    TranslateFixture f;
    f.bin().translator().setServices({[] { return AIName::Availability::notReady; }, {}});
    f.bin().translator().translateColumn("title");
    EXPECT_FALSE(f.bin().translator().running());
    EXPECT_TRUE(f.requests().isEmpty());
    EXPECT_EQ(f.store->status(), "AI model is still downloading. Try again later.");
}

}  // namespace
