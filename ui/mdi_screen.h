#pragma once

class QMdiArea;
class QMdiSubWindow;
class QWidget;

namespace ui {

// Adds a screen to the main window's area for good: no close or minimise
// button, and the window manager's close is refused.
QMdiSubWindow* AddScreen(QMdiArea& area, QWidget* screen);

// Shows the screen's window in front of the others.
void BringToFront(QWidget& screen);

}  // namespace ui
