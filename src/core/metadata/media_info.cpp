#include "media_info.h"

#include "metadata/metadata_reader.h"
#include "metadata/timecode.h"
#include "model/file_item.h"

#include <QFile>
#include <QHash>
#include <fcntl.h>
#include <sys/stat.h>
#include <unicode/ucnv.h>

namespace {

QDateTime utcOf(const struct statx_timestamp& t)
{
    return QDateTime::fromMSecsSinceEpoch(qint64(t.tv_sec) * 1000 + t.tv_nsec / 1000000, Qt::UTC);
}

QString dateText(const struct statx_timestamp& t)
{
    return DateFormatterCache::format(utcOf(t), QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

// The four bytes as Mac OS Roman text (every byte has a character there), trimmed of blanks
// and tabs.
QString fourCCText(quint32 code)
{
    const char bytes[4] = {char(code >> 24), char(code >> 16), char(code >> 8), char(code)};
    UErrorCode status = U_ZERO_ERROR;
    char16_t out[16];
    const int32_t n = ucnv_convert("UTF-16LE", "macintosh", reinterpret_cast<char*>(out), sizeof out, bytes, 4,
                                   &status);
    if (U_FAILURE(status))
        return {};
    QString text(reinterpret_cast<const QChar*>(out), n / 2);
    qsizetype b = 0;
    qsizetype e = text.size();
    while (b < e && (text.at(b) == u' ' || text.at(b) == u'\t'))
        ++b;
    while (e > b && (text.at(e - 1) == u' ' || text.at(e - 1) == u'\t'))
        --e;
    return text.mid(b, e - b);
}

constexpr quint32 fcc(const char (&s)[5])
{
    return quint32(quint8(s[0])) << 24 | quint32(quint8(s[1])) << 16 | quint32(quint8(s[2])) << 8 | quint8(s[3]);
}

}  // namespace

std::optional<QString> MediaInfo::formatName(const QString& extension)
{
    static const QHash<QString, QString> names{
        {"r3d", "REDCODE RAW"},
        {"braw", "Blackmagic RAW"},
        {"ari", "ARRIRAW"},
        {"arx", "ARRIRAW"},
        {"arriraw", "ARRIRAW"},
        {"crm", "Canon Cinema RAW Light"},
        {"rmf", "Canon RAW"},
        {"cine", "Phantom Cine"},
        {"mxf", "MXF"},
        {"dpx", "DPX"},
        {"exr", "OpenEXR"},
        {"dng", "CinemaDNG"},
        {"cin", "Cineon"},
        {"ocn", "Sony X-OCN"},
        {"x-ocn", "Sony X-OCN"},
        {"mts", "AVCHD / MPEG-TS"},
        {"m2ts", "AVCHD / MPEG-TS"},
        {"m2t", "AVCHD / MPEG-TS"},
        {"ts", "AVCHD / MPEG-TS"},
        {"avi", "AVI"},
        {"wav", "Broadcast WAV"},
        {"bwf", "Broadcast WAV"},
        {"aif", "AIFF"},
        {"aiff", "AIFF"},
    };
    const auto it = names.constFind(extension.toLower());
    if (it == names.constEnd())
        return std::nullopt;
    return *it;
}

QString MediaInfo::videoCodecName(quint32 fourCC)
{
    static const QHash<QString, QString> names{
        {"avc1", "H.264"},
        {"h264", "H.264"},
        {"hvc1", "HEVC"},
        {"hev1", "HEVC"},
        {"apcn", "ProRes 422"},
        {"apcs", "ProRes 422 LT"},
        {"apco", "ProRes 422 Proxy"},
        {"apch", "ProRes 422 HQ"},
        {"ap4h", "ProRes 4444"},
        {"ap4x", "ProRes 4444 XQ"},
        {"dvh1", "DVCPRO HD"},
        {"dvhp", "DVCPRO HD"},
        {"mp4v", "MPEG-4"},
        {"mjpa", "Motion JPEG"},
        {"mjpb", "Motion JPEG"},
    };
    const QString text = fourCCText(fourCC);
    if (text.isEmpty())
        return QStringLiteral("\u2014");
    return names.value(text, text);
}

QString MediaInfo::audioCodecName(quint32 fourCC)
{
    switch (fourCC) {
    case fcc(".mp3"): return QStringLiteral("MP3");
    case fcc("aac "):
    case fcc("aach"):
    case fcc("aacp"): return QStringLiteral("AAC");
    case fcc("ac-3"): return QStringLiteral("AC-3");
    case fcc("alac"): return QStringLiteral("ALAC");
    case fcc("ec-3"): return QStringLiteral("E-AC-3");
    case fcc("flac"): return QStringLiteral("FLAC");
    case fcc("lpcm"): return QStringLiteral("PCM");
    case fcc("opus"): return QStringLiteral("Opus");
    default: break;
    }
    const QString text = fourCCText(fourCC);
    return text.isEmpty() ? QStringLiteral("\u2014") : text;
}

QString MediaInfo::colorPrimariesName(const QString& primaries)
{
    if (primaries.contains(u"2020"))
        return QStringLiteral("Rec.2020");
    if (primaries.contains(u"709"))
        return QStringLiteral("Rec.709");
    if (primaries.contains(u"P3") || primaries.contains(u"2100"))
        return QStringLiteral("Display P3");
    if (primaries.contains(u"601") || primaries.contains(u"EBU") || primaries.contains(u"SMPTE_C"))
        return QStringLiteral("Rec.601");
    return primaries;
}

QString MediaInfo::transferFunctionName(const QString& transfer)
{
    if (transfer.contains(u"2084") || transfer.toUpper().contains(u"PQ"))
        return QStringLiteral("PQ (HDR10)");
    if (transfer.contains(u"HLG"))
        return QStringLiteral("HLG (HDR)");
    if (transfer.contains(u"709"))
        return QStringLiteral("Rec.709");
    if (transfer.contains(u"sRGB"))
        return QStringLiteral("sRGB");
    if (transfer.contains(u"2020"))
        return QStringLiteral("Rec.2020");
    return transfer;
}

QString MediaInfo::channelLayoutName(qint64 channels, bool zh)
{
    switch (channels) {
    case 1: return zh ? QStringLiteral("1 (单声道)") : QStringLiteral("1 (Mono)");
    case 2: return zh ? QStringLiteral("2 (立体声)") : QStringLiteral("2 (Stereo)");
    case 6: return QStringLiteral("6 (5.1)");
    case 8: return QStringLiteral("8 (7.1)");
    default: return QString::number(channels);
    }
}

QString MediaInfo::mxfCodecName(const QByteArray& label)
{
    if (label.size() < 14 || label.mid(8, 4) != QByteArray::fromHex("04010202"))
        return QStringLiteral("MXF");
    switch (quint8(label.at(12))) {
    case 0x01:
        if (quint8(label.at(13)) == 0x31)
            return QStringLiteral("AVC / H.264");
        if (quint8(label.at(13)) == 0x32)
            return QStringLiteral("AVC-Intra");
        return QStringLiteral("MPEG-2");
    case 0x02: return QStringLiteral("DV");
    case 0x03: return QStringLiteral("JPEG 2000");
    case 0x06: return QStringLiteral("Uncompressed");
    case 0x71: return QStringLiteral("Apple ProRes");
    default: return QStringLiteral("MXF video");
    }
}

QString MediaInfo::fileSizeText(qint64 bytes)
{
    if (bytes < 1000)
        return QString::number(bytes) + (bytes == 1 ? QStringLiteral(" byte") : QStringLiteral(" bytes"));
    static const char* const units[] = {"KB", "MB", "GB", "TB", "PB", "EB"};
    double value = double(bytes) / 1000.0;
    int unit = 0;
    while (value >= 999.5 && unit < 5) {
        value /= 1000.0;
        ++unit;
    }
    const int decimals = unit == 0 ? 0 : (unit == 1 ? 1 : 2);
    QString text = QString::number(value, 'f', decimals);
    if (decimals > 0) {
        while (text.endsWith(u'0'))
            text.chop(1);
        if (text.endsWith(u'.'))
            text.chop(1);
    }
    return text + u' ' + QLatin1String(units[unit]);
}

void MediaInfo::technicalColumns(MetaFields& fields, const QString& path)
{
    fields.custom.insert(QStringLiteral("Source Path"), path);
    fields.custom.insert(QStringLiteral("Folder Path"), PathText::parent(path));
    struct statx st {};
    const unsigned mask = STATX_SIZE | STATX_BTIME | STATX_MTIME;
    if (::statx(AT_FDCWD, QFile::encodeName(path).constData(), 0, mask, &st) == 0) {
        if (st.stx_mask & STATX_SIZE)
            fields.custom.insert(QStringLiteral("File Size"), fileSizeText(qint64(st.stx_size)));
        if (st.stx_mask & STATX_BTIME)
            fields.custom.insert(QStringLiteral("Date Created"), dateText(st.stx_btime));
        if (st.stx_mask & STATX_MTIME)
            fields.custom.insert(QStringLiteral("Date Modified"), dateText(st.stx_mtime));
    }
    if (fields.durSec > 0)
        fields.custom.insert(QStringLiteral("Duration TC"), Timecode::stringFromSeconds(fields.durSec, fields.fps));
    const std::optional<QString> format = formatName(PathText::extension(PathText::lastComponent(path)));
    if (!format)
        return;
    for (const char* key : {"Format", "Codec"}) {
        if (fields.custom.value(QLatin1String(key)).isEmpty())
            fields.custom.insert(QLatin1String(key), *format);
    }
}
