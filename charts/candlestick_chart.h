#pragma once
#include <span>

#include "charts/chart_target.h"
#include "charts/drawing_list.h"
#include "common/files/env_rec.h"
#include "marketdata/price_series.h"

namespace charts {

// The candlestick chart of the chart rows (prepared by
// analysis::LoadChartPriceSeries: prices scaled, averages and directions
// filled) for the frame: candles, the 5-, 25- and 75-row averages, volume
// bars, date marks, the price and volume scales and the title, by the
// KsnGrh chart settings. No rows: the warning "株価時系列データが存在しません。　"
// and false.
bool AGCDL00M(const ChartFrame& frame, const ChartTarget& target, std::span<const marketdata::PriceRec> rows,
              ChartScene& scene);

// Loads the stock's series by the chart settings (a warning when it has none)
// and draws its candlestick chart.
bool DrawStockCandlestickChart(common::EnvRec& env, const ChartFrame& frame, const ChartTarget& target,
                               ChartScene& scene);

}  // namespace charts
