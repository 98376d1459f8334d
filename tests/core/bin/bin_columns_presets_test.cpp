#include "bin/bin_columns.h"
#include "bin_support.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <gtest/gtest.h>

namespace {

TEST(BinCustomColumns, NamesAreCleanedAndAddedOnce)
{
    BinFixture f;
    f.bin().onAppear();
    f.desk->column = std::make_pair(QString("Reel, Take"), false);
    f.bin().customColumns().addCustomColumn();
    EXPECT_EQ(f.bin().customCols(), QStringList{"Reel  Take"});
    f.desk->column = std::make_pair(QString("\t ,"), true);
    f.bin().customColumns().addCustomColumn();
    f.desk->column = std::make_pair(QString("Reel  Take"), true);  // present: the flag is ignored too
    f.bin().customColumns().addCustomColumn();
    EXPECT_EQ(f.bin().customCols(), QStringList{"Reel  Take"});
    EXPECT_FALSE(f.store->meta().binCheckboxCols.contains("Reel  Take"));
    f.desk->column = std::make_pair(QString("OK"), true);
    f.bin().customColumns().addCustomColumn();
    EXPECT_EQ(f.store->meta().binCustomCols, (QStringList{"Reel  Take", "OK"}));

    // The checkbox columns survive a restart.
    EXPECT_EQ(f.env.settings->stringListValue("binCheckboxCols"), (QStringList{"Circle", "Good", "OK"}));
    auto restarted = f.env.makeStore();
    EXPECT_TRUE(restarted->meta().binCheckboxCols.contains("OK"));
}

TEST(BinCustomColumns, GroupsAppendAndReportTheirSize)
{
    BinFixture f;
    f.bin().onAppear();
    ASSERT_EQ(BinColumns::technical().size(), 27);
    ASSERT_EQ(BinColumns::logging().size(), 15);
    f.bin().customColumns().addColumns(BinColumns::logging());
    f.bin().customColumns().addColumns(BinColumns::logging());
    EXPECT_EQ(f.bin().customCols(), BinColumns::logging());
    EXPECT_EQ(f.store->status(), "Added 15 columns.");
    f.bin().customColumns().addColumns(BinColumns::technical() + BinColumns::logging());
    EXPECT_EQ(f.bin().customCols(), BinColumns::logging() + BinColumns::technical());
    EXPECT_EQ(f.store->status(), "Added 42 columns.");
    f.store->setLangZh(true);
    f.bin().customColumns().addColumns(BinColumns::technical());
    EXPECT_EQ(f.store->status(), QString::fromUtf8("已添加 27 列。"));
    f.store->setLangZh(false);
}

TEST(BinPresets, SaveListLoadAndDelete)
{
    BinFixture f;
    f.bin().onAppear();
    EXPECT_TRUE(f.bin().presets().presetNames().isEmpty());
    EXPECT_FALSE(QDir(f.bin().presets().presetFolder()).exists());  // listing never creates the folder

    f.bin().setCustomCols({"Scene", "Take"});
    f.bin().setColumnCustomization(QJsonObject{{"title", QJsonObject{{"visible", false}}}});
    f.desk->answers = {QString("A/B")};
    f.bin().presets().saveBinPreset();
    EXPECT_EQ(f.store->status(), "Saved bin preset: A/B");
    EXPECT_EQ(f.bin().presets().presetNames(), QStringList{"A_B"});
    QFile saved(QDir(f.bin().presets().presetFolder()).filePath("A_B.binpreset"));
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(saved.readAll(), R"({"customCols":["Scene","Take"],"customization":{"title":{"visible":false}}})");

    QFile(QDir(f.bin().presets().presetFolder()).filePath("x.BINPRESET")).open(QIODevice::WriteOnly);
    QFile(QDir(f.bin().presets().presetFolder()).filePath(".binpreset")).open(QIODevice::WriteOnly);
    QFile broken(QDir(f.bin().presets().presetFolder()).filePath("broken.binpreset"));
    broken.open(QIODevice::WriteOnly);
    broken.write(R"({"customCols":["Reel"]})");
    broken.close();
    f.bin().presets().refreshBinPresetNames();
    EXPECT_EQ(f.bin().presets().presetNames(), (QStringList{"", "A_B", "broken"}));

    f.bin().setCustomCols({"Reel", "Scene"});
    f.bin().setColumnCustomization({});
    const int table = f.bin().tableID();
    f.store->setStatus("before");
    f.bin().presets().loadBinPreset("broken");
    EXPECT_EQ(f.store->status(), "before");
    EXPECT_EQ(f.bin().customCols(), (QStringList{"Reel", "Scene"}));
    f.bin().presets().loadBinPreset("A_B");
    EXPECT_EQ(f.bin().customCols(), (QStringList{"Reel", "Scene", "Take"}));
    EXPECT_EQ(f.bin().columnCustomization().value("title").toObject().value("visible"), false);
    EXPECT_EQ(f.bin().tableID(), table + 1);
    EXPECT_EQ(f.store->status(), "Loaded bin preset: A_B");

    f.bin().presets().deleteBinPreset("A_B");
    EXPECT_EQ(f.bin().presets().presetNames(), (QStringList{"", "broken"}));
}

TEST(BinPresets, AFailedSaveSaysSo)
{
    BinFixture f;
    f.bin().onAppear();
    QDir().mkpath(f.bin().presets().presetFolder());
    QDir().mkpath(QDir(f.bin().presets().presetFolder()).filePath("Mine.binpreset"));  // a folder in the way
    f.desk->answers = {QString("Mine")};
    f.bin().presets().saveBinPreset();
    EXPECT_EQ(f.store->status(), "Couldn't save bin preset: Mine");
    f.store->setLangZh(true);
    f.desk->answers = {QString("Mine")};
    f.bin().presets().saveBinPreset();
    EXPECT_EQ(f.store->status(), QString::fromUtf8("无法保存表格预设:Mine"));
    f.desk->answers = {QString("Ok")};
    f.bin().presets().saveBinPreset();
    EXPECT_EQ(f.store->status(), QString::fromUtf8("已保存表格预设:Ok"));
    f.store->setLangZh(false);

    f.store->setStatus("before");
    f.desk->answers = {QString("")};
    f.bin().presets().saveBinPreset();
    EXPECT_EQ(f.store->status(), "before");
}

}  // namespace
