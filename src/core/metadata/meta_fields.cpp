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

MetaFields overlaidBy(MetaFields read, const MetaFields& cells)
{
    for (QString MetaFields::*text :
         {&MetaFields::caption, &MetaFields::byline, &MetaFields::copyright, &MetaFields::keywords, &MetaFields::title,
          &MetaFields::author, &MetaFields::subject, &MetaFields::city, &MetaFields::country, &MetaFields::gps,
          &MetaFields::album, &MetaFields::genre, &MetaFields::desc, &MetaFields::clipName, &MetaFields::info})
        if (!(cells.*text).isEmpty())
            read.*text = cells.*text;
    if (cells.date)
        read.date = cells.date;
    for (double MetaFields::*number : {&MetaFields::durSec, &MetaFields::fps})
        if (cells.*number != 0)
            read.*number = cells.*number;
    for (qint64 MetaFields::*number : {&MetaFields::vidW, &MetaFields::vidH})
        if (cells.*number != 0)
            read.*number = cells.*number;
    for (auto it = cells.custom.constBegin(); it != cells.custom.constEnd(); ++it)
        if (!it.value().isEmpty())
            read.custom.insert(it.key(), it.value());
    return read;
}
