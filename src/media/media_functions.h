#pragma once
// The module's side of the table in media_module.h. The names differ from the core's forwarders
// on purpose: the program exports those, and a module function of the same name would bind to
// the forwarder instead of itself.
#include "metadata/meta_fields.h"

#include <QImage>
#include <QString>
#include <optional>

class FileSwap;

namespace Media {

void prepareExiv2();
void readImage(const QString& path, MetaFields& fields);
void readPdf(const QString& path, MetaFields& fields);
MetaFields readVideo(const QString& path, bool zh);
bool writeImage(const MetaFields& fields, const QString& path, FileSwap& swap, QString* reason);
bool writePdf(const MetaFields& fields, const QString& path, FileSwap& swap, QString* reason);
bool writeVideo(const MetaFields& fields, const QString& path, FileSwap& swap, QString* reason);
std::optional<QString> pdfText(const QString& path);
std::optional<QString> describeImage(const QString& path);
QImage firstVideoFrame(const QString& path, const QSize& maxSize);
// The first page of a PDF document drawn to fit maxSize; a null image when it can't be drawn.
QImage firstPdfPage(const QString& path, const QSize& maxSize);

}  // namespace Media
