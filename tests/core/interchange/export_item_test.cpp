#include "bin/bin_row.h"
#include "bin/parse_flag.h"
#include "interchange/export_item.h"
#include "interchange_support.h"

TEST(ExportValue, BuiltInKeysReadTheFieldOfTheItemsKind)
{
    ExportItem image = stillItem(QStringLiteral("photo.final.JPG"));
    image.f.caption = "cap";
    image.f.title = "ttl";
    image.f.byline = "by";
    image.f.copyright = "(c)";
    image.f.subject = "subj";
    ExportItem pdf = image;
    pdf.f.kind = MetaKind::pdf;
    ExportItem video = image;
    video.f.kind = MetaKind::video;
    video.f.desc = "desc";
    video.f.durSec = 12.345;
    video.f.fps = 29.97;
    video.f.vidW = 1920;
    video.f.vidH = 1080;
    ExportItem other = stillItem(QStringLiteral("notes"), MetaKind::unsupported);
    other.f.vidW = 1920;
    struct Case {
        const ExportItem& item;
        const char* key;
        const char* value;
    } cases[] = {
        {image, "ext", "JPG"},      {other, "ext", ""},          {image, "kind", "image"},
        {other, "kind", ""},        {image, "title", "cap"},     {pdf, "title", "ttl"},
        {image, "author", "by"},    {video, "desc", "desc"},     {pdf, "desc", "cap"},
        {pdf, "copyright", "subj"}, {video, "copyright", "(c)"}, {video, "duration", "12.35"},
        {image, "duration", ""},    {video, "fps", "29.97"},     {video, "resolution", "1920x1080"},
        {other, "resolution", ""},  {video, "Title", ""},        {video, "clipname", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Exporter::value(QString::fromLatin1(c.key), c.item), QString::fromUtf8(c.value)) << c.key;
}

TEST(ExportValue, DateIsThePosixTextInLocalTime)
{
    ExportItem item = stillItem(QStringLiteral("a.jpg"));
    EXPECT_EQ(Exporter::value(QStringLiteral("date"), item), QString());
    item.f.date = QDateTime(QDate(2024, 5, 1), QTime(9, 30, 5));
    EXPECT_EQ(Exporter::value(QStringLiteral("date"), item), QStringLiteral("2024-05-01 09:30:05"));
}

TEST(ExportItemFromRow, OfflineRowsGetAPathThatNeverDependsOnTheWorkingFolder)
{
    BinRow row;
    row.name = "A001.mov";
    row.pendingName = "renamed.mov";
    MetaFields resolved;
    resolved.clipName = "expanded";
    ExportItem item = ExportItem::fromRow(row, resolved);
    EXPECT_EQ(item.name, QStringLiteral("A001.mov"));
    EXPECT_EQ(item.url, QStringLiteral("/A001.mov"));
    EXPECT_EQ(item.f.clipName, QStringLiteral("expanded"));
    row.fields.custom.insert(QStringLiteral("Source Path"), QStringLiteral("/cards/A/A001.mov"));
    EXPECT_EQ(ExportItem::fromRow(row, resolved).url, QStringLiteral("/cards/A/A001.mov"));
    row.url = QStringLiteral("/shoot/A001.mov");
    EXPECT_EQ(ExportItem::fromRow(row, resolved).url, QStringLiteral("/shoot/A001.mov"));
}

TEST(ParseFlag, FalseOnlyForTheNoWords)
{
    const std::pair<const char*, bool> cases[] = {
        {"", false},   {"0", false}, {"false", false}, {"NO", false},   {"  Off\t ", false}, {"\u3000no", false},
        {"yes", true}, {"1", true},  {"x", true},      {"off\n", true}, {"TRUE", true},      {"nope", true},
    };
    for (const auto& [text, flag] : cases)
        EXPECT_EQ(parseFlag(QString::fromUtf8(text)), flag) << text;
}
