#pragma once
#include <functional>
#include <string>

#include "common/startup/program_parts.h"

namespace ui {

class MainWindow;

// Runs the user's copy of the program: Qt's application object, the Qt side
// of the core's user-interface seam, the program's parts, the common start-up
// and then the event loop until the program ends.
// `buildScreens` builds the user's screens in the main window and shows it;
// without it the window is shown empty. The MIR_UI_SCRIPT actions run once
// the screens are up.
int RunProgramShell(int& argc, char** argv, const std::string& programName, bool isKorvane, common::ProgramParts parts,
                    std::function<void(MainWindow&)> buildScreens = {});

}  // namespace ui
