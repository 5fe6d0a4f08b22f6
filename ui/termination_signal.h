#pragma once

class QApplication;

namespace ui {

// SIGTERM and SIGINT end the event loop normally, so that the program closes
// its windows and ends cleanly instead of dying mid-write.
void QuitOnTerminationSignal(QApplication& app);

}  // namespace ui
