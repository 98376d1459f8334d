#include "mxf_reader.h"

#include "metadata/media_info.h"
#include "metadata/timecode.h"
#include "platform/file_handle.h"

#include <array>
#include <cmath>
#include <cstring>
#include <limits>
#include <optional>

namespace {

constexpr qint64 kHeadBytes = 8000000;

// Local tags of the header metadata sets.
enum Tag : quint16 {
    Duration = 0x0202,
    StoredWidth = 0x3203,
    StoredHeight = 0x3202,
    DisplayWidth = 0x3209,
    DisplayHeight = 0x3208,
    FrameLayout = 0x320C,
    ComponentDepth = 0x3301,
    PictureEssenceCoding = 0x3201,
    SampleRate = 0x3001,
    AudioSamplingRate = 0x3D03,
    ChannelCount = 0x3D07,
    QuantizationBits = 0x3D01,
    StartTimecode = 0x1501,
    RoundedTimecodeBase = 0x1502,
    DropFrame = 0x1503,
};

struct Span {
    const uchar* data = nullptr;
    qsizetype size = 0;
};

// The tags of one local set; a set holds a few dozen items, so a short list beats a map.
struct LocalSet {
    std::array<std::pair<quint16, Span>, 64> items{};
    int count = 0;

    std::optional<Span> find(quint16 tag) const
    {
        for (int i = count - 1; i >= 0; --i)  // the last of a repeated tag wins
            if (items[size_t(i)].first == tag)
                return items[size_t(i)].second;
        return std::nullopt;
    }
    bool has(quint16 tag) const { return find(tag).has_value(); }
    void add(quint16 tag, Span value)
    {
        for (int i = 0; i < count; ++i)
            if (items[size_t(i)].first == tag) {
                items[size_t(i)].second = value;
                return;
            }
        if (count < int(items.size()))
            items[size_t(count++)] = {tag, value};
    }
};

struct ScanState {
    quint64 maxDuration = 0;
    qint64 width = 0;
    qint64 height = 0;
    qint64 displayWidth = 0;
    qint64 displayHeight = 0;
    qint64 frameLayout = 0;
    qint64 depth = 0;
    QByteArray essenceCoding;
    quint32 rateNum = 0;
    quint32 rateDen = 0;
    qint64 audioRate = 0;
    qint64 channels = 0;
    qint64 quantBits = 0;
    qint64 startFrames = 0;
    qint64 roundedBase = 0;
    qint64 dropFrame = 0;
};

// A big-endian integer of up to 8 bytes; a longer value reads as 0.
quint64 unsignedValue(Span s)
{
    if (s.size > 8)
        return 0;
    quint64 v = 0;
    for (qsizetype i = 0; i < s.size; ++i)
        v = v << 8 | s.data[i];
    return v;
}

qint64 signedValue(Span s)
{
    return qint64(unsignedValue(s));
}

quint32 be32(const uchar* p)
{
    return quint32(p[0]) << 24 | quint32(p[1]) << 16 | quint32(p[2]) << 8 | p[3];
}

bool allOnes(Span s)
{
    for (qsizetype i = 0; i < s.size; ++i)
        if (s.data[i] != 0xFF)
            return false;
    return s.size > 0;
}

void takeInteger(const LocalSet& set, quint16 tag, qint64& into)
{
    if (const auto v = set.find(tag))
        into = signedValue(*v);
}

void takePictureTags(const LocalSet& set, ScanState& st)
{
    takeInteger(set, StoredWidth, st.width);
    takeInteger(set, StoredHeight, st.height);
    takeInteger(set, DisplayWidth, st.displayWidth);
    takeInteger(set, DisplayHeight, st.displayHeight);
    takeInteger(set, FrameLayout, st.frameLayout);
    takeInteger(set, ComponentDepth, st.depth);
    if (const auto v = set.find(PictureEssenceCoding))
        st.essenceCoding = QByteArray(reinterpret_cast<const char*>(v->data), v->size);
    if (const auto v = set.find(SampleRate); v && v->size == 8) {
        const quint32 num = be32(v->data);
        const quint32 den = be32(v->data + 4);
        if (den != 0 && double(num) / double(den) <= 120.0) {
            st.rateNum = num;
            st.rateDen = den;
        }
    }
}

void takeSoundTags(const LocalSet& set, ScanState& st)
{
    if (const auto v = set.find(AudioSamplingRate); v && v->size >= 8) {
        const quint32 num = be32(v->data);
        const quint32 den = be32(v->data + v->size - 4);
        if (den != 0)
            st.audioRate = qint64(num / den);
    }
    takeInteger(set, ChannelCount, st.channels);
    takeInteger(set, QuantizationBits, st.quantBits);
}

void takeTags(const LocalSet& set, ScanState& st)
{
    // An all-ones duration is the "unknown" marker, not a length.
    if (const auto v = set.find(Duration); v && !allOnes(*v))
        st.maxDuration = std::max(st.maxDuration, unsignedValue(*v));
    if (set.has(StoredWidth) || set.has(StoredHeight) || set.has(PictureEssenceCoding) || set.has(DisplayWidth)
        || set.has(DisplayHeight))
        takePictureTags(set, st);
    if (set.has(AudioSamplingRate) || set.has(ChannelCount) || set.has(QuantizationBits))
        takeSoundTags(set, st);
    takeInteger(set, StartTimecode, st.startFrames);
    takeInteger(set, RoundedTimecodeBase, st.roundedBase);
    takeInteger(set, DropFrame, st.dropFrame);
}

void parseLocalSet(const uchar* d, qsizetype begin, qsizetype end, ScanState& st)
{
    LocalSet set;
    qsizetype q = begin;
    while (q + 4 <= end) {
        const quint16 tag = quint16(d[q] << 8 | d[q + 1]);
        const qsizetype len = qsizetype(d[q + 2] << 8 | d[q + 3]);
        const qsizetype itemEnd = q + 4 + len;
        if (itemEnd > end)
            break;
        set.add(tag, Span{d + q + 4, len});
        q = itemEnd;
    }
    takeTags(set, st);
}

// The BER length at `at`; length bytes past the buffer are skipped, a length too large for
// the buffer saturates. Returns the value's start.
qsizetype berLength(const uchar* d, qsizetype n, qsizetype at, quint64& length)
{
    const uchar first = d[at];
    ++at;
    if (first < 0x80) {
        length = first;
        return at;
    }
    length = 0;
    for (int k = first & 0x7F; k > 0; --k, ++at) {
        if (at >= n)
            continue;
        length = length > (std::numeric_limits<quint64>::max() >> 8) ? std::numeric_limits<quint64>::max()
                                                                     : length << 8 | d[at];
    }
    return at;
}

ScanState walk(const QByteArray& head)
{
    ScanState st;
    const auto* d = reinterpret_cast<const uchar*>(head.constData());
    const qsizetype n = head.size();
    qsizetype p = 0;
    while (p + 16 < n) {
        if (d[p] != 0x06 || d[p + 1] != 0x0E || d[p + 2] != 0x2B || d[p + 3] != 0x34) {
            const void* next = std::memchr(d + p + 1, 0x06, size_t(n - p - 1));
            p = next ? static_cast<const uchar*>(next) - d : n;
            continue;
        }
        quint64 length = 0;
        const qsizetype valueStart = berLength(d, n, p + 16, length);
        const qsizetype valueEnd = valueStart >= n || length >= quint64(n - valueStart)
                                     ? n
                                     : valueStart + qsizetype(length);
        if (d[p + 4] == 0x02 && d[p + 5] == 0x53 && valueStart < n)
            parseLocalSet(d, valueStart, valueEnd, st);
        p = valueEnd;
    }
    return st;
}

QString rateText(double fps)
{
    return fps == std::floor(fps) ? QString::asprintf("%.0f fps", fps) : QString::asprintf("%.2f fps", fps);
}

QString kHzText(qint64 rate)
{
    QString t = QString::asprintf("%.1f kHz", double(rate) / 1000.0);
    return t.replace(QLatin1String(".0 kHz"), QLatin1String(" kHz"));
}

// Separate fields and segmented frames give field heights; editors show the frame.
qint64 frameHeight(qint64 height, qint64 layout)
{
    const bool fields = layout == 1 || layout == 4;
    return fields && height > 0 && height <= std::numeric_limits<qint64>::max() / 2 ? height * 2 : height;
}

void writeTimecode(const ScanState& st, MetaFields& f)
{
    if (st.startFrames == 0 && st.roundedBase <= 0)
        return;
    const quint64 base = st.roundedBase > 1 ? quint64(st.roundedBase) : 1;
    const bool drop = st.dropFrame != 0;
    f.custom.insert(QStringLiteral("Start TC"),
                    Timecode::startText(quint64(std::max<qint64>(0, st.startFrames)), base, drop, drop ? u';' : u':'));
}

void writeTexts(const ScanState& st, MetaFields& f, bool zh)
{
    const bool picture = f.vidW > 0;
    f.custom.insert(QStringLiteral("Format"),
                    picture || st.audioRate <= 0 ? QStringLiteral("MXF") : QStringLiteral("MXF (Audio)"));
    if (picture) {
        f.custom.insert(QStringLiteral("Resolution"), QString::number(f.vidW) + u'×' + QString::number(f.vidH));
        f.custom.insert(QStringLiteral("Codec"), MediaInfo::mxfCodecName(st.essenceCoding));
        if (f.fps > 0)
            f.custom.insert(QStringLiteral("Frame Rate"), rateText(f.fps));
        if (st.depth > 0)
            f.custom.insert(QStringLiteral("Video Bit Depth"), QString::number(st.depth) + QStringLiteral("-bit"));
    }
    if (st.audioRate > 0) {
        f.custom.insert(QStringLiteral("Audio Codec"), QStringLiteral("PCM"));
        f.custom.insert(QStringLiteral("Audio SR"), kHzText(st.audioRate));
        if (st.quantBits > 0)
            f.custom.insert(QStringLiteral("Audio Bit Depth"), QString::number(st.quantBits) + QStringLiteral("-bit"));
        if (st.channels > 0)
            f.custom.insert(QStringLiteral("Audio Channels"), MediaInfo::channelLayoutName(st.channels, zh));
    }
    writeTimecode(st, f);
}

void writeInfo(MetaFields& f)
{
    QStringList parts;
    if (f.vidW > 0)
        parts << f.custom.value(QStringLiteral("Resolution"));
    if (f.fps > 0)
        parts << QString::asprintf("%.0ffps", f.fps);
    if (f.durSec > 0)
        parts << QString::asprintf("%.1fs", f.durSec);
    f.info = parts.join(QStringLiteral(" · "));
}

}  // namespace

MetaFields mxfFactsFromBytes(const QByteArray& head, bool zh)
{
    const ScanState st = head.size() > 16 ? walk(head) : ScanState{};
    MetaFields f;
    f.vidW = st.displayWidth > 0 ? st.displayWidth : st.width;
    f.vidH = frameHeight(st.displayHeight > 0 ? st.displayHeight : st.height, st.frameLayout);
    f.fps = st.rateDen > 0 ? double(st.rateNum) / double(st.rateDen) : 0;
    if (f.vidW > 0 && f.fps > 0) {
        const double d = double(st.maxDuration) / f.fps;
        f.durSec = d > 0 && d <= 86400 ? d : 0;
    } else if (st.audioRate >= 1 && st.maxDuration != 0) {
        f.durSec = double(st.maxDuration) / double(st.audioRate);
    }
    f.kind = f.vidW > 0 ? MetaKind::video : MetaKind::unsupported;
    writeTexts(st, f, zh);
    writeInfo(f);
    return f;
}

MetaFields readMXF(const QString& path, bool zh)
{
    FileHandle handle = openFileForReading(path);
    MetaFields f;
    if (handle.isOpen()) {
        f = mxfFactsFromBytes(readFileHead(handle, kHeadBytes), zh);
        closeFileHandle(handle);
    }
    MediaInfo::technicalColumns(f, path);
    return f;
}
