#include "analysis/exclusive_run.h"

#include "common/screens/run_control.h"

namespace analysis {

bool CheckExclusiveRun() { return common::CheckExclusiveStart(true); }

}  // namespace analysis
