#pragma once
#include <string>

#include "common/files/env_rec.h"
#include "common/logs/progress.h"
#include "marketdata/code_master.h"

namespace collect {

// An industry record's number of member stocks, "000000" (carried text field 23).
inline std::string& IndustryMemberCount(marketdata::CdmRec& rec) { return rec.Text3; }

// Builds the daily series of every domestic industry record of the code
// master (sectors "0050", research-provider industries "0060") from its
// members' daily series, each weighted by its unit shares / 1000 and laid
// over the market calendar, and averaged per day over the members that have
// the day. The days from the industry's LastDate on are recomputed and
// replace those of the stored series; FirstDate, LastDate and the member
// count go back into the code master. The number of industry series written:
// 0 when no industry had a member series or a new day.
long AHPID30M(common::EnvRec& env, common::MSGRec& msg);

// AHPID30M with its own progress form and run-log lines; its number.
long AHPID00M();

}  // namespace collect
