#pragma once
// The media kind of a file (from its extension alone) and the per-file metadata record.
#include <QDateTime>
#include <QMap>
#include <QString>
#include <optional>

enum class MetaKind { image, pdf, video, unsupported };

// Only the lower-cased extension counts; the file is never looked at.
MetaKind metaKindForPath(const QString& path);

// The record the readers fill, the editor edits and the writers write back. A default record
// is the empty one: kind unsupported, no date, empty texts, zero numbers, no custom texts.
struct MetaFields {
    MetaKind kind = MetaKind::unsupported;
    std::optional<QDateTime> date;  // capture or creation date
    QString caption;                // IPTC caption/abstract
    QString byline;                 // IPTC by-line
    QString copyright;
    QString keywords;  // as typed; only the writers split it
    QString title;
    QString author;
    QString subject;  // PDF subject
    QString city;
    QString country;
    QString gps;  // "lat, lon" in signed decimal degrees
    QString album;
    QString genre;
    QString desc;
    QString clipName;  // display name for editing systems; never renames the file
    QString info;      // one-line technical summary built by the readers
    double durSec = 0;
    qint64 vidW = 0;
    qint64 vidH = 0;
    double fps = 0;
    QMap<QString, QString> custom;  // technical and logging texts by column name

    bool operator==(const MetaFields&) const = default;
};

// `read` with every field that `cells` holds (a text or custom text that is not empty, a date, a
// number that is not 0) laid over it: what a file says, under what was typed before it was read.
MetaFields overlaidBy(MetaFields read, const MetaFields& cells);

// EXIF date texts ("yyyy:MM:dd HH:mm:ss") in the local time zone, read by the image reader and
// written by the image writer. Safe from any thread.
std::optional<QDateTime> exifDateFromText(const QString& text);
QString exifDateText(const QDateTime& date);
