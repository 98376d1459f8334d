#include "files/history.h"
#include "model/presets.h"
// What the application keeps across launches reaches the disk by the time it quits.
#include "model/gui_preset.h"
#include "platform/lang.h"
#include "test_support.h"

#include <QFile>
#include <QJsonDocument>
#include <gtest/gtest.h>

TEST(Saving, SettingsChangedJustBeforeQuittingAreOnDisk)
{
    TestEnv env;
    const QString path = env.path("config/Brindlecove.json");
    StoreServices services = env.services();
    services.settings = std::make_shared<FileSettings>(path);
    Store store(services);
    store.setSmartRenameIgnoreText("QUIT_MARKER");
    store.history().flushPendingSaves();  // what the application does after its last window closed
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().contains("QUIT_MARKER"));
}

TEST(Saving, ASinglePresetFileKeepsEverythingButThePresetSuffix)
{
    TestEnv env;
    auto store = env.makeStore();
    const QByteArray preset = QJsonDocument(GUIPreset().toJson()).toJson();
    const struct {
        const char* file;
        const char* name;
    } cases[] = {
        {"Grade v1.2.json", "Grade v1.2"},
        {"Night.gui.json", "Night"},
        {"Day.v2.gui.json", "Day.v2"},
        {"Dailies.JSON", "Dailies"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(store->presets().importFrom(env.makeFile(QStringLiteral("in/") + c.file, preset)).imported, 1);
        EXPECT_TRUE(store->presetNames().contains(c.name))
            << c.file << ": " << store->presetNames().join('|').toStdString();
    }
}
