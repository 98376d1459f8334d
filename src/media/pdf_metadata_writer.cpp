#include "media_functions.h"
#include "metadata/file_swap.h"
#include "metadata/metadata_writer.h"
#include "platform/lang.h"

#include <QFile>
#include <qpdf/Buffer.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFObjectHandle.hh>
#include <qpdf/QPDFWriter.hh>

namespace {

void setInfo(QPDFObjectHandle& info, const char* key, const QString& value)
{
    info.replaceKey(key, QPDFObjectHandle::newUnicodeString(value.toStdString()));
}

QByteArray rebuilt(const MetaFields& f, const QString& real, QString* reason)
{
    try {
        QPDF pdf;
        pdf.setSuppressWarnings(true);
        pdf.processFile(QFile::encodeName(real).constData());
        QPDFObjectHandle trailer = pdf.getTrailer();
        QPDFObjectHandle info = trailer.getKey("/Info");
        if (!info.isDictionary()) {
            info = pdf.makeIndirectObject(QPDFObjectHandle::newDictionary());
            trailer.replaceKey("/Info", info);
        }
        setInfo(info, "/Title", f.title);
        setInfo(info, "/Author", f.author);
        setInfo(info, "/Subject", f.subject);
        // The Keywords entry is one text; the list goes in joined, as other readers expect.
        setInfo(info, "/Keywords", MetadataWriter::keywordList(f.keywords).join(QStringLiteral(", ")));

        QPDFWriter writer(pdf);
        writer.setOutputMemory();
        // Leave every stream as it is stored: no decoding, no new compression.
        writer.setDecodeLevel(qpdf_dl_none);
        writer.setCompressStreams(false);
        writer.setLinearization(pdf.isLinearized());
        writer.write();
        const std::shared_ptr<Buffer> buf = writer.getBufferSharedPointer();
        return QByteArray(reinterpret_cast<const char*>(buf->getBuffer()), qsizetype(buf->getSize()));
    } catch (const std::exception& e) {
        *reason = QString::fromStdString(e.what());
    }
    return {};
}

}  // namespace

bool Media::writePdf(const MetaFields& fields, const QString& path, FileSwap& swap, QString* reason)
{
    const QString real = FileSwap::resolveTarget(path);
    if (real.isEmpty()) {
        *reason = L("the file can't be read", "无法读取文件");
        return false;
    }
    const QByteArray data = rebuilt(fields, real, reason);
    if (data.isEmpty()) {
        if (reason->isEmpty())
            *reason = L("the document can't be rebuilt", "无法重建文档");
        return false;
    }
    return swap.replaceContent(path, data, reason);
}
