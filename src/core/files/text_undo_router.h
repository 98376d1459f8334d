#pragma once
// Where a keyboard undo goes first. The UI implements it with focus tracking; tests hand in fakes.

class TextUndoRouter {
public:
    virtual ~TextUndoRouter() = default;
    // Undo (or redo) in the focused editable text field when the command came from the
    // keyboard; true when it went there, so the rename history must stay alone.
    virtual bool undoInFocusedTextView(bool redo) = 0;
};
