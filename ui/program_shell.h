#pragma once
#include <functional>
#include <string>

#include "common/program_parts.h"

class QApplication;

namespace ui {

class MainWindow;

// Installs the Qt side of the core's user-interface seam and the program's
// parts, runs the common start-up, and then, for the user's copy, the event
// loop until the program ends. A child copy ends when its task is done.
// `buildScreens` builds the user's screens in the main window and shows it;
// without it the window is shown empty. The MIR_UI_SCRIPT actions run once
// the screens are up.
int RunProgramShell(QApplication& app, const std::string& programName, bool isKorvane, common::ProgramParts parts,
                    std::function<void(MainWindow&)> buildScreens = {});

}  // namespace ui
