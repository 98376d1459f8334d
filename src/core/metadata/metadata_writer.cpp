#include "metadata_writer.h"

#include "metadata/file_swap.h"
#include "metadata/image_metadata_writer.h"
#include "metadata/pdf_metadata_writer.h"
#include "metadata/video_metadata_writer.h"
#include "platform/lang.h"

#include <QFileInfo>
#include <cmath>

namespace {

QString trimBlanks(const QString& s)
{
    qsizetype begin = 0;
    qsizetype end = s.size();
    auto blank = [](QChar c) { return c == u' ' || c == u'\t'; };
    while (begin < end && blank(s.at(begin)))
        ++begin;
    while (end > begin && blank(s.at(end - 1)))
        --end;
    return s.mid(begin, end - begin);
}

bool finish(bool ok, const QString& path, const QString& reason, QString* status)
{
    if (!ok && status)
        *status = L("Metadata not written to %1: %2. The file is unchanged.", "元数据未写入 %1: %2. 文件未改动.")
                      .arg(QFileInfo(path).fileName(), reason);
    return ok;
}

}  // namespace

namespace MetadataWriter {

QStringList keywordList(const QString& keywords)
{
    QStringList out;
    for (const QString& piece : keywords.split(u',', Qt::SkipEmptyParts)) {
        const QString k = trimBlanks(piece);
        if (!k.isEmpty())
            out.append(k);
    }
    return out;
}

std::optional<GpsPoint> parseGps(const QString& gps)
{
    const QStringList pieces = gps.split(u',', Qt::SkipEmptyParts);
    if (pieces.size() != 2)
        return std::nullopt;
    bool latOk = false;
    bool lonOk = false;
    const double lat = trimBlanks(pieces[0]).toDouble(&latOk);
    const double lon = trimBlanks(pieces[1]).toDouble(&lonOk);
    if (!latOk || !lonOk || !std::isfinite(lat) || !std::isfinite(lon))
        return std::nullopt;
    if (std::fabs(lat) > 90 || std::fabs(lon) > 180)
        return std::nullopt;
    return GpsPoint{lat, lon};
}

bool writeImageOrPDF(const MetaFields& fields, const QString& path, QString* status, FileSwap* swap)
{
    FileSwap& s = swap ? *swap : FileSwap::standard();
    QString reason;
    switch (metaKindForPath(path)) {
    case MetaKind::image: return finish(writeImageMetadata(fields, path, s, &reason), path, reason, status);
    case MetaKind::pdf: return finish(writePdfMetadata(fields, path, s, &reason), path, reason, status);
    case MetaKind::video:
    case MetaKind::unsupported: break;
    }
    return finish(false, path, L("this kind of file is not written here", "此类文件不在此写入"), status);
}

bool writeVideo(const MetaFields& fields, const QString& path, QString* status, FileSwap* swap)
{
    FileSwap& s = swap ? *swap : FileSwap::standard();
    QString reason;
    return finish(writeVideoMetadata(fields, path, s, &reason), path, reason, status);
}

}  // namespace MetadataWriter
