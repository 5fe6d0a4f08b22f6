#pragma once
#include <array>
#include <span>
#include <string>

#include "common/env_rec.h"

namespace collect {

// The exchange-rate files: the latest-rates file and, with the currency's
// name part, the history file of one currency.
inline constexpr long kExchangeRateFileNumber = 1017;

// The currencies of a rates line, in their column order.
inline constexpr std::array<const char*, 7> kRateCodes{"CNY", "USD", "JPY", "HKD", "TWD", "XEU", "GBP"};

// The current rates: date "yyyy/mm/dd", time "hh:mm:ss" and the rate texts
// in the order of kRateCodes.
struct ExchangeRateRec {
    std::string RateDate;
    std::string RateTime;
    std::array<std::string, 7> Rates;
};

// The one line of the latest-rates file: "JPN", date, time and the rates,
// tab-separated, with every comma removed.
std::string LatestRatesLine(const ExchangeRateRec& rec);

// Replaces the file of the number, name part and extension (blank: the
// number's default) with lines 1..n.
void CFEXC53M(common::EnvRec& env, long fileNumber, long n, const std::string& namePart,
              const std::string& extension, std::span<const std::string> lines);

// Rewrites the latest-rates file with the line of `rec`; `lineCount` is 1.
void CFEXC55M(common::EnvRec& env, long fileNumber, long lineCount, const std::string& namePart,
              const std::string& extension, const ExchangeRateRec& rec);

}  // namespace collect
