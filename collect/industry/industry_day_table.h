#pragma once
#include <array>
#include <string>
#include <vector>

#include "marketdata/price_series.h"
#include "platform/currency.h"
#include "platform/date.h"

namespace collect {

// Days of the industry day table: 1900/01/01 is row 1, 2036/11/22 row CnsChartMax.
inline constexpr long CnsChartMax = 50000;

// The row of a date: its days since 1899/12/31; 0 when it lies outside the table.
long DayRow(const platform::Date& date);
// DayRow of a "yyyy/mm/dd" text; 0 when it is not a date.
long DayRow(const std::string& date);
// The "yyyy/mm/dd" date of a row.
std::string DayRowDate(long row);

// The members' weighted prices summed per day, indexed directly by day row,
// so that every member row is added without a search.
class HpdTbl {
public:
    HpdTbl();

    // Every sum and count back to 0.
    void Clear();

    // Adds a member row on day `row` (1..CnsChartMax): open, high, low, close
    // and adjusted close times `weight`, and one to the day's count.
    void Add(long row, const marketdata::PriceRec& rec, const platform::Currency& weight);

    // One series row per day that has members, in date order: the average of
    // each summed price over the day's members ("0.00000") and the member
    // count as the quantity.
    void BuildRows(std::vector<marketdata::PriceRec>& rows) const;

private:
    struct Day {
        std::array<platform::Currency, 5> sums{};  // open, high, low, close, adjusted close
        long count = 0;
    };
    std::vector<Day> days_;  // days_[row - 1]
};

}  // namespace collect
