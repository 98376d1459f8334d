#pragma once
// The metadata reader the Store uses: movies and MXF files are read on a worker thread; still
// images and PDF documents give their kind and the file facts.
#include "metadata/metadata_reader.h"

class MovieMetadataReader : public MetadataReader {
public:
    MetaFields readImageOrPDF(const QString& path) const override;
    QFuture<MetaFields> read(const QString& path) const override;
    // What read() computes, on the calling thread, with the texts in the given language.
    static MetaFields readNow(const QString& path, bool zh);
};
