#pragma once
// The one way the system reads a file's metadata: it picks the reader by the file's name (MXF,
// other movies, still images and PDF documents) and always adds the file facts.
#include "metadata/metadata_reader.h"

class FileMetadataReader : public MetadataReader {
public:
    // Still images and PDF documents; any other file gives its kind and the file facts only.
    MetaFields readImageOrPDF(const QString& path) const override;
    // Any file, on the global thread pool.
    QFuture<MetaFields> read(const QString& path) const override;
    // What read() computes, on the calling thread, with the texts in the given language.
    static MetaFields readNow(const QString& path, bool zh);
};
