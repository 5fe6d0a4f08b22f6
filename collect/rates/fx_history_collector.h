#pragma once
#include <string>

#include "common/files/env_rec.h"
#include "common/logs/progress.h"
#include "common/tasks/task_records.h"

namespace collect {

// The child copy's task of one currency (the process context's): pages
// through the currency's rate history, newest first, until the page holding
// the last stored date or the last page, and merges the rows gathered into
// the currency's history file, a gathered row replacing the stored one of
// its date. A cancel or stop request, a failed page or a page without the
// history table leaves the file as it was. The first two arguments are not
// used. Always true.
bool AEXCG30M(long processKind, const std::string& unused, common::EnvRec& env, common::MSGRec& msg,
              common::TSDRec& task);

}  // namespace collect
