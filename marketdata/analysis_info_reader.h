#pragma once
#include <array>
#include <cstddef>
#include <string>
#include <vector>

#include "common/env_rec.h"

namespace marketdata {

inline constexpr long kAnalysisInfoFileNumber = 30001;
inline constexpr long kAnalysisIndexFileNumber = 30002;
inline constexpr std::size_t kAnalysisFieldCount = 106;

// One record of the analysis-information files as stored: 106 texts, each a
// 16-bit length and its code page 932 bytes. Element 0 is always empty;
// elements 1-105 are the flattened analysis values the analysis program
// writes.
struct AnalysisRec {
    std::array<std::string, kAnalysisFieldCount> Field;
};

// Reads every whole record of the file (process index `procIdx`, sequence 0,
// default extension) into `recs`, which grows as needed. A trailing partial
// record is logged and left out. False, with no record, when the file is
// missing.
bool ReadAnalysisRecords(long fileNumber, long procIdx, common::EnvRec& env, std::vector<AnalysisRec>& recs);

// Reads the whole analysis-information file once and releases it again, so
// a run shows whether the file can be read.
bool AMNCM50M(common::EnvRec& env);

}  // namespace marketdata
