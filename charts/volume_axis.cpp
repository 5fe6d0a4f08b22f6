#include "charts/volume_axis.h"

#include <cmath>
#include <vector>

#include "charts/axis_bounds.h"
#include "charts/colour_palette.h"
#include "charts/price_axis.h"
#include "charts/price_to_y.h"

namespace charts {

namespace {

std::vector<AxisTick> LogVolumeTicks(int digits, bool middleTicks) {
    std::vector<AxisTick> ticks{{0, 0, AxisTick::Kind::Tick}};
    for (int h = 0; h <= digits; ++h) {
        const double power = std::pow(10.0, h);
        ticks.push_back({power, power, AxisTick::Kind::Tick});
        if (middleTicks && h < digits) ticks.push_back({5 * power, 5 * power, AxisTick::Kind::Tick});
    }
    return ticks;
}

}  // namespace

AxisScale DrawVolumeAxis(double lowest, double highest, const ChartContext& ctx, ChartScene& scene) {
    AxisScale axis;
    AxisLowerBound(lowest, axis.lowDigits);
    AxisUpperBound(highest, axis.highDigits);
    const bool spread = lowest != highest;
    const bool logScale = ctx.logScale == 1;
    std::vector<AxisTick> ticks{{0, 0, AxisTick::Kind::Tick}};
    if (spread) {
        ticks = logScale ? LogVolumeTicks(axis.highDigits, ctx.middleTicks == 1)
                         : LinearAxisTicks(highest, axis.highDigits);
    }
    FinishAxis(std::move(ticks), lowest, highest, logScale && spread, axis);

    for (std::size_t i = axis.first; i <= axis.last; ++i) {
        DrawVolumeTick(VolumeTickPass::Plain, axis.ticks[i], axis.range, ctx, scene);
    }
    if (ctx.lowHighMarks != 0) {
        DrawVolumeTick(VolumeTickPass::Mark, axis.ticks[axis.first], axis.range, ctx, scene);
        DrawVolumeTick(VolumeTickPass::Mark, axis.ticks[axis.last], axis.range, ctx, scene);
    }
    return axis;
}

void DrawVolumeTick(VolumeTickPass pass, const AxisTick& tick, double range, const ChartContext& ctx,
                    ChartScene& scene) {
    const ColourPair grey = GetColourPair(kColourGrey);
    const ChartPane& pane = ctx.volume;
    const double y = PriceToY(tick.value, range, pane.height, pane.top);
    scene.surface.Line(pane.left, y, pane.right, y, grey.light);
    if (pass == VolumeTickPass::Mark) {
        scene.scale.FilledBox(0, y - 4, scene.scale.width, y + 6, GetColourPair(kColourPaleGreen).light);
    }
    scene.scale.Text(0, y - 5, AxisLabelText(tick.raw, "############0"), grey.strong, kScaleLabelFontSize);
}

}  // namespace charts
