#include "bin/bin_import.h"
#include "bin_support.h"
#include "interchange/ale_format.h"
#include "interchange/csv_format.h"
#include "interchange/fcp7_xml_format.h"
#include "interchange/fcpxml_format.h"

#include <gtest/gtest.h>

namespace {

// A read bin of files named as given; imports come from real files in the test folder.
struct ImportFixture : BinFixture {
    QList<FileItem> items;
    explicit ImportFixture(const QStringList& names)
    {
        items = list(names);
        bin().onAppear();
        settle();
    }
    void importBytes(const QByteArray& bytes, const QString& format = "csv")
    {
        BinImport::importFile(*store, env.makeFile("import." + format, bytes), format);
    }
    QStringList column(const QString& key)
    {
        QStringList out;
        for (const BinRow& r : bin().rows())
            out.append(r.value(key));
        return out;
    }
};

QString importedStatus(bool zh, const QString& name, int filled, int added)
{
    return zh ? QString::fromUtf8("已导入 %1 —— 填充 %2 个,新增 %3 个离线行。用 Relink 关联文件。")
                    .arg(name)
                    .arg(filled)
                    .arg(added)
              : QString::fromUtf8("Imported %1 — filled %2, added %3 offline row(s). Use Relink to link files.")
                    .arg(name)
                    .arg(filled)
                    .arg(added);
}

TEST(BinImport, AFileThatGivesNoUsableTableChangesNothingAndSaysWhy)
{
    struct Case {
        const char* what;
        QByteArray bytes;  // empty with `unreadable`: no file at all
        QString format;
        bool unreadable;
        const char* en;
        const char* zh;
    };
    const QList<Case> cases = {
        {"empty csv", "", "csv", false, "CSV: couldn't parse this file — check it's a valid CSV export.",
         "CSV:无法解析该文件 —— 请确认它是有效的 CSV 导出文件。"},
        {"broken xml7", "<xmeml><bin", "xml7", false, "XML: couldn't parse this file — check it's a valid XML export.",
         "XML:无法解析该文件 —— 请确认它是有效的 XML 导出文件。"},
        {"file name with a leading blank", " File Name,Title\nc.mov,T\n", "csv", false,
         "CSV: no \"File Name\" column found.", "CSV:未找到「File Name」列。"},
        {"no table in an ale", "just words\n", "ale", false,
         "ALE: couldn't parse this file — check it's a valid ALE export.",
         "ALE:无法解析该文件 —— 请确认它是有效的 ALE 导出文件。"},
        {"unreadable", "", "fcpxml", true, "Couldn't read the file.", "无法读取该文件。"},
    };
    for (const bool zh : {false, true})
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.what) + (zh ? " zh" : " en"));
            ImportFixture f({"c.mov"});
            f.store->setLangZh(zh);
            const QList<BinRow> rows = f.bin().rows();
            const QStringList customCols = f.bin().customCols();
            if (c.unreadable)
                BinImport::importFile(*f.store, f.env.path("missing.fcpxml"), c.format);
            else
                f.importBytes(c.bytes, c.format);
            EXPECT_EQ(f.store->status(), QString::fromUtf8(zh ? c.zh : c.en));
            EXPECT_EQ(f.bin().rows(), rows);
            EXPECT_EQ(f.bin().customCols(), customCols);
            EXPECT_TRUE(f.bin().metaHistory().isEmpty());
        }
}

TEST(BinImport, ColumnsAreMappedIgnoredOrMadeCustomAndWrittenWhereTheKindHoldsThem)
{
    ImportFixture f({"a.jpg", "c.mov", "d.pdf"});
    f.bin().setCustomCols({"Mood"});
    f.bin().commitFieldEdit("2020-01-02 03:04:05", f.items[1].id, "date");
    const QByteArray csv = "Name,FILE NAME,Creation Date,Ext,Title,City,Keywords,Duration,FPS,Kind,Resolution,"
                           "Start,End,Tracks,Source File,File Name,scene,MOOD,Weather,format\n"
                           "clipA,a.jpg,2024-05-01 10:00:00,jpg,,Berlin,k1,9,25,x,x,x,x,x,x,x,12,calm,sun,F\n"
                           "clipC,c.mov,,MOV,T,Paris,kw,9,25,x,x,x,x,x,x,x,13\n"
                           "clipD,d.pdf,2024-01-01 00:00:00,,P,Rome,pk\n"
                           "clipN,new.mov,,,N\n"
                           "clipX,notes,,,X,,,,,,,,,,,,,,rain\n"
                           "again,\t new.mov \t\n"
                           "short\n"
                           "blank, \t\n";
    f.importBytes(csv);
    EXPECT_EQ(f.store->status(), importedStatus(false, "CSV", 4, 2));

    EXPECT_EQ(f.column("name"), (QStringList{"a.jpg", "c.mov", "d.pdf", "new.mov", "notes"}));
    EXPECT_EQ(f.bin().customCols(), (QStringList{"Mood", "Scene", "Weather", "Format"}));
    struct Cell {
        const char* key;
        QStringList values;  // a.jpg, c.mov, d.pdf, new.mov, notes
    };
    const QList<Cell> cells = {
        {"clipname", {"clipA", "clipC", "clipD", "again", "clipX"}},
        {"date", {"2024-05-01 10:00:00", "", "", "", ""}},  // cleared on the video, never on a pdf
        {"ext", {"jpg", "MOV", "pdf", "mov", ""}},          // "jpg" equals the file's: no change
        {"title", {"", "T", "P", "N", ""}},                 // empty clears; notes holds no title
        {"city", {"Berlin", "", "", "", ""}},               // images only
        {"keywords", {"k1", "", "pk", "", ""}},             // images and pdfs
        {"custom:Scene", {"12", "13", "", "", ""}},
        {"custom:Mood", {"calm", "", "", "", ""}},
        {"custom:Weather", {"sun", "", "", "", "rain"}},
        {"custom:Format", {"F", "fmt", "fmt", "", ""}},
    };
    for (const Cell& c : cells)
        EXPECT_EQ(f.column(c.key), c.values) << c.key;
    EXPECT_FALSE(f.row(0).newExt.has_value());
    EXPECT_FALSE(f.row(0).fields.custom.contains("Duration"));
    EXPECT_EQ(f.row(3).kind, MetaKind::video);
    EXPECT_EQ(f.row(4).kind, MetaKind::unsupported);
    EXPECT_TRUE(f.row(3).isOffline());
    EXPECT_TRUE(f.row(4).isOffline());
}

TEST(BinImport, AnExactNameIsMatchedBeforeAnEarlierOneThatDiffersInCase)
{
    ImportFixture f({"A001.MOV", "a001.mov", "B.mov"});
    f.importBytes("File Name,Title\na001.mov,exact\nb.MOV,caseless\nA001.mov,first caseless\n");
    EXPECT_EQ(f.column("title"), (QStringList{"first caseless", "exact", "caseless"}));
    EXPECT_EQ(f.store->status(), importedStatus(false, "CSV", 3, 0));
}

TEST(BinImport, TextThatIsNotUtf8IsReadAsLatin1)
{
    const QList<QPair<QByteArray, QString>> cases = {
        {"File Name,Title\nc.mov,caf\xe9\n", QString::fromUtf8("café")},
        {"File Name,Title\nc.mov,caf\xc3\xa9\n", QString::fromUtf8("café")},
        {"\xef\xbb\xbf"
         "File Name,Title\nc.mov,\xe4\xb8\xad\n",
         QString::fromUtf8("中")},
    };
    for (const auto& [bytes, title] : cases) {
        ImportFixture f({"c.mov"});
        f.importBytes(bytes);
        EXPECT_EQ(f.row(0).fields.title, title) << bytes.toStdString();
    }
}

TEST(BinImport, EveryReaderFeedsTheMergeUnderItsName)
{
    const QList<QPair<QString, QString>> formats = {{"csv", "CSV"},
                                                    {"ale", "ALE"},
                                                    {"fcpxml", "FCPXML"},
                                                    {"xml7", "XML"}};
    for (const auto& [format, name] : formats) {
        ImportFixture f({"c.mov"});
        f.store->setLangZh(format == "ale");
        QList<ExportItem> items = {ExportItem::fromRow(f.row(0), f.row(0).fields)};
        items[0].f.durSec = 2;
        items[0].f.fps = 25;
        const QString text = format == "csv"    ? Exporter::csv(items, std::nullopt)
                           : format == "ale"    ? Exporter::ale(items)
                           : format == "fcpxml" ? Exporter::fcpxml(items)
                                                : Exporter::fcp7XML(items);
        f.importBytes(text.toUtf8(), format);
        EXPECT_EQ(f.store->status(), importedStatus(format == "ale", name, 1, 0)) << format.toStdString();
    }
}

TEST(BinImport, AMergeIsOneUndoableEditKeptAsDraftsAcrossModes)
{
    ImportFixture f({"a.jpg", "c.mov"});
    const QList<BinRow> before = f.bin().rows();
    const qsizetype snapshots = f.bin().metaHistory().size();
    f.importBytes("File Name,Title,Scene\na.jpg,Sunset,1\nc.mov,Pier,2\nnew.mov,Gone,3\n");
    EXPECT_EQ(f.bin().metaHistory().size(), snapshots + 1);
    EXPECT_EQ(f.store->unsavedMetaItems(), 2);
    EXPECT_EQ(f.draft(f.items[0].id).caption, "Sunset");

    f.bin().onDisappear();
    f.bin().onAppear();
    EXPECT_EQ(f.column("title"), (QStringList{"Sunset", "Pier", "Gone"}));
    EXPECT_EQ(f.column("custom:Scene"), (QStringList{"1", "2", "3"}));

    f.bin().undoMetaEdit();
    EXPECT_EQ(f.bin().rows(), before);
    EXPECT_EQ(f.store->unsavedMetaItems(), 0);
    EXPECT_EQ(f.draft(f.items[1].id), before[1].fields);
}

}  // namespace
