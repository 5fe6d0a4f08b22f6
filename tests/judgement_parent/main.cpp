// A stand-in for Korvane's interactive copy in crash trials: it runs the
// requested judgement in the program folder it lies in, with the real Korvane
// beside it as the child copies, unattended. A run left by a killed copy is
// taken up where it stopped, as a user's next start would.
#include "analysis/analysis_parts.h"
#include "analysis/batch_runner.h"
#include "common/logs/logs.h"
#include "common/run_state.h"
#include "common/startup/process_context.h"
#include "common/startup/program_parts.h"
#include "common/startup/run_env.h"
#include "common/tasks/task_files.h"

int main() {
    common::RunState& state = common::State();
    state.programTitle = "Korvane";
    state.isKorvane = true;
    state.ExeName = "Korvane";
    common::InstallProgramParts(analysis::AnalysisProgramParts());
    common::EnvRec env;
    common::CCENV00M(env);
    common::SetTaskWorkPaths(0, 0, env);
    common::LoadLogSwitches(env);
    state.env = env;
    analysis::RunBatch();
    return 0;
}
