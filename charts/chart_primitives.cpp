#include "charts/chart_primitives.h"

#include "charts/chart_layout.h"
#include "charts/price_to_y.h"

namespace charts {

namespace {

double PriceY(double value, double range, const ChartContext& ctx) {
    return PriceToY(value, range, ctx.price.height, ctx.price.top);
}

void OutlinedBox(double x1, double y1, double x2, double y2, DrawingList& surface, const ColourPair& colour) {
    surface.FilledBox(x1, y1, x2, y2, colour.light);
    surface.Box(x1, y1, x2, y2, colour.strong);
}

}  // namespace

void DrawCandle(double open, double high, double low, double close, double range, double barX, DrawingList& surface,
                const ChartContext& ctx, const ColourPair& colour) {
    const double centre = BodyCentre(ctx, barX);
    surface.Line(centre, PriceY(high, range, ctx), centre, PriceY(low, range, ctx), colour.strong);
    DrawCandleBody(open, close, range, barX, surface, ctx, colour);
}

void DrawCandleBody(double first, double second, double range, double barX, DrawingList& surface,
                    const ChartContext& ctx, const ColourPair& colour) {
    OutlinedBox(BodyLeft(ctx, barX), PriceY(first, range, ctx), BodyRight(ctx, barX), PriceY(second, range, ctx),
                surface, colour);
}

void DrawVolumeBar(double quantity, double range, double barX, DrawingList& surface, const ChartContext& ctx,
                   const ColourPair& colour) {
    const double y = PriceToY(quantity, range, ctx.volume.height, ctx.volume.top);
    OutlinedBox(BodyLeft(ctx, barX), y, BodyRight(ctx, barX), ctx.volume.bottom, surface, colour);
}

void DrawSeriesSegment(double previous, double current, double range, double previousX, double barX,
                       DrawingList& surface, const ChartContext& ctx, const ColourPair& colour) {
    surface.Line(BodyCentre(ctx, previousX), PriceY(previous, range, ctx) + 1, BodyCentre(ctx, barX),
                 PriceY(current, range, ctx) + 1, colour.strong);
}

}  // namespace charts
