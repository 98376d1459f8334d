#include "video_metadata_writer.h"

#include "media_module.h"

bool writeVideoMetadata(const MetaFields& fields, const QString& path, FileSwap& swap, QString* reason)
{
    if (const MediaModule::Table* media = MediaModule::table())
        return media->writeVideo(fields, path, swap, reason);
    *reason = MediaModule::unavailableReason();
    return false;
}
