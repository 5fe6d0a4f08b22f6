#pragma once

#include "common/startup/program_parts.h"

namespace analysis {

// The analysis program's child dispatcher and batch runner, for the common
// start-up and control code.
common::ProgramParts AnalysisProgramParts();

}  // namespace analysis
