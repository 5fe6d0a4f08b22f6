#pragma once
#include <string>

#include "common/files/env_rec.h"
#include "common/logs/progress.h"
#include "common/tasks/task_records.h"

namespace collect {

// The child copy's part of a company-profile run: reads each company's
// profile page into the part's result work file (one profile line per page
// read) and updates the company's record in the part's list work file.
// Japan: the market name comes from the profile as it stands; China: a
// company without a market name takes the profile's first listing and the
// market codes of it. A company whose page cannot be fetched or read is
// logged and listed with its flags "9". Always true.
bool ACPJP30M(long processKind, const std::string& unused, common::EnvRec& env, common::MSGRec& msg,
              common::TSDRec& task);
bool ACPCN30M(long processKind, const std::string& unused, common::EnvRec& env, common::MSGRec& msg,
              common::TSDRec& task);

}  // namespace collect
