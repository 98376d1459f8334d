#include "media_fixture.h"
#include "metadata/mxf_reader.h"
#include "test_support.h"

#include <QFile>
#include <QJsonArray>
#include <gtest/gtest.h>

namespace {

QByteArray be(quint64 v, int bytes)
{
    QByteArray out(bytes, '\0');
    for (int i = bytes - 1; i >= 0; --i, v >>= 8)
        out[i] = char(v & 0xFF);
    return out;
}

QByteArray item(quint16 tag, const QByteArray& value)
{
    return be(tag, 2) + be(quint64(value.size()), 2) + value;
}

QByteArray rational(quint32 num, quint32 den)
{
    return be(num, 4) + be(den, 4);
}

// A local set (2-byte tags and lengths) with a four-byte BER length.
QByteArray localSet(const QByteArray& items)
{
    return QByteArray::fromHex("060e2b34025301010d01010101014400") + char(0x83) + be(quint64(items.size()), 3) + items;
}

const QByteArray kMpeg2Label = QByteArray::fromHex("060e2b34040101030401020201040300");
const QByteArray kAvcIntraLabel = QByteArray::fromHex("060e2b340401010a0401020201320000");

QByteArray picture(quint32 num, quint32 den, quint64 w = 1920, quint64 h = 1080, const QByteArray& label = kMpeg2Label)
{
    return localSet(item(0x3001, rational(num, den)) + item(0x3203, be(w, 4)) + item(0x3202, be(h, 4))
                    + item(0x3201, label) + item(0x3301, be(10, 4)));
}

QByteArray track(quint64 duration)
{
    return localSet(item(0x0202, be(duration, 8)));
}

QByteArray sound(quint32 rate = 48000, quint64 channels = 2, quint64 bits = 24)
{
    return localSet(item(0x3D03, rational(rate, 1)) + item(0x3D07, be(channels, 4)) + item(0x3D01, be(bits, 4)));
}

QByteArray timecode(quint64 start, quint64 base, quint64 drop)
{
    return localSet(item(0x1501, be(start, 8)) + item(0x1502, be(base, 2)) + item(0x1503, be(drop, 1)));
}

using Texts = QMap<QString, QString>;

struct Case {
    const char* name;
    QByteArray bytes;
    MetaKind kind;
    qint64 w, h;
    double fps, dur;
    const char* info;
    Texts texts;  // expected custom texts; an empty value means the key must be absent
};

TEST(MxfReaderTest, HeaderMetadataFacts)
{
    const QByteArray junk = QByteArray(37, '\x06') + "\x06\x0e\x2b";
    const Case cases[] = {
        {"tiny",
         QByteArray(16, '\x06'),
         MetaKind::unsupported,
         0,
         0,
         0,
         0,
         "",
         {{"Format", "MXF"}, {"Resolution", ""}, {"Start TC", ""}}},
        {"25p",
         picture(25, 1) + track(250),
         MetaKind::video,
         1920,
         1080,
         25,
         10,
         "1920×1080 · 25fps · 10.0s",
         {{"Format", "MXF"},
          {"Resolution", "1920×1080"},
          {"Frame Rate", "25 fps"},
          {"Codec", "MPEG-2"},
          {"Video Bit Depth", "10-bit"}}},
        {"29.97",
         junk + picture(30000, 1001) + track(300),
         MetaKind::video,
         1920,
         1080,
         30000.0 / 1001,
         10.01,
         "1920×1080 · 30fps · 10.0s",
         {{"Frame Rate", "29.97 fps"}}},
        {"audio rate as picture rate",
         picture(25, 1) + picture(48000, 1),
         MetaKind::video,
         1920,
         1080,
         25,
         0,
         "1920×1080 · 25fps",
         {}},
        {"beyond a day",
         picture(25, 1) + track(25 * 86401),
         MetaKind::video,
         1920,
         1080,
         25,
         0,
         "1920×1080 · 25fps",
         {{"Duration TC", ""}}},
        {"largest duration",
         track(10) + picture(25, 1, 1280, 720, kAvcIntraLabel) + track(50) + track(20),
         MetaKind::video,
         1280,
         720,
         25,
         2,
         "1280×720 · 25fps · 2.0s",
         {{"Codec", "AVC-Intra"}}},
        {"unknown duration",
         picture(25, 1) + track(50) + track(~quint64(0)),
         MetaKind::video,
         1920,
         1080,
         25,
         2,
         "1920×1080 · 25fps · 2.0s",
         {}},
        {"sound only",
         sound() + track(96000),
         MetaKind::unsupported,
         0,
         0,
         0,
         2,
         "2.0s",
         {{"Format", "MXF (Audio)"},
          {"Audio Codec", "PCM"},
          {"Audio SR", "48 kHz"},
          {"Audio Bit Depth", "24-bit"},
          {"Audio Channels", "2 (Stereo)"},
          {"Codec", ""}}},
        {"44.1 kHz",
         sound(44100, 1, 16),
         MetaKind::unsupported,
         0,
         0,
         0,
         0,
         "",
         {{"Audio SR", "44.1 kHz"}, {"Audio Channels", "1 (Mono)"}}},
        {"display size",
         localSet(item(0x3203, be(1920, 4)) + item(0x3202, be(1088, 4)) + item(0x3209, be(1920, 4))
                  + item(0x3208, be(1080, 4))),
         MetaKind::video,
         1920,
         1080,
         0,
         0,
         "1920×1080",
         {}},
        {"separate fields",
         localSet(item(0x3203, be(1920, 4)) + item(0x3202, be(544, 4)) + item(0x3209, be(1920, 4))
                  + item(0x3208, be(540, 4)) + item(0x320C, be(1, 1))),
         MetaKind::video,
         1920,
         1080,
         0,
         0,
         "1920×1080",
         {}},
        {"tc 25", timecode(90000, 25, 0), MetaKind::unsupported, 0, 0, 0, 0, "", {{"Start TC", "01:00:00:00"}}},
        {"tc drop flag at 25",
         timecode(90000, 25, 1),
         MetaKind::unsupported,
         0,
         0,
         0,
         0,
         "",
         {{"Start TC", "01:00:00;00"}}},
        {"tc past a day",
         timecode(2250000, 25, 0),
         MetaKind::unsupported,
         0,
         0,
         0,
         0,
         "",
         {{"Start TC", "25:00:00:00"}}},
        {"tc drop frame",
         timecode(107784, 30, 1),
         MetaKind::unsupported,
         0,
         0,
         0,
         0,
         "",
         {{"Start TC", "00:59:56;12"}}},
        {"tc zero with base", timecode(0, 25, 0), MetaKind::unsupported, 0, 0, 0, 0, "", {{"Start TC", "00:00:00:00"}}},
        {"tc no base", timecode(3661, 0, 0), MetaKind::unsupported, 0, 0, 0, 0, "", {{"Start TC", "01:01:01:00"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const MetaFields f = mxfFactsFromBytes(c.bytes, false);
        EXPECT_EQ(f.kind, c.kind);
        EXPECT_EQ(f.vidW, c.w);
        EXPECT_EQ(f.vidH, c.h);
        EXPECT_NEAR(f.fps, c.fps, 1e-9);
        EXPECT_NEAR(f.durSec, c.dur, 1e-9);
        EXPECT_EQ(f.info, QString::fromUtf8(c.info));
        EXPECT_TRUE(f.date == std::nullopt && f.title.isEmpty() && f.clipName.isEmpty());
        for (auto it = c.texts.begin(); it != c.texts.end(); ++it)
            EXPECT_EQ(f.custom.value(it.key()), it.value()) << it.key().toStdString();
    }
    EXPECT_EQ(mxfFactsFromBytes(sound(48000, 2), true).custom.value("Audio Channels"), "2 (立体声)");
}

TEST(MxfReaderTest, DamagedBytesNeverStopTheWalk)
{
    const QByteArray good = picture(25, 1) + track(250);
    const QByteArray hugeLength = QByteArray::fromHex("060e2b34025301010d01010101014400")
                                + QByteArray::fromHex("88ffffffffffffffff") + "x";
    const QByteArray longBer = QByteArray::fromHex("060e2b34025301010d01010101014400") + char(0xFF)
                             + QByteArray(200, '\xFF');
    const QByteArray overlongValues = localSet(
        item(0x3203, QByteArray(12, '\x7f')) + item(0x0202, QByteArray(9, '\x01')) + item(0x3202, be(~quint64(0), 8)));
    const QByteArray hugeFields = localSet(item(0x3203, be(1920, 4)) + item(0x3202, be(~quint64(0) >> 1, 8))
                                           + item(0x320C, be(1, 1)) + item(0x1501, be(~quint64(0), 8)));
    const QByteArray itemPastSet = localSet(item(0x3203, be(640, 4))).chopped(0) + QByteArray::fromHex("32020100");
    const QByteArray inputs[] = {hugeLength,
                                 longBer,
                                 overlongValues,
                                 hugeFields,
                                 good + hugeLength,
                                 itemPastSet,
                                 good.left(good.size() - 3),
                                 good.left(40),
                                 localSet(item(0x3001, QByteArray(7, '\1')))};
    for (const QByteArray& bytes : inputs) {
        const MetaFields f = mxfFactsFromBytes(bytes, false);
        EXPECT_EQ(f.custom.value("Format"), "MXF");
    }
    EXPECT_EQ(mxfFactsFromBytes(good + hugeLength, false).vidW, 1920);
    EXPECT_EQ(mxfFactsFromBytes(good.left(good.size() - 3), false).custom.value("Resolution"), "1920×1080");
}

struct MxfFileTest : testing::Test {
    TestEnv env;
};

TEST_F(MxfFileTest, AgreesWithFfprobeOnFilesMadeByFfmpeg)
{
    const struct {
        const char* name;
        QStringList args;
        const char* startTc;
        const char* codec;
    } files[] = {
        {"pal.mxf",
         {"-f", "lavfi", "-i", "testsrc=d=0.2:s=720x576:r=25", "-f", "lavfi", "-i", "sine=d=0.2:sample_rate=48000",
          "-c:v", "mpeg2video", "-pix_fmt", "yuv420p", "-c:a", "pcm_s16le", "-timecode", "10:00:00:00"},
         "10:00:00:00",
         "MPEG-2"},
        {"hd_df.mxf",
         {"-f", "lavfi", "-i", "testsrc=d=0.2:s=1920x1080:r=30000/1001", "-c:v", "mpeg2video", "-pix_fmt", "yuv420p",
          "-timecode", "00:59:56;12"},
         "00:59:56;12",
         "MPEG-2"},
        {"hd_i.mxf",
         {"-f",        "lavfi",       "-i",       "testsrc=d=0.2:s=1920x1080:r=25",
          "-f",        "lavfi",       "-i",       "sine=d=0.2:sample_rate=48000",
          "-c:v",      "mpeg2video",  "-pix_fmt", "yuv422p",
          "-flags",    "+ildct+ilme", "-top",     "1",
          "-c:a",      "pcm_s24le",   "-ac",      "2",
          "-timecode", "01:02:03:04"},
         "01:02:03:04",
         "MPEG-2"},
    };
    for (const auto& file : files) {
        SCOPED_TRACE(file.name);
        const QString path = env.path(file.name);
        ASSERT_TRUE(makeMedia(file.args + QStringList{path}));
        const QJsonObject probed = probe(path);
        const QJsonObject video = probeStream(probed, "video");
        const MetaFields f = readMXF(path, false);
        EXPECT_EQ(f.kind, MetaKind::video);
        EXPECT_EQ(f.vidW, video.value("width").toInt());
        EXPECT_EQ(f.vidH, video.value("height").toInt());
        const QStringList rate = video.value("r_frame_rate").toString().split('/');
        EXPECT_NEAR(f.fps, rate.at(0).toDouble() / rate.at(1).toDouble(), 1e-9);
        EXPECT_NEAR(f.durSec, probed.value("format").toObject().value("duration").toString().toDouble(), 0.001);
        EXPECT_EQ(f.custom.value("Start TC"), file.startTc);
        EXPECT_EQ(probed.value("format").toObject().value("tags").toObject().value("timecode").toString(),
                  file.startTc);
        EXPECT_EQ(f.custom.value("Codec"), file.codec);
        const QJsonObject audio = probeStream(probed, "audio");
        if (!audio.isEmpty()) {
            EXPECT_EQ(f.custom.value("Audio SR"), "48 kHz");
            EXPECT_EQ(f.custom.value("Audio Channels"),
                      audio.value("channels").toInt() == 1 ? "1 (Mono)" : "2 (Stereo)");
            EXPECT_EQ(f.custom.value("Audio Bit Depth"),
                      QString::number(audio.value("bits_per_sample").toInt()) + "-bit");
        }
        EXPECT_EQ(f.custom.value("Source Path"), path);
        EXPECT_FALSE(f.custom.value("File Size").isEmpty());
    }
}

TEST_F(MxfFileTest, TruncatedAndUnreadableFilesGiveWhatCanBeRead)
{
    const QString path = env.path("clip.mxf");
    ASSERT_TRUE(makeMedia(
        {"-f", "lavfi", "-i", "testsrc=d=0.2:s=720x576:r=25", "-c:v", "mpeg2video", "-timecode", "10:00:00:00", path}));
    const qint64 size = QFile(path).size();
    for (const qint64 cut :
         {qint64(0), qint64(10), qint64(17), qint64(100), qint64(3000), qint64(5000), size / 2, size - 1}) {
        const MetaFields f = readMXF(truncatedCopy(path, cut, env.path("cut.mxf")), false);
        EXPECT_EQ(f.custom.value("Format"), "MXF") << cut;
        EXPECT_TRUE(f.vidW == 0 || f.vidW == 720) << cut;
    }
    const MetaFields missing = readMXF(env.path("missing.mxf"), false);
    EXPECT_EQ(missing.kind, MetaKind::unsupported);
    EXPECT_EQ(missing.info, "");
    EXPECT_EQ(missing.custom.value("Format"), "MXF");
    EXPECT_FALSE(missing.custom.contains("File Size"));
}

}  // namespace
