#pragma once

#include <functional>
#include <string>

#include "common/startup/batch_request.h"

namespace common {

// Runs the collection steps that Common\Batch requests, in the chain's fixed
// order, clearing each request as its step ends; a cancel stops the chain
// with the interrupted step still requested (a step that came to its end
// all the same is not run again).
void RunCollectionBatch();

// Runs a batch under the run mark `execMark` with the main window hidden:
// `steps` names the step it runs in its argument, so that a run-time error
// is reported as that step's abnormal end (which ends the program and leaves
// the resume offer for the next start). On the orderly way out, a cancel
// included, the mark and the cancel flag are cleared and the window shown.
void RunMarkedBatch(const std::string& execMark, const std::function<void(std::string& stepId)>& steps);

// Stores the request table and forgets the process of the finished step.
void SaveBatchState(const BatchRequestTable& table);

// Offers to resume the interrupted run; true when it was run.
bool ResumeInterruptedRun();

}  // namespace common
