#include "quick_edit.h"

#include "bin/letter_sequence.h"

namespace QuickEdit {
namespace {
const QString kCustom = QStringLiteral("custom:");

int indexOf(const QList<BinRow>& rows, const QUuid& id)
{
    for (int i = 0; i < rows.size(); ++i)
        if (rows[i].id == id)
            return i;
    return -1;
}

Outcome stepOrReset(State& state, bool left, double now, const BinRow& row, const QString& column)
{
    std::optional<double>& mine = left ? state.lastLeftAt : state.lastRightAt;
    const std::optional<double> other = left ? state.lastRightAt : state.lastLeftAt;
    mine = now;
    if (other && now - *other < kResetWindow) {
        state.lastLeftAt.reset();
        state.lastRightAt.reset();
        return {true, Commit{row.id, column, QStringLiteral("1")}};
    }
    const std::optional<QString> stepped = LetterSequence::step(row.value(column), left ? -1 : 1);
    if (!stepped)
        return {};
    return {true, Commit{row.id, column, *stepped}};
}

Outcome moveVertically(State& state, int target, const QList<BinRow>& rows, const BinRow& row, const QString& column)
{
    if (target < 0 || target >= rows.size())
        return {true, std::nullopt};
    const BinRow& next = rows[target];
    Outcome out{true, std::nullopt};
    const QString current = row.value(column);
    if (next.value(column).isEmpty() && !current.isEmpty())
        out.commit = Commit{next.id, column, current};
    state.startCol = column;
    state.focusedCellKey = cellFocusKey(next.id, column);
    return out;
}
}  // namespace

QString cellFocusKey(const QUuid& id, const QString& column)
{
    return id.toString(QUuid::WithoutBraces).toUpper() + u'|' + column;
}

std::optional<std::pair<QUuid, QString>> parseCellFocusKey(const QString& key)
{
    const qsizetype bar = key.indexOf(u'|');
    if (bar < 0)
        return std::nullopt;
    const QUuid id = QUuid::fromString(QStringView(key).left(bar));
    if (id.isNull())
        return std::nullopt;
    return std::make_pair(id, key.mid(bar + 1));
}

QStringList editableKeys(const BinRow& row, const Columns& columns)
{
    QStringList keys = {QStringLiteral("name"), QStringLiteral("date")};
    for (const QString& key : columns.fieldColumnIds) {
        if (!row.isEditable(key))
            continue;
        if (key.startsWith(kCustom) && columns.checkboxColumns.contains(key.mid(kCustom.size())))
            continue;
        keys.append(key);
    }
    return keys;
}

Outcome handleKey(State& state, Key key, bool shift, double now, bool quickEditMode, const QList<BinRow>& rows,
                  const QUuid& rowId, const QString& column, const Columns& columns)
{
    if (!quickEditMode)
        return {};
    const int i = indexOf(rows, rowId);
    if (i < 0)
        return {};
    const BinRow& row = rows[i];
    switch (key) {
    case Key::Left:
    case Key::Right: return stepOrReset(state, key == Key::Left, now, row, column);
    case Key::Up:
    case Key::Down: return moveVertically(state, key == Key::Up ? i - 1 : i + 1, rows, row, column);
    case Key::Tab: {
        const QStringList keys = editableKeys(row, columns);
        const qsizetype at = keys.indexOf(column);
        if (at < 0)
            return {};
        const qsizetype to = at + (shift ? -1 : 1);
        if (to >= 0 && to < keys.size())
            state.focusedCellKey = cellFocusKey(row.id, keys[to]);
        return {true, std::nullopt};
    }
    case Key::Return: {
        if (i + 1 >= rows.size())
            return {true, std::nullopt};
        const BinRow& next = rows[i + 1];
        const QString start = state.startCol.value_or(column);
        const QString target = editableKeys(next, columns).contains(start) ? start : column;
        state.focusedCellKey = cellFocusKey(next.id, target);
        return {true, std::nullopt};
    }
    case Key::Other: break;
    }
    return {};
}

}  // namespace QuickEdit
