#pragma once
#include <string>

#include "common/files/env_rec.h"
#include "common/logs/progress.h"
#include "common/tasks/task_records.h"

namespace collect {

// The child copy's part of a price-history run: collects every company of
// the part's list that is not done yet and appends each one's updated record
// to the part's work file. With the candle setting "A" a company's weekly,
// monthly and daily series are collected in this order, each into its own
// file, so that its dates in the code master describe the daily series.
// A cancel leaves the part suspended with the company in hand not written.
bool AHPJP30M(long processKind, const std::string& unused, common::EnvRec& env, common::MSGRec& msg,
              common::TSDRec& task);

}  // namespace collect
