#pragma once
// The bin table's sort: a list of columns, the first deciding and each later one only breaking
// ties. Texts compare the way the file manager lists names (digits by value, case ignored); the
// Kind column goes image, PDF, video, unsupported; a formula column sorts by its formula text.
#include "bin/bin_row.h"

#include <QList>
#include <QString>
#include <functional>

struct BinSortKey {
    QString column;  // "name", "kind", "info", "date" or a field column key
    bool ascending = true;
    bool operator==(const BinSortKey&) const = default;
};

// Stable: rows equal on every key keep their order.
void sortBinRows(QList<BinRow>& rows, const QList<BinSortKey>& order);

// The same order as a comparison of two rows (for sorting again after rows were added).
std::function<bool(const BinRow&, const BinRow&)> binRowLess(const QList<BinSortKey>& order);
