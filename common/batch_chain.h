#pragma once

#include "common/batch_request.h"

namespace common {

// Runs the collection steps that Common\Batch requests, in the chain's fixed
// order, clearing each request as its step ends; a cancel stops the chain
// with the interrupted step still requested.
void RunCollectionBatch();

// Stores the request table and forgets the process of the finished step.
void SaveBatchState(const BatchRequestTable& table);

// Offers to resume the interrupted run; true when it was run.
bool ResumeInterruptedRun();

}  // namespace common
