#include "analysis/chart_price_series.h"

#include <array>
#include <span>
#include <type_traits>

#include "common/currency_scale.h"
#include "common/logs/message_box.h"
#include "common/settings/settings.h"
#include "marketdata/price_periods.h"

namespace analysis {

namespace {

using marketdata::PriceRec;
using marketdata::PriceValues;
using marketdata::kChartAverageWindows;
using platform::Currency;

constexpr const char* kChartSection = "KsnGrh";
constexpr const char* kNoSeriesWarning = "株価時系列データが存在しません。　";
constexpr int kWarningStyle = 48;

// Scales the four prices by adjusted close ÷ close. The product is taken in
// one exact step: a ratio rounded to four decimals first would leave the
// adjusted close a little off the adjusted value (300 × 0.3333 ≠ 100).
template <class Row>
void AdjustForSplits(std::span<Row> rows) {
    for (PriceValues& row : rows) {
        // Most rows carry no split: a ratio of one leaves the prices as they are.
        if (row.Close <= Currency() || row.AdjClose == row.Close) continue;
        const __int128 adjusted = row.AdjClose.raw();
        const __int128 close = row.Close.raw();
        for (Currency* price : {&row.Open, &row.High, &row.Low, &row.Close}) {
            *price = Currency::FromRawRatio(price->raw() * adjusted, close);
        }
    }
}

void ScalePrices(PriceValues& row, const Currency& priceScale) {
    for (Currency* price : {&row.Open, &row.High, &row.Low, &row.Close, &row.AdjClose}) *price = *price * priceScale;
}

void FillWorkFields(std::span<PriceRec> rows, const Currency& priceScale) {
    std::array<Currency, kChartAverageWindows.size()> closeSums{};
    std::array<Currency, kChartAverageWindows.size()> volumeSums{};
    const bool scaled = priceScale != Currency(1);  // most stocks trade in yen
    for (std::size_t i = 0; i < rows.size(); ++i) {
        PriceRec& row = rows[i];
        row.UnscaledOpen = row.Open;
        row.UnscaledHigh = row.High;
        row.UnscaledLow = row.Low;
        row.UnscaledClose = row.Close;
        row.UnscaledVolume = row.Volume;
        row.UnscaledAdjClose = row.AdjClose;
        if (scaled) ScalePrices(row, priceScale);
        for (std::size_t w = 0; w < kChartAverageWindows.size(); ++w) {
            const auto window = static_cast<std::size_t>(kChartAverageWindows[w]);
            closeSums[w] += row.Close;
            volumeSums[w] += row.Volume;
            if (i >= window) {
                closeSums[w] -= rows[i - window].Close;
                volumeSums[w] -= rows[i - window].Volume;
            }
            if (i + 1 >= window) {
                row.CloseAverage[w] = closeSums[w] / kChartAverageWindows[w];
                row.VolumeAverage[w] = volumeSums[w] / kChartAverageWindows[w];
            }
        }
        row.Direction = row.Close < row.Open ? "2" : "1";
    }
}

}  // namespace

ChartSeriesOptions ReadChartSeriesOptions(std::string_view currencyCode) {
    ChartSeriesOptions options;
    options.splitAdjusted = common::ReadSettingLong(common::SettingKeyPath(kChartSection, "GrahSplt")) == 1;
    options.range = common::ReadSettingLong(common::SettingKeyPath(kChartSection, "GrahRange"));
    options.priceScale = common::CurrencyPriceScale(currencyCode);
    return options;
}

namespace {

// Split adjustment of the daily rows (when asked), then the chart rows of the
// range built from them.
template <class Row>
void ArrangeChartRows(std::vector<Row>& daily, const ChartSeriesOptions& options, std::vector<Row>& chart) {
    if (options.splitAdjusted) AdjustForSplits<Row>(daily);
    if (options.range == kChartRangeDaily) {
        chart.swap(daily);
    } else if (options.range == kChartRangeWeekly) {
        marketdata::BuildWeeklySeries(daily, chart);
    } else {
        marketdata::BuildMonthlySeries(daily, chart);
    }
}

}  // namespace

void PrepareChartSeries(std::vector<PriceRec>& daily, const ChartSeriesOptions& options, std::vector<PriceRec>& chart) {
    ArrangeChartRows(daily, options, chart);
    FillWorkFields(chart, options.priceScale);
}

void PrepareJudgedSeries(std::vector<PriceValues>& daily, const ChartSeriesOptions& options,
                         std::vector<PriceValues>& chart) {
    ArrangeChartRows(daily, options, chart);
    if (options.priceScale == Currency(1)) return;
    for (PriceValues& row : chart) ScalePrices(row, options.priceScale);
}

namespace {

// `chart` keeps its rows until they are overwritten: a caller judging company
// after company then reuses them instead of freeing and allocating thousands
// of rows each time.
template <class Row>
bool LoadAndPrepare(int showMessage, common::EnvRec& env, const marketdata::CdmRec& company,
                    const ChartSeriesOptions& options, std::vector<Row>& daily, std::vector<Row>& chart) {
    bool loaded = false;
    if constexpr (std::is_same_v<Row, PriceRec>) {
        loaded = marketdata::LoadPriceSeries(marketdata::kPriceSeriesFileNumber, env, company.Key, "D", "", ".txt",
                                             daily);
    } else {
        loaded = marketdata::LoadPriceSeriesValues(env, company.Key, "D", "", ".txt", daily);
    }
    if (!loaded) {
        daily.clear();
        chart.clear();
        if (showMessage == 1) common::ShowWarning(kNoSeriesWarning, kWarningStyle);
        return false;
    }
    if constexpr (std::is_same_v<Row, PriceRec>) {
        PrepareChartSeries(daily, options, chart);
    } else {
        PrepareJudgedSeries(daily, options, chart);
    }
    return true;
}

}  // namespace

bool LoadChartPriceSeries(int showMessage, common::EnvRec& env, const marketdata::CdmRec& company,
                          std::string_view currencyCode, std::vector<PriceRec>& daily, std::vector<PriceRec>& chart) {
    return LoadAndPrepare(showMessage, env, company, ReadChartSeriesOptions(currencyCode), daily, chart);
}

bool LoadJudgedPriceSeries(common::EnvRec& env, const marketdata::CdmRec& company, const ChartSeriesOptions& options,
                           std::vector<PriceValues>& daily, std::vector<PriceValues>& chart) {
    return LoadAndPrepare(0, env, company, options, daily, chart);
}

}  // namespace analysis
