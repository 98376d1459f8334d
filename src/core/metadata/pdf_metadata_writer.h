#pragma once
// The PDF half of MetadataWriter::writeImageOrPDF, on qpdf: the document information's Title,
// Author, Subject and Keywords change; encryption, streams and every other object stay as they
// were. The new file is built in memory and swapped in (qpdf must never write onto its input).
#include "metadata/meta_fields.h"

class FileSwap;

// false with *reason (current language) when the file could not be rewritten; it is then untouched.
bool writePdfMetadata(const MetaFields& fields, const QString& path, FileSwap& swap, QString* reason);
