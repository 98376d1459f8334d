#include "image_pdf_reader.h"

#include "media_module.h"

#include <cmath>

namespace ImagePdfReader {

QString joinedTexts(const QStringList& texts)
{
    QStringList kept;
    for (const QString& t : texts)
        if (const QString s = t.trimmed(); !s.isEmpty())
            kept.append(s);
    return kept.join(QStringLiteral(", "));
}

QString shutterText(double seconds)
{
    if (!std::isfinite(seconds) || seconds <= 0)
        return {};
    if (seconds >= 1)
        return QString::asprintf("%.1fs", seconds);
    const double inverse = std::round(1.0 / seconds);
    // 1/t of a tiny exposure has no whole-number text.
    if (!(inverse < 9.2e18))
        return {};
    return QStringLiteral("1/%1s").arg(qint64(inverse));
}

void readImage(const QString& path, MetaFields& f)
{
    if (const MediaModule::Table* media = MediaModule::table())
        media->readImage(path, f);
}

void readPdf(const QString& path, MetaFields& f)
{
    if (const MediaModule::Table* media = MediaModule::table())
        media->readPdf(path, f);
}

}  // namespace ImagePdfReader
