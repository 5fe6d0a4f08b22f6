#include "marketdata/price_periods.h"

#include <algorithm>
#include <type_traits>

namespace marketdata {

namespace {

// The first day of the period that holds a date.
using PeriodStart = platform::Date (*)(const platform::Date&);

platform::Date MondayOf(const platform::Date& date) {
    // Weekday: Sunday 1 .. Saturday 7, so Monday is 0 days back and Sunday 6.
    return platform::AddDays(date, -((platform::Weekday(date) + 5) % 7));
}

platform::Date FirstOfMonth(const platform::Date& date) { return {date.year, date.month, 1}; }

void WriteValueTexts(PriceRec& rec) {
    rec.Text[0] = platform::DateText(rec.Date);
    rec.Text[1] = rec.Open.ToText();
    rec.Text[2] = rec.High.ToText();
    rec.Text[3] = rec.Low.ToText();
    rec.Text[4] = rec.Close.ToText();
    rec.Text[5] = rec.Volume.ToText();
    rec.Text[6] = rec.AdjClose.ToText();
}

template <class Row>
bool BuildPeriodSeries(std::span<const Row> daily, PeriodStart periodStart, std::vector<Row>& periods) {
    periods.clear();
    if (daily.empty()) return false;
    periods.reserve(daily.size());
    for (const Row& day : daily) {
        const platform::Date start = periodStart(day.Date);
        if (periods.empty() || periods.back().Date != start) {
            Row& opened = periods.emplace_back();
            opened.Date = start;
            opened.Open = day.Open;
            opened.High = day.High;
            opened.Low = day.Low;
        }
        Row& period = periods.back();
        period.High = std::max(period.High, day.High);
        period.Low = std::min(period.Low, day.Low);
        period.Close = day.Close;
        period.AdjClose = day.AdjClose;
        period.Volume += day.Volume;
    }
    periods.shrink_to_fit();
    if constexpr (std::is_same_v<Row, PriceRec>) {
        for (PriceRec& period : periods) WriteValueTexts(period);
    }
    return true;
}

}  // namespace

bool BuildWeeklySeries(std::span<const PriceRec> daily, std::vector<PriceRec>& weekly) {
    return BuildPeriodSeries(daily, MondayOf, weekly);
}

bool BuildMonthlySeries(std::span<const PriceRec> daily, std::vector<PriceRec>& monthly) {
    return BuildPeriodSeries(daily, FirstOfMonth, monthly);
}

bool BuildWeeklySeries(std::span<const PriceValues> daily, std::vector<PriceValues>& weekly) {
    return BuildPeriodSeries(daily, MondayOf, weekly);
}

bool BuildMonthlySeries(std::span<const PriceValues> daily, std::vector<PriceValues>& monthly) {
    return BuildPeriodSeries(daily, FirstOfMonth, monthly);
}

}  // namespace marketdata
