#pragma once

#include "common/files/env_rec.h"

namespace common {

// No two processes ever work on one task's files: a child holds its task's
// lock (file 115) for its whole life, and a parent takes a run over only once
// no process holds the lock of any of its tasks.

// Takes the lock of the task for the rest of this process's life. A child of
// an earlier start of the same task may still be ending: it is waited for a
// few seconds. False when the lock stays taken.
bool HoldTaskLock(long processNumber, long taskSequence, EnvRec& env);

// Ends every process that still works on a task 1..`taskCount` of the run
// (the child of a parent that has ended) and waits until none does. False
// when the user cancels first or one cannot be ended.
bool TakeOverTasks(long processNumber, long taskCount, EnvRec& env);

}  // namespace common
