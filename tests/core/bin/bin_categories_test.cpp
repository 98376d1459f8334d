// AI categories through a model server on this machine, and the move into category folders on
// real files.
#include "ai/ai_name.h"
#include "bin/bin_categories.h"
#include "bin_support.h"
#include "fake_model_server.h"
#include "files/history.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
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

struct CategoryFixture : BinFixture {
    std::unique_ptr<FakeModelServer> server;

    explicit CategoryFixture(FakeModelServer::Handler handler = {})
    {
        if (handler) {
            server = std::make_unique<FakeModelServer>(std::move(handler));
            ModelServerConfig c;
            c.address = server->address();
            c.requestTimeoutMs = 3000;
            AIName::setServerConfig(c);
        }
        bin().categories().setServices({[] { return AIName::Availability::available; }, {}, {}});
    }
    BinCategories& tool() { return bin().categories(); }
    // Real files holding the given text, listed and shown in this order.
    void files(const QList<QPair<QString, QByteArray>>& named)
    {
        QList<FileItem> added;
        for (const auto& [name, content] : named)
            added.append(FileItem::file(env.makeFile(name, content)));
        store->editItems([&added](QList<FileItem>& items) { items.append(added); });
        bin().onAppear();
        settle();
    }
    bool classify()
    {
        return runTool(tool(), [this] { tool().classifyWithAI(); });
    }
    QStringList categories()
    {
        QStringList out;
        for (const BinRow& r : bin().rows())
            out.append(r.value("custom:Category"));
        return out;
    }
    void setCategories(const QStringList& values)
    {
        bin().pushToolSnapshot();
        bin().editRows([&](QList<BinRow>& rows) {
            QList<int> changed;
            for (int i = 0; i < values.size(); ++i) {
                rows[i].setValue(values[i], "custom:Category");
                changed.append(i);
            }
            return changed;
        });
    }
    // Runs `f` on the main thread while the server holds its answer.
    void onMain(std::function<void()> f)
    {
        QMetaObject::invokeMethod(store.get(), std::move(f), Qt::BlockingQueuedConnection);
    }
    int chats() const
    {
        int n = 0;
        for (const FakeRequest& r : server->requests())
            n += r.path == "/v1/chat/completions";
        return n;
    }
};

TEST(CategoryFolderName, TrimsBlanksAndTabsOnlyAndReplacesSlashes)
{
    const QList<QPair<QString, QString>> cases = {
        {" Finance / Tax\t", "Finance _ Tax"},
        {u8("\u3000Docs\u00a0"), "Docs"},
        {"Docs\n", "Docs\n"},  // line breaks are not trimmed
        {" \t ", ""},
        {"a/b/c", "a_b_c"},
    };
    for (const auto& [category, folder] : cases)
        EXPECT_EQ(categoryFolderName(category), folder) << category.toStdString();
    for (const char* name : {"", ".", "..", ".hidden", "a/b"})
        EXPECT_FALSE(isUsableCategoryFolder(name)) << name;
    EXPECT_FALSE(isUsableCategoryFolder(QString("a") + QChar(0) + "b"));
    EXPECT_TRUE(isUsableCategoryFolder("Finance _ Tax"));
}

TEST(BinCategories, ClassifiesFilesWithTextAsOneUndoStep)
{
    for (bool zh : {false, true}) {
        CategoryFixture f(FakeModelServer::answering([](const FakeRequest& r) {
            return contentOf(r) == "invoice" ? QString("Finance / Tax") : contentOf(r) == "cat" ? "Animals" : "";
        }));
        f.store->setLangZh(zh);
        f.files({{"a.txt", "invoice"}, {"b.bin", "no text"}, {"c.txt", "cat"}, {"d.txt", "shrug"}});
        QList<BinRow> rows = f.bin().rows();
        rows.append(BinFixture::offlineRow("e.txt"));
        f.bin().setRows(rows);

        ASSERT_TRUE(f.classify());
        // cleanAnswer made the slash "_"; b has no text and is never sent, d's answer is empty.
        EXPECT_EQ(f.categories(), (QStringList{"Finance _ Tax", "", "Animals", "", ""}));
        EXPECT_EQ(f.chats(), 3);
        EXPECT_EQ(f.bin().customCols(), QStringList{"Category"});
        EXPECT_EQ(f.draft(f.row(2).id).custom.value("Category"), "Animals");
        EXPECT_EQ(f.store->status(), zh ? u8("已分类 2 个文件。查看「Category」列后可移动到文件夹。")
                                        : "Classified 2 file(s). Review the Category column, then Move to folders.");
        EXPECT_FALSE(f.bin().busy());
        ASSERT_EQ(f.bin().metaHistory().size(), 1);
        f.bin().undoMetaEdit();
        EXPECT_EQ(f.categories(), QStringList(5, QString()));
    }
}

TEST(BinCategories, StopKeepsWhatIsWrittenAndRemovedRowsAreNotCounted)
{
    CategoryFixture* self = nullptr;
    CategoryFixture f(FakeModelServer::answering([&](const FakeRequest& r) {
        const QString text = contentOf(r);
        if (text == "b")  // b's row leaves the table while the model answers
            self->onMain([&] {
                QList<BinRow> rows = self->bin().rows();
                rows.removeAt(1);
                self->bin().setRows(rows);
            });
        if (text == "c")
            self->onMain([&] { self->bin().setStopRequested(true); });
        return text.toUpper();
    }));
    self = &f;
    f.files({{"a.txt", "a"}, {"b.txt", "b"}, {"c.txt", "c"}, {"d.txt", "d"}});
    ASSERT_TRUE(f.classify());
    EXPECT_EQ(f.categories(), (QStringList{"A", "C", ""}));
    EXPECT_EQ(f.store->status(), "Classified 2 file(s). Review the Category column, then Move to folders.");
}

TEST(BinCategories, AnUnavailableModelOnlySaysWhy)
{
    CategoryFixture f;
    f.files({{"a.txt", "a"}});
    f.tool().setServices({[] { return AIName::Availability::notReady; }, {}, {}});
    f.tool().classifyWithAI();
    EXPECT_FALSE(f.tool().running());
    EXPECT_FALSE(f.bin().busy());
    EXPECT_TRUE(f.bin().customCols().isEmpty());
    EXPECT_EQ(f.store->status(), "AI model is still downloading. Try again later.");
}

TEST(BinCategories, MovesIntoFoldersBesideTheFileAsOneUndoBatch)
{
    CategoryFixture f;
    f.env.makeFile("Docs/f.txt", "already there");
    f.files({{"a.txt", "a"},
             {"b.txt", "b"},
             {"c.txt", "c"},
             {"d.txt", "d"},
             {"e.txt", "e"},
             {"f.txt", "f"},
             {"g.txt", "g"}});
    QList<BinRow> rows = f.bin().rows();
    rows.append(BinFixture::offlineRow("h.txt"));
    f.bin().setRows(rows);
    f.setCategories({" Finance / Tax ", "  ", ".", "..", ".hidden", "Docs", "Docs", "Docs"});
    const qsizetype batches = f.store->historyState().undoStack.size();

    f.bin().categories().moveToCategoryFolders();
    EXPECT_EQ(f.store->status(), "Moved 2 file(s) into category folders, 6 skipped.");
    const QString a = f.env.path("Finance _ Tax/a.txt"), g = f.env.path("Docs/g.txt");
    EXPECT_EQ(readFile(a), "a");
    EXPECT_EQ(readFile(g), "g");
    // Unsafe names never move a file out of its folder or hide it; an occupied target is kept.
    for (const char* name : {"b.txt", "c.txt", "d.txt", "e.txt", "f.txt"})
        EXPECT_TRUE(QFileInfo::exists(f.env.path(name))) << name;
    EXPECT_FALSE(QFileInfo::exists(QDir(f.env.path("..")).filePath("d.txt")));
    EXPECT_FALSE(QFileInfo::exists(f.env.path(".hidden")));
    EXPECT_EQ(readFile(f.env.path("Docs/f.txt")), "already there");
    // Rows and listed items follow the files; the whole run is one undo batch.
    EXPECT_EQ(f.row(0).url, a);
    EXPECT_EQ(f.store->items().at(6).url, g);
    ASSERT_EQ(f.store->historyState().undoStack.size(), batches + 1);
    EXPECT_EQ(f.store->historyState().undoStack.last(),
              (MoveBatch{{f.env.path("a.txt"), a}, {f.env.path("g.txt"), g}}));

    // Undoing the categories takes back cells, not moves.
    f.bin().undoMetaEdit();
    EXPECT_EQ(f.row(0).value("custom:Category"), "");
    EXPECT_EQ(f.row(0).url, a);

    f.store->history().undoLast();
    EXPECT_EQ(readFile(f.env.path("a.txt")), "a");
    EXPECT_EQ(readFile(f.env.path("g.txt")), "g");
}

TEST(BinCategories, MoveReportsInBothLanguagesAndNestsOnASecondRun)
{
    for (bool zh : {false, true}) {
        CategoryFixture f;
        f.store->setLangZh(zh);
        f.files({{"a.txt", "a"}});
        f.setCategories({"Docs"});
        f.bin().categories().moveToCategoryFolders();
        EXPECT_EQ(f.store->status(),
                  zh ? u8("已移动 1 个文件到分类文件夹。") : "Moved 1 file(s) into category folders.");
        f.bin().categories().moveToCategoryFolders();
        EXPECT_EQ(readFile(f.env.path("Docs/Docs/a.txt")), "a");
        QList<BinRow> rows = f.bin().rows();
        rows.append(BinFixture::offlineRow("b.txt"));
        f.bin().setRows(rows);
        f.bin().categories().moveToCategoryFolders();
        EXPECT_EQ(f.store->status(), zh ? u8("已移动 1 个文件到分类文件夹,跳过 1 个。")
                                        : "Moved 1 file(s) into category folders, 1 skipped.");
    }
}

}  // namespace
