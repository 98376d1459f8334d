#include "file_metadata_reader.h"

#include "metadata/image_pdf_reader.h"
#include "metadata/media_info.h"
#include "metadata/mxf_reader.h"
#include "metadata/video_reader.h"
#include "model/file_item.h"
#include "platform/lang.h"

#include <QtConcurrent/QtConcurrentRun>

MetaFields FileMetadataReader::readImageOrPDF(const QString& path) const
{
    MetaFields f;
    f.kind = metaKindForPath(path);
    if (f.kind == MetaKind::image)
        ImagePdfReader::readImage(path, f);
    else if (f.kind == MetaKind::pdf)
        ImagePdfReader::readPdf(path, f);
    MediaInfo::technicalColumns(f, path);
    return f;
}

QFuture<MetaFields> FileMetadataReader::read(const QString& path) const
{
    // The language of the moment the read is asked for: a switch while the worker reads must
    // not mix two languages in one record.
    const bool zh = Lang::zh();
    return QtConcurrent::run([path, zh] { return readNow(path, zh); });
}

MetaFields FileMetadataReader::readNow(const QString& path, bool zh)
{
    if (PathText::extension(PathText::lastComponent(path)).toLower() == QLatin1String("mxf"))
        return readMXF(path, zh);
    if (metaKindForPath(path) == MetaKind::video)
        return readVideo(path, zh);
    return FileMetadataReader().readImageOrPDF(path);
}
