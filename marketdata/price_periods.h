#pragma once
#include <span>
#include <vector>

#include "marketdata/price_series.h"

namespace marketdata {

// Daily rows (ascending dates) summed into periods: open of the first row,
// highest high, lowest low, close and adjusted close of the last row, summed
// quantity; the text columns 0-6 of full rows are the texts of those values.
// False, and no period, when there is no daily row.

// Calendar weeks Monday to Sunday, each dated by its Monday. Rows of
// different weeks never share a period, however the data skips days.
bool BuildWeeklySeries(std::span<const PriceRec> daily, std::vector<PriceRec>& weekly);
bool BuildWeeklySeries(std::span<const PriceValues> daily, std::vector<PriceValues>& weekly);

// Calendar months, each dated by its first day; the year counts.
bool BuildMonthlySeries(std::span<const PriceRec> daily, std::vector<PriceRec>& monthly);
bool BuildMonthlySeries(std::span<const PriceValues> daily, std::vector<PriceValues>& monthly);

}  // namespace marketdata
