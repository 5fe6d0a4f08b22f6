#pragma once
#include <string>

#include "common/ctr_file.h"
#include "common/env_rec.h"
#include "common/progress.h"

namespace analysis {

// What the steps of one judgement run share.
struct JudgementRun {
    long processNumber = 0;
    std::string processName;
    std::string country;
    common::EnvRec env;
    common::MSGRec msg;
    common::CtrRec ctr;
};

// Runs the steps from `first` (1..9) to the end, recording each as it starts;
// false when a step stopped the run.
bool RunJudgementSteps(JudgementRun& run, int first);

}  // namespace analysis
