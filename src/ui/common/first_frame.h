#pragma once
// Work the first frame of the main window does not need waits until that frame is drawn, so a
// start shows its window sooner. Only the application's main() turns the waiting on; without it
// (tests, other hosts) such work runs at once, where it is asked for.
#include <QObject>
#include <functional>

namespace FirstFrame {
// From now until painted(), work given to afterPainted() waits.
void holdUntilPainted();
// The main window drew its first frame: the waiting work runs once this paint is done.
void painted();
// Runs `work` now, or after the first frame while that is still to come; not at all once
// `context` is gone.
void afterPainted(QObject* context, std::function<void()> work);
}  // namespace FirstFrame
