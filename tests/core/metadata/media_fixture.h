#pragma once
// Small media files made by the ffmpeg command-line tool in a test's own folder, and ffprobe's
// independent reading of them.
#include <QByteArray>
#include <QJsonObject>
#include <QString>
#include <QStringList>

// Runs ffmpeg quietly with lavfi inputs; the last argument is the output path. False on failure.
bool makeMedia(const QStringList& args);
// ffprobe's JSON (-show_format -show_streams) of a file.
QJsonObject probe(const QString& path);
// The first stream of a type ("video", "audio", "data") in a probe result.
QJsonObject probeStream(const QJsonObject& probed, const QString& type);
// A copy of the file cut after `bytes` bytes.
QString truncatedCopy(const QString& path, qint64 bytes, const QString& outPath);
