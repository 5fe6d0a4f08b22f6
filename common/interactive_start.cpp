#include "common/interactive_start.h"

#include "common/ctr_file.h"
#include "common/logs.h"
#include "common/run_control.h"
#include "common/run_env.h"
#include "common/run_state.h"

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
