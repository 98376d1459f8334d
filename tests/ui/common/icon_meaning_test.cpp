// Icons say what their control does; file rows show their file's type.
#include "common/file_icon_cache.h"
#include "common/icons.h"

#include <QBuffer>
#include <QImage>
#include <QThreadPool>
#include <gtest/gtest.h>

TEST(IconMeaning, HelpAndRemoveUseIconsThatMeanThat)
{
    const struct {
        const char* symbol;
        QStringList meaning;
    } cases[] = {
        {"questionmark.circle", {"help-faq", "help-contents", "help-browser"}},
        {"xmark.circle.fill", {"window-close", "list-remove"}},
    };
    for (const auto& c : cases)
        EXPECT_TRUE(c.meaning.contains(themeIconName(c.symbol)))
            << c.symbol << " → " << themeIconName(c.symbol).toStdString();
    // Help must not look like the AI controls.
    EXPECT_NE(themeIconName("questionmark.circle"), themeIconName("sparkles"));
    EXPECT_NE(themeIconName("questionmark.circle"), themeIconName("wand.and.stars"));
}

TEST(IconMeaning, FileRowsShowTheirType)
{
    const struct {
        const char* path;
        bool isDir;
        const char* generic;
    } cases[] = {
        {"/cards/A001/IMG_0001.JPG", false, "image-x-generic"}, {"/cards/A001/C0001.MOV", false, "video-x-generic"},
        {"/cards/A001/C0001.mp4", false, "video-x-generic"},    {"/cards/A001/sound.wav", false, "audio-x-generic"},
        {"/cards/A001/notes.txt", false, "text-x-generic"},     {"/cards/A001", true, "folder"},
    };
    for (const auto& c : cases) {
        const QStringList names = FileIconCache::themeNames(c.path, c.isDir);
        EXPECT_TRUE(names.contains(c.generic)) << c.path << ": " << names.join(',').toStdString();
    }
    EXPECT_NE(FileIconCache::themeNames("a.pdf", false), FileIconCache::themeNames("a.jpg", false));
}

// A control drawing a fallback icon before the whole icon is read gets the image the whole icon
// gives, at each size the icon has an image of and in every mode.
TEST(IconMeaning, AFallbackIconGivesTheWholeIconsImages)
{
    for (const QString& symbol : symbolNames()) {
        const QIcon whole = styleFallbackIcon(symbol, true);
        // Below the smallest image too, as small controls draw them.
        QList<QSize> sizes = whole.availableSizes();
        sizes << QSize(10, 10) << QSize(12, 12) << QSize(14, 14);
        for (const QSize& size : sizes)
            for (QIcon::Mode mode : {QIcon::Normal, QIcon::Disabled, QIcon::Active, QIcon::Selected}) {
                // The whole icon may give another image the second time it scales to a size it
                // lacks; compared from then on.
                whole.pixmap(size, 1.0, mode);
                const QIcon icon = styleFallbackIcon(symbol);
                EXPECT_EQ(icon.actualSize(size, mode), whole.actualSize(size, mode));
                EXPECT_EQ(icon.pixmap(size, 1.0, mode).toImage(), whole.pixmap(size, 1.0, mode).toImage())
                    << symbol.toStdString() << " at " << size.width() << "x" << size.height() << " in mode "
                    << int(mode);
            }
    }
}

// The format plugins loaded on a worker serve the main thread: images in a plugin's format still
// read, and the style's icons still draw.
TEST(IconMeaning, ImagesStillReadOnceTheFormatsAreLoadedAhead)
{
    loadImageFormatsAhead();
    QThreadPool::globalInstance()->waitForDone();
    QImage red(8, 8, QImage::Format_RGB32);
    red.fill(Qt::red);
    QBuffer jpeg;
    jpeg.open(QIODevice::ReadWrite);
    ASSERT_TRUE(red.save(&jpeg, "JPG"));
    EXPECT_EQ(QImage::fromData(jpeg.data()).size(), QSize(8, 8));
    EXPECT_FALSE(styleFallbackIcon("trash").pixmap(16, 16).isNull());
}
