#pragma once

#include "common/startup/program_parts.h"

namespace collect {

// The collection program's drivers, collectors, child dispatcher and batch
// runner, for the common start-up and control code.
common::ProgramParts CollectionProgramParts();

}  // namespace collect
