#include "analysis/chart_price_series.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "analysis/chart_line_file.h"
#include "common/currency_scale.h"
#include "common/files/data_file.h"
#include "common/files/text_file_write.h"
#include "common/settings/settings.h"
#include "common/startup/run_env.h"
#include "platform/numeric_text.h"
#include "tests/support/fake_ui.h"
#include "tests/support/program_folder.h"

namespace {

using marketdata::PriceRec;
using platform::Currency;

Currency Money(const char* text) { return *platform::ParseCurrency(text); }

struct Prices {
    Currency open, high, low, close, volume, adjClose;
};

Prices PricesOf(const marketdata::PriceValues& row) { return {row.Open, row.High, row.Low, row.Close, row.Volume, row.AdjClose}; }

void ExpectPrices(const Prices& actual, const Prices& expected, const std::string& label) {
    EXPECT_EQ(actual.open, expected.open) << label;
    EXPECT_EQ(actual.high, expected.high) << label;
    EXPECT_EQ(actual.low, expected.low) << label;
    EXPECT_EQ(actual.close, expected.close) << label;
    EXPECT_EQ(actual.volume, expected.volume) << label;
    EXPECT_EQ(actual.adjClose, expected.adjClose) << label;
}

PriceRec Row(platform::Date date, const Prices& p) {
    PriceRec row;
    row.Date = date;
    row.Text[0] = platform::DateText(date);
    row.Open = p.open;
    row.High = p.high;
    row.Low = p.low;
    row.Close = p.close;
    row.Volume = p.volume;
    row.AdjClose = p.adjClose;
    return row;
}

// Two calendar weeks over a month end. Row 4 closes at its open; rows 6 and 7
// carry split notices in the adjusted close (1/2, then 1/3).
const std::vector<std::string> kDailyLines = {
    "2024/01/29\t100\t110\t90\t105\t10\t105",   // Mon
    "2024/01/30\t105\t120\t100\t110\t20\t110",  // Tue
    "2024/01/31\t110\t115\t95\t100\t30\t100",   // Wed
    "2024/02/01\t104\t108\t98\t104\t40\t104",   // Thu
    "2024/02/02\t104\t106\t101\t102\t50\t102",  // Fri
    "2024/02/05\t102\t112\t100\t110\t60\t55",   // Mon
    "2024/02/06\t110\t111\t96\t99\t70\t33",     // Tue
};

std::vector<PriceRec> DailyRows() {
    std::vector<PriceRec> rows;
    for (const std::string& line : kDailyLines) {
        PriceRec row;
        marketdata::SplitPriceLine(line, row);
        marketdata::PriceRecToValues(row);
        rows.push_back(row);
    }
    return rows;
}

std::vector<PriceRec> Prepare(std::vector<PriceRec>& daily, const analysis::ChartSeriesOptions& options) {
    std::vector<PriceRec> chart;
    analysis::PrepareChartSeries(daily, options, chart);
    return chart;
}

TEST(ChartPriceSeries, SplitAdjustmentScalesPricesByAdjustedOverClose) {
    std::vector<PriceRec> daily = DailyRows();
    const std::vector<PriceRec> chart = Prepare(daily, {.splitAdjusted = true});
    ASSERT_EQ(chart.size(), 7u);
    ExpectPrices(PricesOf(chart[0]), {Currency(100), Currency(110), Currency(90), Currency(105), Currency(10), Currency(105)},
                 "ratio 1");
    ExpectPrices(PricesOf(chart[5]), {Currency(51), Currency(56), Currency(50), Currency(55), Currency(60), Currency(55)},
                 "ratio 1/2");
    // 110 / 3 rounds once; the close lands exactly on the adjusted close.
    ExpectPrices(PricesOf(chart[6]),
                 {Money("36.6667"), Currency(37), Currency(32), Currency(33), Currency(70), Currency(33)}, "ratio 1/3");
    // Kept apart from weekly rows, the daily rows come back adjusted too.
    std::vector<PriceRec> kept = DailyRows();
    Prepare(kept, {.splitAdjusted = true, .range = analysis::kChartRangeWeekly});
    EXPECT_EQ(kept[6].Close, Currency(33));

    std::vector<PriceRec> plain = DailyRows();
    const std::vector<PriceRec> unadjusted = Prepare(plain, {.splitAdjusted = false});
    ExpectPrices(PricesOf(unadjusted[6]),
                 {Currency(110), Currency(111), Currency(96), Currency(99), Currency(70), Currency(33)}, "off");
}

TEST(ChartPriceSeries, RangeChoosesDailyWeeklyOrMonthlyRows) {
    struct Case {
        std::int32_t range;
        std::vector<std::string> dates;
        Prices last;
    };
    const Case cases[] = {
        {1, {}, {Currency(110), Currency(111), Currency(96), Currency(99), Currency(70), Currency(33)}},
        {2, {"2024/01/29", "2024/02/05"}, {Currency(102), Currency(112), Currency(96), Currency(99), Currency(130), Currency(33)}},
        {3, {"2024/01/01", "2024/02/01"}, {Currency(104), Currency(112), Currency(96), Currency(99), Currency(220), Currency(33)}},
        {0, {"2024/01/01", "2024/02/01"}, {Currency(104), Currency(112), Currency(96), Currency(99), Currency(220), Currency(33)}},
    };
    for (const Case& c : cases) {
        const std::string label = "range " + std::to_string(c.range);
        std::vector<PriceRec> daily = DailyRows();
        const std::vector<PriceRec> chart = Prepare(daily, {.range = c.range});
        if (c.dates.empty()) {
            EXPECT_EQ(chart.size(), 7u) << label;
        } else {
            ASSERT_EQ(chart.size(), c.dates.size()) << label;
            for (std::size_t i = 0; i < chart.size(); ++i) EXPECT_EQ(chart[i].Text[0], c.dates[i]) << label;
        }
        ExpectPrices(PricesOf(chart.back()), c.last, label);
    }
}

TEST(ChartPriceSeries, CurrencyScaleMultipliesPricesButNotTheQuantity) {
    struct Case {
        const char* currency;
        long long scale;
    };
    for (const Case& c : {Case{"USD", 100}, Case{"CNY", 1000}, Case{"JPY", 1}}) {
        std::vector<PriceRec> daily = DailyRows();
        const std::vector<PriceRec> chart = Prepare(daily, analysis::ChartSeriesOptions{
                                                               .priceScale = common::CurrencyPriceScale(c.currency)});
        const PriceRec& row = chart[0];
        ExpectPrices(PricesOf(row),
                     {Currency(100 * c.scale), Currency(110 * c.scale), Currency(90 * c.scale),
                      Currency(105 * c.scale), Currency(10), Currency(105 * c.scale)},
                     c.currency);
        ExpectPrices({row.UnscaledOpen, row.UnscaledHigh, row.UnscaledLow, row.UnscaledClose, row.UnscaledVolume,
                      row.UnscaledAdjClose},
                     {Currency(100), Currency(110), Currency(90), Currency(105), Currency(10), Currency(105)},
                     c.currency);
        // The averages are of the scaled close.
        EXPECT_EQ(chart[4].CloseAverage[0], Money("104.2") * c.scale) << c.currency;

        // Daily rows kept apart from the chart rows are never scaled.
        std::vector<PriceRec> kept = DailyRows();
        Prepare(kept, {.range = analysis::kChartRangeWeekly, .priceScale = common::CurrencyPriceScale(c.currency)});
        EXPECT_EQ(kept[0].Open, Currency(100)) << c.currency;
    }
}

// A daily chart takes the daily rows themselves; `daily` is left with the
// rows the chart held, to be loaded into next.
TEST(ChartPriceSeries, DailyRowsMoveToTheChart) {
    std::vector<PriceRec> daily = DailyRows();
    const PriceRec* const first = daily.data();
    std::vector<PriceRec> chart(3);
    const PriceRec* const former = chart.data();
    analysis::PrepareChartSeries(daily, {}, chart);
    ASSERT_EQ(chart.size(), 7u);
    EXPECT_EQ(chart.data(), first);
    EXPECT_EQ(chart[6].Close, Currency(99));
    EXPECT_EQ(daily.size(), 3u);
    EXPECT_EQ(daily.data(), former);
}

// The judgement's value rows get the prices and dates of a full preparation.
TEST(ChartPriceSeries, JudgedRowsHaveTheChartPrices) {
    for (const std::int32_t range :
         {analysis::kChartRangeDaily, analysis::kChartRangeWeekly, std::int32_t{3}}) {
        const analysis::ChartSeriesOptions options{.splitAdjusted = true, .range = range,
                                                   .priceScale = Currency(100)};
        std::vector<PriceRec> daily = DailyRows();
        const std::vector<PriceRec> expected = Prepare(daily, options);
        std::vector<marketdata::PriceValues> values = marketdata::ValuesOf(DailyRows());
        std::vector<marketdata::PriceValues> chart;
        analysis::PrepareJudgedSeries(values, options, chart);
        ASSERT_EQ(chart.size(), expected.size()) << range;
        for (std::size_t i = 0; i < chart.size(); ++i) {
            const std::string label = "range " + std::to_string(range) + " row " + std::to_string(i);
            EXPECT_EQ(chart[i].Date, expected[i].Date) << label;
            ExpectPrices(PricesOf(chart[i]), PricesOf(expected[i]), label);
        }
    }
}

TEST(ChartPriceSeries, FiveRowAveragesAndDirection) {
    std::vector<PriceRec> daily = DailyRows();
    const std::vector<PriceRec> chart = Prepare(daily, {});
    // Closes 105 110 100 104 102 110 99; quantities 10 .. 70.
    const Currency zero;
    EXPECT_EQ(chart[3].CloseAverage[0], zero);
    EXPECT_EQ(chart[3].VolumeAverage[0], zero);
    EXPECT_EQ(chart[4].CloseAverage[0], Money("104.2"));  // 521 / 5
    EXPECT_EQ(chart[4].VolumeAverage[0], Currency(30));
    EXPECT_EQ(chart[5].CloseAverage[0], Money("105.2"));  // 526 / 5
    EXPECT_EQ(chart[5].VolumeAverage[0], Currency(40));
    EXPECT_EQ(chart[6].CloseAverage[0], Currency(103));  // 515 / 5
    EXPECT_EQ(chart[6].VolumeAverage[0], Currency(50));
    EXPECT_EQ(chart[6].CloseAverage[1], zero);

    // "2" only when the close is below the open; row 4 closes at its open.
    const std::vector<std::string> directions = {"1", "1", "2", "1", "2", "1", "2"};
    for (std::size_t i = 0; i < chart.size(); ++i) EXPECT_EQ(chart[i].Direction, directions[i]) << "row " << i + 1;
}

TEST(ChartPriceSeries, LongerAveragesStartOnceTheirWindowFills) {
    // Close i and quantity 10 i on row i.
    std::vector<PriceRec> daily;
    for (long i = 1; i <= 76; ++i) {
        daily.push_back(Row(platform::AddDays({2024, 1, 1}, i), {Currency(i), Currency(i), Currency(i), Currency(i),
                                                                  Currency(10 * i), Currency(i)}));
    }
    const std::vector<PriceRec> chart = Prepare(daily, {});
    EXPECT_EQ(chart[23].CloseAverage[1], Currency());
    EXPECT_EQ(chart[24].CloseAverage[1], Currency(13));  // (1 + .. + 25) / 25
    EXPECT_EQ(chart[24].VolumeAverage[1], Currency(130));
    EXPECT_EQ(chart[25].CloseAverage[1], Currency(14));  // (2 + .. + 26) / 25
    EXPECT_EQ(chart[73].CloseAverage[2], Currency());
    EXPECT_EQ(chart[74].CloseAverage[2], Currency(38));  // (1 + .. + 75) / 75
    EXPECT_EQ(chart[75].VolumeAverage[2], Currency(390));
}

class ChartPriceSeriesLoad : public ::testing::Test {
protected:
    ChartPriceSeriesLoad() {
        common::CCENV00M(env_);
        common::SetTaskWorkPaths(0, 0, env_);
        marketdata::InitCdmRec(company_, 1);
        marketdata::InitKey("JPN", "", "1000", "", company_.Key);
        company_.Key.CorpCode = marketdata::FitField("7203", 20, "CorpCode");
    }

    void WriteSeries() {
        common::CFFIL30M(kDailyLines,
                         common::BuildDataFilePath(marketdata::kPriceSeriesFileNumber, 0, 0,
                                                   marketdata::PriceFileNamePart(company_.Key, "D"), ".txt", env_));
    }

    void SetChart(const char* split, const char* range) {
        common::WriteSetting(common::SettingKeyPath("KsnGrh", "GrahSplt"), split);
        common::WriteSetting(common::SettingKeyPath("KsnGrh", "GrahRange"), range);
    }

    testsupport::ProgramFolder folder_{true};
    testsupport::FakeUi ui_;
    common::EnvRec env_;
    marketdata::CdmRec company_;
    std::vector<PriceRec> daily_{PriceRec{}};
    std::vector<PriceRec> chart_{PriceRec{}};
};

TEST_F(ChartPriceSeriesLoad, AppliesTheChartSettingsAndLeavesChartLineFiles) {
    WriteSeries();
    SetChart("1", "2");
    analysis::KagiLineRec line;
    line.Price = Currency(1);
    analysis::CFKSN52M(env_, company_.Key, marketdata::kChartLineFileNumber, "", ".dat", {&line, 1});
    const std::string chartLineFile =
        marketdata::CFKSN54M(env_, company_.Key, marketdata::kChartLineFileNumber, "", ".dat");

    ASSERT_TRUE(analysis::LoadChartPriceSeries(1, env_, company_, "USD", daily_, chart_));
    EXPECT_EQ(daily_.size(), 7u);
    EXPECT_EQ(daily_[5].Close, Currency(55));  // adjusted, unscaled
    ASSERT_EQ(chart_.size(), 2u);
    // Week of 2024/02/05, split-adjusted, then times 100.
    ExpectPrices(PricesOf(chart_[1]),
                 {Currency(5100), Currency(5600), Currency(3200), Currency(3300), Currency(130), Currency(3300)},
                 "second week");
    EXPECT_EQ(chart_[1].UnscaledLow, Currency(32));
    EXPECT_TRUE(ui_.presenter->boxes.empty());
    EXPECT_TRUE(std::filesystem::exists(chartLineFile));
}

// The judgement's load gives the chart prices and dates of the full load.
TEST_F(ChartPriceSeriesLoad, JudgedSeriesHasTheChartPrices) {
    WriteSeries();
    SetChart("1", "1");
    ASSERT_TRUE(analysis::LoadChartPriceSeries(1, env_, company_, "USD", daily_, chart_));
    std::vector<marketdata::PriceValues> daily;
    std::vector<marketdata::PriceValues> chart;
    ASSERT_TRUE(analysis::LoadJudgedPriceSeries(env_, company_, analysis::ReadChartSeriesOptions("USD"), daily, chart));
    ASSERT_EQ(chart.size(), chart_.size());
    for (std::size_t i = 0; i < chart.size(); ++i) {
        EXPECT_EQ(chart[i].Date, chart_[i].Date) << i;
        ExpectPrices(PricesOf(chart[i]), PricesOf(chart_[i]), "row " + std::to_string(i));
    }

    std::filesystem::remove(common::BuildDataFilePath(marketdata::kPriceSeriesFileNumber, 0, 0,
                                                      marketdata::PriceFileNamePart(company_.Key, "D"), ".txt", env_));
    EXPECT_FALSE(analysis::LoadJudgedPriceSeries(env_, company_, analysis::ReadChartSeriesOptions("USD"), daily, chart));
    EXPECT_TRUE(chart.empty());
    EXPECT_TRUE(ui_.presenter->boxes.empty());
}

TEST_F(ChartPriceSeriesLoad, MissingSeriesWarnsOnlyWhenAsked) {
    EXPECT_FALSE(analysis::LoadChartPriceSeries(0, env_, company_, "JPY", daily_, chart_));
    EXPECT_TRUE(ui_.presenter->boxes.empty());
    EXPECT_TRUE(daily_.empty());
    EXPECT_TRUE(chart_.empty());

    EXPECT_FALSE(analysis::LoadChartPriceSeries(1, env_, company_, "JPY", daily_, chart_));
    ASSERT_EQ(ui_.presenter->boxes.size(), 1u);
    EXPECT_EQ(ui_.presenter->boxes[0].text, "株価時系列データが存在しません。　");
    EXPECT_EQ(ui_.presenter->boxes[0].style, 48);
}

}  // namespace
