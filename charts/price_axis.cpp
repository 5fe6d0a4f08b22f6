#include "charts/price_axis.h"

#include <cmath>
#include <cstddef>
#include <vector>

#include "charts/axis_bounds.h"
#include "charts/colour_palette.h"
#include "charts/price_to_y.h"

namespace charts {

namespace {

std::vector<AxisTick> LogAxisTicks(int digits) {
    std::vector<AxisTick> ticks{{0, 0, AxisTick::Kind::Tick}};
    for (int h = 0; h <= digits; ++h) {
        const double power = std::pow(10.0, h);
        ticks.push_back({power, power, AxisTick::Kind::Tick});
        if (h == digits) break;
        for (const double factor : {2.0, 4.0, 6.0, 8.0})
            ticks.push_back({factor * power, factor * power, AxisTick::Kind::Tick});
    }
    return ticks;
}

std::vector<AxisTick> WithMidpoints(const std::vector<AxisTick>& ticks) {
    std::vector<AxisTick> all;
    for (std::size_t i = 0; i < ticks.size(); ++i) {
        if (i > 0) {
            const double middle = (ticks[i - 1].raw + ticks[i].raw) / 2;
            all.push_back({middle, middle, AxisTick::Kind::Tick});
        }
        all.push_back(ticks[i]);
    }
    return all;
}

std::string_view PriceLabelFormat(const platform::Currency& unit) {
    if (unit == platform::Currency::FromRaw(10)) return "##########0.000";
    if (unit == platform::Currency::FromRaw(100)) return "##########0.00";
    return "############0";
}

int TickColour(AxisTick::Kind kind) {
    switch (kind) {
        case AxisTick::Kind::LowMark: return kColourBlue;
        case AxisTick::Kind::HighMark: return kColourRed;
        default: return kColourGrey;
    }
}

}  // namespace

AxisScale DrawPriceAxis(double lowest, double highest, const ChartContext& ctx, ChartScene& scene) {
    AxisScale axis;
    AxisLowerBound(lowest, axis.lowDigits);
    AxisUpperBound(highest, axis.highDigits);
    const bool logScale = ctx.logScale == 1;
    std::vector<AxisTick> ticks = logScale ? LogAxisTicks(axis.highDigits) : LinearAxisTicks(highest, axis.highDigits);
    if (ctx.middleTicks == 1) ticks = WithMidpoints(ticks);
    FinishAxis(std::move(ticks), lowest, highest, logScale, axis);

    for (const bool marks : {false, true}) {
        if (marks && ctx.lowHighMarks == 0) break;
        for (std::size_t i = axis.first; i <= axis.last; ++i) {
            if ((axis.ticks[i].kind != AxisTick::Kind::Tick) == marks)
                DrawPriceTick(axis.ticks[i], axis.range, ctx, scene);
        }
    }
    return axis;
}

void DrawPriceTick(const AxisTick& tick, double range, const ChartContext& ctx, ChartScene& scene) {
    const ColourPair colour = GetColourPair(TickColour(tick.kind));
    const ChartPane& pane = ctx.price;
    const double y = PriceToY(tick.value, range, pane.height, pane.top);
    switch (tick.kind) {
        case AxisTick::Kind::Tick: scene.surface.Line(pane.left, y, pane.right, y, colour.light); break;
        case AxisTick::Kind::LowMark: scene.surface.FilledBox(pane.left, y + 1, pane.right, y, colour.light); break;
        case AxisTick::Kind::HighMark: scene.surface.FilledBox(pane.left, y - 1, pane.right, y, colour.light); break;
    }
    if (tick.kind != AxisTick::Kind::Tick) {
        scene.scale.FilledBox(0, y - 4, scene.scale.width, y + 6, GetColourPair(kColourPaleGreen).light);
    }
    const double label = tick.raw * ctx.priceUnit.ToDouble();
    scene.scale.Text(0, y - 5, AxisLabelText(label, PriceLabelFormat(ctx.priceUnit)), colour.strong,
                     kScaleLabelFontSize);
}

}  // namespace charts
