#include "bin/letter_sequence.h"

#include <gtest/gtest.h>
#include <limits>

namespace {

TEST(LetterSequence, ValuesAndLettersAreBijectiveBase26)
{
    struct Case {
        const char* letters;
        qint64 value;
    } cases[] = {{"A", 1}, {"Z", 26}, {"AA", 27}, {"AZ", 52}, {"BA", 53}, {"ZZ", 702}, {"AAA", 703}};
    for (const Case& c : cases) {
        EXPECT_EQ(LetterSequence::value(c.letters), c.value) << c.letters;
        EXPECT_EQ(LetterSequence::value(QString(c.letters).toLower()), c.value) << c.letters;
        EXPECT_EQ(LetterSequence::letters(c.value, false), c.letters);
    }
    EXPECT_EQ(LetterSequence::letters(703, true), "aaa");
    EXPECT_EQ(LetterSequence::letters(0, false), "");
    EXPECT_EQ(LetterSequence::letters(-5, false), "");
    const qint64 max = std::numeric_limits<qint64>::max();
    EXPECT_EQ(LetterSequence::value(LetterSequence::letters(max, false)), max);
    EXPECT_EQ(LetterSequence::value("ZZZZZZZZZZZZ"), 26 * (qint64(95428956661682176) - 1) / 25);
}

TEST(LetterSequence, LettersOnlyMeansAsciiLetters)
{
    EXPECT_TRUE(LetterSequence::isLettersOnly("AbZ"));
    for (const char* text : {"", "A1", "A B",
                             "\xC3\x89"
                             "A",
                             "A-"})
        EXPECT_FALSE(LetterSequence::isLettersOnly(QString::fromUtf8(text))) << text;
}

TEST(LetterSequence, StepsNumbersAndLettersNeverBelowOne)
{
    const QString max = QString::number(std::numeric_limits<qint64>::max());
    const QString min = QString::number(std::numeric_limits<qint64>::min());
    struct Case {
        QString text;
        qint64 delta;
        std::optional<QString> result;
    } cases[] = {
        {"7", 1, "8"},
        {"007", 1, "8"},
        {"+4", -1, "3"},
        {"0", -1, "1"},
        {"-5", 1, "1"},
        {" 9 ", 1, "10"},
        {"\t9\t", 1, "10"},
        {"", 1, "1"},
        {"", -1, "1"},
        {"   ", -1, "1"},
        {"", 5, "5"},
        {"A", -1, "A"},
        {"AA", -1, "Z"},
        {"Z", 1, "AA"},
        {"zz", 1, "aaa"},
        {"Ab", 1, "AC"},
        {"aB", 1, "ac"},
        {"ZZ", 2, "AAB"},
        {" b ", 1, "c"},
        {"1.5", 1, std::nullopt},
        {"A1", 1, std::nullopt},
        {QString::fromUtf8("\xC3\x89t"), 1, std::nullopt},
        {"ABCDEFGHIJKLM", 1, std::nullopt},
        {"ABCDEFGHIJKL", 1, "ABCDEFGHIJKM"},
        {"+", 1, std::nullopt},
        {"9\n", 1, std::nullopt},
        {max, 1, max},
        {max, -1, QString::number(std::numeric_limits<qint64>::max() - 1)},
        {min, -1, min},
        {min, 1, "1"},
        {"99999999999999999999", 1, std::nullopt},
        {"ZZZZZZZZZZZZ", 1, "AAAAAAAAAAAAA"},
        {"a", std::numeric_limits<qint64>::min(), "a"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(LetterSequence::step(c.text, c.delta), c.result) << c.text.toStdString() << " by " << c.delta;
}

}  // namespace
