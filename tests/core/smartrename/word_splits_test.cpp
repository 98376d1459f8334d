// Splitting run-together spot words: learned splits, the fewest-words rule, the caches and the
// real dictionary.
#include "smartrename/smart_rename_recognize.h"
#include "smartrename/word_checker.h"
#include "smartrename/word_splits.h"

#include <QAtomicInt>
#include <QtConcurrent/QtConcurrentMap>
#include <array>
#include <gtest/gtest.h>

using namespace SmartRename;

namespace {

// Counts how often the spell checker is asked, to show what the caches spare.
class CountingChecker : public WordListChecker {
public:
    using WordListChecker::WordListChecker;
    bool isWord(const QString& piece) override
    {
        calls.fetchAndAddRelaxed(1);
        return WordListChecker::isWord(piece);
    }
    QAtomicInt calls;
};

class WordSplits : public ::testing::Test {
protected:
    void SetUp() override
    {
        checker = std::make_shared<CountingChecker>(QStringList{"welcome", "back", "sun", "day", "sunday", "up", "on",
                                                                "upon", "immortal", "the", "long", "night", "spot",
                                                                "abc"});
        setSpellChecker(checker);
    }
    void TearDown() override { setSpellChecker(nullptr); }

    QStringList split(const QString& word, const QMap<QString, QStringList>& learned = {})
    {
        QStringList out{"before"};
        splitWords(word, learned, out);
        return out.mid(1);
    }

    std::shared_ptr<CountingChecker> checker;
};

TEST_F(WordSplits, FewestWordsKeepingTheWrittenCase)
{
    EXPECT_EQ(split("welcomeback"), QStringList({"welcome", "back"}));
    EXPECT_EQ(split("WELCOMEBACK"), QStringList({"WELCOME", "BACK"}));
    EXPECT_EQ(split("TheLongNight"), QStringList({"The", "Long", "Night"}));
    EXPECT_EQ(split("spot"), QStringList({"spot"}));
    EXPECT_EQ(split("sunday"), QStringList({"sunday"}));  // one word beats sun + day
    EXPECT_EQ(split("upon"), QStringList({"upon"}));
    EXPECT_EQ(split("uponup"), QStringList({"uponup"}));  // "up" is too short to be a piece
    EXPECT_EQ(split("Back2Back"), QStringList({"Back2Back"}));
    EXPECT_EQ(split("welcome-back  sunday-"), QStringList({"welcome", "back", "sunday"}));
    EXPECT_EQ(split("welcomebackx"), QStringList({"welcomebackx"}));
}

TEST_F(WordSplits, ShortWordsAndLearnedSplitsNeverReachTheChecker)
{
    EXPECT_EQ(split("abc"), QStringList({"abc"}));
    const QMap<QString, QStringList> learned{{"IMMORTAL", {"Im", "Mortal"}}};
    EXPECT_EQ(split("immortal", learned), QStringList({"Im", "Mortal"}));
    EXPECT_EQ(checker->calls.loadRelaxed(), 0);
    EXPECT_EQ(split("Welcome-IMMORTAL", learned), QStringList({"Welcome", "Im", "Mortal"}));
}

TEST_F(WordSplits, EachPieceAndWordIsComputedOnce)
{
    EXPECT_EQ(split("welcomeback"), QStringList({"welcome", "back"}));
    const int first = checker->calls.loadRelaxed();
    EXPECT_EQ(split("welcomeback"), QStringList({"welcome", "back"}));
    EXPECT_EQ(checker->calls.loadRelaxed(), first);
    // Another spelling of the same letters reuses every lower-case piece.
    EXPECT_EQ(split("WelcomeBack"), QStringList({"Welcome", "Back"}));
    EXPECT_EQ(checker->calls.loadRelaxed(), first);
    EXPECT_EQ(splitCacheSize(), 2);
}

// A pasted line may hold one enormous run of letters: no piece longer than any word is asked
// about, so the work grows with the length, not its square.
TEST_F(WordSplits, LongRunOfLettersStaysLinear)
{
    const QStringList vocabulary{"spot", "abc", "long", "night", "welcome"};
    QStringList expected;
    unsigned seed = 7;
    for (int i = 0; i < 400; ++i) {
        seed = seed * 1103515245u + 12345u;
        expected << vocabulary[int((seed >> 16) % unsigned(vocabulary.size()))];
    }
    const QString word = expected.join(QString());
    EXPECT_EQ(split(word), expected);
    EXPECT_LT(checker->calls.loadRelaxed(), 64 * word.size());
}

TEST_F(WordSplits, CachesEmptyAtTheLimit)
{
    // Distinct four-letter words, exactly enough to fill the split cache.
    QStringList out;
    qsizetype made = 0;
    for (char a = 'a'; a <= 'z' && made < wordCacheLimit; ++a)
        for (char b = 'a'; b <= 'z' && made < wordCacheLimit; ++b)
            for (char c = 'a'; c <= 'z' && made < wordCacheLimit; ++c)
                for (char d = 'a'; d <= 'z' && made < wordCacheLimit; ++d, ++made)
                    splitWords(QString::fromLatin1(std::array{a, b, c, d}), {}, out);
    EXPECT_EQ(splitCacheSize(), wordCacheLimit);
    EXPECT_LE(spellingCacheSize(), wordCacheLimit);
    splitWords("welcomeback", {}, out);
    EXPECT_EQ(splitCacheSize(), 1);
}

TEST(HunspellWords, DictionaryAcceptsLowerAndCapitalisedForms)
{
    HunspellChecker hunspell;
    if (!hunspell.isLoaded())
        GTEST_SKIP() << "en_US dictionary not installed";
    EXPECT_TRUE(hunspell.isWord("welcome"));
    EXPECT_TRUE(hunspell.isWord("sunday"));  // the dictionary has only "Sunday"
    EXPECT_FALSE(hunspell.isWord("welcomeback"));
    EXPECT_FALSE(hunspell.isWord("wel"));

    setSpellChecker(std::make_shared<HunspellChecker>());
    QStringList out;
    splitWords("welcomeback", {}, out);
    splitWords("THELONGNIGHT", {}, out);
    splitWords("sunday", {}, out);
    EXPECT_EQ(out, QStringList({"welcome", "back", "THE", "LONG", "NIGHT", "sunday"}));
    const Result r = correct("ABC_welcomeback_trailer_30_v02", SmartRenameStyle::finishing, {}, {}, {});
    EXPECT_EQ(r.corrected, "ABC_WelcomeBack_Trlr_30_V2");
    setSpellChecker(nullptr);
}

TEST(HunspellWords, ConcurrentRecognitionMatchesSerial)
{
    if (!HunspellChecker().isLoaded())
        GTEST_SKIP() << "en_US dictionary not installed";
    setSpellChecker(std::make_shared<HunspellChecker>());
    const QStringList glued{"welcomeback", "thelongnight", "homecoming", "firstlight",
                            "darkwater",   "lastsummer",   "moonriver",  "brokenglass"};
    QStringList names;
    for (int i = 0; i < 400; ++i)
        names << QString("ABC_%1%2_trailer_V%3")
                     .arg(glued[i % glued.size()], glued[(i / glued.size()) % glued.size()])
                     .arg(i % 9);
    const auto run = [](const QString& n) { return correct(n, SmartRenameStyle::email, {}, {}, {}).corrected; };
    const QStringList parallel = QtConcurrent::blockingMapped(names, run);
    clearWordCaches();
    QStringList serial;
    for (const QString& n : names)
        serial << run(n);
    EXPECT_EQ(parallel, serial);
    EXPECT_EQ(serial[0], "\"Welcome Back Welcome Back\" Trlr V.0");
    setSpellChecker(nullptr);
}

}  // namespace
