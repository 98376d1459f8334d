#include "files/intake.h"
#include "test_support.h"

#include <gtest/gtest.h>

TEST(LaunchNotice, ADamageMessageAtLaunchStaysBesideTheFirstReport)
{
    TestEnv env;
    env.makeFile("support/undo-history.json", "not json");
    auto store = env.makeStore();
    const QString damage = store->status();
    ASSERT_TRUE(damage.startsWith("The undo history could not be read")) << damage.toStdString();

    store->intake().addURLs({env.makeFile("in/a.mov")});  // files given on the command line
    EXPECT_EQ(store->status(), "1 file(s). " + damage);
    store->intake().addURLs({env.makeFile("in/b.mov")});
    EXPECT_EQ(store->status(), "2 file(s).");  // told once; later reports stand alone
}
