#pragma once
#include "charts/chart_context.h"
#include "charts/colour_palette.h"
#include "charts/drawing_list.h"

namespace charts {

// The drawing primitives of both charts. Prices are drawing values (above
// the axis low) mapped into the price pane; `range` is the pane's value span.

// A wick from high to low at the bar's centre, then the body box from open
// to close: filled light, outlined strong.
void DrawCandle(double open, double high, double low, double close, double range, double barX, DrawingList& surface,
                const ChartContext& ctx, const ColourPair& colour);

// The body box alone, from `first` to `second`.
void DrawCandleBody(double first, double second, double range, double barX, DrawingList& surface,
                    const ChartContext& ctx, const ColourPair& colour);

// A box from the quantity down to the bottom of the volume pane.
void DrawVolumeBar(double quantity, double range, double barX, DrawingList& surface, const ChartContext& ctx,
                   const ColourPair& colour);

// A line from the previous bar's centre to this bar's, one pixel below the
// mapped values.
void DrawSeriesSegment(double previous, double current, double range, double previousX, double barX,
                       DrawingList& surface, const ChartContext& ctx, const ColourPair& colour);

}  // namespace charts
