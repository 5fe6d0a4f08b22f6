#pragma once

class QCloseEvent;
class QWidget;

namespace ui {

// The main window and the progress dialogs close only when the program itself
// closes them; a close from the window manager is refused.
void CloseByProgram(QWidget* widget);

// For closeEvent(): accepts the event when the program closes the widget,
// ignores it otherwise. Returns whether it was accepted.
bool AcceptOnlyProgramClose(QWidget* widget, QCloseEvent* event);

}  // namespace ui
