#include "meta_fields.h"

#include "model/file_item.h"

namespace {
const QString kExifPattern = QStringLiteral("yyyy:MM:dd HH:mm:ss");
}  // namespace

MetaKind metaKindForPath(const QString& path)
{
    const QString ext = PathText::extension(PathText::lastComponent(path)).toLower();
    static const QStringList image{"jpg", "jpeg", "tiff", "tif", "png", "heic", "heif"};
    static const QStringList video{"mp4", "mov", "m4v", "mxf", "mts", "m2ts", "m2t", "ts", "avi"};
    if (image.contains(ext))
        return MetaKind::image;
    if (ext == QLatin1String("pdf"))
        return MetaKind::pdf;
    if (video.contains(ext))
        return MetaKind::video;
    return MetaKind::unsupported;
}

std::optional<QDateTime> exifDateFromText(const QString& text)
{
    const QDateTime date = QDateTime::fromString(text, kExifPattern);
    if (!date.isValid())
        return std::nullopt;
    return date;
}

QString exifDateText(const QDateTime& date)
{
    if (!date.isValid())
        return {};
    return date.toLocalTime().toString(kExifPattern);
}
