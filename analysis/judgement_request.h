#pragma once
#include <string>

#include "analysis/kesen_params.h"

namespace analysis {

// The Common\Batch text that requests a judgement run: the country switches
// 1-5 of `params` as items 1-5 of group 6 (characters 31-35: Japan, the
// United States, China, the test box, unused); every other request is clear.
std::string JudgementRequest(const KesenParamSet& params);

// The judgement start without its screen: when CheckExclusiveRun allows it,
// stores the request from the current judgement conditions and runs it
// (RunBatch); false when the start was refused.
bool StartJudgement();

}  // namespace analysis
