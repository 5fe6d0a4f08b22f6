#pragma once

#include "common/files/env_rec.h"

namespace common {

// The environment reset ("実行環境のリセット"): empties the run state in the
// settings, deletes the processing-control files and the work files of every
// process number, and removes the task work folders Temp/Htm*. A run-time
// error is logged and shown and ends the program; what was done stays done.
void CRSET00M();

// Deletes the work files of one process number: task files, task logs, part
// lists and the per-process data files.
void CRSET001(EnvRec& env, long processNumber);

}  // namespace common
