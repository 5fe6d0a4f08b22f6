#include "analysis/exclusive_run.h"

#include "common/run_control.h"

namespace analysis {

bool CheckExclusiveRun() { return common::CheckExclusiveStart(true); }

}  // namespace analysis
