#pragma once
// Reading still images (exiv2; HEIC/HEIF through libheif where exiv2 finds no Exif block) and
// PDF documents (qpdf). Never fails: what can't be read stays empty. Safe from any thread.
#include "metadata/meta_fields.h"

#include <QStringList>

namespace ImagePdfReader {

// Fills the date, IPTC texts, GPS, camera texts, pixel size and info line of an image record.
void readImage(const QString& path, MetaFields& fields);
// Fills title, author, subject and keywords from the document information.
void readPdf(const QString& path, MetaFields& fields);

// Texts as one: each trimmed of white space and line breaks, empty ones dropped, joined by ", ".
QString joinedTexts(const QStringList& texts);
// The "Shutter" text of an exposure time in seconds; empty when there is none to show.
QString shutterText(double seconds);

}  // namespace ImagePdfReader
