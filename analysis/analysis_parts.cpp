#include "analysis/analysis_parts.h"

#include <string>

#include "common/logs.h"
#include "common/run_env.h"
#include "common/run_state.h"
#include "common/sub_menu.h"
#include "common/ui_seam.h"

namespace analysis {

namespace {

void LogNotBuilt(const std::string& id) {
    common::WriteErrorLog(common::State().errorLogOn, id, common::log_tag::kWarning, "00",
                          id + " は未実装です（プレースホルダー）");
}

}  // namespace

common::ProgramParts AnalysisProgramParts() {
    common::ProgramParts parts;
    // Placeholders until the judgement run exists: a child fails its task at
    // once, so that its parent never waits for it.
    parts.subMenu = [](long processNumber, long taskSequence, common::TSDRec& task, common::EnvRec& env) {
        common::SetTaskWorkPaths(processNumber, taskSequence, env);
        LogNotBuilt("SubMenu");
        common::ReportTaskFailed(task, env, 0);
        common::EndProgram();
    };
    parts.batchRunner = [] { LogNotBuilt("RunBatch"); };
    return parts;
}

}  // namespace analysis
