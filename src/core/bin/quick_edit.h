#pragma once
// Quick edit: the bin table as a logging grid. In a focused text cell Left and Right step the
// value (numbers and letter sequences), both together reset it to "1", Up and Down move along
// the column carrying the value into an empty cell, Tab moves along the row's editable columns
// and Return goes to the next row at the column the run started in. Pure: the caller hands in
// the rows, the time and the key, and applies what comes back.
#include "bin/bin_row.h"

#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QUuid>
#include <optional>

namespace QuickEdit {

// Both arrows within this many seconds of each other reset the cell.
constexpr double kResetWindow = 0.25;

enum class Key { Left, Right, Up, Down, Tab, Return, Other };

// The screen's quick-edit state; it lives as long as the bin screen.
struct State {
    std::optional<QString> focusedCellKey;
    std::optional<QString> startCol;
    std::optional<double> lastLeftAt;  // seconds on the caller's clock
    std::optional<double> lastRightAt;
};

// A value to write into one cell, through the bin's cell commit (one undo step per cell run).
struct Commit {
    QUuid rowId;
    QString column;
    QString text;
};

struct Outcome {
    bool handled = false;  // consumed; an ignored key goes on to the text field
    std::optional<Commit> commit;
};

// What the table is made of, beyond its rows.
struct Columns {
    QStringList fieldColumnIds;     // the field columns in table order
    QSet<QString> checkboxColumns;  // custom column names shown as checkboxes
};

// The row id in upper-case 8-4-4-4-12 form, a vertical bar and the column key.
QString cellFocusKey(const QUuid& id, const QString& column);
// The row id and column key of a focus key; none when it is not one.
std::optional<std::pair<QUuid, QString>> parseCellFocusKey(const QString& key);

// The row's Tab order: "name", "date", then its editable text field columns in table order.
QStringList editableKeys(const BinRow& row, const Columns& columns);

// One key press in the cell (rowId, column). Focus moves land in state.focusedCellKey.
Outcome handleKey(State& state, Key key, bool shift, double now, bool quickEditMode, const QList<BinRow>& rows,
                  const QUuid& rowId, const QString& column, const Columns& columns);

}  // namespace QuickEdit
