#pragma once
#include <cstdint>
#include <string_view>

#include "platform/currency.h"

namespace charts {

enum class ChartKind { Candlestick = 1, Kagi = 2 };

// A rectangle of the drawing surface; right = left + width, bottom = top + height.
struct ChartPane {
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;
    double right = 0;
    double bottom = 0;
};

// The drawing state of one chart: the KsnGrh settings, the panes of the
// layout, the bar geometry and the date labels drawn so far.
struct ChartContext {
    std::int32_t turnColouring = 0;  // GrahConv
    std::int32_t logScale = 0;       // GrahLog
    std::int32_t wide = 0;           // GrahWide: stored, no effect
    std::int32_t middleTicks = 0;    // Grahmidl
    std::int32_t lowHighMarks = 0;   // GrahLwhi: 0 hides the lowest/highest marks
    std::int32_t splitAdjusted = 0;  // GrahSplt
    std::int32_t barSize = 0;        // GrahSize: 0 whole, 1 small, 2 medium, 3 large
    std::int32_t period = 0;         // GrahPeriod, as PeriodStartDate takes it

    double marginLeft = 1;
    double marginRight = 10;
    double marginTop = 10;
    double marginBottom = 15;

    ChartPane plot;
    double upperSpacer = 0;
    double lowerSpacer = 0;
    ChartPane price;
    ChartPane dateBand;
    ChartPane volume;

    double pitch = 0;
    double bodyWidth = 0;
    double gap = 0;

    double lastLabelX = -1000;
    long lastLabelMonth = 0;  // year × 100 + month of the last date label

    double logBase = 2;
    platform::Currency priceScale{1};
    platform::Currency priceUnit{1};
};

// Reads the eight KsnGrh settings and the price scale and unit of `currencyCode`.
void LoadChartSettings(std::string_view currencyCode, ChartContext& ctx);

}  // namespace charts
