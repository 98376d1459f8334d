#include "media_functions.h"

#include <QPdfDocument>

QImage Media::firstPdfPage(const QString& path, const QSize& maxSize)
{
    QPdfDocument doc;
    if (doc.load(path) != QPdfDocument::Error::None || doc.pageCount() < 1)
        return {};
    const QSizeF points = doc.pagePointSize(0);
    if (points.isEmpty())
        return {};
    return doc.render(0, points.toSize().scaled(maxSize, Qt::KeepAspectRatio));
}
