#pragma once
// Small media files made on the fly with the command-line tools, and those tools used as
// independent readers of what the writers wrote.
#include <QByteArray>
#include <QJsonObject>
#include <QString>
#include <QStringList>

struct ToolResult {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
    bool ok() const { return exitCode == 0; }
};

// Runs a program to its end (at most a minute).
ToolResult runTool(const QString& program, const QStringList& args);
// The tool as a one-line reason for GTEST_SKIP when it isn't installed; empty when it is.
QString missingTool(const QStringList& programs);

QByteArray fileBytes(const QString& path);
// A plain image of the given size in the format of the name's extension (ffmpeg).
bool makeImage(const QString& path, int width = 64, int height = 48, const QString& colour = "red");
// Sets exiv2 keys on a file, e.g. {"Exif.Image.Make", "Maker"}.
bool setTags(const QString& path, const QList<QPair<QString, QString>>& tags);
// exiftool's view of a file: -j -n with the group names given (e.g. "-IPTC:all").
QJsonObject exiftool(const QString& path, const QStringList& tags);
// A one-page PDF written by hand; `info` is the body of its information dictionary, or empty for
// a document without one.
QByteArray handWrittenPdf(const QByteArray& info);
// A short movie with a timecode track, sound and the given container tags.
bool makeMovie(const QString& path, const QStringList& metadata, const QString& timecode = "01:00:00:00",
               const QString& rate = "25");
// Hash of every audio and video packet's bytes and timing.
QByteArray packetDigest(const QString& path);
// Entries of a folder, hidden ones included.
QStringList folderEntries(const QString& dir);
