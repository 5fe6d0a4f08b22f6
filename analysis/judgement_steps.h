#pragma once
#include "marketdata/split_run_frame.h"

namespace analysis {

// The nine steps of the judgement run, 01 to 09 in order.
extern const marketdata::SplitRunStep kJudgementSteps[9];

}  // namespace analysis
