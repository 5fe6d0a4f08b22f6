#pragma once
#include <cstddef>
#include <span>
#include <string>
#include <vector>

#include "analysis/kagi_line_rec.h"
#include "common/files/env_rec.h"
#include "marketdata/chart_line_files.h"
#include "marketdata/key.h"

namespace analysis {

// The chart-line data file: the Kagi records of one stock, back to back,
// kKagiLineRecSize bytes each, written by the single-stock judgement and read
// by the Kagi chart. Each binary file has a text export beside it; where the
// files live is marketdata's CFKSN54M.
inline constexpr std::size_t kKagiLineRecSize = 349;
inline constexpr std::size_t kChartLineExportColumns = 100;

// Replaces the stock's binary file with `recs` and its ".txt" export. No
// records: nothing is written and an existing file stays.
void CFKSN52M(common::EnvRec& env, const marketdata::Key& key, long fileNumber, const std::string& suffix,
              const std::string& extension, std::span<const KagiLineRec> recs);

// Replaces the ".txt" export of the stock's file with one line per record.
// No records: nothing is written.
void CFKSN50M(common::EnvRec& env, const marketdata::Key& key, long fileNumber, const std::string& suffix,
              std::span<const KagiLineRec> recs);

// One export line per record: 100 columns joined by TAB. A date that is no
// calendar date of the years 100-9999 raises overflow.
void CFKSN501(std::span<const KagiLineRec> recs, std::vector<std::string>& lines);

// Reads every whole record of the stock's file into `recs` (the working
// fields zero). False, and `recs` untouched, when the file does not exist.
// A trailing partial record is logged and left out.
bool CFKSN10M(common::EnvRec& env, const marketdata::Key& key, const std::string& suffix, const std::string& extension,
              std::vector<KagiLineRec>& recs);

}  // namespace analysis
