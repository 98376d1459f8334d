#pragma once
// Technical facts of an MXF file from the header metadata in its first bytes, without a media
// framework: picture size, frame rate, duration, codec, audio format and start timecode.
#include "metadata/meta_fields.h"

#include <QByteArray>
#include <QString>

// Reads the file at `path`; never fails (a file that can't be read gives the file facts only).
// `zh` picks the language of the texts, read once by the caller for the whole read.
MetaFields readMXF(const QString& path, bool zh);

// The same walk over bytes already in memory (the head of an MXF file), without file facts.
MetaFields mxfFactsFromBytes(const QByteArray& head, bool zh);
