#pragma once
// Writing a record's editable fields back into the file it describes. Every writer rewrites the
// file through FileSwap: when it returns false the file is exactly as it was and *status holds a
// one-line message in the current language for the user.
#include "metadata/meta_fields.h"

#include <QStringList>
#include <optional>

class FileSwap;

namespace MetadataWriter {

// Images: EXIF capture date, IPTC caption, by-line, copyright, keywords, city, country, and GPS.
// PDF documents: title, author, subject and keywords of the document information.
bool writeImageOrPDF(const MetaFields& fields, const QString& path, QString* status = nullptr,
                     FileSwap* swap = nullptr);
// mov, mp4 and m4v movies: title, author, description, copyright and date, by a stream-copy
// remux into a hidden file beside the movie that is then swapped in. Other metadata, every
// audio and video packet and the timecode track are kept. Blocks until done.
bool writeVideo(const MetaFields& fields, const QString& path, QString* status = nullptr, FileSwap* swap = nullptr);

// The keywords text as a list: split at commas, blanks and tabs trimmed, empty pieces dropped.
QStringList keywordList(const QString& keywords);

struct GpsPoint {
    double latitude = 0;
    double longitude = 0;
};
// "latitude, longitude" in signed decimal degrees; nothing unless both are finite and in range.
std::optional<GpsPoint> parseGps(const QString& gps);

}  // namespace MetadataWriter
