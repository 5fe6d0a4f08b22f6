#pragma once

namespace analysis {

// The group of Common\Batch whose items request the judgements.
inline constexpr int kJudgementGroup = 6;

// Runs the judgements that Common\Batch requests (group 6: Japan, the United
// States, China, in that order) under the run mark "2", clearing each
// request as its run ends; a cancel stops the batch with the interrupted
// request still set, and a run that stopped early keeps its request.
void RunBatch();

}  // namespace analysis
