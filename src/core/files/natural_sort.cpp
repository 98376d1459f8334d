#include "natural_sort.h"

#include <QLocale>
#include <algorithm>
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
    const QCollator collator = naturalCollator();
    std::vector<QCollatorSortKey> keys;
    keys.reserve(texts.size());
    for (const QString& t : texts)
        keys.push_back(collator.sortKey(t));
    QList<int> order(texts.size());
    for (int i = 0; i < order.size(); ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return keys[size_t(a)].compare(keys[size_t(b)]) < 0; });
    return order;
}
