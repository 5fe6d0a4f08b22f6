#pragma once
#include <string>

#include "common/files/env_rec.h"
#include "common/logs/progress.h"

namespace collect {

// The company-information, market-report and research-provider run of the
// current process context (process kinds 5, 6 and 7): the country's
// companies split into parts that child copies collect, the parts' company
// records and results gathered and applied to the code master and the
// result master; kind 7 then attaches and extracts the research provider's
// industries. Each step is recorded as it starts, so an interrupted run
// resumes at its step. True when the run came to its end.
bool ACORP00M();

// Folds what an earlier run of the part left in its work files (the list
// work file and the result work file `resultFile`) into the part's list and
// results, so that a part started again goes on with the companies not yet
// done; also for a failed part, whose finished companies stay.
void RecoverCompanyPart(common::EnvRec& env, common::MSGRec& msg, long resultFile, long procIdx, long taskSeq);

// Fills the progress record with the run's steps (five, or seven for kind
// 7), `step` ("01".."07") being the current one, and shows it.
void ShowCollectionSteps(common::MSGRec& msg, const std::string& step);

}  // namespace collect
