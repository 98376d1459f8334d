#pragma once
// In a panel that scrolls, a wheel turn over a menu or a stepper must scroll the panel, never
// change a value the user did not pick: such controls take the wheel only while they have
// keyboard focus (and the wheel no longer gives it to them).
class QWidget;

void takeWheelOnlyWithFocus(QWidget* root);
