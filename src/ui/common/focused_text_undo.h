#pragma once
// Sends a keyboard Undo/Redo to the focused editable text field. Linux has no "current event"
// to ask, so the last input event is remembered: a key press or shortcut means the command came
// from the keyboard, a mouse press means it came from a click (the Undo button).
#include "files/text_undo_router.h"

#include <QObject>

class FocusedTextUndo : public QObject, public TextUndoRouter {
    Q_OBJECT
public:
    explicit FocusedTextUndo(QObject* parent = nullptr);  // watches the whole application
    bool undoInFocusedTextView(bool redo) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool m_lastInputWasKey = false;
};
