#include "bin_row.h"

#include "model/file_item.h"

QString BinRow::value(const QString& column) const
{
    const bool image = kind == MetaKind::image;
    if (column == QLatin1String("clipname"))
        return fields.clipName;
    if (column == QLatin1String("title"))
        return image ? fields.caption : fields.title;
    if (column == QLatin1String("author"))
        return image ? fields.byline : fields.author;
    if (column == QLatin1String("extra"))
        return image ? fields.copyright : kind == MetaKind::pdf ? fields.subject : QString();
    if (column == QLatin1String("city"))
        return fields.city;
    if (column == QLatin1String("country"))
        return fields.country;
    if (column == QLatin1String("gps"))
        return fields.gps;
    if (column == QLatin1String("keywords"))
        return fields.keywords;
    if (column == QLatin1String("ext")) {
        if (newExt)
            return *newExt;
        const QString fromUrl = url ? PathText::extension(PathText::lastComponent(*url)) : QString();
        return !fromUrl.isEmpty() ? fromUrl : PathText::extension(name);
    }
    if (column.startsWith(QLatin1String("custom:")))
        return fields.custom.value(column.mid(7));
    return {};
}

QString BinRow::formatDate(const QDateTime& date)
{
    // Digits only in this pattern, so Qt's formatter gives the same text as the POSIX locale.
    return date.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}
