#pragma once
#include <span>
#include <string>
#include <vector>

#include "common/files/env_rec.h"
#include "marketdata/price_series.h"

namespace collect {

inline constexpr long kCalendarFileNumber = 20004;

// Writes the rows, in their order, as the series lines of the file of
// `fileNumber` (1014 series, 1015 split rows), `namePart` and `extension`,
// replacing it whole. Callers write ".tmp" and then put it in place of ".txt".
bool CFHPC50M(common::EnvRec& env, long fileNumber, std::span<const marketdata::PriceRec> rows,
              const std::string& namePart, const std::string& extension);

// The lines of the market calendar (trading dates "yyyy/mm/dd", ascending) of
// `namePart`; true when the file exists and holds at least one line.
bool CFCND10M(const std::string& namePart, common::EnvRec& env, std::vector<std::string>& lines);

// Recovers a series file: the lines of base + workExt (and a pending
// base + ".rcv" line) merged by date into those of base + masterExt, the new
// lines winning on equal dates. The result goes into `lines` and to
// base + ".tmp", for the caller to put in place of the master; while there is
// no master yet it becomes the master at once.
void CFHPJR0M(const std::string& base, const std::string& workExt, const std::string& masterExt,
              std::vector<std::string>& lines);

}  // namespace collect
