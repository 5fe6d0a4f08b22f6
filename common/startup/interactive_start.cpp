#include "common/startup/interactive_start.h"

#include "common/logs/logs.h"
#include "common/run_state.h"
#include "common/screens/run_control.h"
#include "common/startup/run_env.h"
#include "common/tasks/ctr_file.h"

namespace common {

namespace {

// The processing-control record of the screens.
constexpr long kScreenProcess = 8;

}  // namespace

void PrepareInteractiveStart(const char* procedureId, EnvRec& env) {
    State().procedureId = procedureId;
    ClearOwnRunMark();
    CCENV00M(env);
    SetTaskWorkPaths(0, 0, env);
    LoadLogSwitches(env);
    CtrRec control;
    ReadCtrRec(kScreenProcess, env, control);
}

}  // namespace common
