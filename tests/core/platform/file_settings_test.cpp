#include "platform/settings.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>

TEST(FileSettings, ValuesKeepTheirTypeAcrossInstances)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("Wendlethorpe/settings.json");
    {
        FileSettings s(path);
        s.setBool("mediaDriveMode", true);
        s.setString("aiLang", "german");
        s.setString("smartRenameIgnoreText", "");
        s.setStringList("batchRuleOrder", {"suffix", "prefix"});
        s.setStringList("binCheckboxCols", {});
        s.setData("emailTemplates", QByteArray("[{\"a\":\"\xe4\xb8\xad\"}]\0x", 16));
        s.setString("showRestoreAll", "true");
        s.setBool("gone", true);
        s.remove("gone");
    }
    FileSettings s(path);
    EXPECT_EQ(s.boolValue("mediaDriveMode"), true);
    EXPECT_EQ(s.stringValue("aiLang"), "german");
    EXPECT_EQ(s.stringValue("smartRenameIgnoreText"), "");
    EXPECT_EQ(s.stringListValue("batchRuleOrder"), (QStringList{"suffix", "prefix"}));
    EXPECT_EQ(s.stringListValue("binCheckboxCols"), QStringList{});
    EXPECT_EQ(s.dataValue("emailTemplates"), QByteArray("[{\"a\":\"\xe4\xb8\xad\"}]\0x", 16));
    // A string under a Bool key is no Bool, whatever it says.
    EXPECT_EQ(s.boolValue("showRestoreAll"), std::nullopt);
    EXPECT_EQ(s.stringValue("mediaDriveMode"), std::nullopt);
    EXPECT_EQ(s.dataValue("aiLang"), std::nullopt);
    EXPECT_FALSE(s.contains("gone"));
    EXPECT_FALSE(s.contains("neverSet"));
}

TEST(FileSettings, DamagedFileIsSetAsideBeforeItIsOverwritten)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("settings.json");
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("{\"langZh\": {\"bool\": tru");
    }
    QString keptAs;
    {
        FileSettings s(path);
        EXPECT_FALSE(s.contains("langZh"));
        ASSERT_TRUE(s.damage());
        EXPECT_TRUE(s.damage()->error.isEmpty());
        keptAs = s.damage()->keptAs;
        s.setBool("langZh", true);
    }
    const QStringList aside = QDir(dir.path()).entryList({"settings.json.damaged-*"}, QDir::Files);
    ASSERT_EQ(aside.size(), 1);
    EXPECT_EQ(aside.first(), keptAs);
    EXPECT_FALSE(FileSettings(path).damage());
    QFile kept(dir.filePath(aside.first()));
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), "{\"langZh\": {\"bool\": tru");
    EXPECT_EQ(FileSettings(path).boolValue("langZh"), true);
}

// The launch sets a few keys to what they hold; the file is rewritten (and synced) only when a
// value, or its stored type, changes.
TEST(FileSettings, SettingWhatIsStoredLeavesTheFileAlone)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("settings.json");
    const auto inode = [&] {
        struct stat st {};
        return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_ino : ino_t(0);
    };
    {
        FileSettings s(path);
        s.setStringList("seen", {"Trlr", "Tsr"});
        s.setBool("flag", true);
    }
    const ino_t written = inode();
    ASSERT_NE(written, ino_t(0));
    {
        FileSettings s(path);
        s.setStringList("seen", {"Trlr", "Tsr"});
        s.setBool("flag", true);
        s.remove("neverSet");
    }
    EXPECT_EQ(inode(), written);
    {
        FileSettings s(path);
        s.setString("flag", "true");
    }
    EXPECT_NE(inode(), written);
    EXPECT_EQ(FileSettings(path).stringValue("flag"), "true");
}
