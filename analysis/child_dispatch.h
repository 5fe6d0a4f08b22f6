#pragma once

#include "common/files/env_rec.h"
#include "common/tasks/task_records.h"

namespace analysis {

// The child copy's work: judges the split part of the task and ends with
// exactly one end report.
void SubMenu(long processNumber, long taskSequence, common::TSDRec& task, common::EnvRec& env);

}  // namespace analysis
