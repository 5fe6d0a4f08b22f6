#include "collect/industry/industry_day_table.h"

#include <algorithm>
#include <optional>

#include "platform/date_parse.h"
#include "platform/number_format.h"

namespace collect {

namespace {

constexpr platform::Date kDayZero{1899, 12, 31};

}  // namespace

long DayRow(const platform::Date& date) {
    if (!platform::IsValidDate(date.year, date.month, date.day)) return 0;
    const long row = platform::DaysBetween(kDayZero, date);
    return row >= 1 && row <= CnsChartMax ? row : 0;
}

long DayRow(const std::string& date) {
    const std::optional<platform::Date> parsed = platform::ParseDate(date);
    return parsed ? DayRow(*parsed) : 0;
}

std::string DayRowDate(long row) { return platform::DateText(platform::AddDays(kDayZero, row)); }

HpdTbl::HpdTbl() : days_(static_cast<std::size_t>(CnsChartMax)) {}

void HpdTbl::Clear() { std::fill(days_.begin(), days_.end(), Day{}); }

void HpdTbl::Add(long row, const marketdata::PriceRec& rec, const platform::Currency& weight) {
    Day& day = days_[static_cast<std::size_t>(row - 1)];
    const platform::Currency* const prices[] = {&rec.Open, &rec.High, &rec.Low, &rec.Close, &rec.AdjClose};
    for (std::size_t k = 0; k < day.sums.size(); ++k) day.sums[k] += *prices[k] * weight;
    ++day.count;
}

void HpdTbl::BuildRows(std::vector<marketdata::PriceRec>& rows) const {
    rows.clear();
    for (std::size_t i = 0; i < days_.size(); ++i) {
        const Day& day = days_[i];
        if (day.count == 0) continue;
        marketdata::PriceRec& rec = rows.emplace_back();
        rec.Text[0] = DayRowDate(static_cast<long>(i) + 1);
        const auto average = [&](std::size_t k) {
            return platform::FormatNumber(day.sums[k].ToDouble() / static_cast<double>(day.count), "0.00000");
        };
        for (std::size_t k = 0; k < 4; ++k) rec.Text[k + 1] = average(k);
        rec.Text[5] = platform::FormatNumber(static_cast<double>(day.count), "0");
        rec.Text[6] = average(4);
    }
}

}  // namespace collect
