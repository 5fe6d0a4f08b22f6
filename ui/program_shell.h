#pragma once
#include <string>

class QApplication;

namespace ui {

// Installs the Qt side of the core's user-interface seam, shows the program's
// main window and runs the event loop until the program is asked to end.
int RunProgramShell(QApplication& app, const std::string& programName);

}  // namespace ui
