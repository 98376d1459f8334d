#include "app/main_window.h"
#include "test_support.h"

#include <QTest>
#include <gtest/gtest.h>

TEST(MainWindow, OpensTitledBrindlecove)
{
    TestEnv env;
    auto store = env.makeStore();
    MainWindow w(*store);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    EXPECT_EQ(w.windowTitle(), "Brindlecove");
}
