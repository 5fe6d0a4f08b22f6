#pragma once
#include "charts/axis_ticks.h"
#include "charts/chart_context.h"
#include "charts/drawing_list.h"

namespace charts {

// Builds the quantity axis of the candlestick chart's volume pane and draws
// it: every entry on the pane as a grey line with its label, then the lowest
// and the highest entry again with a pale band behind the label (unless
// GrahLwhi is 0). Equal lowest and highest quantities give no ticks but 0.
AxisScale DrawVolumeAxis(double lowest, double highest, const ChartContext& ctx, ChartScene& scene);

enum class VolumeTickPass { Plain, Mark };

void DrawVolumeTick(VolumeTickPass pass, const AxisTick& tick, double range, const ChartContext& ctx,
                    ChartScene& scene);

}  // namespace charts
