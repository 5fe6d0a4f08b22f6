#pragma once
#include <array>
#include <cstddef>
#include <string>

#include "common/files/analysis_record.h"
#include "marketdata/code_master.h"

namespace analysis {

// The stored form: element 0 empty, elements 1-105 the values.
using AnalysisFileRec = common::AnalysisRec;

// Values 9-106 of an analysis record: Text[position - 9].
inline constexpr std::size_t kAnalysisTextCount = 98;
inline constexpr std::size_t kFirstTextPosition = 9;
// Position 76 (company text 19) is built but never stored.
inline constexpr std::size_t kUnstoredPosition = 76;

// One company, index or industry entry of the analysis information, as text:
// the identity fields at their fixed widths, then the chosen code-master values
// with dates stripped of their slashes and some numbers rescaled.
struct AnalysisInfoRec {
    std::string Market;                  // 1, 3 characters
    std::string Category;                // 2, 4 characters
    std::array<std::string, 5> IndCode;  // 3-7, levels "0020" to "0060", 4 characters each
    std::string CorpCode;                // 8, 20 characters
    std::array<std::string, kAnalysisTextCount> Text;
};

// The analysis record of one code-master record. Every value the record
// holds is set, so one record may serve company after company.
void BuildAnalysisInfoRecord(const marketdata::CdmRec& cdm, AnalysisInfoRec& rec);

// The stored form of `rec`: positions 1 to 106 in order into elements 1 to
// 105, position 76 left out.
void FlattenAnalysisRecord(const AnalysisInfoRec& rec, AnalysisFileRec& out);

}  // namespace analysis
