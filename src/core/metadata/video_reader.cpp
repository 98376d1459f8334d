#include "video_reader.h"

#include "media_module.h"
#include "metadata/media_info.h"

MetaFields readVideo(const QString& path, bool zh)
{
    if (const MediaModule::Table* media = MediaModule::table())
        return media->readVideo(path, zh);
    // What an unreadable movie gives.
    MetaFields f;
    f.kind = MetaKind::video;
    f.info = QStringLiteral("0.0s");
    MediaInfo::technicalColumns(f, path);
    return f;
}
