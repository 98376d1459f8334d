#pragma once
// One picture from a video file for the preview window.
#include <QImage>
#include <QString>

// The first decodable frame of the file's best video stream, scaled to fit maxSize (keeping
// its aspect); a null image when the file has no video or can't be decoded.
QImage firstVideoFrame(const QString& path, const QSize& maxSize);
