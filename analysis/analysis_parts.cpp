#include "analysis/analysis_parts.h"

#include "analysis/batch_runner.h"
#include "analysis/child_dispatch.h"

namespace analysis {

common::ProgramParts AnalysisProgramParts() {
    common::ProgramParts parts;
    parts.subMenu = SubMenu;
    parts.batchRunner = RunBatch;
    return parts;
}

}  // namespace analysis
