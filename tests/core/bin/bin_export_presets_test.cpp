// Export presets: saved CSV column lists in the support folder, listed in the file manager's
// order, and the CSV column sheet built over the bin.
#include "bin/bin_columns.h"
#include "bin/bin_export_presets.h"
#include "bin_support.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {
using Fields = BinExportPresets::Fields;

void write(const QString& path, const QByteArray& data)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(data);
}

TEST(BinExportPresets, SaveListLoadAndDelete)
{
    BinFixture f;
    BinExportPresets& p = f.bin().exportPresets();
    p.refreshExportPresetNames();
    EXPECT_TRUE(p.exportPresetNames().isEmpty());
    EXPECT_FALSE(QDir(p.presetFolder()).exists());  // listing never creates the folder
    EXPECT_EQ(p.presetFolder(), QDir(f.store->supportFolder()).filePath("exportpresets"));

    const Fields columns = {{"name", "Clip"}, {"custom:Scene", "Sc"}};
    p.saveExportPreset("a/b", {{"name", "first"}});
    p.saveExportPreset("a/b", columns);  // replaces without asking
    EXPECT_EQ(f.store->status(), "Saved export preset: a/b");
    EXPECT_EQ(p.exportPresetNames(), QStringList{"a_b"});
    EXPECT_EQ(readFile(QDir(p.presetFolder()).filePath("a_b.exportpreset")),
              R"([{"header":"Clip","key":"name"},{"header":"Sc","key":"custom:Scene"}])");
    EXPECT_EQ(p.loadExportPreset("a_b"), columns);
    EXPECT_EQ(f.store->status(), "Loaded export preset: a_b");

    for (const char* name : {"10", "2", "Banana", "apple", "x.EXPORTPRESET"})
        write(QDir(p.presetFolder()).filePath(QString(name) + (QString(name).contains('.') ? "" : ".exportpreset")),
              "[]");
    write(QDir(p.presetFolder()).filePath("no header.exportpreset"),
          R"([{"key":"name","header":"Clip"},{"key":"title"}])");
    p.refreshExportPresetNames();
    EXPECT_EQ(p.exportPresetNames(), (QStringList{"2", "10", "a_b", "apple", "Banana", "no header"}));

    f.store->setStatus("before");
    EXPECT_FALSE(p.loadExportPreset("no header").has_value());
    EXPECT_FALSE(p.loadExportPreset("missing").has_value());
    EXPECT_EQ(f.store->status(), "before");
    EXPECT_EQ(p.loadExportPreset("2"), Fields{});  // an empty list is a list

    f.store->setStatus("before");
    p.deleteExportPreset("a_b");
    p.deleteExportPreset("never there");
    EXPECT_EQ(p.exportPresetNames(), (QStringList{"2", "10", "apple", "Banana", "no header"}));
    EXPECT_EQ(f.store->status(), "before");
}

TEST(BinExportPresets, AFailedSaveSaysSoInBothLanguages)
{
    BinFixture f;
    BinExportPresets& p = f.bin().exportPresets();
    QDir().mkpath(QDir(p.presetFolder()).filePath("Mine.exportpreset"));  // a folder in the way
    p.saveExportPreset("Mine", {{"name", "File Name"}});
    EXPECT_EQ(f.store->status(), "Couldn't save export preset: Mine");
    f.store->setLangZh(true);
    p.saveExportPreset("Mine", {{"name", "File Name"}});
    EXPECT_EQ(f.store->status(), QString::fromUtf8("无法保存导出预设:Mine"));
    p.saveExportPreset("Ok", {{"name", "File Name"}});
    EXPECT_EQ(f.store->status(), QString::fromUtf8("已保存导出预设:Ok"));
    f.store->setLangZh(false);
}

TEST(BinExportPresets, CandidatesAreTheGroupsThenTheBinsOwnColumnsOnce)
{
    BinFixture f;
    f.bin().setCustomCols({"Scene", "Zoom", "Format"});
    const QStringList keys = f.bin().exportPresets().candidateCustomKeys();
    EXPECT_EQ(keys.mid(0, 3), (QStringList{"Tape", "Reel", "Scene"}));
    EXPECT_EQ(keys.size(), 15 + 27 + 1);
    EXPECT_EQ(keys.last(), "Zoom");
    EXPECT_EQ(keys.count("Scene"), 1);
}

TEST(BinExportPresets, TheSheetEditsTheBinsListAndItsPresets)
{
    BinFixture f;
    f.bin().setCustomCols({"Zoom"});
    BinExportPresets& p = f.bin().exportPresets();
    CSVFieldMapState sheet = p.fieldMapSheet();
    sheet.loadInitialState();
    EXPECT_EQ(sheet.included().size(), 17 + 15 + 27 + 1);
    EXPECT_TRUE(sheet.excludedKeys().isEmpty());

    sheet.removeColumn("custom:Zoom");
    sheet.savePreset(QString("short"));
    EXPECT_EQ(sheet.presetNames(), QStringList{"short"});
    EXPECT_FALSE(f.bin().csvFields().has_value());  // presets never reach the bin's list
    sheet.saveAndDismiss();
    ASSERT_TRUE(f.bin().csvFields().has_value());
    EXPECT_EQ(f.bin().csvFields()->size(), 17 + 15 + 27);

    CSVFieldMapState again = p.fieldMapSheet();
    again.loadInitialState();
    EXPECT_EQ(again.excludedKeys(), QStringList{"custom:Zoom"});
    again.deletePreset("short");
    EXPECT_TRUE(again.presetNames().isEmpty());
    again.resetToAutomatic();
    EXPECT_FALSE(f.bin().csvFields().has_value());
}

}  // namespace
