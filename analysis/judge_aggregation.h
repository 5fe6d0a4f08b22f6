#pragma once
#include <string>

#include "common/files/env_rec.h"
#include "common/logs/progress.h"
#include "platform/date.h"

namespace analysis {

inline constexpr long kSortLineFileNumber = 50001;
inline constexpr long kSortBlockSize = 30000;
// Name part of the gathered file (and, with a two-digit number, its blocks).
inline constexpr const char* kGatheredNamePart = "Temp";
// The sort and the tally each show their passes on a bar of ten stages.
inline constexpr long kAggregationStageCount = 10;

// Gathers the judgement results of every part of `processNumber` that lie
// within the summary range into one file and the sort-line file. The parts'
// result files stay until DeletePartResults, so that a gathering cut short
// can be done again from the start.
void CFKGRMRM(long resultFileNumber, long processNumber, const std::string& extension, const std::string& country,
              common::EnvRec& env, common::MSGRec& msg);

// Deletes the result files of every part of `processNumber`.
void DeletePartResults(long resultFileNumber, long processNumber, common::EnvRec& env);

// Sorts the gathered results into the judgement-result file of `country`.
void CFKGRSTM(common::MSGRec& msg, common::EnvRec& env, const std::string& country);

// Tallies the judgement-result file of `country` into its summary file.
void AKSUM21M(common::EnvRec& env, common::MSGRec& msg, const std::string& country);

// The first judgement date the gathering keeps, for the summary-range
// setting `range` ("0" every date, "1" to "4" the last 3, 5, 10 or 15 years;
// anything else counts as "2"). A day that the earlier year lacks (29
// February) becomes 28 February.
platform::Date SummaryCutOff(const platform::Date& today, const std::string& range);

}  // namespace analysis
