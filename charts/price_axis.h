#pragma once
#include "charts/axis_ticks.h"
#include "charts/chart_context.h"
#include "charts/drawing_list.h"

namespace charts {

// Builds the price axis for the lowest and highest price shown (scaled by the
// currency, not yet logarithmic) and draws its ticks across the price pane
// and its labels on the scale; then the lowest and highest marks, unless
// GrahLwhi is 0. The pane spans exactly from the lowest to the highest price.
AxisScale DrawPriceAxis(double lowest, double highest, const ChartContext& ctx, ChartScene& scene);

// One entry of the price axis: a grey line for a tick, a blue (low) or red
// (high) strip for a mark with a pale band behind its label on the scale.
void DrawPriceTick(const AxisTick& tick, double range, const ChartContext& ctx, ChartScene& scene);

// The font size of the scale labels.
inline constexpr int kScaleLabelFontSize = 8;

}  // namespace charts
