#include "focused_text_undo.h"

#include <QApplication>
#include <QEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>

FocusedTextUndo::FocusedTextUndo(QObject* parent) : QObject(parent)
{
    qApp->installEventFilter(this);
}

bool FocusedTextUndo::eventFilter(QObject*, QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut: m_lastInputWasKey = true; break;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::TouchBegin: m_lastInputWasKey = false; break;
    default: break;
    }
    return false;
}

namespace {
template <typename Edit> void undoOrRedo(Edit* edit, bool redo)
{
    QTextDocument* doc = edit->document();
    if (redo && doc->isRedoAvailable())
        edit->redo();
    else if (!redo && doc->isUndoAvailable())
        edit->undo();
}
}  // namespace

bool FocusedTextUndo::undoInFocusedTextView(bool redo)
{
    if (!m_lastInputWasKey)
        return false;
    QWidget* focus = QApplication::focusWidget();
    if (!QApplication::activeWindow() || !focus)
        return false;
    if (auto* line = qobject_cast<QLineEdit*>(focus); line && !line->isReadOnly()) {
        if (redo && line->isRedoAvailable())
            line->redo();
        else if (!redo && line->isUndoAvailable())
            line->undo();
        return true;
    }
    if (auto* text = qobject_cast<QTextEdit*>(focus); text && !text->isReadOnly()) {
        undoOrRedo(text, redo);
        return true;
    }
    if (auto* plain = qobject_cast<QPlainTextEdit*>(focus); plain && !plain->isReadOnly()) {
        undoOrRedo(plain, redo);
        return true;
    }
    return false;
}
