#pragma once
#include <string>
#include <vector>

#include "common/files/env_rec.h"
#include "marketdata/price_band.h"

namespace analysis {

// The price-band table a judgement needs. Without it (no table at all) the
// error-log line of `ownId` at `logCode` and the critical box say that no judgement or
// Kagi chart can be made, and the answer is false.
bool LoadJudgementBands(common::EnvRec& env, const std::string& ownId, const std::string& logCode,
                        std::vector<marketdata::PriceLimitRec>& bands);

}  // namespace analysis
