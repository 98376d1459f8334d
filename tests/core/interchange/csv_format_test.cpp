#include "interchange/csv_format.h"
#include "interchange_support.h"

using Exporter::CSVFieldMap;

namespace {

ImportedTable table(QStringList header, QList<QStringList> rows)
{
    return {std::move(header), std::move(rows)};
}

QList<ExportItem> sampleItems()
{
    ExportItem a = videoItem(QStringLiteral("A001_C002.mov"), 25, 10,
                             {{"Scene", "12A"}, {"Take", "3"}, {"Note", "a,b"}});
    a.f.clipName = QStringLiteral("say \"hi\"\nnow");
    a.f.desc = QStringLiteral(" leading blank");
    ExportItem b = stillItem(QStringLiteral("外景_日落.jpg"));
    b.f.caption = QStringLiteral("夕阳\r\n海边\ttab\x07");
    b.f.custom = {{"Note", "line\rbreak"}, {"备注", "中文, 逗号"}};
    return {a, b};
}

}  // namespace

TEST(CsvWriter, QuotesOnlyWhatNeedsIt)
{
    ExportItem item = stillItem(QStringLiteral("x.jpg"));
    item.f.custom = {{"v", ""}};
    const QList<CSVFieldMap> columns{{"custom:v", "value"}};
    const std::pair<const char*, const char*> cases[] = {
        {"a,b", "\"a,b\""},
        {"say \"hi\"", "\"say \"\"hi\"\"\""},
        {"two\nlines", "\"two\nlines\""},
        {"cr\ronly", "\"cr\ronly\""},
        {" lead", " lead"},
        {"", ""},
    };
    for (const auto& [value, written] : cases) {
        item.f.custom["v"] = QString::fromUtf8(value);
        EXPECT_EQ(Exporter::csv({item}, columns), QStringLiteral("value\n") + QString::fromUtf8(written) + "\n")
            << value;
    }
}

TEST(CsvWriter, HeadersAreQuotedLikeValues)
{
    const QList<CSVFieldMap> columns{{"name", "Name, full"}, {"kind", "Kind"}};
    const QString text = Exporter::csv({stillItem(QStringLiteral("a.jpg"))}, columns);
    EXPECT_EQ(text, QStringLiteral("\"Name, full\",Kind\na.jpg,image\n"));
    EXPECT_EQ(Exporter::importCSV(text), table({"Name, full", "Kind"}, {{"a.jpg", "image"}}));
}

TEST(CsvWriter, AutomaticColumnsAddCustomNamesInCodePointOrder)
{
    ExportItem one = stillItem(QStringLiteral("1.jpg")), two = stillItem(QStringLiteral("2.jpg"));
    one.f.custom = {{"b", "x"}, {"A", ""}, {"\U0001F3AC", ""}};
    two.f.custom = {{"a", "y"}, {"\uFF21", ""}};
    const QList<CSVFieldMap> fields = Exporter::defaultCSVFields({"A", "a", "b", "\uFF21", "\U0001F3AC"});
    EXPECT_EQ(Exporter::importCSV(Exporter::csv({one, two}, std::nullopt)).header,
              QStringList({"File Name", "Clip Name",   "Extension",   "Kind",       "Date",    "Title",
                           "Author",    "Description", "Copyright",   "Keywords",   "Subject", "City",
                           "Country",   "GPS",         "Duration(s)", "Resolution", "FPS",     "A",
                           "a",         "b",           "\uFF21",      "\U0001F3AC"}));
    EXPECT_EQ(fields[17], (CSVFieldMap{"custom:A", "A"}));
    EXPECT_EQ(fields[0], (CSVFieldMap{"name", "File Name"}));
}

TEST(CsvWriter, MappedColumnsAndEmptyMap)
{
    ExportItem item = stillItem(QStringLiteral("a.jpg"));
    item.f.custom = {{"", "nameless"}};
    EXPECT_EQ(Exporter::csv({item}, QList<CSVFieldMap>{{"custom:Missing", "M"}, {"custom:", "E"}, {"bogus", "B"}}),
              QStringLiteral("M,E,B\n,nameless,\n"));
    EXPECT_EQ(Exporter::csv({item, item}, QList<CSVFieldMap>{}), QStringLiteral("\n\n\n"));
}

TEST(CsvWriter, PythonCsvReadsTheSameCellsAsOurReader)
{
    const QString text = Exporter::csv(sampleItems(), std::nullopt);
    const std::optional<ImportedTable> python = pythonCsvTable(text);
    if (!python)
        GTEST_SKIP() << "python3 is not installed";
    const ImportedTable ours = Exporter::importCSV(text);
    EXPECT_EQ(ours, *python);
    ASSERT_EQ(ours.rows.size(), 2);
    EXPECT_EQ(ours.rows[0][1], QStringLiteral("say \"hi\"\nnow"));
    EXPECT_EQ(ours.rows[1][0], QStringLiteral("外景_日落.jpg"));
    EXPECT_EQ(ours.rows[1][5], QStringLiteral("夕阳\r\n海边\ttab\x07"));
    EXPECT_EQ(ours.rows[1][ours.header.indexOf("备注")], QStringLiteral("中文, 逗号"));
    EXPECT_EQ(ours.rows[1][ours.header.indexOf("Note")], QStringLiteral("line\rbreak"));
}

TEST(CsvReader, Table)
{
    struct Case {
        const char* text;
        ImportedTable expected;
    };
    const Case cases[] = {
        {"a,b\r\nc,d", table({"a", "b"}, {{"c", "d"}})},
        {"a,b\rc,d", table({"a", "b"}, {{"c", "d"}})},
        {"a,b\rc,d\r", table({"a", "b"}, {{"c", "d"}})},
        {"a,\"x\ry\"\rc", table({"a", "x\ry"}, {{"c"}})},
        {"x\n\n\ny", table({"x"}, {{"y"}})},
        {"x\ny\n", table({"x"}, {{"y"}})},
        {"h\n,\n", table({"h"}, {{"", ""}})},
        {"a,\"b\nc\",d", table({"a", "b\nc", "d"}, {})},
        {"ab\"c,d\"e", table({"abc,de"}, {})},
        {"\"q\"\"q\"", table({"q\"q"}, {})},
        {"", table({}, {})},
        {"\n\n", table({}, {})},
        {"\xEF\xBB\xBFName,Kind\nx,y", table({"Name", "Kind"}, {{"x", "y"}})},
        {"\xEF\xBB\xBF\xEF\xBB\xBFName", table({"\uFEFFName"}, {})},
        {" a , b ", table({" a ", " b "}, {})},
        {"a,b\nc", table({"a", "b"}, {{"c"}})},
        {"名,\u0301x", table({"名", "\u0301x"}, {})},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Exporter::importCSV(QString::fromUtf8(c.text)), c.expected) << c.text;
}

TEST(CsvRoundTrip, WrittenItemsReadBackCellForCell)
{
    const QList<ExportItem> items = sampleItems();
    const QList<CSVFieldMap> columns{{"name", "File Name"},
                                     {"clipName", "Clip, Name"},
                                     {"custom:Note", "Note"},
                                     {"desc", "Description"}};
    const ImportedTable back = Exporter::importCSV(Exporter::csv(items, columns));
    EXPECT_EQ(back, table({"File Name", "Clip, Name", "Note", "Description"},
                          {{"A001_C002.mov", "say \"hi\"\nnow", "a,b", " leading blank"},
                           {"外景_日落.jpg", "", "line\rbreak", "夕阳\r\n海边\ttab\x07"}}));
}
