#include "model/store.h"
#include "smartrename/smart_rename_run.h"
#include "test_support.h"

#include <QTest>
#include <gtest/gtest.h>

namespace {

using Progress = SmartRenameRun::Progress;

QString names(int n)
{
    QStringList lines;
    for (int i = 0; i < n; ++i)
        lines << QStringLiteral("ABC_Spot%1_:30_V%2").arg(QChar(u'A' + i % 26)).arg(i + 1);
    return lines.join(u'\n');
}

class SmartRenameRunTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        store = env.makeStore();
        QObject::connect(&run(), &SmartRenameRun::progressChanged, [this] { seen.push_back(run().progress()); });
    }
    SmartRenameRun& run() { return store->smartRun(); }
    const QList<SmartRenameRow>& rows() { return store->smart().smartRenameRows; }
    void waitForEnd()
    {
        ASSERT_TRUE(QTest::qWaitFor([&] { return !run().isRunning(); }, 20000));
    }
    QList<FileItem> files(int n)
    {
        QList<FileItem> items;
        for (int i = 0; i < n; ++i)
            items << FileItem::file(env.makeFile(QStringLiteral("ABC_Spot_:30_V%1.MOV").arg(i + 1)));
        return items;
    }

    TestEnv env;
    std::unique_ptr<Store> store;
    std::vector<std::optional<Progress>> seen;
};

TEST(SmartRenamePastedLines, BlankLinesDroppedOthersTrimmedDuplicatesKept)
{
    const struct {
        QString text;
        QStringList lines;
    } cases[] = {
        {"", {}},
        {"  \n\t\n\r\n", {}},
        {" a.mov \n\nb\r\na.mov", {"a.mov", "b", "a.mov"}},
        {QString("x") + QChar(0x2028) + "y" + QChar(0x0085) + "z\rw", {"x", "y", "z", "w"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SmartRenameRun::pastedLines(c.text), c.lines) << c.text.toStdString();
}

TEST(SmartRenameRowBuild, ExtensionsTagsAndControlCharacters)
{
    SmartCorrector corrector;
    corrector.ignoreTags = {"_CueSheet", "mov"};
    const struct {
        QString line;
        bool keepExt;
        QString original;
        QString recognised;  // what goes to the recogniser
        QString ext;         // appended after a dot
    } cases[] = {
        {"clip.final.mov", true, "clip.final.mov", "clip.final", "mov"},
        {"clip.final.mov", false, "clip.final.mov", "clip.final", ""},
        {"ABC_Spot_cuesheet_V1.MOV", true, "ABC_Spot_cuesheet_V1.MOV", "ABC_Spot__V1", "MOV"},
        {"clip.abcdefghijklm", true, "clip.abcdefghijklm", "clip.abcdefghijklm", ""},
        {"clip.1mov", true, "clip.1mov", "clip.1", ""},
        {QString("AB\u0007C_Spot\u200B_V2"), false, "ABC_Spot_V2", "ABC_Spot_V2", ""},
    };
    for (const auto& c : cases) {
        const SmartRenameRow row = SmartRenameRun::makeRow(c.line, corrector, c.keepExt);
        const SmartRename::Result r = corrector.correctName(c.recognised);
        EXPECT_EQ(row.original, c.original) << c.line.toStdString();
        EXPECT_EQ(row.corrected, c.ext.isEmpty() ? r.corrected : r.corrected + "." + c.ext) << c.line.toStdString();
        EXPECT_EQ(row.missingVersion, r.missingVersion);
        EXPECT_EQ(row.version, r.version.value_or(QString()));
        EXPECT_FALSE(row.sourceItem);
        EXPECT_FALSE(row.variantName || row.preVariantName || row.variantExt);
    }
}

TEST(SmartRenameRowBuild, RowsFromFilesKeepTheirItemAndOwnExtension)
{
    SmartCorrector corrector;
    for (const auto& [path, keep, suffix] :
         {std::tuple{"/m/ABC_Spot_V3.MOV", true, ".MOV"}, std::tuple{"/m/ABC_Spot_V3.MOV", false, ""},
          std::tuple{"/m/ABC_Spot_V3", true, ""}}) {
        const FileItem item = FileItem::file(path);
        const SmartRenameRow row = SmartRenameRun::makeRowFromItem(item, corrector, keep);
        EXPECT_EQ(row.original, item.name);
        EXPECT_EQ(row.corrected, corrector.correctName(item.stem).corrected + suffix) << path;
        ASSERT_TRUE(row.sourceItem);
        EXPECT_EQ(row.sourceItem->id, item.id);
    }
}

TEST_F(SmartRenameRunTest, BlankInputGivesNoRowsAndNoProgress)
{
    store->setSmartRenameRows({SmartRenameRow{}});
    store->setSmartRenameInputText(" \n\n ");
    run().recognize();
    EXPECT_TRUE(rows().isEmpty());
    EXPECT_TRUE(seen.empty());
}

TEST_F(SmartRenameRunTest, TwentyNamesAtOnceTwentyOnePaced)
{
    store->setSmartRenameInputText(names(20));
    run().recognize();
    EXPECT_EQ(rows().size(), 20);
    EXPECT_TRUE(seen.empty());

    store->setSmartRenameInputText(names(21));
    run().recognize();
    EXPECT_EQ(rows().size(), 20);  // the earlier list stays until the run ends
    waitForEnd();
    EXPECT_EQ(rows().size(), 21);
    const std::vector<std::optional<Progress>> expected{Progress{0, 21}, Progress{20, 21}, std::nullopt};
    EXPECT_EQ(seen, expected);
    EXPECT_EQ(rows().last().original, SmartRenameRun::pastedLines(names(21)).last());
}

TEST_F(SmartRenameRunTest, SecondRunDuringAPacedRunIsIgnored)
{
    store->setSmartRenameInputText(names(45));
    run().recognize();
    store->setSmartRenameInputText("XYZ_Other_V9");
    store->editItems([&](QList<FileItem>& items) { items = files(2); });
    run().recognize();
    run().useLoadedFiles();
    run().clear();
    waitForEnd();
    ASSERT_EQ(rows().size(), 45);
    EXPECT_FALSE(rows().first().sourceItem);
    const std::vector<std::optional<Progress>> expected{Progress{0, 45}, Progress{20, 45}, Progress{40, 45},
                                                        std::nullopt};
    EXPECT_EQ(seen, expected);
}

TEST_F(SmartRenameRunTest, LoadedFilesTwentyAtOnceTwentyOnePaced)
{
    store->setSmartRenameKeepExt(true);
    store->setSmartRenameInputText("pasted");
    store->editItems([&](QList<FileItem>& items) { items = files(20); });
    run().useLoadedFiles();
    ASSERT_EQ(rows().size(), 20);
    EXPECT_TRUE(seen.empty());
    EXPECT_TRUE(rows().first().corrected.endsWith(".MOV"));

    store->editItems([&](QList<FileItem>& items) { items = files(21); });
    run().useLoadedFiles();
    waitForEnd();
    ASSERT_EQ(rows().size(), 21);
    EXPECT_EQ(seen.front(), (Progress{0, 21}));
    for (int i = 0; i < 21; ++i)
        EXPECT_EQ(rows().at(i).sourceItem->id, store->items().at(i).id);
    EXPECT_EQ(store->smart().smartRenameInputText, "pasted");
}

TEST_F(SmartRenameRunTest, ClearEmptiesTextAndRowsOnly)
{
    store->setSmartRenameInputText("ABC_Spot_V1");
    store->setSmartRenameIgnoreText("_tag");
    run().recognize();
    ASSERT_EQ(rows().size(), 1);
    run().clear();
    EXPECT_TRUE(rows().isEmpty());
    EXPECT_EQ(store->smart().smartRenameInputText, "");
    EXPECT_EQ(store->smart().smartRenameIgnoreText, "_tag");
}

SmartRenameRow named(const QString& corrected, std::optional<QString> pre = {})
{
    SmartRenameRow row;
    row.id = QUuid::createUuid();
    row.corrected = corrected;
    row.preVariantName = pre;
    if (pre) {
        row.variantName = "Web";
        row.variantExt = "";
    }
    return row;
}

TEST(SmartRenameResults, DuplicatesIgnoreCaseOnly)
{
    const QList<SmartRenameRow> rows{named("A_Spot_V1"), named("a_spot_v1"), named("B_V1"),
                                     named("B_V1 "),     named("C.mov"),     named("C.mxf"),
                                     named("D"),         named("D"),         named("D")};
    const QSet<QString> dup = SmartRename::duplicateNames(rows);
    const bool marked[] = {true, true, false, false, false, false, true, true, true};
    for (int i = 0; i < rows.size(); ++i)
        EXPECT_EQ(SmartRename::isDuplicate(rows.at(i), dup), marked[i]) << i;
}

TEST(SmartRenameResults, ResetRestoresVariedRowsKeepsHandEdits)
{
    const QList<SmartRenameRow> rows{named("web_A", "A"), named("hand edit"), named("web_B", "B")};
    const QList<SmartRenameRow> all = SmartRename::resetToRecognized(rows);
    EXPECT_EQ(all.at(0).corrected, "A");
    EXPECT_FALSE(all.at(0).variantName || all.at(0).preVariantName || all.at(0).variantExt);
    EXPECT_EQ(all.at(1).corrected, "hand edit");
    EXPECT_EQ(all.at(2).corrected, "B");

    const QList<SmartRenameRow> one = SmartRename::resetToRecognized(rows, rows.at(2).id);
    EXPECT_EQ(one.at(0), rows.at(0));
    EXPECT_EQ(one.at(2).corrected, "B");
}

TEST(SmartRenameResults, CopyAllJoinsWithoutFinalLineFeed)
{
    EXPECT_EQ(SmartRename::joinedResults({named("A"), named("B"), named("C")}), "A\nB\nC");
    EXPECT_EQ(SmartRename::joinedResults({}), "");
}

}  // namespace
