// The bin's Tools menu: its entries in both languages, and each entry running its tool on the
// table's files.
#include "ai/ai_name.h"
#include "bin/bin_categories.h"
#include "bin/bin_custom_columns.h"
#include "bin/bin_duplicates.h"
#include "bin/bin_presets.h"
#include "bin/bin_translator.h"
#include "bin/dialogs_bin_desk.h"
#include "bin_view_fixture.h"

#include <QFileInfo>
#include <QMenu>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

QString u8(const char* s)
{
    return QString::fromUtf8(s);
}

struct ToolsFixture : BinViewFixture {
    // Files with their contents, listed in this order.
    void listWith(const QList<QPair<QString, QByteArray>>& files)
    {
        QList<FileItem> items;
        for (const auto& [name, content] : files)
            items << FileItem::file(env.makeFile(name, content));
        store->editItems([&items](QList<FileItem>& all) { all.append(items); });
        QCoreApplication::processEvents();
    }
    QAction* entry(const QString& text) { return ui::menuAction(toolbar()->toolsMenu(), text); }
    QMenu* translateMenu() { return toolbar()->toolsMenu()->actions().at(4)->menu(); }
    QStringList column(const QString& key)
    {
        QStringList out;
        for (const BinRow& r : bin().rows())
            out << r.value(key);
        return out;
    }
    // The model answers on a later turn of the event loop, as a real one does.
    static void later(QObject* context, const BinCategories::Answer& done, std::optional<QString> answer)
    {
        QTimer::singleShot(0, context, [done, answer] { done(answer); });
    }
};

TEST(BinToolsMenu, EntriesInBothLanguagesAllEnabled)
{
    ToolsFixture f;
    f.list({"a.jpg", "b.mov"});
    f.bin().customColumns().addColumns({"Scene"});
    const struct {
        bool zh;
        NameLang aiLang;
        QStringList entries;
    } cases[] = {
        {false,
         NameLang::automatic,
         {"Find duplicates", "-", "Classify with AI", "Move to category folders", u8("Translate column → English"),
          "Pair proxy files"}},
        {true,
         NameLang::automatic,
         {u8("查找重复"), "-", u8("用 AI 分类"), u8("移动到分类文件夹"), u8("翻译列 → English"), u8("配对代理文件")}},
        {true,
         NameLang::japanese,
         {u8("查找重复"), "-", u8("用 AI 分类"), u8("移动到分类文件夹"), u8("翻译列 → Japanese"), u8("配对代理文件")}},
    };
    for (const auto& c : cases) {
        f.store->setLangZh(c.zh);
        f.store->setAiLang(c.aiLang);
        QMenu* menu = f.toolbar()->toolsMenu();
        EXPECT_EQ(ui::menuTexts(menu), c.entries);
        for (QAction* a : menu->actions())
            EXPECT_TRUE(a->isEnabled()) << a->text().toStdString();
        // One item per field column, in the table's order, custom columns last.
        QStringList titles;
        for (const auto& col : f.bin().fieldColumns())
            titles << col.title;
        EXPECT_EQ(ui::menuTexts(f.translateMenu()), titles);
        EXPECT_EQ(titles.last(), "Scene");
    }
    EXPECT_EQ(f.toolbar()->toolsButton()->text(), u8("工具"));
}

// Menus are rebuilt at every opening; the submenus of earlier openings must go with them.
TEST(BinToolsMenu, ReopenedMenusKeepOnlyTheirCurrentSubmenus)
{
    ToolsFixture f;
    f.list({"a.jpg", "b.jpg"});
    f.bin().customColumns().addColumns({"Scene"});
    f.bin().setDesk(std::make_shared<DialogsBinDesk>(f.dialogs));
    f.dialogs.promptAnswers.push_back(QString("Mine"));
    f.bin().presets().saveBinPreset();  // so that the Columns menu has its preset submenus
    ASSERT_EQ(f.bin().presets().presetNames(), QStringList({"Mine"}));
    BinToolbar* t = f.toolbar();
    const struct {
        const char* name;
        std::function<QMenu*()> open;
    } cases[] = {{"tools", [t] { return t->toolsMenu(); }},
                 {"edit", [t] { return t->editMenu(); }},
                 {"columns", [t] { return t->columnsMenu(); }}};
    for (const auto& c : cases) {
        QMenu* menu = c.open();
        const qsizetype once = menu->findChildren<QMenu*>().size();
        for (int i = 0; i < 3; ++i)
            menu = c.open();
        EXPECT_EQ(menu->findChildren<QMenu*>().size(), once) << c.name;
    }
}

TEST(BinToolsMenu, FindDuplicatesMarksAndSelectsEqualFiles)
{
    ToolsFixture f;
    f.listWith({{"a.mov", "same"}, {"b.mov", "other"}, {"c.mov", "same"}, {"d.mov", "same"}});
    f.entry("Find duplicates")->trigger();
    EXPECT_TRUE(QTest::qWaitFor([&f] { return !f.bin().duplicates().running(); }));
    EXPECT_EQ(f.column("custom:Duplicate"), QStringList({"original #1", "", "dup #1", "dup #1"}));
    EXPECT_EQ(f.bin().selectedRowIndices(), QList<int>({2, 3}));
    EXPECT_EQ(f.store->status(), "Found 2 duplicate(s) in 1 group(s). Duplicates selected — press Delete to remove.");
    EXPECT_TRUE(f.toolbar()->toolsButton()->isEnabled());
}

TEST(BinToolsMenu, MoveToCategoryFoldersMovesTheFiles)
{
    ToolsFixture f;
    f.list({"a.jpg", "b.jpg"});
    f.bin().customColumns().addColumns({"Category"});
    QList<BinRow> rows = f.bin().rows();
    rows[0].setValue("Beach / Sea", "custom:Category");
    f.bin().setRows(rows);
    f.store->setLangZh(true);
    f.entry(u8("移动到分类文件夹"))->trigger();
    EXPECT_TRUE(QFileInfo::exists(f.env.path("Beach _ Sea/a.jpg")));
    EXPECT_FALSE(QFileInfo::exists(f.env.path("a.jpg")));
    EXPECT_EQ(f.row(0).url.value_or(QString()), f.env.path("Beach _ Sea/a.jpg"));
    EXPECT_EQ(f.store->status(), u8("已移动 1 个文件到分类文件夹,跳过 1 个。"));
}

TEST(BinToolsMenu, ClassifyAndTranslateAskTheModelWhileTheToolsWait)
{
    ToolsFixture f;
    f.list({"a.txt", "b.txt"});
    QStringList asked;
    f.bin().categories().setServices(
        {[] { return AIName::Availability::available; },
         [](const QString& path, QObject* context, BinCategories::Answer done) {
             ToolsFixture::later(context, done, QFileInfo(path).fileName());
         },
         [&asked](const QString& text, bool, QObject* context, BinCategories::Answer done) {
             asked << text;
             ToolsFixture::later(context, done, "Notes " + text.left(1));
         }});
    f.entry("Classify with AI")->trigger();
    // The bin is busy until the model has answered for every file.
    EXPECT_FALSE(f.toolbar()->toolsButton()->isEnabled());
    EXPECT_TRUE(QTest::qWaitFor([&f] { return !f.bin().categories().running(); }));
    EXPECT_TRUE(f.toolbar()->toolsButton()->isEnabled());
    EXPECT_EQ(asked, QStringList({"a.txt", "b.txt"}));
    EXPECT_EQ(f.column("custom:Category"), QStringList({"Notes a", "Notes b"}));
    EXPECT_EQ(f.store->status(), "Classified 2 file(s). Review the Category column, then Move to folders.");

    f.store->setAiLang(NameLang::french);
    f.bin().translator().setServices(
        {[] { return AIName::Availability::available; },
         [](const QString& text, const QString& language, QObject* context, BinTranslator::Answer done) {
             ToolsFixture::later(context, done, language + ":" + text);
         }});
    ui::menuAction(f.translateMenu(), "Category")->trigger();
    EXPECT_FALSE(f.toolbar()->toolsButton()->isEnabled());
    EXPECT_TRUE(QTest::qWaitFor([&f] { return !f.bin().translator().running(); }));
    EXPECT_EQ(f.column("custom:Category"), QStringList({"French:Notes a", "French:Notes b"}));
    EXPECT_EQ(f.store->status(), "Translated 2 cell(s) to French.");
}

TEST(BinToolsMenu, AIEntriesWithoutTheModelOnlySayWhy)
{
    ToolsFixture f;
    f.list({"a.txt"});
    f.bin().categories().setServices({[] { return AIName::Availability::notReady; }, {}, {}});
    f.bin().translator().setServices({[] { return AIName::Availability::notEnabled; }, {}});
    f.store->setLangZh(true);
    f.entry(u8("用 AI 分类"))->trigger();
    EXPECT_EQ(f.store->status(), AIName::unavailableMessage(AIName::Availability::notReady));
    EXPECT_FALSE(f.bin().customCols().contains("Category"));
    ui::menuAction(f.translateMenu(), f.bin().fieldColumns().first().title)->trigger();
    EXPECT_EQ(f.store->status(), AIName::unavailableMessage(AIName::Availability::notEnabled));
    EXPECT_FALSE(f.bin().busy());
    EXPECT_TRUE(f.toolbar()->toolsButton()->isEnabled());
}

TEST(BinToolsMenu, PairProxyFilesTakesWhatThePanelChose)
{
    ToolsFixture f;
    f.list({"cam/A001.MOV", "cam/A002.MOV"});
    f.env.makeFile("proxies/a001.mp4");
    f.env.makeFile("proxies/sub/a002.mp4");

    f.desk->picked = {};  // cancelled
    f.entry("Pair proxy files")->trigger();
    EXPECT_EQ(f.desk->panels, 1);
    EXPECT_FALSE(f.bin().customCols().contains("Proxy"));

    f.desk->picked = {f.env.path("proxies")};
    f.entry("Pair proxy files")->trigger();
    EXPECT_EQ(f.desk->panels, 2);
    EXPECT_EQ(f.column("custom:Proxy"), QStringList({"a001.mp4", ""}));
    EXPECT_EQ(f.column("custom:Proxy Path"), QStringList({f.env.path("proxies/a001.mp4"), ""}));
    EXPECT_EQ(f.store->status(), "Paired 1 proxy file(s).");
}

}  // namespace
