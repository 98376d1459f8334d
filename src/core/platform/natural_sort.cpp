#include "platform/natural_sort.h"

#include <QLocale>
#include <QtConcurrent/QtConcurrentMap>
#include <algorithm>
#include <optional>
#include <vector>

QCollator naturalCollator()
{
    QLocale locale;
    // The C locale ignores numeric ordering, so fall back to US English there.
    if (locale.language() == QLocale::C)
        locale = QLocale(QLocale::English, QLocale::UnitedStates);
    QCollator c(locale);
    c.setNumericMode(true);
    c.setCaseSensitivity(Qt::CaseInsensitive);
    return c;
}

QList<int> naturalOrder(const QStringList& texts)
{
    // Building the collation keys is the costly part of sorting a whole drive, so it is spread
    // over the thread pool in chunks, each with a collator of its own.
    constexpr qsizetype chunk = 4096;
    std::vector<std::optional<QCollatorSortKey>> keys(size_t(texts.size()));
    QList<qsizetype> starts;
    for (qsizetype s = 0; s < texts.size(); s += chunk)
        starts << s;
    const auto makeKeys = [&](qsizetype start) {
        const QCollator collator = naturalCollator();
        for (qsizetype i = start; i < std::min(start + chunk, texts.size()); ++i)
            keys[size_t(i)].emplace(collator.sortKey(texts[i]));
    };
    if (starts.size() > 1)
        QtConcurrent::blockingMap(starts, makeKeys);
    else
        for (qsizetype s : starts)
            makeKeys(s);
    QList<int> order(texts.size());
    for (int i = 0; i < order.size(); ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return keys[size_t(a)]->compare(*keys[size_t(b)]) < 0; });
    return order;
}
