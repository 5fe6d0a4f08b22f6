#pragma once
#include <string>

#include "common/logs/progress.h"

namespace analysis {

// Starts a named step of a staged run: the label becomes the step's text,
// `stagesDone` stages are added to those done, and the bar counts `maximum`
// items from 0. With items, `stride` becomes the items between two redraws
// (a hundredth of them, at least 1); without, it is left as it was.
void SetProgressStep(const std::string& label, long stagesDone, long maximum, long& stride, common::MSGRec& msg);

}  // namespace analysis
