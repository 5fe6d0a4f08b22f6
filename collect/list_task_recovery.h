#pragma once
#include <string>

#include "common/env_rec.h"
#include "common/progress.h"

namespace collect {

// Folds the finished industries a company-list task has recorded (its
// industry file `fileNumber` with ".tmp") into the task's industry list, so
// that the task, started again, skips them. Repeatable; nothing to do when
// none are recorded.
void RecoverListTask(long fileNumber, long procIdx, long taskSeq, common::EnvRec& env, common::MSGRec& msg);

// Keeps one line per company in a company-list part file, the last one: a
// task started again pages an industry it had begun once more, and lists its
// companies again. The lines keep the order of those last lines.
void KeepLastLinePerCompany(const std::string& path);

}  // namespace collect
