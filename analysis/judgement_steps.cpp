#include "analysis/judgement_steps.h"

#include "analysis/analysis_info.h"
#include "analysis/judge_aggregation.h"
#include "analysis/judge_result_file.h"
#include "analysis/part_results.h"
#include "common/files/file_registry.h"

namespace analysis {

namespace {

// Also a failed part ("E") is made whole again: deleting its files would lose
// the results that an earlier resume already folded into its list.
void RecoverPart(marketdata::SplitRun& run, const marketdata::SplitRunPart& part) {
    RecoverPartFiles(run.env, run.msg, part.procIdx, part.sequence, run.country);
}

bool JudgeParts(marketdata::SplitRun& run) {
    return marketdata::RunPartsInChildren(run, RecoverPart, run.processName + "の判定処理を中断します。　");
}

bool BuildAnalysisInfo(marketdata::SplitRun& run) {
    AMNCM00M(run.env, run.msg);
    return true;
}

bool GatherResults(marketdata::SplitRun& run) {
    CFKGRMRM(kJudgeResultFileNumber, run.processNumber, common::CFFIL03M(kJudgeResultFileNumber), run.country,
             run.env, run.msg);
    return true;
}

// The gathering is complete once step 07 is recorded: only then may the
// parts' results go (a repeat of this step finds them gone, harmlessly).
bool SortResults(marketdata::SplitRun& run) {
    DeletePartResults(kJudgeResultFileNumber, run.processNumber, run.env);
    CFKGRSTM(run.msg, run.env, run.country);
    return true;
}

bool TallyResults(marketdata::SplitRun& run) {
    AKSUM21M(run.env, run.msg, run.country);
    return true;
}

}  // namespace

// Steps 01 to 09, in order.
const marketdata::SplitRunStep kJudgementSteps[9] = {
    marketdata::SplitCompaniesIntoParts,
    JudgeParts,
    marketdata::GatherPartLists,
    marketdata::ApplyPartLists,
    BuildAnalysisInfo,
    GatherResults,
    SortResults,
    TallyResults,
    marketdata::FinishSplitRun,
};

}  // namespace analysis
