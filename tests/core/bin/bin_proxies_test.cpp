// Pairing rows with proxy files on real folders.
#include "bin/bin_proxies.h"
#include "bin_support.h"

#include <gtest/gtest.h>

namespace {

QString u8(const char* s)
{
    return QString::fromUtf8(s);
}

struct ProxyFixture : BinFixture {
    ProxyFixture()
    {
        QList<FileItem> items;
        for (const char* name : {"card/A001.MOV", "card/A001.R3D", "card/clip.v2.mov", "card/B002.mxf"})
            items.append(FileItem::file(env.makeFile(name)));
        for (const char* name : {"proxies/a001.mp4", "proxies/clip.v2.mp4", "proxies/clip.mp4", "proxies/sub/b002.mp4"})
            env.makeFile(name);
        store->editItems([&items](QList<FileItem>& all) { all.append(items); });
        bin().onAppear();
        settle();
    }
    QStringList column(const QString& key)
    {
        QStringList out;
        for (const BinRow& r : bin().rows())
            out.append(r.value(key));
        return out;
    }
};

TEST(ProxyMatchKey, DropsOnlyTheLastExtensionAndIgnoresCase)
{
    EXPECT_EQ(proxyMatchKey("A001.R3D"), "a001");
    EXPECT_EQ(proxyMatchKey("Clip.V2.mov"), "clip.v2");
    EXPECT_EQ(proxyMatchKey("NOEXT"), "noext");
}

TEST(BinProxies, PairsRowsByBaseNameAsOneUndoStep)
{
    ProxyFixture f;
    QList<BinRow> rows = f.bin().rows();
    rows.append(BinFixture::offlineRow("a001.wav"));  // offline rows pair too
    f.bin().setRows(rows);
    f.bin().proxies().pairProxies({f.env.path("proxies")});
    const QString a = f.env.path("proxies/a001.mp4");
    EXPECT_EQ(f.column("custom:Proxy"), (QStringList{"a001.mp4", "a001.mp4", "clip.v2.mp4", "", "a001.mp4"}));
    EXPECT_EQ(f.column("custom:Proxy Path"), (QStringList{a, a, f.env.path("proxies/clip.v2.mp4"), "", a}));
    EXPECT_EQ(f.bin().customCols(), (QStringList{"Proxy", "Proxy Path"}));
    EXPECT_EQ(f.store->status(), "Paired 4 proxy file(s).");
    EXPECT_EQ(f.draft(f.row(2).id).custom.value("Proxy"), "clip.v2.mp4");
    ASSERT_EQ(f.bin().metaHistory().size(), 1);
    f.bin().undoMetaEdit();
    EXPECT_EQ(f.column("custom:Proxy"), QStringList(5, QString()));
}

TEST(BinProxies, AFileIsNeverItsOwnProxy)
{
    ProxyFixture f;
    f.store->setLangZh(true);
    // The camera folder itself: A001.R3D is met after A001.MOV and stands for both names.
    f.bin().proxies().pairProxies({f.env.path("card")});
    EXPECT_EQ(f.column("custom:Proxy"), (QStringList{"A001.R3D", "", "", ""}));
    EXPECT_EQ(f.store->status(), u8("已配对 1 个代理文件。"));
}

TEST(BinProxies, ChosenFilesAndEmptyChoices)
{
    ProxyFixture f;
    const QString status = f.store->status();
    f.bin().proxies().pairProxies({});  // the panel was cancelled
    EXPECT_TRUE(f.bin().customCols().isEmpty());
    EXPECT_EQ(f.store->status(), status);
    f.bin().proxies().pairProxies({f.env.path("proxies/sub")});
    EXPECT_EQ(f.bin().customCols(), (QStringList{"Proxy", "Proxy Path"}));
    EXPECT_EQ(f.column("custom:Proxy"), (QStringList{"", "", "", "b002.mp4"}));
    f.bin().proxies().pairProxies({f.env.path("proxies/clip.mp4")});
    EXPECT_EQ(f.store->status(), "Paired 0 proxy file(s).");
}

}  // namespace
