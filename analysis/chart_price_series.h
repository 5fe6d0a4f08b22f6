#pragma once
#include <cstdint>
#include <string_view>
#include <vector>

#include "common/files/env_rec.h"
#include "marketdata/code_master.h"
#include "marketdata/price_series.h"
#include "platform/currency.h"

namespace analysis {

// Values of KsnGrh\GrahRange: the chart rows are daily, weekly, or (any other
// value) monthly.
inline constexpr std::int32_t kChartRangeDaily = 1;
inline constexpr std::int32_t kChartRangeWeekly = 2;

// How a daily series becomes the chart series.
struct ChartSeriesOptions {
    bool splitAdjusted = false;  // KsnGrh\GrahSplt is 1
    std::int32_t range = kChartRangeDaily;
    platform::Currency priceScale{1};  // of the stock's currency
};

// The chart settings and the price scale of `currencyCode`.
ChartSeriesOptions ReadChartSeriesOptions(std::string_view currencyCode);

// Split adjustment of the daily rows (when asked), then the chart rows built
// from them with their work fields filled: unscaled copies, prices other than
// the quantity multiplied by the price scale, moving averages of the close
// and the quantity, direction text. Weekly or monthly, `daily` keeps the
// daily rows, never scaled; daily, its rows move to `chart` without a copy
// and `daily` is left with the rows `chart` held, storage for the next load.
void PrepareChartSeries(std::vector<marketdata::PriceRec>& daily, const ChartSeriesOptions& options,
                        std::vector<marketdata::PriceRec>& chart);

// PrepareChartSeries for the judgement's value rows: only the prices are
// scaled, as there are no work fields.
void PrepareJudgedSeries(std::vector<marketdata::PriceValues>& daily, const ChartSeriesOptions& options,
                         std::vector<marketdata::PriceValues>& chart);

// Loads the stock's daily series (file 1014, candle kind "D", ".txt") and
// prepares the chart series by the chart settings. No series: with
// `showMessage` 1 a warning box, then false with both outputs empty.
// The stock's chart-line files are not touched: the screens that show a
// freshly judged stock delete them (DeleteChartLineFiles) before calling.
// `currencyCode` is the stock's currency, which the caller holds beside the
// code-master record.
bool LoadChartPriceSeries(int showMessage, common::EnvRec& env, const marketdata::CdmRec& company,
                          std::string_view currencyCode, std::vector<marketdata::PriceRec>& daily,
                          std::vector<marketdata::PriceRec>& chart);

// LoadChartPriceSeries for the judgement, without a message: value rows
// (LoadPriceSeriesValues) prepared by PrepareJudgedSeries with `options`
// (ReadChartSeriesOptions), which a part reads once for all its companies.
bool LoadJudgedPriceSeries(common::EnvRec& env, const marketdata::CdmRec& company, const ChartSeriesOptions& options,
                           std::vector<marketdata::PriceValues>& daily, std::vector<marketdata::PriceValues>& chart);

}  // namespace analysis
