#pragma once
// Technical facts of a file as the texts editors know: the file facts every record carries,
// and names for containers, codecs, colour descriptions and audio layouts.
#include "metadata/meta_fields.h"

#include <QByteArray>
#include <QString>
#include <optional>

namespace MediaInfo {

// Adds "Source Path", "Folder Path", "File Size", "Date Created", "Date Modified",
// "Duration TC" and, where still empty, "Format" and "Codec" named after the extension.
void technicalColumns(MetaFields& fields, const QString& path);

// Container and camera-raw formats known by their extension (any case).
std::optional<QString> formatName(const QString& extension);

// Four-character codes are given most significant byte first ('avc1' = 0x61766331).
QString videoCodecName(quint32 fourCC);
QString audioCodecName(quint32 fourCC);
QString colorPrimariesName(const QString& primaries);
QString transferFunctionName(const QString& transfer);
QString channelLayoutName(qint64 channels, bool zh);
// The picture essence coding label of an MXF descriptor.
QString mxfCodecName(const QByteArray& label);

// The size as a file manager writes it: decimal units, "512 bytes", "3 KB", "1.5 MB", "2.25 GB".
QString fileSizeText(qint64 bytes);

}  // namespace MediaInfo
