#include "video_frame.h"

#include "media_module.h"

QImage firstVideoFrame(const QString& path, const QSize& maxSize)
{
    const MediaModule::Table* media = MediaModule::table();
    return media ? media->firstVideoFrame(path, maxSize) : QImage();
}
