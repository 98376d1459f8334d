#include "image_pdf_reader.h"

#include "metadata/exiv2_setup.h"

#include <QFile>
#include <QFileInfo>
#include <cmath>
#include <exiv2/exiv2.hpp>
#include <libheif/heif.h>
#include <memory>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFObjectHandle.hh>

namespace {

const QString kSep = QStringLiteral(" \u00B7 ");

const Exiv2::Exifdatum* exifAt(const Exiv2::ExifData& exif, const char* key)
{
    const auto it = exif.findKey(Exiv2::ExifKey(key));
    return it == exif.end() || it->count() == 0 ? nullptr : &*it;
}

QString exifText(const Exiv2::ExifData& exif, const char* key)
{
    const Exiv2::Exifdatum* d = exifAt(exif, key);
    return d ? QString::fromStdString(d->toString()).trimmed() : QString();
}

// The n-th rational of an EXIF value as a number; nothing when it isn't one.
std::optional<double> exifNumber(const Exiv2::Exifdatum* d, long n = 0)
{
    if (!d || d->count() <= n)
        return std::nullopt;
    const Exiv2::Rational r = d->toRational(n);
    if (r.second == 0)
        return std::nullopt;
    const double v = double(r.first) / double(r.second);
    return std::isfinite(v) ? std::optional<double>(v) : std::nullopt;
}

// Unmarked IPTC text was written as Latin-1 by older tools; marked or valid UTF-8 is UTF-8.
QString iptcText(const std::string& raw, bool utf8)
{
    const QByteArray bytes = QByteArray::fromStdString(raw);
    return utf8 || bytes.isValidUtf8() ? QString::fromUtf8(bytes) : QString::fromLatin1(bytes);
}

QString iptcValues(const Exiv2::IptcData& iptc, const char* key, bool utf8)
{
    const Exiv2::IptcKey k(key);
    QStringList texts;
    for (const Exiv2::Iptcdatum& d : iptc)
        if (d.tag() == k.tag() && d.record() == k.record())
            texts.append(iptcText(d.toString(), utf8));
    return ImagePdfReader::joinedTexts(texts);
}

void readIptc(const Exiv2::IptcData& iptc, MetaFields& f)
{
    const auto cs = iptc.findKey(Exiv2::IptcKey("Iptc.Envelope.CharacterSet"));
    const bool utf8 = cs != iptc.end() && cs->toString() == "\x1b%G";
    f.caption = iptcValues(iptc, "Iptc.Application2.Caption", utf8);
    f.byline = iptcValues(iptc, "Iptc.Application2.Byline", utf8);
    f.copyright = iptcValues(iptc, "Iptc.Application2.Copyright", utf8);
    f.keywords = iptcValues(iptc, "Iptc.Application2.Keywords", utf8);
    f.city = iptcValues(iptc, "Iptc.Application2.City", utf8);
    f.country = iptcValues(iptc, "Iptc.Application2.CountryName", utf8);
}

std::optional<double> degrees(const Exiv2::ExifData& exif, const char* key)
{
    const Exiv2::Exifdatum* d = exifAt(exif, key);
    double total = 0;
    double unit = 1;
    for (long i = 0; d && i < std::min<long>(d->count(), 3); ++i, unit *= 60) {
        const auto part = exifNumber(d, i);
        if (!part)
            return std::nullopt;
        total += *part / unit;
    }
    return d ? std::optional<double>(total) : std::nullopt;
}

QString gpsText(const Exiv2::ExifData& exif)
{
    auto lat = degrees(exif, "Exif.GPSInfo.GPSLatitude");
    auto lon = degrees(exif, "Exif.GPSInfo.GPSLongitude");
    if (!lat || !lon)
        return {};
    if (exifText(exif, "Exif.GPSInfo.GPSLatitudeRef") == QLatin1String("S"))
        *lat = -*lat;
    if (exifText(exif, "Exif.GPSInfo.GPSLongitudeRef") == QLatin1String("W"))
        *lon = -*lon;
    return QString::asprintf("%.6f, %.6f", *lat, *lon);
}

void readCameraTexts(const Exiv2::ExifData& exif, MetaFields& f)
{
    QStringList makeAndModel;
    for (const char* key : {"Exif.Image.Make", "Exif.Image.Model"})
        if (const QString t = exifText(exif, key); !t.isEmpty())
            makeAndModel.append(t);
    const QString camera = makeAndModel.join(u' ');
    if (!camera.isEmpty())
        f.custom.insert(QStringLiteral("Camera"), camera);
    if (exif.empty())
        return;
    if (const QString lens = exifText(exif, "Exif.Photo.LensModel"); !lens.isEmpty())
        f.custom.insert(QStringLiteral("Lens"), lens);
    if (const Exiv2::Exifdatum* iso = exifAt(exif, "Exif.Photo.ISOSpeedRatings"))
        f.custom.insert(QStringLiteral("ISO"), QString::fromStdString(iso->toString(0)));
    if (const auto fn = exifNumber(exifAt(exif, "Exif.Photo.FNumber")))
        f.custom.insert(QStringLiteral("Aperture"), QString::asprintf("f/%.1f", *fn));
    if (const auto t = exifNumber(exifAt(exif, "Exif.Photo.ExposureTime"))) {
        if (const QString s = ImagePdfReader::shutterText(*t); !s.isEmpty())
            f.custom.insert(QStringLiteral("Shutter"), s);
    }
    if (const auto fl = exifNumber(exifAt(exif, "Exif.Photo.FocalLength")))
        f.custom.insert(QStringLiteral("Focal Length"), QString::asprintf("%.0fmm", *fl));
}

void readExif(const Exiv2::ExifData& exif, MetaFields& f)
{
    f.date = exifDateFromText(exifText(exif, "Exif.Photo.DateTimeOriginal"));
    f.gps = gpsText(exif);
    readCameraTexts(exif, f);
}

struct HeifFacts {
    qint64 width = 0;
    qint64 height = 0;
};

// A HEIC's Exif item starts with a 4-byte offset to the TIFF header.
HeifFacts readHeif(const QString& path, Exiv2::ExifData& exif)
{
    HeifFacts facts;
    std::unique_ptr<heif_context, void (*)(heif_context*)> ctx(heif_context_alloc(), heif_context_free);
    if (!ctx || heif_context_read_from_file(ctx.get(), QFile::encodeName(path).constData(), nullptr).code
            != heif_error_Ok)
        return facts;
    heif_image_handle* raw = nullptr;
    if (heif_context_get_primary_image_handle(ctx.get(), &raw).code != heif_error_Ok)
        return facts;
    std::unique_ptr<heif_image_handle, void (*)(const heif_image_handle*)> handle(raw, heif_image_handle_release);
    facts.width = heif_image_handle_get_width(raw);
    facts.height = heif_image_handle_get_height(raw);
    heif_item_id id = 0;
    if (!exif.empty() || heif_image_handle_get_list_of_metadata_block_IDs(raw, "Exif", &id, 1) < 1)
        return facts;
    std::vector<uint8_t> data(heif_image_handle_get_metadata_size(raw, id));
    if (data.size() <= 4 || heif_image_handle_get_metadata(raw, id, data.data()).code != heif_error_Ok)
        return facts;
    const size_t offset = 4 + ((size_t(data[0]) << 24) | (size_t(data[1]) << 16) | (size_t(data[2]) << 8) | data[3]);
    if (offset < data.size())
        Exiv2::ExifParser::decode(exif, data.data() + offset, uint32_t(data.size() - offset));
    return facts;
}

bool isHeif(const QString& path)
{
    const QString ext = QFileInfo(path).suffix().toLower();
    return ext == QLatin1String("heic") || ext == QLatin1String("heif");
}

void buildInfo(MetaFields& f)
{
    QStringList parts;
    if (f.vidW >= 1 && f.vidH >= 1)
        parts.append(QStringLiteral("%1\u00D7%2").arg(f.vidW).arg(f.vidH));
    if (const QString camera = f.custom.value(QStringLiteral("Camera")); !camera.isEmpty())
        parts.append(camera);
    f.info = parts.join(kSep);
}

QString pdfText(QPDFObjectHandle info, const char* key)
{
    QPDFObjectHandle v = info.getKey(key);
    if (v.isString())
        return QString::fromStdString(v.getUTF8Value()).trimmed();
    if (!v.isArray())
        return {};
    QStringList texts;
    for (QPDFObjectHandle item : v.aitems())
        if (item.isString())
            texts.append(QString::fromStdString(item.getUTF8Value()));
    return ImagePdfReader::joinedTexts(texts);
}

} // namespace

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
    prepareExiv2();
    Exiv2::ExifData exif;
    try {
        auto image = Exiv2::ImageFactory::open(QFile::encodeName(path).toStdString());
        image->readMetadata();
        exif = image->exifData();
        readIptc(image->iptcData(), f);
        f.vidW = image->pixelWidth();
        f.vidH = image->pixelHeight();
    } catch (const std::exception&) {
    }
    if (isHeif(path)) {
        try {
            // libheif's size is the picture as shown (cropped and rotated), exiv2's the coded one.
            const HeifFacts facts = readHeif(path, exif);
            if (facts.width > 0 && facts.height > 0) {
                f.vidW = facts.width;
                f.vidH = facts.height;
            }
        } catch (const std::exception&) {
        }
    }
    readExif(exif, f);
    buildInfo(f);
}

void readPdf(const QString& path, MetaFields& f)
{
    try {
        QPDF pdf;
        pdf.setSuppressWarnings(true);
        pdf.processFile(QFile::encodeName(path).constData());
        QPDFObjectHandle info = pdf.getTrailer().getKey("/Info");
        if (!info.isDictionary())
            return;
        f.title = pdfText(info, "/Title");
        f.author = pdfText(info, "/Author");
        f.subject = pdfText(info, "/Subject");
        f.keywords = pdfText(info, "/Keywords");
    } catch (const std::exception&) {
    }
}

} // namespace ImagePdfReader
