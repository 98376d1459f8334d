#include "metadata/image_pdf_reader.h"
#include "media_functions.h"

#include <QFile>
#include <QFileInfo>
#include <array>
#include <cmath>
#include <exiv2/exiv2.hpp>
#include <libheif/heif.h>
#include <memory>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFObjectHandle.hh>
#include <unicode/gregocal.h>

namespace {

const QString kSep = QStringLiteral(" \u00B7 ");

// The EXIF entries the reader looks at, found in one pass: a lookup by key text would build a
// key string for every entry of the file, a dozen times per image.
enum Pick {
    Make,
    Model,
    DateTimeOriginal,
    LensModel,
    Iso,
    FNumber,
    ExposureTime,
    FocalLength,
    LatitudeRef,
    Latitude,
    LongitudeRef,
    Longitude,
    PickCount
};

struct ExifPicks {
    std::array<const Exiv2::Exifdatum*, PickCount> at{};
    bool any = false;
};

ExifPicks pickExif(const Exiv2::ExifData& exif)
{
    static const std::array<Exiv2::ExifKey, PickCount> keys{Exiv2::ExifKey("Exif.Image.Make"),
                                                            Exiv2::ExifKey("Exif.Image.Model"),
                                                            Exiv2::ExifKey("Exif.Photo.DateTimeOriginal"),
                                                            Exiv2::ExifKey("Exif.Photo.LensModel"),
                                                            Exiv2::ExifKey("Exif.Photo.ISOSpeedRatings"),
                                                            Exiv2::ExifKey("Exif.Photo.FNumber"),
                                                            Exiv2::ExifKey("Exif.Photo.ExposureTime"),
                                                            Exiv2::ExifKey("Exif.Photo.FocalLength"),
                                                            Exiv2::ExifKey("Exif.GPSInfo.GPSLatitudeRef"),
                                                            Exiv2::ExifKey("Exif.GPSInfo.GPSLatitude"),
                                                            Exiv2::ExifKey("Exif.GPSInfo.GPSLongitudeRef"),
                                                            Exiv2::ExifKey("Exif.GPSInfo.GPSLongitude")};
    ExifPicks picks;
    picks.any = !exif.empty();
    for (const Exiv2::Exifdatum& d : exif) {
        if (d.count() == 0)
            continue;
        for (size_t i = 0; i < keys.size(); ++i)
            if (d.tag() == keys[i].tag() && d.ifdId() == keys[i].ifdId() && !picks.at[i])
                picks.at[i] = &d;
    }
    return picks;
}

// A text value's bytes as stored (to the first NUL); exiv2's toString() goes through a string
// stream, which costs more per value than reading the rest of the file.
std::string rawText(const Exiv2::Metadatum& d)
{
    if (const auto* s = dynamic_cast<const Exiv2::StringValueBase*>(&d.value()))
        return s->value_.substr(0, s->value_.find('\0'));
    return d.toString();
}

QString exifText(const ExifPicks& picks, Pick pick)
{
    const Exiv2::Exifdatum* d = picks.at[pick];
    return d ? QString::fromStdString(rawText(*d)).trimmed() : QString();
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

QString iptcValues(const Exiv2::IptcData& iptc, const Exiv2::IptcKey& key, bool utf8)
{
    QStringList texts;
    for (const Exiv2::Iptcdatum& d : iptc)
        if (d.tag() == key.tag() && d.record() == key.record())
            texts.append(iptcText(rawText(d), utf8));
    return ImagePdfReader::joinedTexts(texts);
}

void readIptc(const Exiv2::IptcData& iptc, MetaFields& f)
{
    if (iptc.empty())
        return;
    static const Exiv2::IptcKey charset("Iptc.Envelope.CharacterSet");
    static const Exiv2::IptcKey caption("Iptc.Application2.Caption");
    static const Exiv2::IptcKey byline("Iptc.Application2.Byline");
    static const Exiv2::IptcKey copyright("Iptc.Application2.Copyright");
    static const Exiv2::IptcKey keywords("Iptc.Application2.Keywords");
    static const Exiv2::IptcKey city("Iptc.Application2.City");
    static const Exiv2::IptcKey country("Iptc.Application2.CountryName");
    const auto cs = iptc.findId(charset.tag(), charset.record());
    const bool utf8 = cs != iptc.end() && rawText(*cs) == "\x1b%G";
    f.caption = iptcValues(iptc, caption, utf8);
    f.byline = iptcValues(iptc, byline, utf8);
    f.copyright = iptcValues(iptc, copyright, utf8);
    f.keywords = iptcValues(iptc, keywords, utf8);
    f.city = iptcValues(iptc, city, utf8);
    f.country = iptcValues(iptc, country, utf8);
}

std::optional<double> degrees(const Exiv2::Exifdatum* d)
{
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

QString gpsText(const ExifPicks& exif)
{
    auto lat = degrees(exif.at[Latitude]);
    auto lon = degrees(exif.at[Longitude]);
    if (!lat || !lon)
        return {};
    if (exifText(exif, LatitudeRef) == QLatin1String("S"))
        *lat = -*lat;
    if (exifText(exif, LongitudeRef) == QLatin1String("W"))
        *lon = -*lon;
    return QString::asprintf("%.6f, %.6f", *lat, *lon);
}

void readCameraTexts(const ExifPicks& exif, MetaFields& f)
{
    QStringList makeAndModel;
    for (Pick pick : {Make, Model})
        if (const QString t = exifText(exif, pick); !t.isEmpty())
            makeAndModel.append(t);
    const QString camera = makeAndModel.join(u' ');
    if (!camera.isEmpty())
        f.custom.insert(QStringLiteral("Camera"), camera);
    if (!exif.any)
        return;
    if (const QString lens = exifText(exif, LensModel); !lens.isEmpty())
        f.custom.insert(QStringLiteral("Lens"), lens);
    if (const Exiv2::Exifdatum* iso = exif.at[Iso])
        f.custom.insert(QStringLiteral("ISO"), QString::fromStdString(iso->toString(0)));
    if (const auto fn = exifNumber(exif.at[FNumber]))
        f.custom.insert(QStringLiteral("Aperture"), QString::asprintf("f/%.1f", *fn));
    if (const auto t = exifNumber(exif.at[ExposureTime])) {
        if (const QString s = ImagePdfReader::shutterText(*t); !s.isEmpty())
            f.custom.insert(QStringLiteral("Shutter"), s);
    }
    if (const auto fl = exifNumber(exif.at[FocalLength]))
        f.custom.insert(QStringLiteral("Focal Length"), QString::asprintf("%.0fmm", *fl));
}

// "yyyy:MM:dd HH:mm:ss" read by hand, and the local instant from ICU's copy of the zone rules: a
// general date parser and Qt's local-time path (which asks the C library to look at the zone
// file again) cost more than reading the whole file's metadata.
std::optional<QDateTime> exifDate(const QString& text)
{
    static const QString layout = QStringLiteral("0000:00:00 00:00:00");
    if (text.size() != layout.size())
        return std::nullopt;
    int n[6] = {};
    int field = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (layout.at(i) != u'0') {
            if (c != layout.at(i))
                return std::nullopt;
            ++field;
        } else if (c >= u'0' && c <= u'9') {
            n[field] = n[field] * 10 + (c.unicode() - u'0');
        } else {
            return std::nullopt;
        }
    }
    const QDate date(n[0], n[1], n[2]);
    const QTime time(n[3], n[4], n[5]);
    if (!date.isValid() || !time.isValid())
        return std::nullopt;
    thread_local std::unique_ptr<icu::GregorianCalendar> calendar = [] {
        UErrorCode status = U_ZERO_ERROR;
        auto c = std::make_unique<icu::GregorianCalendar>(status);
        return U_SUCCESS(status) ? std::move(c) : nullptr;
    }();
    if (!calendar)
        return exifDateFromText(text);
    calendar->clear();
    calendar->set(n[0], n[1] - 1, n[2], n[3], n[4], n[5]);
    UErrorCode status = U_ZERO_ERROR;
    const UDate instant = calendar->getTime(status);
    if (U_FAILURE(status))
        return exifDateFromText(text);
    return QDateTime::fromMSecsSinceEpoch(qint64(instant), Qt::LocalTime);
}

void readExif(const Exiv2::ExifData& data, MetaFields& f)
{
    const ExifPicks exif = pickExif(data);
    f.date = exifDate(exifText(exif, DateTimeOriginal));
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
    if (!ctx
        || heif_context_read_from_file(ctx.get(), QFile::encodeName(path).constData(), nullptr).code != heif_error_Ok)
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

QString infoText(QPDFObjectHandle info, const char* key)
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

}  // namespace

void Media::readImage(const QString& path, MetaFields& f)
{
    prepareExiv2();
    Exiv2::ExifData exif;
    try {
        auto image = Exiv2::ImageFactory::open(QFile::encodeName(path).toStdString());
        image->readMetadata();
        readIptc(image->iptcData(), f);
        f.vidW = image->pixelWidth();
        f.vidH = image->pixelHeight();
        if (!isHeif(path)) {
            readExif(image->exifData(), f);
            buildInfo(f);
            return;
        }
        exif = image->exifData();
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

void Media::readPdf(const QString& path, MetaFields& f)
{
    try {
        QPDF pdf;
        pdf.setSuppressWarnings(true);
        pdf.processFile(QFile::encodeName(path).constData());
        QPDFObjectHandle info = pdf.getTrailer().getKey("/Info");
        if (!info.isDictionary())
            return;
        f.title = infoText(info, "/Title");
        f.author = infoText(info, "/Author");
        f.subject = infoText(info, "/Subject");
        f.keywords = infoText(info, "/Keywords");
    } catch (const std::exception&) {
    }
}
