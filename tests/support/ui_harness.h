#pragma once
// Helpers for widget tests under the offscreen platform: clicks, keys, typing (also Chinese,
// which QTest::keyClicks cannot send), synthetic drops of file URLs, and finding widgets and
// menu entries by their visible text.
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QInputMethodEvent>
#include <QMenu>
#include <QMimeData>
#include <QTest>
#include <QUrl>
#include <QWidget>

namespace ui {

inline void click(QWidget* w) { QTest::mouseClick(w, Qt::LeftButton, {}, w->rect().center()); }

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

// The first child of type T whose visible text (button text, action text) is `text`.
template <typename T> T* findByText(QObject* root, const QString& text)
{
    for (T* w : root->findChildren<T*>()) {
        if constexpr (std::is_base_of_v<QAbstractButton, T> || std::is_base_of_v<QAction, T>) {
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

} // namespace ui
