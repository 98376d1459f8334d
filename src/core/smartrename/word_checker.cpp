#include "word_checker.h"

#include "smartrename/word_splits.h"

#include <QFile>
#include <hunspell.hxx>

namespace SmartRename {

HunspellChecker::HunspellChecker(const QString& affPath, const QString& dicPath)
{
    if (!QFile::exists(affPath) || !QFile::exists(dicPath))
        return;
    m_hunspell = std::make_unique<Hunspell>(QFile::encodeName(affPath).constData(),
                                            QFile::encodeName(dicPath).constData());
    m_utf8 = QString::fromStdString(m_hunspell->get_dict_encoding()).toUpper() == "UTF-8";
}

HunspellChecker::~HunspellChecker() = default;

bool HunspellChecker::spell(const QString& text)
{
    if (m_utf8)
        return m_hunspell->spell(text.toStdString());
    // The other dictionaries Debian ships are ISO 8859-1; a piece beyond it can't be in them.
    for (QChar c : text)
        if (c.unicode() > 0xFF)
            return false;
    return m_hunspell->spell(text.toLatin1().toStdString());
}

bool HunspellChecker::isWord(const QString& piece)
{
    if (!m_hunspell || piece.isEmpty())
        return false;
    const QString capitalised = piece.left(1).toUpper() + piece.mid(1);
    QMutexLocker lock(&m_lock);
    return spell(piece) || spell(capitalised);
}

WordListChecker::WordListChecker(const QStringList& words)
{
    for (const QString& w : words)
        m_words.insert(w.toLower());
}

bool WordListChecker::isWord(const QString& piece)
{
    return m_words.contains(piece.toLower());
}

namespace {

QMutex& checkerLock()
{
    static QMutex lock;
    return lock;
}

std::shared_ptr<WordChecker>& checkerSlot()
{
    static std::shared_ptr<WordChecker> slot;
    return slot;
}

}  // namespace

std::shared_ptr<WordChecker> spellChecker()
{
    QMutexLocker lock(&checkerLock());
    if (!checkerSlot())
        checkerSlot() = std::make_shared<HunspellChecker>();
    return checkerSlot();
}

void setSpellChecker(std::shared_ptr<WordChecker> checker)
{
    {
        QMutexLocker lock(&checkerLock());
        checkerSlot() = std::move(checker);
    }
    clearWordCaches();
}

}  // namespace SmartRename
