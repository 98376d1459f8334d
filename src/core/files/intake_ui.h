#pragma once
// Questions the model asks the screens while bringing files in. The UI implements them with
// Qt dialogs and focus tracking; tests hand in fakes.
#include <QString>
#include <QStringList>

class OpenPanels {
public:
    virtual ~OpenPanels() = default;
    // Several files may be chosen, no folders. Empty when cancelled.
    virtual QStringList chooseFiles() = 0;
    // Several folders may be chosen, no files; `prompt` is the confirm button's text.
    virtual QStringList chooseFolders(const QString& prompt) = 0;
};

class TextUndoRouter {
public:
    virtual ~TextUndoRouter() = default;
    // Undo (or redo) in the focused editable text field when the command came from the
    // keyboard; true when it went there, so the rename history must stay alone.
    virtual bool undoInFocusedTextView(bool redo) = 0;
};
