#include "collect/industry/calendar_alignment.h"

#include <algorithm>
#include <optional>
#include <string_view>

#include "platform/date_parse.h"

namespace collect {

namespace {

std::string_view DayOf(std::string_view date) { return date.substr(0, 10); }

// A calendar day the stock did not trade: the row before, its prices all at
// the adjusted close (the close when the file gives none) and no quantity.
marketdata::PriceRec CarriedRow(const marketdata::PriceRec& before, const std::string& date) {
    marketdata::PriceRec row = before;
    row.Text[0] = date;
    row.Date = platform::ParseDate(date).value_or(platform::Date{});
    const std::string price = before.AdjClose.ToText();
    for (std::size_t c = 1; c <= 4; ++c) row.Text[c] = price;
    row.Open = row.High = row.Low = row.Close = before.AdjClose;
    row.Text[5] = "0";
    row.Volume = platform::Currency{};
    return row;
}

}  // namespace

void AlignSeriesToCalendar(const std::string& startDate, std::span<const std::string> calendar,
                           std::vector<marketdata::PriceRec>& rows) {
    if (rows.empty() || calendar.empty()) return;
    const auto fromStart = std::ranges::find_if(
        rows, [&](const marketdata::PriceRec& row) { return DayOf(row.Text[0]) >= DayOf(startDate); });
    std::size_t s = fromStart == rows.end() ? rows.size() - 1 : static_cast<std::size_t>(fromStart - rows.begin());
    const std::string_view first = DayOf(rows[s].Text[0]);
    std::size_t c = static_cast<std::size_t>(
        std::ranges::find_if(calendar, [&](const std::string& day) { return DayOf(day) >= first; }) -
        calendar.begin());

    std::vector<marketdata::PriceRec> aligned;
    aligned.reserve(rows.size() - s + calendar.size() - c);
    // The first step always takes a stock row, so a carried row has one before it.
    while (s < rows.size() || c < calendar.size()) {
        const bool stockLeft = s < rows.size();
        const bool calendarLeft = c < calendar.size();
        const std::string_view stockDay = stockLeft ? DayOf(rows[s].Text[0]) : std::string_view();
        const std::string_view calendarDay = calendarLeft ? DayOf(calendar[c]) : std::string_view();
        if (stockLeft && (!calendarLeft || stockDay <= calendarDay)) {
            if (calendarLeft && stockDay == calendarDay) ++c;
            aligned.push_back(rows[s++]);
        } else {
            aligned.push_back(CarriedRow(aligned.back(), std::string(calendarDay)));
            ++c;
        }
    }
    rows = std::move(aligned);
}

}  // namespace collect
