#pragma once
#include "common/env_rec.h"
#include "common/progress.h"

namespace collect {

// Folds the finished industries a company-list task has recorded (its
// industry file `fileNumber` with ".tmp") into the task's industry list, so
// that the task, started again, skips them. Repeatable; nothing to do when
// none are recorded.
void RecoverListTask(long fileNumber, long procIdx, long taskSeq, common::EnvRec& env, common::MSGRec& msg);

}  // namespace collect
