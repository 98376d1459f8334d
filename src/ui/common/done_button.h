#pragma once
// The "Done" footer of the sheets: a flexible space, then the button that runs `action` and is
// the window's default button, so Return triggers it. The caller adds the row to its layout.
#include <functional>

class QHBoxLayout;
class QWidget;

QHBoxLayout* doneButton(QWidget* host, std::function<void()> action);
