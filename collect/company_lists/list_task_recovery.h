#pragma once
#include <string>

#include "common/files/env_rec.h"
#include "common/logs/progress.h"

namespace collect {

// Folds the finished industries a company-list task has recorded (its
// industry file `fileNumber` with ".tmp", cut back to whole lines) into the
// task's industry list, so that the task, started again, skips them.
// Repeatable; nothing to do when none are recorded.
void RecoverListTask(long fileNumber, long procIdx, long taskSeq, common::EnvRec& env, common::MSGRec& msg);

// Cuts a company-list part file back to whole lines and keeps one line per
// company in it, the last one: a task started again pages an industry it had
// begun once more, and lists its companies again. The lines keep the order of
// those last lines.
void KeepLastLinePerCompany(const std::string& path);

}  // namespace collect
