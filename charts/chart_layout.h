#pragma once
#include "charts/chart_context.h"
#include "charts/drawing_list.h"

namespace charts {

// Sizes the surface and the scale of `scene` for `bars` bars in `frame` and
// lays out the panes, the pitch and the body width in `ctx`. The surface is
// as wide as the frame, or bars × pitch + 11 when that is wider. A candlestick
// chart with a quantity above 0 gets a volume pane of 20 % of the plot; the
// Kagi chart spacers of 10 % above and below its price pane.
void LayoutChartArea(ChartKind kind, double largestQuantity, long bars, ChartContext& ctx, const ChartFrame& frame,
                     ChartScene& scene);

// The scroll range of a drawn surface: how far it exceeds the frame, shown
// only when it does.
void SetScrollRange(const ChartFrame& frame, ChartScene& scene);

// Where bar x puts a body: its left edge, right edge and centre.
double BodyLeft(const ChartContext& ctx, double barX);
double BodyRight(const ChartContext& ctx, double barX);
double BodyCentre(const ChartContext& ctx, double barX);

}  // namespace charts
