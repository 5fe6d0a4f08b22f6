#pragma once

#include "common/files/env_rec.h"
#include "common/logs/progress.h"

namespace analysis {

// Rebuilds the analysis information (files 30001 and 30002) from the code
// master and loads both into the program-wide tables. True when new files
// were written; otherwise the user was told why and the previous ones stay.
bool AMNCM00M(common::EnvRec& env, common::MSGRec& msg);

// Builds files 30001 (the selected markets' records) and 30002 (their
// industry entries) from the code master, adding ten stages to the display.
// Both are written beside the old files and replace them only once both are
// whole, so a build that fails or finds no company keeps the previous
// analysis information. True, with both record counts, when written.
bool AMNCM46M(common::EnvRec& env, common::MSGRec& msg, long& infoCount, long& indexCount);

// Logs and shows that there is no analysis information, with the advice to
// build it; `code` is the log line's code.
void WarnNoAnalysisInfo(const char* code);

}  // namespace analysis
