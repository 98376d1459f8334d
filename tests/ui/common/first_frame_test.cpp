#include "common/first_frame.h"
#include "platform/settings.h"
#include "test_support.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace {
// A start's settings writes wait for its first frame, and none is lost: those set before it reach
// the file once it is drawn, or when their settings go first.
TEST(FirstFrameSettings, WritesWaitForTheFrameAndNoneIsLost)
{
    TestEnv env;
    const QString drawn = env.path("drawn.json");
    const QString gone = env.path("gone.json");
    FirstFrame::holdUntilPainted();
    FileSettings settings(drawn);
    settings.setBool("seen", true);
    {
        FileSettings early(gone);
        early.setString("name", "Day1");
        QCoreApplication::processEvents();
        EXPECT_FALSE(QFileInfo::exists(gone));
    }
    EXPECT_EQ(FileSettings(gone).stringValue("name"), "Day1");
    EXPECT_FALSE(QFileInfo::exists(drawn));

    FirstFrame::painted();
    QCoreApplication::processEvents();
    EXPECT_EQ(FileSettings(drawn).boolValue("seen"), true);
    // Once drawn, a set is written by the event loop as before.
    settings.setBool("later", true);
    QCoreApplication::processEvents();
    EXPECT_EQ(FileSettings(drawn).boolValue("later"), true);
}
}  // namespace
