#include "file_metadata_reader.h"

#include "metadata/image_pdf_reader.h"
#include "metadata/media_info.h"
#include "metadata/mxf_reader.h"
#include "platform/lang.h"

#include <QFileInfo>
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
    return QtConcurrent::run(&FileMetadataReader::readNow, path);
}

MetaFields FileMetadataReader::readNow(const QString& path)
{
    // The language is read once, so a switch during the read cannot mix two languages.
    const bool zh = Lang::zh();
    if (QFileInfo(path).suffix().toLower() == QLatin1String("mxf"))
        return readMXF(path, zh);
    if (metaKindForPath(path) == MetaKind::video) {
        MetaFields f;
        f.kind = MetaKind::video;
        MediaInfo::technicalColumns(f, path);
        return f;
    }
    return FileMetadataReader().readImageOrPDF(path);
}
