#include "charts/candlestick_chart.h"

#include <array>
#include <vector>

#include "analysis/chart_price_series.h"
#include "charts/axis_bounds.h"
#include "charts/axis_ticks.h"
#include "charts/chart_context.h"
#include "charts/chart_layout.h"
#include "charts/chart_primitives.h"
#include "charts/chart_title.h"
#include "charts/colour_palette.h"
#include "charts/date_mark.h"
#include "charts/period_start.h"
#include "charts/price_axis.h"
#include "charts/volume_axis.h"
#include "common/logs/message_box.h"
#include "common/procedure_guard.h"

namespace charts {

namespace {

constexpr const char* kNoSeriesWarning = "株価時系列データが存在しません。　";
constexpr int kWarningStyle = 48;
constexpr double kNoMinimumYet = 99999999999999;

// The averages' colours and the first 0-based bar whose segment is drawn:
// the segment from the row before it to the row that first has a value.
constexpr std::array<int, 3> kAverageColours{kColourMagenta, kColourBlue, kColourGreen};
constexpr std::array<std::size_t, 3> kFirstSegmentBar{6, 26, 76};
// The first 0-based row whose average the log scale transforms.
constexpr std::array<std::size_t, 3> kFirstAverageRow{4, 24, 74};

// One shown row in drawing values.
struct CandleBar {
    platform::Date date;
    std::array<double, 4> prices{};  // open, high, low, close
    std::array<double, 3> averages{};
    double quantity = 0;
    bool down = false;
};

struct ShownRows {
    std::vector<CandleBar> bars;
    double lowestPrice = kNoMinimumYet;
    double highestPrice = 0;
    double lowestQuantity = kNoMinimumYet;
    double highestQuantity = 0;
};

ShownRows RowsOfPeriod(std::span<const marketdata::PriceRec> rows, std::int32_t period) {
    ShownRows shown;
    const std::string start = PeriodStartDate(period, rows.back().Date);
    shown.bars.reserve(rows.size());
    for (const marketdata::PriceRec& row : rows) {
        if (platform::DateText(row.Date) < start) continue;
        CandleBar bar;
        bar.date = row.Date;
        bar.prices = {row.Open.ToDouble(), row.High.ToDouble(), row.Low.ToDouble(), row.Close.ToDouble()};
        for (std::size_t w = 0; w < bar.averages.size(); ++w) bar.averages[w] = row.CloseAverage[w].ToDouble();
        bar.quantity = row.Volume.ToDouble();
        bar.down = row.Direction == "2";
        for (const double price : bar.prices) {
            KeepMinimum(price, shown.lowestPrice);
            KeepMaximum(price, shown.highestPrice);
        }
        KeepMinimum(bar.quantity, shown.lowestQuantity);
        KeepMaximum(bar.quantity, shown.highestQuantity);
        shown.bars.push_back(bar);
    }
    return shown;
}

void ToPriceDrawingValues(std::vector<CandleBar>& bars, bool logScale, double axisLow) {
    const auto toDrawing = [&](double& value, bool transform) {
        if (logScale && transform) value = LogIfPositive(value);
        if (value > 0) value -= axisLow;
    };
    for (std::size_t j = 0; j < bars.size(); ++j) {
        for (double& price : bars[j].prices) toDrawing(price, true);
        for (std::size_t w = 0; w < bars[j].averages.size(); ++w)
            toDrawing(bars[j].averages[w], j >= kFirstAverageRow[w]);
    }
}

void ToQuantityDrawingValues(std::vector<CandleBar>& bars, bool logScale, double axisLow) {
    for (CandleBar& bar : bars) {
        if (logScale) bar.quantity = LogIfPositive(bar.quantity);
        if (bar.quantity > 0) bar.quantity -= axisLow;
    }
}

void DrawBars(const std::vector<CandleBar>& bars, double priceRange, double volumeRange, ChartContext& ctx,
              DrawingList& surface) {
    const ColourPair volumeColour = GetColourPair(kColourGreen);
    const ColourPair upColour = GetColourPair(kColourRed);
    const ColourPair downColour = GetColourPair(kColourBlue);
    // At most a date mark (line and label), a volume bar (two items), a
    // candle (three) and a segment of each average: room for them all at once.
    constexpr std::size_t kMostItemsPerBar = 2 + 2 + 3 + kAverageColours.size();
    surface.items.reserve(surface.items.size() + bars.size() * kMostItemsPerBar);
    double barX = 0;
    for (std::size_t j = 0; j < bars.size(); ++j) {
        const CandleBar& bar = bars[j];
        DrawDateMark(barX, bar.date, 0, ctx, surface);
        DrawVolumeBar(bar.quantity, volumeRange, barX, surface, ctx, volumeColour);
        DrawCandle(bar.prices[0], bar.prices[1], bar.prices[2], bar.prices[3], priceRange, barX, surface, ctx,
                   bar.down ? downColour : upColour);
        for (std::size_t w = 0; w < bar.averages.size(); ++w) {
            if (j < kFirstSegmentBar[w]) continue;
            DrawSeriesSegment(bars[j - 1].averages[w], bar.averages[w], priceRange, barX - ctx.pitch, barX, surface,
                              ctx, GetColourPair(kAverageColours[w]));
        }
        barX += ctx.pitch;
    }
}

}  // namespace

bool AGCDL00M(const ChartFrame& frame, const ChartTarget& target, std::span<const marketdata::PriceRec> rows,
              ChartScene& scene) {
    common::FunctionIdGuard guard("AGCDL00M");
    if (rows.empty()) {
        common::ShowWarning(kNoSeriesWarning, kWarningStyle);
        return false;
    }
    scene = ChartScene{};
    ChartContext ctx;
    LoadChartSettings(target.currencyCode, ctx);
    scene.title = ChartTitleText(target.key, target.texts);

    ShownRows shown = RowsOfPeriod(rows, ctx.period);
    LayoutChartArea(ChartKind::Candlestick, shown.highestQuantity, static_cast<long>(shown.bars.size()), ctx, frame,
                    scene);
    const AxisScale priceAxis = DrawPriceAxis(shown.lowestPrice, shown.highestPrice, ctx, scene);
    const AxisScale volumeAxis = DrawVolumeAxis(shown.lowestQuantity, shown.highestQuantity, ctx, scene);

    const bool logScale = ctx.logScale == 1;
    ToPriceDrawingValues(shown.bars, logScale, priceAxis.low);
    if (shown.lowestQuantity != shown.highestQuantity) ToQuantityDrawingValues(shown.bars, logScale, volumeAxis.low);
    DrawBars(shown.bars, priceAxis.range, volumeAxis.range, ctx, scene.surface);
    SetScrollRange(frame, scene);
    return true;
}

bool DrawStockCandlestickChart(common::EnvRec& env, const ChartFrame& frame, const ChartTarget& target,
                               ChartScene& scene) {
    std::vector<marketdata::PriceRec> daily;
    std::vector<marketdata::PriceRec> chart;
    if (!analysis::LoadChartPriceSeries(1, env, target.company, target.currencyCode, daily, chart)) return false;
    return AGCDL00M(frame, target, chart, scene);
}

}  // namespace charts
