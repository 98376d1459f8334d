#include "platform/file_digest.h"
#include "test_support.h"

#include <gtest/gtest.h>

TEST(FileDigest, HexOfAFileMatchesTheKnownSha256)
{
    TestEnv env;
    const QString p = env.makeFile("a.txt", "abc");
    const auto digest = fileSha256(p);
    ASSERT_TRUE(digest.has_value());
    const QStringList hex = sha256Hex(*digest);
    ASSERT_EQ(hex.size(), 32);
    for (const QString& pair : hex)
        EXPECT_TRUE(pair.size() == 2 && pair.toLower() == pair) << pair.toStdString();
    EXPECT_EQ(hex.join(QString()), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    // A byte below 0x10 keeps its leading zero; a byte above 0x7f is not sign-extended.
    EXPECT_EQ(sha256Hex(QByteArray("\x05\xff", 2)), (QStringList{"05", "ff"}));
    EXPECT_FALSE(fileSha256(env.path("missing")).has_value());
}
