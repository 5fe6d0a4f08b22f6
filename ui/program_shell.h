#pragma once
#include <string>

#include "common/program_parts.h"

class QApplication;

namespace ui {

// Installs the Qt side of the core's user-interface seam and the program's
// parts, runs the common start-up, and then, for the user's copy, the event
// loop until the program ends. A child copy ends when its task is done.
int RunProgramShell(QApplication& app, const std::string& programName, bool isKorvane, common::ProgramParts parts);

}  // namespace ui
