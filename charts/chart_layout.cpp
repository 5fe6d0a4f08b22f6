#include "charts/chart_layout.h"

#include <algorithm>
#include <cmath>

namespace charts {

namespace {

constexpr double kDateBandHeight = 15;
constexpr double kSideAllowance = 11;  // left and right margins of the plot
constexpr double kMaxPitch = 15;

double FramedWidth(const ChartFrame& frame) { return std::max(frame.width, 1.0); }

double Pitch(std::int32_t barSize, double plotWidth, long bars) {
    switch (barSize) {
        case 0: return std::min(plotWidth / static_cast<double>(std::max(bars, 1L)), kMaxPitch);
        case 1: return 5;
        case 2: return 9;
        default: return kMaxPitch;
    }
}

void SetPane(ChartPane& pane, double left, double top, double width, double height) {
    pane = {left, top, width, height, left + width, top + height};
}

}  // namespace

void LayoutChartArea(ChartKind kind, double largestQuantity, long bars, ChartContext& ctx, const ChartFrame& frame,
                     ChartScene& scene) {
    ctx.marginLeft = 1;
    ctx.marginRight = 10;
    ctx.marginTop = 10;
    ctx.marginBottom = kind == ChartKind::Candlestick ? 15 : 10;

    DrawingList& surface = scene.surface;
    surface.width = FramedWidth(frame);
    surface.height = std::max(frame.height, 1.0);
    scene.scale.width = std::max(frame.scaleWidth, 0.0);
    scene.scale.height = surface.height;

    // A frame not yet shown has no plot width: one pixel keeps the pitch positive.
    ctx.pitch = Pitch(ctx.barSize, std::max(surface.width - kSideAllowance, 1.0), bars);
    const double barsWidth = static_cast<double>(bars) * ctx.pitch;
    if (surface.width < barsWidth) surface.width = barsWidth + kSideAllowance;

    ctx.bodyWidth = ctx.pitch;
    ctx.gap = 0;
    if (std::floor(ctx.pitch) > 2) {
        ctx.bodyWidth = ctx.pitch - 1;
        ctx.gap = 1;
    }

    SetPane(ctx.plot, ctx.marginLeft, ctx.marginTop, std::max(surface.width - kSideAllowance, 1.0),
            surface.height - ctx.marginTop - ctx.marginBottom);
    const double volumeShare = kind == ChartKind::Candlestick && largestQuantity > 0 ? 0.2 : 0.01;
    const double volumeHeight = std::floor(ctx.plot.height * volumeShare);
    const double spacer = kind == ChartKind::Kagi ? std::floor(surface.height * 0.1) : 0;
    ctx.upperSpacer = spacer;
    ctx.lowerSpacer = spacer;
    const double priceHeight = ctx.plot.height - kDateBandHeight - volumeHeight - 2 * spacer;

    const double left = ctx.plot.left;
    const double width = ctx.plot.width;
    SetPane(ctx.price, left, ctx.plot.top + spacer, width, priceHeight);
    SetPane(ctx.dateBand, left, ctx.price.bottom + spacer + 1, width, kDateBandHeight);
    SetPane(ctx.volume, left, ctx.dateBand.bottom + 1, width, volumeHeight);
}

void SetScrollRange(const ChartFrame& frame, ChartScene& scene) {
    const double excess = scene.surface.width - FramedWidth(frame);
    scene.scrollVisible = excess > 0;
    scene.scrollMaximum = scene.scrollVisible ? static_cast<long>(std::ceil(excess)) : 0;
}

double BodyLeft(const ChartContext& ctx, double barX) { return ctx.plot.left + ctx.gap + barX; }

double BodyRight(const ChartContext& ctx, double barX) { return BodyLeft(ctx, barX) + ctx.bodyWidth - 1; }

double BodyCentre(const ChartContext& ctx, double barX) { return BodyLeft(ctx, barX) + (ctx.bodyWidth - 1) / 2; }

}  // namespace charts
