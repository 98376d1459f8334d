#include "media_functions.h"
#include "metadata/file_swap.h"
#include "metadata/metadata_writer.h"
#include "platform/lang.h"

#include <QFile>
#include <QFileInfo>
#include <cmath>
#include <exiv2/exiv2.hpp>

namespace {

// IPTC's marker for UTF-8 text (ESC % G): without it other readers take the bytes as Latin-1.
const char kUtf8Marker[] = "\x1b%G";

bool hasUtf8Marker(const Exiv2::IptcData& iptc)
{
    const auto it = iptc.findKey(Exiv2::IptcKey("Iptc.Envelope.CharacterSet"));
    return it != iptc.end() && it->toString() == kUtf8Marker;
}

// Texts of an unmarked block were Latin-1 to every reader; once the block says UTF-8 they must
// be UTF-8 too, or accented names turn into garbage.
void recodeLatin1Texts(Exiv2::IptcData& iptc)
{
    for (Exiv2::Iptcdatum& d : iptc) {
        if (d.typeId() != Exiv2::string)
            continue;
        const std::string raw = d.toString();
        const QByteArray bytes = QByteArray::fromStdString(raw);
        if (!bytes.isValidUtf8())
            d.setValue(QString::fromLatin1(bytes).toStdString());
    }
}

void setIptc(Exiv2::IptcData& iptc, const char* key, const QStringList& values)
{
    const Exiv2::IptcKey k(key);
    for (auto it = iptc.findKey(k); it != iptc.end(); it = iptc.findKey(k))
        iptc.erase(it);
    for (const QString& v : values) {
        if (v.isEmpty())
            continue;
        Exiv2::Iptcdatum d(k);
        d.setValue(v.toStdString());
        iptc.add(d);
    }
}

void writeIptc(const MetaFields& f, Exiv2::IptcData& iptc)
{
    if (!hasUtf8Marker(iptc))
        recodeLatin1Texts(iptc);
    iptc["Iptc.Envelope.CharacterSet"] = std::string(kUtf8Marker);
    setIptc(iptc, "Iptc.Application2.Caption", {f.caption});
    setIptc(iptc, "Iptc.Application2.Byline", {f.byline});
    setIptc(iptc, "Iptc.Application2.Copyright", {f.copyright});
    setIptc(iptc, "Iptc.Application2.Keywords", MetadataWriter::keywordList(f.keywords));
    setIptc(iptc, "Iptc.Application2.City", {f.city});
    setIptc(iptc, "Iptc.Application2.CountryName", {f.country});
    // A block holding nothing but the marker would add an empty IPTC segment to the file.
    if (iptc.count() == 1)
        iptc.clear();
}

bool hasXmp(const Exiv2::XmpData& xmp, const char* key)
{
    return xmp.findKey(Exiv2::XmpKey(key)) != xmp.end();
}

void eraseXmp(Exiv2::XmpData& xmp, const char* key)
{
    const auto it = xmp.findKey(Exiv2::XmpKey(key));
    if (it != xmp.end())
        xmp.erase(it);
}

void setXmp(Exiv2::XmpData& xmp, const char* key, Exiv2::TypeId type, const QStringList& values)
{
    eraseXmp(xmp, key);
    if (values.isEmpty() || (values.size() == 1 && values[0].isEmpty()))
        return;
    Exiv2::Value::AutoPtr v = Exiv2::Value::create(type);
    for (const QString& text : values)
        v->read(type == Exiv2::langAlt ? "lang=x-default " + text.toStdString() : text.toStdString());
    xmp.add(Exiv2::XmpKey(key), v.get());
}

// Where the file already carries the same texts as XMP, those are changed too: most photo tools
// show XMP before IPTC, and would keep showing the old texts. No XMP is added.
void followInXmp(const MetaFields& f, Exiv2::XmpData& xmp)
{
    struct Item {
        const char* key;
        Exiv2::TypeId type;
        QStringList values;
    };
    const Item items[] = {
        {"Xmp.dc.description", Exiv2::langAlt, {f.caption}},
        {"Xmp.dc.creator", Exiv2::xmpSeq, {f.byline}},
        {"Xmp.dc.rights", Exiv2::langAlt, {f.copyright}},
        {"Xmp.dc.subject", Exiv2::xmpBag, MetadataWriter::keywordList(f.keywords)},
        {"Xmp.photoshop.City", Exiv2::xmpText, {f.city}},
        {"Xmp.photoshop.Country", Exiv2::xmpText, {f.country}},
    };
    for (const Item& item : items)
        if (hasXmp(xmp, item.key))
            setXmp(xmp, item.key, item.type, item.values);
    if (f.date && f.date->isValid()) {
        const QString iso = f.date->toLocalTime().toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss"));
        for (const char* key : {"Xmp.exif.DateTimeOriginal", "Xmp.photoshop.DateCreated"})
            if (hasXmp(xmp, key))
                setXmp(xmp, key, Exiv2::xmpText, {iso});
    }
}

// Degrees, minutes and seconds to the millionth of a second, so that reading back to six
// decimals of a degree gives the same text.
std::string dmsRationals(double degrees)
{
    const qint64 microSeconds = std::llround(std::fabs(degrees) * 3600e6);
    const qint64 perDegree = qint64(3600) * 1000000;
    const qint64 perMinute = qint64(60) * 1000000;
    const qint64 d = microSeconds / perDegree;
    const qint64 m = (microSeconds % perDegree) / perMinute;
    const qint64 s = microSeconds % perMinute;
    return std::to_string(d) + "/1 " + std::to_string(m) + "/1 " + std::to_string(s) + "/1000000";
}

void writeGps(const MetaFields& f, Exiv2::ExifData& exif)
{
    const auto point = MetadataWriter::parseGps(f.gps);
    if (!point)
        return;
    if (exif.findKey(Exiv2::ExifKey("Exif.GPSInfo.GPSVersionID")) == exif.end()) {
        Exiv2::Value::AutoPtr version = Exiv2::Value::create(Exiv2::unsignedByte);
        version->read("2 2 0 0");
        exif["Exif.GPSInfo.GPSVersionID"] = *version;
    }
    Exiv2::URationalValue lat;
    lat.read(dmsRationals(point->latitude));
    Exiv2::URationalValue lon;
    lon.read(dmsRationals(point->longitude));
    exif["Exif.GPSInfo.GPSLatitudeRef"] = std::string(point->latitude >= 0 ? "N" : "S");
    exif["Exif.GPSInfo.GPSLatitude"] = lat;
    exif["Exif.GPSInfo.GPSLongitudeRef"] = std::string(point->longitude >= 0 ? "E" : "W");
    exif["Exif.GPSInfo.GPSLongitude"] = lon;
}

void writeExif(const MetaFields& f, Exiv2::ExifData& exif)
{
    if (f.date && f.date->isValid()) {
        // An EXIF block made here for the date says which EXIF it is, as readers expect.
        if (exif.findKey(Exiv2::ExifKey("Exif.Photo.ExifVersion")) == exif.end()) {
            Exiv2::Value::AutoPtr version = Exiv2::Value::create(Exiv2::undefined);
            version->read("48 50 51 50");
            exif["Exif.Photo.ExifVersion"] = *version;
        }
        exif["Exif.Photo.DateTimeOriginal"] = exifDateText(*f.date).toStdString();
    }
    writeGps(f, exif);
}

bool isHeif(const QString& path)
{
    const QString ext = QFileInfo(path).suffix().toLower();
    return ext == QLatin1String("heic") || ext == QLatin1String("heif");
}

QString heifReason()
{
    return L("HEIC and HEIF images can't be written", "无法写入 HEIC 和 HEIF 图像");
}

// The whole new file, built in memory; empty with *reason set when exiv2 refuses the file.
QByteArray rebuilt(const MetaFields& f, const QByteArray& original, QString* reason)
{
    try {
        auto image = Exiv2::ImageFactory::open(reinterpret_cast<const Exiv2::byte*>(original.constData()),
                                               long(original.size()));
        if (image->imageType() == Exiv2::ImageType::bmff) {
            *reason = heifReason();
            return {};
        }
        image->readMetadata();
        writeExif(f, image->exifData());
        writeIptc(f, image->iptcData());
        followInXmp(f, image->xmpData());
        image->writeMetadata();
        Exiv2::BasicIo& io = image->io();
        if (io.open() != 0 || io.seek(0, Exiv2::BasicIo::beg) != 0)
            return {};
        const Exiv2::DataBuf buf = io.read(long(io.size()));
        io.close();
        return QByteArray(reinterpret_cast<const char*>(buf.pData_), buf.size_);
    } catch (const std::exception& e) {
        *reason = QString::fromStdString(e.what());
    }
    return {};
}

}  // namespace

bool Media::writeImage(const MetaFields& fields, const QString& path, FileSwap& swap, QString* reason)
{
    if (isHeif(path)) {
        *reason = heifReason();
        return false;
    }
    prepareExiv2();
    QFile file(FileSwap::resolveTarget(path));
    if (file.fileName().isEmpty() || !file.open(QIODevice::ReadOnly)) {
        *reason = L("the file can't be read", "无法读取文件");
        return false;
    }
    const QByteArray original = file.readAll();
    file.close();
    const QByteArray data = rebuilt(fields, original, reason);
    if (data.isEmpty()) {
        if (reason->isEmpty())
            *reason = L("the image can't be rebuilt", "无法重建图像");
        return false;
    }
    return swap.replaceContent(path, data, reason);
}
