#pragma once
#include <string>

#include "common/progress.h"

namespace collect {

// The company-information, market-report and research-provider run of the
// current process context (process kinds 5, 6 and 7): the country's
// companies split into parts that child copies collect, the parts' company
// records and results gathered and applied to the code master and the
// result master; kind 7 then attaches and extracts the research provider's
// industries. Each step is recorded as it starts, so an interrupted run
// resumes at its step.
void ACORP00M();

// Fills the progress record with the run's steps (five, or seven for kind
// 7), `step` ("01".."07") being the current one, and shows it.
void ShowCollectionSteps(common::MSGRec& msg, const std::string& step);

}  // namespace collect
