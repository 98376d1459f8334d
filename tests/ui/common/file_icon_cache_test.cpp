#include "common/file_icon_cache.h"

#include <gtest/gtest.h>

namespace {

TEST(FileIconCacheTest, KeysShareAnIconPerTypeAndSeparateFoldersAndBundles)
{
    const struct {
        const char* path;
        bool isDir;
        const char* key;
    } cases[] = {
        {"/m/report.PDF", false, "ext:pdf"},    {"/m/notes.pdf", false, "ext:pdf"},
        {"/m/card", true, "path:/m/card"},      {"/m/card.mov", true, "path:/m/card.mov"},
        {"/m/README", false, "path:/m/README"}, {"/m/Tool.app", false, "path:/m/Tool.app"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FileIconCache::keyFor(c.path, c.isDir), c.key) << c.path;
}

TEST(FileIconCacheTest, EmptiedWholeWhenANewKeyFindsMoreThan500)
{
    for (int i = 0; FileIconCache::cachedIconCount() < 501; ++i)
        FileIconCache::icon(QStringLiteral("/nowhere/folder%1").arg(i), true);
    EXPECT_EQ(FileIconCache::cachedIconCount(), 501);
    FileIconCache::icon("/nowhere/folder0", true);  // held already: nothing is dropped
    EXPECT_EQ(FileIconCache::cachedIconCount(), 501);
    FileIconCache::icon("/nowhere/one more", true);
    EXPECT_EQ(FileIconCache::cachedIconCount(), 1);
}

}  // namespace
