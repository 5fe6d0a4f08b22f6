#pragma once
#include <string>

#include "common/logs/progress.h"

namespace analysis {

// The judgement run of the current process context: splits the companies of
// its country into parts judged by child copies of the program, gathers the
// code-master updates and the results, and rebuilds what reads them. Each of
// its nine steps is recorded in the processing-control record as it starts,
// so an interrupted run resumes at the step where it stopped. True when the
// run came to its end; false when it stopped early (cancel, no company, a
// control error), leaving the record at the step to resume.
bool AKAGI00M();

// Fills the progress record with the run's step list, `step` ("00".."09")
// being the current line, and shows it.
void ShowRunSteps(common::MSGRec& msg, const std::string& step);

}  // namespace analysis
