#pragma once
#include <array>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

#include "common/files/env_rec.h"

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

// A line of the rate files: the leading fields, then the rates in the order
// of kRateCodes, tab-separated, their control characters written as blanks
// (platform/field_text.h) and every comma removed.
std::string RatesLine(std::initializer_list<std::string_view> leading, std::span<const std::string, 7> rates);

// The one line of the latest-rates file: "JPN", date, time and the rates.
std::string LatestRatesLine(const ExchangeRateRec& rec);

// Replaces the file of the number, name part and extension (blank: the
// number's default) with lines 1..n.
void CFEXC53M(common::EnvRec& env, long fileNumber, long n, const std::string& namePart,
              const std::string& extension, std::span<const std::string> lines);

// Rewrites the latest-rates file with the line of `rec`; `lineCount` is 1.
void CFEXC55M(common::EnvRec& env, long fileNumber, long lineCount, const std::string& namePart,
              const std::string& extension, const ExchangeRateRec& rec);

}  // namespace collect
