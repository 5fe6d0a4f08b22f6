#pragma once
#include <string>
#include <vector>

#include "marketdata/price_band.h"
#include "marketdata/price_series.h"
#include "platform/date.h"
#include "platform/numeric_text.h"

namespace analysis_test {

// Day serials of January 2024: the 1st is 45292.
inline double Jan2024(int day) { return 45291.0 + day; }

// One band for prices 100-999, width 10 and tick 1, so hand-worked series
// turn on every move of 10 and break 2 past the previous line's end.
inline std::vector<marketdata::PriceLimitRec> OneBand() {
    marketdata::PriceLimitRec band;
    band.BandLow = *platform::ParseCurrency("100");
    band.BandHigh = *platform::ParseCurrency("999");
    band.Width = *platform::ParseCurrency("10");
    band.Tick = *platform::ParseCurrency("1");
    return {band};
}

// Daily rows from 2024/01/01 on, one per close; the close is also the
// adjusted close.
inline std::vector<marketdata::PriceRec> DailyRows(const std::vector<const char*>& closes) {
    std::vector<marketdata::PriceRec> rows;
    for (const char* close : closes) {
        marketdata::PriceRec row;
        row.Date = platform::Date{2024, 1, static_cast<int>(rows.size()) + 1};
        row.Text[0] = platform::DateText(row.Date);
        row.Close = *platform::ParseCurrency(close);
        row.AdjClose = row.Close;
        rows.push_back(row);
    }
    return rows;
}

// DailyRows as the judgement's value rows.
inline std::vector<marketdata::PriceValues> DailyValues(const std::vector<const char*>& closes) {
    return marketdata::ValuesOf(DailyRows(closes));
}

}  // namespace analysis_test
