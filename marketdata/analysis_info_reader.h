#pragma once
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "common/files/analysis_record.h"
#include "common/files/env_rec.h"

namespace platform {
class RecordReader;
class RecordWriter;
}  // namespace platform

namespace marketdata {

inline constexpr long kAnalysisInfoFileNumber = 30001;
inline constexpr long kAnalysisIndexFileNumber = 30002;
using common::AnalysisRec;
using common::kAnalysisFieldCount;

// The stored form of one record, appended to `out`.
void WriteAnalysisRecord(platform::RecordWriter& out, const AnalysisRec& rec);
// One record from `in`; a record cut short throws std::out_of_range.
void ReadAnalysisRecord(platform::RecordReader& in, AnalysisRec& rec);

// Called with the number of records read so far, after each one.
using AnalysisRecordProgress = std::function<void(std::size_t recordsRead)>;

// Reads every whole record of the file (process index `procIdx`, sequence 0,
// default extension) into `recs`, which grows as needed. A trailing partial
// record is logged and left out. False, with no record, when the file is
// missing.
bool ReadAnalysisRecords(long fileNumber, long procIdx, common::EnvRec& env, std::vector<AnalysisRec>& recs,
                         const AnalysisRecordProgress& afterRecord = {});

// Reads the whole analysis-information file once and releases it again, so
// a run shows whether the file can be read.
bool AMNCM50M(common::EnvRec& env);

}  // namespace marketdata
