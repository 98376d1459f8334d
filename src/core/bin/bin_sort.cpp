#include "bin_sort.h"

#include "platform/natural_sort.h"

#include <algorithm>
#include <numeric>
#include <vector>

namespace {
QString sortText(const BinRow& row, const QString& column)
{
    if (column == QLatin1String("name"))
        return row.name;  // the stored name, not a pending one
    if (column == QLatin1String("info"))
        return row.infoText();
    if (column == QLatin1String("date"))
        return row.dateText();
    return row.value(column);
}

// Each row's place in the column's order; equal values share a rank.
std::vector<int> ranks(const QList<BinRow>& rows, const QString& column)
{
    const size_t n = size_t(rows.size());
    std::vector<int> rank(n);
    if (column == QLatin1String("kind")) {
        for (size_t i = 0; i < n; ++i)
            rank[i] = int(rows[qsizetype(i)].kind);
        return rank;
    }
    const QCollator collator = naturalCollator();
    std::vector<QCollatorSortKey> keys;
    keys.reserve(n);
    for (const BinRow& row : rows)
        keys.push_back(collator.sortKey(sortText(row, column)));
    std::vector<int> order(n);
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(), [&](int a, int b) { return keys[size_t(a)].compare(keys[size_t(b)]) < 0; });
    int r = 0;
    for (size_t k = 0; k < n; ++k) {
        if (k > 0 && keys[size_t(order[k - 1])].compare(keys[size_t(order[k])]) != 0)
            ++r;
        rank[size_t(order[k])] = r;
    }
    return rank;
}

int compareText(const QCollator& collator, const BinRow& a, const BinRow& b, const QString& column)
{
    if (column == QLatin1String("kind"))
        return int(a.kind) - int(b.kind);
    return collator.compare(sortText(a, column), sortText(b, column));
}
}  // namespace

void sortBinRows(QList<BinRow>& rows, const QList<BinSortKey>& order)
{
    if (order.isEmpty() || rows.size() < 2)
        return;
    std::vector<std::vector<int>> keyRanks;
    keyRanks.reserve(size_t(order.size()));
    for (const BinSortKey& key : order)
        keyRanks.push_back(ranks(rows, key.column));
    std::vector<int> perm(size_t(rows.size()));
    std::iota(perm.begin(), perm.end(), 0);
    std::stable_sort(perm.begin(), perm.end(), [&](int a, int b) {
        for (size_t k = 0; k < keyRanks.size(); ++k) {
            const int ra = keyRanks[k][size_t(a)], rb = keyRanks[k][size_t(b)];
            if (ra != rb)
                return order[qsizetype(k)].ascending ? ra < rb : ra > rb;
        }
        return false;
    });
    // In place, one cycle of the permutation at a time: no second table of rows.
    BinRow* data = rows.data();
    std::vector<bool> placed(perm.size());
    for (size_t start = 0; start < perm.size(); ++start) {
        if (placed[start] || size_t(perm[start]) == start)
            continue;
        BinRow held = std::move(data[start]);
        size_t k = start;
        for (;;) {
            placed[k] = true;
            const size_t from = size_t(perm[k]);
            if (from == start) {
                data[k] = std::move(held);
                break;
            }
            data[k] = std::move(data[from]);
            k = from;
        }
    }
}

std::function<bool(const BinRow&, const BinRow&)> binRowLess(const QList<BinSortKey>& order)
{
    if (order.isEmpty())
        return {};
    return [order, collator = naturalCollator()](const BinRow& a, const BinRow& b) {
        for (const BinSortKey& key : order) {
            const int c = compareText(collator, a, b, key.column);
            if (c != 0)
                return key.ascending ? c < 0 : c > 0;
        }
        return false;
    };
}
