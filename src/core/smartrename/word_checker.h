#pragma once
// Answers the one question word splitting asks of a spell checker: is this lower-case piece one
// correctly spelled English word. Production uses hunspell; tests can install a fixed word list.
#include <QMutex>
#include <QSet>
#include <QString>
#include <QStringList>
#include <memory>

class Hunspell;

namespace SmartRename {

class WordChecker {
public:
    virtual ~WordChecker() = default;
    // `piece` is lower-case letters only. Must be safe to call from several threads.
    virtual bool isWord(const QString& piece) = 0;
};

// Debian's en_US dictionary. Hunspell keeps proper nouns capitalised ("Sunday"), so a piece is
// accepted when its lower-case or its capitalised form is a word. Without the dictionary files
// nothing is accepted, and names simply keep their words unsplit.
class HunspellChecker : public WordChecker {
public:
    explicit HunspellChecker(const QString& affPath = "/usr/share/hunspell/en_US.aff",
                             const QString& dicPath = "/usr/share/hunspell/en_US.dic");
    ~HunspellChecker() override;
    bool isWord(const QString& piece) override;
    bool isLoaded() const { return m_hunspell != nullptr; }

private:
    bool spell(const QString& text);  // caller holds m_lock

    QMutex m_lock;  // hunspell is not thread-safe
    std::unique_ptr<Hunspell> m_hunspell;
    bool m_utf8 = true;
};

// A fixed list of words (case-insensitive), for tests and benchmarks.
class WordListChecker : public WordChecker {
public:
    explicit WordListChecker(const QStringList& words);
    bool isWord(const QString& piece) override;

private:
    QSet<QString> m_words;  // lower-case; never changes after construction
};

// The checker word splitting uses; a HunspellChecker made on first use.
std::shared_ptr<WordChecker> spellChecker();
// Replaces the checker and empties both word caches, whose answers came from the old one.
void setSpellChecker(std::shared_ptr<WordChecker> checker);

}  // namespace SmartRename
