#include "media_fixture.h"
#include "metadata/video_reader.h"
#include "test_support.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

using Texts = QMap<QString, QString>;

const QStringList kPicture25{"-f", "lavfi", "-i", "testsrc=d=0.2:s=320x240:r=25"};
const QStringList kMono{"-f", "lavfi", "-i", "sine=d=0.2:sample_rate=48000"};

struct Movie {
    const char* name;
    QStringList args;
    const char* info;
    Texts texts;  // expected custom texts; an empty value means the key must be absent
};

struct VideoReaderTest : testing::Test {
    TestEnv env;

    QString make(const Movie& m)
    {
        const QString path = env.path(m.name);
        EXPECT_TRUE(makeMedia(m.args + QStringList{path})) << m.name;
        return path;
    }
};

TEST_F(VideoReaderTest, TechnicalFactsOfMoviesMadeByFfmpeg)
{
    const Movie movies[] = {
        {"h264.mov",
         kPicture25 + kMono
             + QStringList{"-c:v", "libx264", "-pix_fmt", "yuv420p", "-c:a", "aac", "-timecode", "01:00:00:00"},
         "0.2s · 320×240 · 25fps",
         {{"Codec", "H.264"},
          {"Frame Rate", "25 fps"},
          {"Resolution", "320×240"},
          {"Start TC", "01:00:00:00"},
          {"Video Bit Depth", "8-bit"},
          {"Scan", "Progressive"},
          {"Audio Codec", "AAC"},
          {"Audio SR", "48 kHz"},
          {"Audio Channels", "1 (Mono)"},
          {"Audio Bit Depth", ""},
          {"Duration TC", "00:00:00:05"},
          {"Format", ""}}},
        {"df.mov",
         {"-f", "lavfi", "-i", "testsrc=d=0.2:s=320x240:r=30000/1001", "-c:v", "libx264", "-timecode", "00:59:56;12"},
         "0.2s · 320×240 · 30fps",
         {{"Start TC", "00:59:56;12"}, {"Frame Rate", "29.97 fps"}, {"Audio SR", ""}}},
        {"ndf.mov",
         {"-f", "lavfi", "-i", "testsrc=d=0.2:s=320x240:r=30000/1001", "-c:v", "libx264", "-timecode", "00:59:56:12"},
         "0.2s · 320×240 · 30fps",
         {{"Start TC", "00:59:56:12"}}},
        {"prores.mov",
         QStringList{"-f", "lavfi", "-i", "testsrc=d=0.12:s=256x144:r=24000/1001", "-f", "lavfi", "-i",
                     "sine=d=0.12:sample_rate=44100", "-c:v", "prores_ks", "-profile:v", "3", "-pix_fmt", "yuv422p10le",
                     "-c:a", "pcm_s24le", "-ac", "2"},
         "0.1s · 256×144 · 24fps",
         {{"Codec", "ProRes 422 HQ"},
          {"Video Bit Depth", "10-bit"},
          {"Frame Rate", "23.98 fps"},
          {"Audio Codec", "PCM"},
          {"Audio Bit Depth", "24-bit"},
          {"Audio Channels", "2 (Stereo)"},
          {"Audio SR", "44.1 kHz"},
          {"Start TC", ""}}},
        {"pq.mp4",
         kPicture25
             + QStringList{"-c:v", "libx264", "-pix_fmt", "yuv420p10le", "-color_primaries", "bt2020", "-color_trc",
                           "smpte2084", "-colorspace", "bt2020nc", "-color_range", "tv"},
         "0.2s · 320×240 · 25fps",
         {{"Color Space", "Rec.2020"},
          {"Gamma/Transfer", "PQ (HDR10)"},
          {"Color Range", "Video/Legal"},
          {"Video Bit Depth", "10-bit"}}},
        {"hlg.mp4",
         kPicture25
             + QStringList{"-c:v", "libx264", "-color_primaries", "bt709", "-color_trc", "arib-std-b67", "-color_range",
                           "pc"},
         "0.2s · 320×240 · 25fps",
         {{"Color Space", "Rec.709"}, {"Gamma/Transfer", "HLG (HDR)"}, {"Color Range", "Full"}}},
        {"clip.MTS",
         kPicture25 + kMono
             + QStringList{"-c:v", "libx264", "-flags", "+ildct+ilme", "-top", "1", "-c:a", "ac3", "-f", "mpegts"},
         nullptr,
         {{"Codec", "H.264"},
          {"Format", "AVCHD / MPEG-TS"},
          {"Audio Codec", "AC-3"},
          {"Resolution", "320×240"},
          {"Scan", "Interlaced"},
          {"Frame Rate", "25 fps"}}},
        {"sound.mp4",
         QStringList{"-f", "lavfi", "-i", "sine=d=0.5:sample_rate=96000", "-c:a", "pcm_f32le", "-f", "mov"},
         "0.5s",
         {{"Audio Codec", "PCM"},
          {"Audio Bit Depth", "32-bit float"},
          {"Audio SR", "96 kHz"},
          {"Codec", ""},
          {"Resolution", ""},
          {"Frame Rate", ""},
          {"Start TC", ""}}},
    };
    for (const Movie& m : movies) {
        SCOPED_TRACE(m.name);
        const QString path = make(m);
        const MetaFields f = readVideo(path, false);
        const QJsonObject probed = probe(path);
        EXPECT_EQ(f.kind, MetaKind::video);
        if (m.info) {
            EXPECT_EQ(f.info, QString::fromUtf8(m.info));
        }
        EXPECT_NEAR(f.durSec, probed.value("format").toObject().value("duration").toString().toDouble(), 1e-3);
        const QJsonObject video = probeStream(probed, "video");
        EXPECT_EQ(f.vidW, video.value("width").toInt());
        EXPECT_EQ(f.vidH, video.value("height").toInt());
        if (video.contains("bit_rate")) {
            EXPECT_EQ(f.custom.value("Data Rate"),
                      QString::asprintf("%.1f Mb/s", video.value("bit_rate").toString().toDouble() / 1e6));
        }
        for (auto it = m.texts.begin(); it != m.texts.end(); ++it)
            EXPECT_EQ(f.custom.value(it.key()), it.value()) << it.key().toStdString();
        EXPECT_EQ(f.custom.value("Source Path"), path);
    }
}

TEST_F(VideoReaderTest, DescriptiveMetadataCameraItemsAndLanguage)
{
    const QString path = make({"tagged.mov",
                               kPicture25 + kMono + QStringList{"-c:v",         "libx264",
                                                                "-c:a",         "aac",
                                                                "-movflags",    "use_metadata_tags",
                                                                "-metadata",    "title=",
                                                                "-metadata",    "title=Take 3",
                                                                "-metadata",    "artist=A",
                                                                "-metadata",    "author=B",
                                                                "-metadata",    "description=Wide",
                                                                "-metadata",    "copyright=(c) Co",
                                                                "-metadata",    "creation_time=2024-05-06T07:08:09Z",
                                                                "-metadata",    "reel_scene=R7",
                                                                "-metadata",    "scene=12",
                                                                "-metadata",    "take=4",
                                                                "-metadata",    "camera model=Cam One",
                                                                "-metadata",    "model=Cam Two",
                                                                "-color_range", "pc"},
                               nullptr,
                               {}});
    for (const bool zh : {false, true}) {
        const MetaFields f = readVideo(path, zh);
        EXPECT_EQ(f.title, "Take 3");
        EXPECT_EQ(f.author, "A");
        EXPECT_EQ(f.desc, "Wide");
        EXPECT_EQ(f.copyright, "(c) Co");
        ASSERT_TRUE(f.date);
        EXPECT_EQ(f.date->toUTC(), QDateTime(QDate(2024, 5, 6), QTime(7, 8, 9), Qt::UTC));
        EXPECT_EQ(f.custom.value("Reel"), "R7");
        EXPECT_EQ(f.custom.value("Scene"), "12");
        EXPECT_EQ(f.custom.value("Take"), "4");
        EXPECT_EQ(f.custom.value("Camera"), "Cam One");
        EXPECT_EQ(f.custom.value("Scan"), zh ? "逐行" : "Progressive");
        EXPECT_EQ(f.custom.value("Color Range"), zh ? "全范围" : "Full");
        EXPECT_EQ(f.custom.value("Audio Channels"), zh ? "1 (单声道)" : "1 (Mono)");
    }
}

TEST_F(VideoReaderTest, DamagedFilesGiveWhatCouldBeRead)
{
    const QString path = make({"whole.mov",
                               kPicture25 + kMono
                                   + QStringList{"-c:v", "libx264", "-c:a", "pcm_s16le", "-timecode", "01:00:00:00",
                                                 "-movflags", "faststart"},
                               nullptr,
                               {}});
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    std::vector<std::pair<QString, QByteArray>> damaged;
    for (const qsizetype cut :
         {qsizetype(0), qsizetype(7), qsizetype(40), qsizetype(600), bytes.size() / 2, bytes.size() - 1})
        damaged.emplace_back(QString("cut %1").arg(cut), bytes.left(cut));
    // Zero time scales (no frame rate, no duration) and absurd sample counts and sizes.
    QByteArray zeroScale = bytes;
    for (qsizetype at = zeroScale.indexOf("mdhd"); at >= 0; at = zeroScale.indexOf("mdhd", at + 1))
        zeroScale.replace(at + 16, 4, QByteArray(4, '\0'));
    damaged.emplace_back("zero time scale", zeroScale);
    QByteArray absurd = bytes;
    for (const char* box : {"stsz", "stts", "stco", "mvhd", "tkhd"})
        for (qsizetype at = absurd.indexOf(box); at >= 0; at = absurd.indexOf(box, at + 1))
            absurd.replace(at + 8, 8, QByteArray(8, '\xff'));
    damaged.emplace_back("absurd counts", absurd);
    damaged.emplace_back("noise", QByteArray(5000, '\x5a'));

    for (const auto& [name, content] : damaged) {
        SCOPED_TRACE(name.toStdString());
        const QString copy = env.makeFile("damaged.mov", content);
        const MetaFields f = readVideo(copy, false);
        EXPECT_EQ(f.kind, MetaKind::video);
        EXPECT_TRUE(f.info.startsWith(QString::asprintf("%.1fs", f.durSec)));
        EXPECT_TRUE(f.vidW == 0 || f.vidW == 320);
        EXPECT_EQ(f.custom.value("Source Path"), copy);
    }
    const MetaFields missing = readVideo(env.path("missing.mov"), false);
    EXPECT_EQ(missing.info, "0.0s");
    EXPECT_EQ(missing.kind, MetaKind::video);
}

}  // namespace
