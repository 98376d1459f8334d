#include "platform/natural_sort.h"

#include <QLocale>
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace {

// The order the collator alone gives, which the quicker byte keys must reproduce exactly.
QList<int> collatorOrder(const QStringList& texts)
{
    const QCollator collator = naturalCollator();
    QList<QCollatorSortKey> keys;
    for (const QString& t : texts)
        keys << collator.sortKey(t);
    QList<int> order(texts.size());
    for (int i = 0; i < order.size(); ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return keys[a].compare(keys[b]) < 0; });
    return order;
}

// Names dense in what orders differently: case, digits with leading zeros, punctuation next to
// digits, path separators, prefixes of each other.
QStringList awkwardNames(int count, unsigned seed)
{
    static const QString alphabet = QStringLiteral(" !\"#$%&'()*+,-./:;<=>?@[\\]^_`{|}~aAbBzZ0123456789");
    std::mt19937 random(seed);
    QStringList out;
    for (int i = 0; i < count; ++i) {
        QString t;
        const int length = int(random() % 7);
        for (int k = 0; k < length; ++k) {
            const unsigned pick = random() % 4;
            if (pick == 0)
                t += QString::number(random() % 1200).rightJustified(int(random() % 5), QLatin1Char('0'));
            else
                t += alphabet[int(random() % unsigned(alphabet.size()))];
        }
        out << t;
    }
    return out;
}

struct DefaultLocale {
    explicit DefaultLocale(const QLocale& l) { QLocale::setDefault(l); }
    ~DefaultLocale() { QLocale::setDefault(saved); }
    QLocale saved = QLocale();
};

}  // namespace

TEST(NaturalSort, ByteKeysGiveTheCollatorsOrderInEveryAllowedLocale)
{
    const QList<QLocale> locales = {QLocale::c(),
                                    QLocale(QLocale::English, QLocale::UnitedStates),
                                    QLocale(QLocale::Chinese, QLocale::China),
                                    QLocale(QLocale::German, QLocale::Germany),
                                    QLocale(QLocale::French, QLocale::France),
                                    QLocale(QLocale::Japanese, QLocale::Japan)};
    for (const QLocale& locale : locales) {
        const DefaultLocale scoped(locale);
        ASSERT_TRUE(NaturalAsciiKeys().usable()) << locale.name().toStdString();
        for (unsigned seed = 1; seed <= 3; ++seed) {
            const QStringList texts = awkwardNames(3000, seed);
            EXPECT_EQ(naturalOrder(texts), collatorOrder(texts)) << locale.name().toStdString() << " seed " << seed;
        }
    }
}

TEST(NaturalSort, TextsTheKeysCannotOrderTakeTheCollator)
{
    // Danish orders "aa" as one letter after "z": no per-character keys there.
    {
        const DefaultLocale scoped(QLocale(QLocale::Danish, QLocale::Denmark));
        EXPECT_FALSE(NaturalAsciiKeys().usable());
        const QStringList texts = {"aa", "z", "ab"};
        EXPECT_EQ(naturalOrder(texts), collatorOrder(texts));
    }
    const DefaultLocale scoped(QLocale(QLocale::English, QLocale::UnitedStates));
    const QStringList mixed = {"é2",         "e10",    "E1",       "f",
                               "ä",          "a\t1",   "a1",       QString(300, QLatin1Char('7')),
                               "7",          "影片10", "影片9",    "影片09",
                               "写真2",      "Ábc",    "abc",      "ABD",
                               "a01b",       "a1B",    "a001b2",   "z",
                               "shot_0010",  "shot_9", "Shot_009", "クリップ1",
                               "クリップ01", "ñ3",     "n10"};
    EXPECT_EQ(naturalOrder(mixed), collatorOrder(mixed));
    std::string key;
    EXPECT_FALSE(NaturalAsciiKeys().append(key, u"é"));
    EXPECT_FALSE(NaturalAsciiKeys().append(key, u"a\tb"));
    // Equal to the collator, equal keys: the stable sort keeps their given order.
    EXPECT_EQ(naturalOrder({"b", "shot_01", "Shot_1", "a"}), (QList<int>{3, 0, 1, 2}));
}
