#include "bin/quick_edit.h"
#include "bin_support.h"

#include <gtest/gtest.h>

namespace {
using QuickEdit::Key;

BinRow rowOf(MetaKind kind, const QString& name)
{
    BinRow row;
    row.id = QUuid::createUuid();
    row.url = "/media/" + name;
    row.name = name;
    row.kind = kind;
    row.fields.kind = kind;
    return row;
}

// A table of rows and the quick-edit state, with every commit applied to the rows.
struct Grid {
    QList<BinRow> rows;
    QuickEdit::State state;
    QuickEdit::Columns columns{binFieldKeys(), {"Circle"}};
    bool mode = true;

    QuickEdit::Outcome press(int row, const QString& column, Key key, double at = 0, bool shift = false)
    {
        auto out = QuickEdit::handleKey(state, key, shift, at, mode, rows, rows[row].id, column, columns);
        if (out.commit)
            for (BinRow& r : rows)
                if (r.id == out.commit->rowId)
                    r.setValue(out.commit->text, out.commit->column);
        return out;
    }
    QString focus(int row, const QString& column) const { return QuickEdit::cellFocusKey(rows[row].id, column); }
};

TEST(QuickEditKeys, ArrowsStepNumbersAndLettersAndPassOtherTexts)
{
    struct Case {
        QString text;
        Key key;
        bool handled;
        QString after;
    };
    const QList<Case> cases = {
        {"7", Key::Right, true, "8"},           {"1", Key::Left, true, "1"},   {"C", Key::Left, true, "B"},
        {"Z", Key::Right, true, "AA"},          {"07", Key::Right, true, "8"}, {"Take 3", Key::Right, false, "Take 3"},
        {"Take 3", Key::Left, false, "Take 3"}, {"", Key::Left, true, "1"},
    };
    for (const Case& c : cases) {
        Grid g;
        g.rows = {rowOf(MetaKind::image, "a.jpg")};
        g.rows[0].setValue(c.text, "custom:Take");
        const auto out = g.press(0, "custom:Take", c.key);
        EXPECT_EQ(out.handled, c.handled) << c.text.toStdString();
        EXPECT_EQ(g.rows[0].value("custom:Take"), c.after) << c.text.toStdString();
    }
}

TEST(QuickEditKeys, BothArrowsWithinAQuarterSecondResetToOne)
{
    Grid g;
    g.rows = {rowOf(MetaKind::video, "a.mov")};
    g.rows[0].setValue("5", "custom:Take");
    g.press(0, "custom:Take", Key::Right, 100.0);
    EXPECT_EQ(g.rows[0].value("custom:Take"), "6");
    g.press(0, "custom:Take", Key::Left, 100.2);
    EXPECT_EQ(g.rows[0].value("custom:Take"), "1");
    EXPECT_FALSE(g.state.lastLeftAt || g.state.lastRightAt);
    g.press(0, "custom:Take", Key::Right, 100.4);  // the reset cleared both times: a step again
    EXPECT_EQ(g.rows[0].value("custom:Take"), "2");
    g.press(0, "custom:Take", Key::Right, 100.5);  // same arrow twice never resets
    EXPECT_EQ(g.rows[0].value("custom:Take"), "3");
    g.press(0, "custom:Take", Key::Left, 100.75);  // exactly the window apart: a step
    EXPECT_EQ(g.rows[0].value("custom:Take"), "2");

    // The time counts also when the text cannot step, and a reset writes "1" over anything.
    g.rows[0].setValue("Take A", "custom:Take");
    EXPECT_FALSE(g.press(0, "custom:Take", Key::Left, 200.0).handled);
    EXPECT_TRUE(g.press(0, "custom:Take", Key::Right, 200.1).handled);
    EXPECT_EQ(g.rows[0].value("custom:Take"), "1");
    g.press(0, "name", Key::Left, 300.0);
    g.press(0, "name", Key::Right, 300.1);
    EXPECT_EQ(g.rows[0].pendingName, "1");
}

TEST(QuickEditKeys, UpAndDownMoveAlongTheColumnCarryingIntoEmptyCells)
{
    Grid g;
    g.rows = {rowOf(MetaKind::image, "a.jpg"), rowOf(MetaKind::image, "b.jpg"), rowOf(MetaKind::image, "c.jpg")};
    g.rows[0].setValue("A", "custom:Cam");
    g.rows[2].setValue("C", "custom:Cam");
    auto out = g.press(0, "custom:Cam", Key::Down);
    EXPECT_TRUE(out.handled);
    EXPECT_EQ(g.rows[1].value("custom:Cam"), "A");
    EXPECT_EQ(g.state.focusedCellKey, g.focus(1, "custom:Cam"));
    EXPECT_EQ(g.state.startCol, "custom:Cam");
    out = g.press(1, "custom:Cam", Key::Down);  // a filled cell keeps its value
    EXPECT_FALSE(out.commit);
    EXPECT_EQ(g.rows[2].value("custom:Cam"), "C");
    g.rows[0].setValue("", "custom:Cam");
    out = g.press(1, "custom:Cam", Key::Up);  // carries upwards too
    EXPECT_EQ(g.rows[0].value("custom:Cam"), "A");

    // The edges consume the key and change nothing.
    for (auto [row, key] : {std::pair{0, Key::Up}, std::pair{2, Key::Down}}) {
        g.state.focusedCellKey = g.focus(row, "title");
        out = g.press(row, "title", key);
        EXPECT_TRUE(out.handled);
        EXPECT_FALSE(out.commit);
        EXPECT_EQ(g.state.focusedCellKey, g.focus(row, "title"));
    }
}

TEST(QuickEditKeys, TabOrderFollowsTheRowKind)
{
    const QuickEdit::Columns columns{binFieldKeys() + QStringList{"custom:Scene", "custom:Circle"}, {"Circle"}};
    const QStringList custom = {"custom:Scene"};
    EXPECT_EQ(QuickEdit::editableKeys(rowOf(MetaKind::image, "a.jpg"), columns),
              QStringList({"name", "date", "clipname", "online", "title", "author", "extra", "ext", "city", "country",
                           "gps", "keywords"})
                  + custom);
    EXPECT_EQ(QuickEdit::editableKeys(rowOf(MetaKind::video, "a.mov"), columns),
              QStringList({"name", "date", "clipname", "online", "title", "author", "ext"}) + custom);
    EXPECT_EQ(QuickEdit::editableKeys(rowOf(MetaKind::pdf, "a.pdf"), columns),
              QStringList({"name", "date", "clipname", "online", "title", "author", "extra", "ext", "keywords"})
                  + custom);
    EXPECT_EQ(QuickEdit::editableKeys(rowOf(MetaKind::unsupported, "a.txt"), columns),
              QStringList({"name", "date", "clipname", "online", "ext"}) + custom);
}

TEST(QuickEditKeys, TabStopsAtTheEndsAndReturnGoesBackToTheStartColumn)
{
    Grid g;
    g.rows = {rowOf(MetaKind::image, "a.jpg"), rowOf(MetaKind::image, "b.jpg"), rowOf(MetaKind::unsupported, "c.txt")};
    g.press(0, "name", Key::Tab);
    EXPECT_EQ(g.state.focusedCellKey, g.focus(0, "date"));
    g.state.focusedCellKey = g.focus(0, "name");
    EXPECT_TRUE(g.press(0, "name", Key::Tab, 0, true).handled);  // Shift-Tab on the first key
    EXPECT_EQ(g.state.focusedCellKey, g.focus(0, "name"));
    g.state.focusedCellKey = g.focus(0, "keywords");
    EXPECT_TRUE(g.press(0, "keywords", Key::Tab).handled);  // Tab on the last key
    EXPECT_EQ(g.state.focusedCellKey, g.focus(0, "keywords"));
    EXPECT_FALSE(g.press(2, "city", Key::Tab).handled);  // not in the row's order

    // Tapped Title, Tab twice, Return: the next row's Title, or where Return was pressed.
    g.state.startCol = "title";
    g.press(0, "title", Key::Tab);
    g.press(0, "author", Key::Tab);
    EXPECT_EQ(g.state.focusedCellKey, g.focus(0, "extra"));
    g.press(0, "extra", Key::Return);
    EXPECT_EQ(g.state.focusedCellKey, g.focus(1, "title"));
    g.press(1, "extra", Key::Return);
    EXPECT_EQ(g.state.focusedCellKey, g.focus(2, "extra"));
    EXPECT_EQ(g.state.startCol, "title");
    EXPECT_TRUE(g.press(2, "name", Key::Return).handled);  // the last row
    EXPECT_EQ(g.state.focusedCellKey, g.focus(2, "extra"));
    g.state.startCol.reset();
    g.press(0, "author", Key::Return);
    EXPECT_EQ(g.state.focusedCellKey, g.focus(1, "author"));
}

TEST(QuickEditKeys, IgnoredWhenOffForOtherKeysAndForMissingRows)
{
    Grid g;
    g.rows = {rowOf(MetaKind::image, "a.jpg"), rowOf(MetaKind::image, "b.jpg")};
    g.rows[0].setValue("3", "custom:Take");
    g.mode = false;
    for (Key key : {Key::Left, Key::Right, Key::Up, Key::Down, Key::Tab, Key::Return})
        EXPECT_FALSE(g.press(0, "custom:Take", key).handled);
    EXPECT_EQ(g.rows[0].value("custom:Take"), "3");
    EXPECT_FALSE(g.state.lastLeftAt || g.state.focusedCellKey);
    g.mode = true;
    EXPECT_FALSE(g.press(0, "custom:Take", Key::Other).handled);
    QuickEdit::State state;
    EXPECT_FALSE(
        QuickEdit::handleKey(state, Key::Right, false, 0, true, g.rows, QUuid::createUuid(), "custom:Take", g.columns)
            .handled);
}

TEST(QuickEditKeys, FocusKeysAreUpperCaseIdsAndAColumn)
{
    const QUuid id = QUuid::fromString(QStringLiteral("{0f1e2d3c-4b5a-6978-8796-a5b4c3d2e1f0}"));
    EXPECT_EQ(QuickEdit::cellFocusKey(id, "custom:Scene"), "0F1E2D3C-4B5A-6978-8796-A5B4C3D2E1F0|custom:Scene");
    EXPECT_EQ(QuickEdit::parseCellFocusKey(QuickEdit::cellFocusKey(id, "a|b")), std::make_pair(id, QString("a|b")));
    EXPECT_FALSE(QuickEdit::parseCellFocusKey("nothing|name"));
}

// Steps go through the bin's cell commit: a carried value and the steps after it are one undo
// step, because the cell they land in is the last one edited.
TEST(QuickEditKeys, CarriedValueAndItsStepsAreOneUndoStep)
{
    BinFixture f;
    f.list({"a.jpg", "b.jpg"});
    f.bin().onAppear();
    f.settle();
    f.bin().commitFieldEdit("A", f.row(0).id, "custom:Cam");
    QuickEdit::State state;
    const QuickEdit::Columns columns{QStringList{"custom:Cam"}, {}};
    const auto press = [&](int row, Key key, double at) {
        const auto out = QuickEdit::handleKey(state, key, false, at, true, f.bin().rows(), f.row(row).id, "custom:Cam",
                                              columns);
        if (out.commit)
            f.bin().commitFieldEdit(out.commit->text, out.commit->rowId, out.commit->column);
    };
    press(0, Key::Down, 0);
    EXPECT_EQ(f.bin().metaHistory().size(), 2);
    press(1, Key::Right, 1);
    press(1, Key::Right, 2);
    EXPECT_EQ(f.row(1).value("custom:Cam"), "C");
    EXPECT_EQ(f.draft(f.row(1).id).custom.value("Cam"), "C");
    EXPECT_EQ(f.bin().metaHistory().size(), 2);
    f.bin().undoMetaEdit();
    EXPECT_EQ(f.row(1).value("custom:Cam"), "");
    EXPECT_EQ(f.row(0).value("custom:Cam"), "A");
}

}  // namespace
