#pragma once

#include "common/files/env_rec.h"

namespace common {

// The first steps of a program's start for the user, before its screens:
// the driver named `procedureId`, this program's stale run mark cleared, the
// paths of the interactive copy in `env`, the log switches and the
// processing-control record loaded.
void PrepareInteractiveStart(const char* procedureId, EnvRec& env);

}  // namespace common
