#pragma once
#include <functional>

class QMdiArea;
class QMdiSubWindow;
class QWidget;

namespace ui {

// Adds a screen to the main window's area for good: no close or minimise
// button, and the window manager's close is refused.
QMdiSubWindow* AddScreen(QMdiArea& area, QWidget* screen);

// Shows the screen's window in front of the others.
void BringToFront(QWidget& screen);

// Runs `check` whenever the user moves from `screen` to another screen of the
// area; when it refuses, the screen comes back to the front.
void CheckWhenLeft(QMdiArea& area, QWidget& screen, std::function<bool()> check);

}  // namespace ui
