// Duplicates by fingerprint on real files: marks, selection, numbering, undo, Stop.
#include "bin/bin_duplicates.h"
#include "bin/file_fingerprint.h"
#include "bin_support.h"
#include "platform/lang.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

QString u8(const char* s)
{
    return QString::fromUtf8(s);
}

const QByteArray kHead(int(fingerprintBytes), 'h');

struct DupFixture : BinFixture {
    // Files with the given contents, listed and shown in this order.
    QList<FileItem> files(const QList<QPair<QString, QByteArray>>& named)
    {
        QList<FileItem> added;
        for (const auto& [name, content] : named)
            added.append(FileItem::file(env.makeFile(name, content)));
        store->editItems([&added](QList<FileItem>& items) { items.append(added); });
        bin().onAppear();
        settle();
        return added;
    }
    bool find()
    {
        return runTool(bin().duplicates(), [this] { bin().duplicates().findDuplicates(); });
    }
    QStringList marks()
    {
        QStringList out;
        for (const BinRow& r : bin().rows())
            out.append(r.value("custom:Duplicate"));
        return out;
    }
    QSet<QUuid> ids(const QList<int>& rows)
    {
        QSet<QUuid> out;
        for (int i : rows)
            out.insert(row(i).id);
        return out;
    }
};

TEST(FileFingerprint, SizeAndDigestOfTheFirst512KiB)
{
    TestEnv env;
    const QString fifo = env.path("pipe");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    // A FIFO is never opened for reading: the scan cannot hang on it.
    EXPECT_EQ(fileFingerprint(fifo), std::nullopt);
    EXPECT_EQ(fileFingerprint(env.path("missing")), std::nullopt);
    EXPECT_EQ(fileFingerprint(env.path()), std::nullopt);
    EXPECT_EQ(fileFingerprint(env.makeFile("abc", "abc")),
              "3-ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    EXPECT_EQ(fileFingerprint(env.makeFile("empty", "")),
              "0-e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
    // Only the first 512 KiB are read: the size tells longer files apart, the tail does not.
    const auto big = fileFingerprint(env.makeFile("big1", kHead + "tail-one"));
    ASSERT_TRUE(big);
    EXPECT_TRUE(big->startsWith(QString::number(fingerprintBytes + 8) + "-"));
    EXPECT_EQ(fileFingerprint(env.makeFile("big2", kHead + "tail-two")), big);
    EXPECT_NE(fileFingerprint(env.makeFile("big3", kHead + "tail-three")), big);
    EXPECT_NE(fileFingerprint(env.makeFile("big4", "x" + kHead.mid(1) + "tail-one")), big);
}

TEST(BinDuplicates, MarksGroupsInTableOrderAndSelectsAllButTheFirst)
{
    DupFixture f;
    f.files({{"e1.txt", ""},
             {"a.bin", kHead + "AAAA"},
             {"c.bin", "unique"},
             {"b.bin", kHead + "BBBB"},  // same size and first 512 KiB as a.bin
             {"e2.txt", ""},
             {"s.bin", kHead + "AAAAA"},  // same start, other size
             {"d.bin", kHead + "AAAA"}});
    QList<BinRow> rows = f.bin().rows();
    rows.insert(2, BinFixture::offlineRow("a.bin"));
    rows[3].setValue("old mark", "custom:Duplicate");  // c.bin: in no group, keeps its cell
    f.bin().setRows(rows);
    const qsizetype snapshots = f.bin().metaHistory().size();
    bool sawBusy = false;
    QObject::connect(&f.bin(), &BinController::busyChanged, [&] { sawBusy |= f.bin().busy(); });

    ASSERT_TRUE(f.find());
    EXPECT_TRUE(sawBusy);
    EXPECT_FALSE(f.bin().busy());
    EXPECT_EQ(f.marks(), (QStringList{"original #1", "original #2", "", "old mark", "dup #2", "dup #1", "", "dup #2"}));
    EXPECT_EQ(f.bin().selection(), f.ids({4, 5, 7}));
    EXPECT_TRUE(f.bin().customCols().contains("Duplicate"));
    EXPECT_EQ(f.store->status(),
              u8("Found 3 duplicate(s) in 2 group(s). Duplicates selected — press Delete to remove."));
    // The marks are edits like any other: drafted, and one undo step.
    EXPECT_EQ(f.draft(f.row(7).id).custom.value("Duplicate"), "dup #2");
    EXPECT_EQ(f.bin().metaHistory().size(), snapshots + 1);
    f.bin().undoMetaEdit();
    EXPECT_EQ(f.marks(), (QStringList{"", "", "", "old mark", "", "", "", ""}));
    EXPECT_EQ(f.draft(f.row(7).id).custom.value("Duplicate"), "");

    f.store->setLangZh(true);
    ASSERT_TRUE(f.find());
    EXPECT_EQ(f.store->status(), u8("发现 3 个重复(2 组)。重复项已选中,按 Delete 删除。"));
    f.store->setLangZh(false);
}

TEST(BinDuplicates, NoDuplicatesStillAddsTheColumnAndEmptiesTheSelection)
{
    for (bool zh : {false, true}) {
        DupFixture f;
        f.files({{"a.txt", "a"}, {"b.txt", "b"}});
        f.bin().setSelection(f.ids({0}));
        f.store->setLangZh(zh);
        ASSERT_TRUE(f.find());
        EXPECT_EQ(f.bin().customCols(), QStringList{"Duplicate"});
        EXPECT_TRUE(f.bin().selection().isEmpty());
        EXPECT_TRUE(f.bin().metaHistory().isEmpty());
        EXPECT_EQ(f.store->status(), zh ? u8("未发现重复文件。") : "No duplicates found.");
        f.store->setLangZh(false);
    }
}

TEST(BinDuplicates, StopEndsTheScanWithoutMarking)
{
    DupFixture f;
    QList<QPair<QString, QByteArray>> named;
    for (int i = 0; i < 400; ++i)
        named.append({QString("f%1.bin").arg(i), "same"});
    f.files(named);
    f.bin().setSelection(f.ids({0}));
    ASSERT_TRUE(runTool(f.bin().duplicates(), [&] {
        f.bin().duplicates().findDuplicates();
        f.bin().setStopRequested(true);  // the Stop button, while the worker is still reading
    }));
    EXPECT_FALSE(f.bin().busy());
    EXPECT_EQ(f.marks(), QStringList(400, QString()));
    EXPECT_EQ(f.bin().selection(), f.ids({0}));
    EXPECT_EQ(f.store->status(), "Stopped. No duplicates were marked.");
}

}  // namespace
