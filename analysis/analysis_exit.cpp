#include "analysis/analysis_exit.h"

#include "common/run_state.h"
#include "common/settings/settings_group.h"
#include "common/settings/system_state_file.h"
#include "common/startup/run_env.h"

namespace analysis {

void SaveAnalysisSettingsAtExit() {
    common::EnvRec env;
    common::CCENV00M(env);
    for (const int group : {1, 2, 3, 5, 6, 7}) common::ExportSettingsGroup(group, env);
    common::SystemStateRec state;
    common::RefreshSystemStateFile(state);
    common::State().analysisTable.clear();
    common::State().analysisIndexTable.clear();
}

}  // namespace analysis
