#pragma once
#include <span>
#include <string>
#include <vector>

#include "marketdata/price_series.h"

namespace collect {

// Lays a stock's daily rows over the market calendar from `startDate` on
// ("yyyy/mm/dd"), so that the stock has a row on every trading day: the rows
// before the start go (a stock without any row from the start keeps only its
// last one), and a calendar day without a row of the stock repeats the row
// before it at its adjusted close with quantity 0. Rows on days the calendar
// lacks stay. Dates compare on their first ten characters. Nothing changes
// when either list is empty.
void AlignSeriesToCalendar(const std::string& startDate, std::span<const std::string> calendar,
                           std::vector<marketdata::PriceRec>& rows);

}  // namespace collect
