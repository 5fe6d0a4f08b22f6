#include "marketdata/price_periods.h"

#include <gtest/gtest.h>

#include "platform/date_parse.h"

namespace {

using platform::Currency;

// A daily row whose prices tell it apart: open n, high n + 10, low n - 10,
// close n + 1, quantity 100, adjusted close n + 2.
marketdata::PriceRec Day(const char* date, long long n) {
    marketdata::PriceRec rec;
    rec.Text[0] = date;
    rec.Date = *platform::ParseDate(date);
    rec.Open = Currency(n);
    rec.High = Currency(n + 10);
    rec.Low = Currency(n - 10);
    rec.Close = Currency(n + 1);
    rec.Volume = Currency(100);
    rec.AdjClose = Currency(n + 2);
    return rec;
}

std::vector<std::string> PeriodDates(const std::vector<marketdata::PriceRec>& periods) {
    std::vector<std::string> dates;
    for (const marketdata::PriceRec& period : periods) dates.push_back(period.Text[0]);
    return dates;
}

using Dates = std::vector<std::string>;

TEST(PricePeriods, WeekAggregates) {
    // Wed, Thu, Fri, then Mon, Tue of the next week.
    const std::vector<marketdata::PriceRec> daily = {Day("2004/03/03", 50), Day("2004/03/04", 80),
                                                     Day("2004/03/05", 20), Day("2004/03/08", 30),
                                                     Day("2004/03/09", 40)};
    std::vector<marketdata::PriceRec> weekly;
    ASSERT_TRUE(marketdata::BuildWeeklySeries(daily, weekly));
    ASSERT_EQ(weekly.size(), 2u);
    const marketdata::PriceRec& first = weekly[0];
    EXPECT_EQ(first.Date, (platform::Date{2004, 3, 1}));
    EXPECT_EQ(first.Open, Currency(50));
    EXPECT_EQ(first.High, Currency(90));
    EXPECT_EQ(first.Low, Currency(10));
    EXPECT_EQ(first.Close, Currency(21));
    EXPECT_EQ(first.AdjClose, Currency(22));
    EXPECT_EQ(first.Volume, Currency(300));
    const std::array<std::string, 7> texts = {"2004/03/01", "50", "90", "10", "21", "300", "22"};
    for (std::size_t c = 0; c < texts.size(); ++c) EXPECT_EQ(first.Text[c], texts[c]) << c;
    EXPECT_EQ(weekly[1].Text[0], "2004/03/08");
    EXPECT_EQ(weekly[1].Volume, Currency(200));
}

TEST(PricePeriods, WeeksAcrossGapsAndYearEnds) {
    const struct {
        const char* what;
        std::vector<const char*> days;
        Dates weeks;
    } cases[] = {
        {"Tue then next Wed", {"2004/03/09", "2004/03/17"}, {"2004/03/08", "2004/03/15"}},
        {"same weekday a week on", {"2004/03/08", "2004/03/15"}, {"2004/03/08", "2004/03/15"}},
        {"same weekday a year on", {"2004/03/10", "2005/03/09"}, {"2004/03/08", "2005/03/07"}},
        {"week across new year", {"2007/12/31", "2008/01/02", "2008/01/07"}, {"2007/12/31", "2008/01/07"}},
        {"new year on a Saturday", {"2004/12/31", "2005/01/01", "2005/01/03"}, {"2004/12/27", "2005/01/03"}},
        {"Sunday ends its week", {"2004/03/12", "2004/03/14", "2004/03/15"}, {"2004/03/08", "2004/03/15"}},
    };
    for (const auto& c : cases) {
        std::vector<marketdata::PriceRec> daily;
        for (const char* day : c.days) daily.push_back(Day(day, 100));
        std::vector<marketdata::PriceRec> weekly;
        ASSERT_TRUE(marketdata::BuildWeeklySeries(daily, weekly)) << c.what;
        EXPECT_EQ(PeriodDates(weekly), c.weeks) << c.what;
    }
}

TEST(PricePeriods, MonthsAcrossGapsAndYearEnds) {
    const struct {
        const char* what;
        std::vector<const char*> days;
        Dates months;
    } cases[] = {
        {"month end", {"2004/03/31", "2004/04/01"}, {"2004/03/01", "2004/04/01"}},
        {"same month a year on", {"2004/03/10", "2004/03/31", "2005/03/01"}, {"2004/03/01", "2005/03/01"}},
        {"year end", {"2004/12/30", "2005/01/04", "2005/01/31"}, {"2004/12/01", "2005/01/01"}},
    };
    for (const auto& c : cases) {
        std::vector<marketdata::PriceRec> daily;
        for (const char* day : c.days) daily.push_back(Day(day, 100));
        std::vector<marketdata::PriceRec> monthly;
        ASSERT_TRUE(marketdata::BuildMonthlySeries(daily, monthly)) << c.what;
        EXPECT_EQ(PeriodDates(monthly), c.months) << c.what;
    }
    std::vector<marketdata::PriceRec> monthly;
    ASSERT_TRUE(marketdata::BuildMonthlySeries(std::vector{Day("2004/03/03", 50), Day("2004/03/31", 80)}, monthly));
    EXPECT_EQ(monthly[0].High, Currency(90));
    EXPECT_EQ(monthly[0].Close, Currency(81));
    EXPECT_EQ(monthly[0].Volume, Currency(200));
}

TEST(PricePeriods, NoDailyRows) {
    std::vector<marketdata::PriceRec> periods(2);
    EXPECT_FALSE(marketdata::BuildWeeklySeries({}, periods));
    EXPECT_TRUE(periods.empty());
    periods.resize(2);
    EXPECT_FALSE(marketdata::BuildMonthlySeries({}, periods));
    EXPECT_TRUE(periods.empty());
}

}  // namespace
