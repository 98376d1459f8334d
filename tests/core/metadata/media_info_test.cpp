#include "metadata/media_info.h"
#include "test_support.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

constexpr quint32 fcc(const char (&s)[5])
{
    return quint32(quint8(s[0])) << 24 | quint32(quint8(s[1])) << 16 | quint32(quint8(s[2])) << 8 | quint8(s[3]);
}

TEST(MediaInfoTest, CodecNames)
{
    const struct {
        quint32 code;
        const char* name;
    } video[] = {
        {fcc("avc1"), "H.264"},          {fcc("hev1"), "HEVC"},        {fcc("apco"), "ProRes 422 Proxy"},
        {fcc("ap4x"), "ProRes 4444 XQ"}, {fcc("mjpb"), "Motion JPEG"}, {fcc("dvh "), "dvh"},
        {fcc(" \t  "), "\u2014"},        {0x20202020, "\u2014"},       {fcc("abcd"), "abcd"},
        {0x8e616263, "\u00e9abc"},  // Mac OS Roman 0x8E
    };
    for (const auto& c : video)
        EXPECT_EQ(MediaInfo::videoCodecName(c.code), QString::fromUtf8(c.name)) << c.name;

    const struct {
        quint32 code;
        const char* name;
    } audio[] = {
        {fcc(".mp3"), "MP3"}, {fcc("aac "), "AAC"},  {fcc("aacp"), "AAC"},  {fcc("ec-3"), "E-AC-3"},
        {fcc("lpcm"), "PCM"}, {fcc("opus"), "Opus"}, {fcc("sowt"), "sowt"}, {fcc("    "), "\u2014"},
    };
    for (const auto& c : audio)
        EXPECT_EQ(MediaInfo::audioCodecName(c.code), QString::fromUtf8(c.name)) << c.name;
}

TEST(MediaInfoTest, ColourAndChannelNames)
{
    const std::pair<const char*, const char*> primaries[] = {
        {"ITU_R_709_2", "Rec.709"}, {"ITU_R_2020_709", "Rec.2020"},
        {"P3_D65", "Display P3"},   {"ITU_R_2100", "Display P3"},
        {"EBU_3213", "Rec.601"},    {"SMPTE_C", "Rec.601"},
        {"film", "film"},
    };
    for (const auto& [in, out] : primaries)
        EXPECT_EQ(MediaInfo::colorPrimariesName(in), out) << in;
    const std::pair<const char*, const char*> transfers[] = {
        {"SMPTE_ST_2084_PQ", "PQ (HDR10)"}, {"xpqx", "PQ (HDR10)"},
        {"ITU_R_2100_HLG", "HLG (HDR)"},    {"hlg", "hlg"},
        {"ITU_R_709_2", "Rec.709"},         {"IEC_sRGB", "sRGB"},
        {"ITU_R_2020", "Rec.2020"},         {"Linear", "Linear"},
    };
    for (const auto& [in, out] : transfers)
        EXPECT_EQ(MediaInfo::transferFunctionName(in), out) << in;

    const struct {
        qint64 n;
        const char* en;
        const char* zh;
    } channels[] = {
        {0, "0", "0"}, {1, "1 (Mono)", "1 (单声道)"}, {2, "2 (Stereo)", "2 (立体声)"},
        {4, "4", "4"}, {6, "6 (5.1)", "6 (5.1)"},     {8, "8 (7.1)", "8 (7.1)"},
    };
    for (const auto& c : channels) {
        EXPECT_EQ(MediaInfo::channelLayoutName(c.n, false), QString::fromUtf8(c.en));
        EXPECT_EQ(MediaInfo::channelLayoutName(c.n, true), QString::fromUtf8(c.zh));
    }
}

TEST(MediaInfoTest, MxfEssenceCodingNames)
{
    const std::pair<const char*, const char*> labels[] = {
        {"060e2b34040101 0a04010202 0132 00", "AVC-Intra"},
        {"060e2b34040101 0a04010202 0131 00", "AVC / H.264"},
        {"060e2b34040101 0a04010202 0104 00", "MPEG-2"},
        {"060e2b34040101 0a04010202 02", "MXF"},  // too short
        {"060e2b34040101 0a04010202 0200", "DV"},
        {"060e2b34040101 0a04010202 0300", "JPEG 2000"},
        {"060e2b34040101 0a04010202 0600", "Uncompressed"},
        {"060e2b34040101 0a04010202 7100", "Apple ProRes"},
        {"060e2b34040101 0a04010202 5500", "MXF video"},
        {"060e2b34040101 0a04010203 0100", "MXF"},
        {"", "MXF"},
    };
    for (const auto& [hex, name] : labels)
        EXPECT_EQ(MediaInfo::mxfCodecName(QByteArray::fromHex(QByteArray(hex).replace(' ', ""))), name) << hex;
}

TEST(MediaInfoTest, FormatNamesAndSizes)
{
    EXPECT_EQ(MediaInfo::formatName("R3D"), "REDCODE RAW");
    EXPECT_EQ(MediaInfo::formatName("x-ocn"), "Sony X-OCN");
    EXPECT_EQ(MediaInfo::formatName("m2t"), "AVCHD / MPEG-TS");
    for (const char* none : {"mov", "mp4", "jpg", ""})
        EXPECT_FALSE(MediaInfo::formatName(none)) << none;
    const std::pair<qint64, const char*> sizes[] = {
        {0, "0 bytes"},          {1, "1 byte"},
        {999, "999 bytes"},      {1000, "1 KB"},
        {1499, "1 KB"},          {999499, "999 KB"},
        {999500, "1 MB"},        {1500000, "1.5 MB"},
        {2254000000, "2.25 GB"}, {std::numeric_limits<qint64>::max(), "9.22 EB"},
    };
    for (const auto& [bytes, text] : sizes)
        EXPECT_EQ(MediaInfo::fileSizeText(bytes), text) << bytes;
}

TEST(MediaInfoTest, TechnicalColumnsAddFileFactsAndKeepAReadersFormat)
{
    TestEnv env;
    const QString raw = env.makeFile("card/A001.braw", QByteArray(1500, 'x'));
    MetaFields f;
    MediaInfo::technicalColumns(f, raw);
    EXPECT_EQ(f.custom.value("Source Path"), raw);
    EXPECT_EQ(f.custom.value("Folder Path"), env.path("card"));
    EXPECT_EQ(f.custom.value("File Size"), "2 KB");
    EXPECT_EQ(f.custom.value("Format"), "Blackmagic RAW");
    EXPECT_EQ(f.custom.value("Codec"), "Blackmagic RAW");
    const QRegularExpression dateShape("^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d$");
    EXPECT_TRUE(dateShape.match(f.custom.value("Date Modified")).hasMatch());
    EXPECT_FALSE(f.custom.contains("Duration TC"));

    MetaFields mts;
    mts.custom.insert("Codec", "H.264");
    mts.custom.insert("File Size", "stale");
    mts.durSec = 10;
    MediaInfo::technicalColumns(mts, env.makeFile("B.MTS"));
    EXPECT_EQ(mts.custom.value("Codec"), "H.264");
    EXPECT_EQ(mts.custom.value("Format"), "AVCHD / MPEG-TS");
    EXPECT_EQ(mts.custom.value("File Size"), "1 byte");
    EXPECT_EQ(mts.custom.value("Duration TC"), "00:00:10:00");

    MetaFields gone;
    MediaInfo::technicalColumns(gone, env.path("vanished.mov"));
    EXPECT_EQ(gone.custom.keys(), QStringList({"Folder Path", "Source Path"}));
}

}  // namespace
