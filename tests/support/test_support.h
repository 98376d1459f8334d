#pragma once
// Shared helpers for tests: a private temporary folder per test, a Store built on in-memory
// settings and that folder, and readable failure messages. Widget tests (built with
// BRINDLECOVE_WIDGET_TESTS) also get scripted dialogs and the offscreen input helpers.
#include "model/store.h"
#include "platform/settings.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <memory>
#include <ostream>

struct TestEnv {
    QTemporaryDir dir;
    std::shared_ptr<MemorySettings> settings = std::make_shared<MemorySettings>();

    QString path(const QString& relative = {}) const;
    // Creates a file (and its parent folders) with the given content; returns its path.
    QString makeFile(const QString& relative, const QByteArray& content = "x") const;
    StoreServices services(const QStringList& languages = {"en-US"}) const;
    std::unique_ptr<Store> makeStore(const QStringList& languages = {"en-US"}) const;
};

// Folder the fixture step writes media samples into.
QString fixturesDir();

// A file's bytes; empty when it cannot be read.
QByteArray readFile(const QString& path);

// Readable QString values in failure messages.
inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

#ifdef BRINDLECOVE_WIDGET_TESTS
#include "common/dialogs.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QInputMethodEvent>
#include <QLabel>
#include <QList>
#include <QMenu>
#include <QMimeData>
#include <QTest>
#include <QUrl>
#include <QWidget>
#include <deque>

// A scripted Dialogs: the test queues the answers, the fake hands them out in order and records
// every call. An unscripted call answers "cancelled" (the safe answer), and is still recorded, so
// a test can assert that no question was asked.
class FakeDialogs : public Dialogs {
public:
    std::deque<OpenResult> openAnswers;
    std::deque<std::optional<QString>> saveAnswers;
    std::deque<AlertResult> alertAnswers;
    std::deque<std::optional<QString>> promptAnswers;
    std::deque<std::optional<CheckedText>> checkedPromptAnswers;

    QList<OpenPanel> opens;
    QList<SavePanel> saves;
    QList<Alert> alerts;
    QList<TextPrompt> prompts;

    void answerAlert(int button, bool suppressed = false) { alertAnswers.push_back({button, suppressed}); }
    void answerOpen(const QStringList& paths, bool checked = false) { openAnswers.push_back({paths, checked}); }
    int callCount() const { return int(opens.size() + saves.size() + alerts.size() + prompts.size()); }

    OpenResult openPanel(const OpenPanel& p) override
    {
        opens.append(p);
        return take(openAnswers, OpenResult{});
    }
    std::optional<QString> savePanel(const SavePanel& p) override
    {
        saves.append(p);
        return take(saveAnswers, std::optional<QString>{});
    }
    AlertResult alert(const Alert& a) override
    {
        alerts.append(a);
        return take(alertAnswers, AlertResult{});
    }
    std::optional<QString> promptText(const TextPrompt& p) override
    {
        prompts.append(p);
        return take(promptAnswers, std::optional<QString>{});
    }
    std::optional<CheckedText> promptTextAndCheck(const TextPrompt& p, const QString& checkBoxText) override
    {
        prompts.append(p);
        checkBoxTexts.append(checkBoxText);
        return take(checkedPromptAnswers, std::optional<CheckedText>{});
    }
    QStringList checkBoxTexts;  // one per promptTextAndCheck call

private:
    template <typename T> static T take(std::deque<T>& queue, T fallback)
    {
        if (queue.empty())
            return fallback;
        T v = std::move(queue.front());
        queue.pop_front();
        return v;
    }
};

// Clicks, keys, typing (also Chinese, which QTest::keyClicks cannot send), synthetic drops of
// file URLs, and finding widgets and menu entries by their visible text.
namespace ui {

inline void click(QWidget* w)
{
    QTest::mouseClick(w, Qt::LeftButton, {}, w->rect().center());
}

inline void key(QWidget* w, Qt::Key k, Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    QTest::keyClick(w, k, mods);
}

// Types text into a focused editor. ASCII goes through key clicks; anything else through an
// input-method commit, the way an IME delivers CJK text.
inline void typeText(QWidget* w, const QString& text)
{
    bool ascii = true;
    for (QChar c : text)
        ascii = ascii && c.unicode() < 0x80;
    if (ascii) {
        QTest::keyClicks(w, text);
        return;
    }
    QInputMethodEvent e;
    e.setCommitString(text);
    QCoreApplication::sendEvent(w, &e);
}

// The first child of type T whose visible text (button, action or label text) is `text`.
template <typename T> T* findByText(QObject* root, const QString& text)
{
    for (T* w : root->findChildren<T*>()) {
        if constexpr (std::is_base_of_v<QAbstractButton,
                                        T> || std::is_base_of_v<QAction, T> || std::is_base_of_v<QLabel, T>) {
            if (w->text() == text)
                return w;
        }
    }
    return nullptr;
}

// The visible entries of a menu in order: action texts, "-" for separators.
inline QStringList menuTexts(const QMenu* menu)
{
    QStringList out;
    for (QAction* a : menu->actions()) {
        if (!a->isVisible())
            continue;
        out << (a->isSeparator() ? QStringLiteral("-") : a->text());
    }
    return out;
}

inline QAction* menuAction(const QMenu* menu, const QString& text)
{
    for (QAction* a : menu->actions())
        if (a->text() == text)
            return a;
    return nullptr;
}

// A drag of file URLs entering the widget; returns whether it was accepted.
inline bool dragEnterUrls(QWidget* target, const QList<QUrl>& urls)
{
    QMimeData mime;
    mime.setUrls(urls);
    QDragEnterEvent enter(target->rect().center(), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &enter);
    return enter.isAccepted();
}

// Enter followed by a drop of the URLs; returns whether the drop was accepted.
inline bool dropUrls(QWidget* target, const QList<QUrl>& urls)
{
    dragEnterUrls(target, urls);
    QMimeData mime;
    mime.setUrls(urls);
    QDropEvent drop(QPointF(target->rect().center()), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &drop);
    return drop.isAccepted();
}

}  // namespace ui
#endif
