#pragma once
#include <string_view>

#include "common/files/env_rec.h"
#include "common/logs/progress.h"

namespace analysis {

// What the interactive start must do about the analysis information.
enum class AnalysisInfoNeed {
    Current,      // use what is there
    Build,        // (re)build it from the code master
    NoCompanies,  // neither a code master nor analysis information: nothing to analyse
};

// From which of the code master and the analysis information exist and their
// creation stamps ("yyyymmddhhmmss"): missing information is built from a
// code master, and so is information older than the code master.
AnalysisInfoNeed AnalysisInfoNeedOf(bool masterExists, bool infoExists, std::string_view masterStamp,
                                    std::string_view infoStamp);

// The same from the data files and the stamps that start-up noted.
AnalysisInfoNeed CheckAnalysisInfo(common::EnvRec& env);

// Logs and shows that there is no company to analyse, with both ways to a
// code master.
void WarnNoCompaniesAtStart();

// The analysis information as the interactive start needs it: built and
// loaded when it is missing or stale, then its Index loaded when none is.
// False, after the warning, when there is nothing to analyse and the program
// must end.
bool PrepareAnalysisInfo(common::EnvRec& env, common::MSGRec& msg);

}  // namespace analysis
