#pragma once
// The image half of MetadataWriter::writeImageOrPDF, on exiv2: the file is rebuilt in memory
// with its new EXIF, IPTC and GPS data, every other part of it (pixels, further pages of a TIFF,
// other tags) as it was, and swapped in.
#include "metadata/meta_fields.h"

class FileSwap;

// false with *reason (current language) when the file could not be rewritten; it is then untouched.
bool writeImageMetadata(const MetaFields& fields, const QString& path, FileSwap& swap, QString* reason);
