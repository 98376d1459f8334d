#pragma once
// The media kind of a file (from its extension alone) and the per-file metadata record.
#include <QDateTime>
#include <QMap>
#include <QString>
#include <optional>

enum class MetaKind { image, pdf, video, unsupported };

MetaKind metaKindForPath(const QString& path);

struct MetaFields {
    MetaKind kind = MetaKind::unsupported;
    std::optional<QDateTime> date;
    QString caption, byline, copyright, keywords, title, author, subject, city, country, gps,
        album, genre, desc, clipName, info;
    double durSec = 0;
    qint64 vidW = 0;
    qint64 vidH = 0;
    double fps = 0;
    QMap<QString, QString> custom;

    bool operator==(const MetaFields&) const = default;
};
