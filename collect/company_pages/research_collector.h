#pragma once
#include <string>

#include "common/files/env_rec.h"
#include "common/logs/progress.h"
#include "common/tasks/task_records.h"

namespace collect {

// The child copy's part of a research-provider run: reads each Japanese
// stock's report page into the part's research work file (one line per
// report read) and its stock record, with the research presence, stamp and
// industry name, into the part's list work file. A stock whose site answers
// with a redirect, or whose page holds no report, is logged as without one
// ("無し(1) "); a failed fetch as "無し(2) ". Always true.
bool AMLTX30M(long processKind, const std::string& unused, common::EnvRec& env, common::MSGRec& msg,
              common::TSDRec& task);

}  // namespace collect
