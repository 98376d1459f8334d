// The rows the preview marks are exactly the rows Apply leaves where they are, on a real folder.
#include "files/rename_decision.h"
#include "files/renamer.h"
#include "files_fixture.h"
#include "model/name_preview.h"

#include <unistd.h>

namespace {

const char* const kSameName = "another file in the list would get the same name";
const char* const kExists = "a file with this name already exists in the folder";

struct AgreeCase {
    const char* what;
    QList<std::pair<QString, QString>> listed;  // file name, new stem ("" keeps the name)
    QStringList others;                         // files outside the list; "h.txt=a.txt": a hard link to a.txt
    QList<std::pair<QString, QString>> marked;  // listed file the preview marks, and why
};

}  // namespace

class PreviewAndApply : public FilesTest {
protected:
    // Lists the case's files in a folder of their own, with `fillers` more renames beside them
    // (enough of them make the preview read the folder whole instead of looking up each name).
    QList<FileItem> setUp(const AgreeCase& c, const QString& folder, int fillers)
    {
        dir(folder);
        QList<FileItem> items;
        auto list = [&](const QString& name, const QString& stem) {
            file(folder + '/' + name);
            FileItem item = FileItem::file(work(folder + '/' + name));
            if (!stem.isEmpty())
                item.aiName = stem;
            items << item;
        };
        for (const auto& [name, stem] : c.listed)
            list(name, stem);
        for (int i = 0; i < fillers; ++i)
            list(QStringLiteral("f%1.dat").arg(i), QStringLiteral("g%1").arg(i));
        for (const QString& other : c.others) {
            const QStringList link = other.split('=');
            if (link.size() == 1)
                file(folder + '/' + other);
            else
                EXPECT_EQ(::link(QFile::encodeName(work(folder + '/' + link[1])).constData(),
                                 QFile::encodeName(work(folder + '/' + link[0])).constData()),
                          0);
        }
        store->setItems(items);
        store->editSections([](NameSections& s) { s.useAIName = true; });
        return items;
    }
};

TEST_F(PreviewAndApply, ApplySkipsExactlyTheRowsThePreviewMarks)
{
    const QList<AgreeCase> cases = {
        {"a target left only in another letter case",
         {{"X.txt", "Y"}, {"a.txt", "x"}},
         {"x.txt"},
         {{"a.txt", kExists}}},
        {"new names differing only in case",
         {{"a.txt", "N"}, {"b.txt", "n"}, {"c.txt", "d"}},
         {},
         {{"a.txt", kSameName}, {"b.txt", kSameName}}},
        {"a listed name that stays, in another case", {{"a.txt", "B"}, {"b.txt", ""}}, {}, {{"a.txt", kExists}}},
        {"a change of case only", {{"clip.mov", "Clip"}}, {}, {}},
        {"a change of case onto a separate file", {{"clip.mov", "Clip"}}, {"Clip.mov"}, {{"clip.mov", kExists}}},
        {"a hard link to the same file", {{"a.txt", "h"}}, {"h.txt=a.txt"}, {{"a.txt", kExists}}},
        {"a hard link differing only in case", {{"a.txt", "A"}}, {"A.txt=a.txt"}, {{"a.txt", kExists}}},
        {"a swap", {{"a.txt", "b"}, {"b.txt", "a"}}, {}, {}},
        {"a chain ending at an unlisted file",
         {{"a.txt", "b"}, {"b.txt", "x"}},
         {"x.txt"},
         {{"a.txt", kExists}, {"b.txt", kExists}}},
        {"a chain through a duplicate",
         {{"c.txt", "a"}, {"a.txt", "z"}, {"b.txt", "Z"}},
         {},
         {{"c.txt", kExists}, {"a.txt", kSameName}, {"b.txt", kSameName}}},
        {"a chain onto an invalid name",
         {{"c.txt", "a"}, {"a.txt", "x/y"}},
         {},
         {{"c.txt", kExists}, {"a.txt", "“/” isn't allowed in a file name"}}},
    };
    int folders = 0;
    for (const AgreeCase& c : cases) {
        for (const int fillers : {0, 70}) {
            SCOPED_TRACE(QStringLiteral("%1, %2 more renames").arg(c.what).arg(fillers).toStdString());
            const QString folder = QStringLiteral("case%1").arg(++folders);
            const QList<FileItem> items = setUp(c, folder, fillers);
            QList<QString> newNames;
            for (int i = 0; i < items.size(); ++i)
                newNames << store->preview().newName(items[i], i, {});

            const NamePreview::ConflictResult preview = store->preview().conflictReasons({});
            QList<std::pair<QString, QString>> marked;
            for (const FileItem& f : items)
                if (preview.reasons.contains(f.id))
                    marked << std::pair{f.name, preview.reasons.value(f.id)};
            EXPECT_EQ(marked, c.marked);

            store->renamer().applyInScope({});
            QStringList skipped;
            int renamed = 0;
            for (int i = 0; i < items.size(); ++i) {
                if (newNames[i] == items[i].name)
                    continue;
                const bool moved = item(items[i].id).name == newNames[i];
                if (moved)
                    ++renamed;
                else
                    skipped << items[i].name;
                EXPECT_EQ(content(folder + '/' + (moved ? newNames[i] : items[i].name)), folder + '/' + items[i].name);
            }
            QStringList markedNames;
            for (const auto& m : std::as_const(marked))
                markedNames << m.first;
            EXPECT_EQ(skipped, markedNames);
            EXPECT_EQ(renamed, preview.willRename);
        }
    }
}

// A target is the listed file's folder, exactly as the list spells it, joined with the new name.
TEST(Decision, TargetsAreTheFilesFolderWithTheNewName)
{
    const QList<std::pair<QString, QString>> cases = {
        {"/t/a.mov", "/t/b.mov"},
        {"/a.mov", "/b.mov"},
        {"/T/Sub/a.mov", "/T/Sub/b.mov"},
        {"/t/Été/a.mov", "/t/Été/b.mov"},
    };
    for (const int fillers : {0, 9000}) {
        QList<RenameCandidate> rows;
        for (const auto& [path, target] : cases)
            rows << RenameCandidate{path, PathText::lastComponent(path), QStringLiteral("b.mov")};
        for (int i = 0; i < fillers; ++i)
            rows << RenameCandidate{QStringLiteral("/f/F%1.dat").arg(i), QStringLiteral("F%1.dat").arg(i),
                                    QStringLiteral("g%1.dat").arg(i)};
        const RenameDecision d = decideRenames(rows, [](const QString&, const QList<Move>& moves) {
            return QList<bool>(moves.size(), false);
        });
        for (qsizetype i = 0; i < cases.size(); ++i)
            EXPECT_EQ(d.targets.at(i), cases[i].second) << fillers;
    }
}

namespace {

struct VerdictCase {
    const char* what;
    QList<std::pair<QString, QString>> rows;  // listed path, new name ("" keeps the name)
    QStringList onDisk;                       // paths held on the disk by files outside the list
    QList<RenameVerdict> verdicts;
};

}  // namespace

// Collisions are found by folder and name, the folder's and the name's letter case aside, on
// short lists and on lists long enough to be worked out on several threads.
TEST(Decision, CollisionsAreFoundWhateverTheListsLength)
{
    using V = RenameVerdict;
    const QList<VerdictCase> cases = {
        {"folders differing only in case",
         {{"/t/X/a.mov", "b.mov"}, {"/t/x/c.mov", "b.mov"}},
         {},
         {V::duplicate, V::duplicate}},
        {"accented names differing only in case",
         {{"/t/a.mov", "Été.mov"}, {"/t/b.mov", "été.mov"}},
         {},
         {V::duplicate, V::duplicate}},
        {"names of different length", {{"/t/a.mov", "ab"}, {"/t/b.mov", "AbC"}}, {}, {V::rename, V::rename}},
        {"a staying name in another case",
         {{"/t/Keep.mov", ""}, {"/t/z.mov", "keep.mov"}},
         {},
         {V::unchanged, V::heldInList}},
        {"a staying accented name", {{"/t/Ä.mov", ""}, {"/t/q.mov", "ä.mov"}}, {}, {V::unchanged, V::heldInList}},
        {"a staying name in another folder",
         {{"/u/keep.mov", ""}, {"/t/z.mov", "keep.mov"}},
         {},
         {V::unchanged, V::rename}},
        {"a swap", {{"/t/a.mov", "b.mov"}, {"/t/b.mov", "a.mov"}}, {"/t/a.mov", "/t/b.mov"}, {V::rename, V::rename}},
        {"a place left in another case only",
         {{"/t/a.mov", "B.mov"}, {"/t/b.mov", "c.mov"}},
         {"/t/B.mov"},
         {V::taken, V::rename}},
        {"a chain onto a taken name",
         {{"/t/a.mov", "b.mov"}, {"/t/b.mov", "c.mov"}},
         {"/t/b.mov", "/t/c.mov"},
         {V::taken, V::taken}},
        {"the root folder", {{"/a.mov", "b.mov"}, {"/B.mov", ""}}, {}, {V::heldInList, V::unchanged}},
        {"a doubled slash", {{"/t//a.mov", "b.mov"}, {"/t/B.mov", ""}}, {}, {V::heldInList, V::unchanged}},
        {"a path without a folder", {{"a.mov", "b.mov"}, {"./B.mov", ""}}, {}, {V::heldInList, V::unchanged}},
        {"an invalid name", {{"/t/a.mov", "x/y"}, {"/t/b.mov", ".hidden"}}, {}, {V::invalid, V::invalid}},
    };
    for (const VerdictCase& c : cases) {
        for (const int fillers : {0, 9000}) {
            SCOPED_TRACE(QStringLiteral("%1, %2 more rows").arg(c.what).arg(fillers).toStdString());
            QList<RenameCandidate> rows;
            for (const auto& [path, name] : c.rows) {
                const QString current = path.mid(path.lastIndexOf('/') + 1);
                rows << RenameCandidate{path, current, name.isEmpty() ? current : name};
            }
            for (int i = 0; i < fillers; ++i)
                rows << RenameCandidate{QStringLiteral("/f/F%1.dat").arg(i), QStringLiteral("F%1.dat").arg(i),
                                        QStringLiteral("g%1.dat").arg(i)};
            const QSet<QString> disk(c.onDisk.cbegin(), c.onDisk.cend());
            const RenameDecision d = decideRenames(rows, [&disk](const QString&, const QList<Move>& moves) {
                QList<bool> held;
                for (const Move& m : moves)
                    held << disk.contains(m.to);
                return held;
            });
            EXPECT_EQ(d.verdicts.mid(0, c.rows.size()), c.verdicts);
            EXPECT_EQ(d.willRename, int(std::count(c.verdicts.cbegin(), c.verdicts.cend(), V::rename)) + fillers);
            for (qsizetype i = c.rows.size(); i < rows.size(); i += 997)
                EXPECT_EQ(d.targets.at(i), "/f/" + rows.at(i).proposed);
        }
    }
}
