#pragma once
// The small symbol-only labels of copy and remove buttons, shared with the Smart Rename screen.
// They show no text; the accessible name carries the meaning in the language of the moment.
class QAbstractButton;

void copyButtonLabel(QAbstractButton* button);    // "doc.on.doc", "Copy" / "复制"
void removeButtonLabel(QAbstractButton* button);  // "xmark.circle.fill", "Remove" / "移除"
