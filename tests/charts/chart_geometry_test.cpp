#include <gtest/gtest.h>

#include <string>

#include "charts/axis_bounds.h"
#include "charts/chart_layout.h"
#include "charts/colour_palette.h"
#include "charts/period_start.h"
#include "charts/price_to_y.h"

namespace {

using charts::ChartContext;
using charts::ChartFrame;
using charts::ChartKind;
using charts::ChartScene;

TEST(PeriodStartDate, CountsBackMonthsAndYearsKeepingTheDay) {
    struct Case {
        int code;
        platform::Date last;
        const char* start;
    };
    const Case cases[] = {
        {1, {2005, 5, 20}, "2005/02/20"}, {1, {2005, 2, 20}, "2004/11/20"}, {2, {2005, 3, 31}, "2004/09/31"},
        {2, {2005, 6, 30}, "2004/12/30"}, {3, {2004, 2, 29}, "2003/02/29"}, {5, {2005, 1, 5}, "2000/01/05"},
        {0, {2005, 1, 5}, "1900/01/01"},  {6, {2005, 1, 5}, "1900/01/01"},
    };
    for (const Case& c : cases) EXPECT_EQ(charts::PeriodStartDate(c.code, c.last), c.start) << c.code;
}

TEST(AxisBounds, RoundToTheLeadingDigits) {
    struct Case {
        double value;
        double upper;
        double lower;
        int digits;
    };
    const Case cases[] = {{47, 50, 30, 2}, {40, 50, 30, 2}, {1234, 1300, 1100, 4}, {7, 10, 0, 1}, {100, 110, 90, 3}};
    for (const Case& c : cases) {
        int upperDigits = 0;
        int lowerDigits = 0;
        EXPECT_EQ(charts::AxisUpperBound(c.value, upperDigits), c.upper) << c.value;
        EXPECT_EQ(charts::AxisLowerBound(c.value, lowerDigits), c.lower) << c.value;
        EXPECT_EQ(upperDigits, c.digits);
        EXPECT_EQ(lowerDigits, c.digits);
    }
}

TEST(PriceToY, MapsTheRangeOntoThePaneAndClipsBeyondIt) {
    EXPECT_DOUBLE_EQ(charts::PriceToY(0, 200, 100, 10), 110);
    EXPECT_DOUBLE_EQ(charts::PriceToY(200, 200, 100, 10), 10);
    EXPECT_DOUBLE_EQ(charts::PriceToY(50, 200, 100, 10), 85);
    // Beyond the axis the value stays at the edge instead of mirroring back in.
    EXPECT_DOUBLE_EQ(charts::PriceToY(-50, 200, 100, 10), 110);
    EXPECT_DOUBLE_EQ(charts::PriceToY(300, 200, 100, 10), 10);
    // A range of 0 (one price) counts as 1.
    EXPECT_DOUBLE_EQ(charts::PriceToY(0, 0, 100, 10), 110);
}

struct Layout {
    ChartContext ctx;
    ChartScene scene;
};

Layout LaidOut(ChartKind kind, int barSize, long bars, ChartFrame frame, double largestQuantity = 1000) {
    Layout layout;
    layout.ctx.barSize = barSize;
    charts::LayoutChartArea(kind, largestQuantity, bars, layout.ctx, frame, layout.scene);
    return layout;
}

TEST(LayoutChartArea, PitchByBarSize) {
    struct Case {
        int barSize;
        long bars;
        double frameWidth;
        double pitch;
        double bodyWidth;
        double gap;
        double surfaceWidth;
    };
    const Case cases[] = {
        {0, 2000, 1011, 0.5, 0.5, 0, 1011},  // whole: the plot shared out
        {0, 20, 1011, 15, 14, 1, 1011},      // whole: capped at 15
        {0, 400, 1011, 2.5, 2.5, 0, 1011},   // no gap until the pitch's whole part exceeds 2
        {1, 20, 1011, 5, 4, 1, 1011},       {2, 20, 1011, 9, 8, 1, 1011},
        {3, 100, 1011, 15, 14, 1, 1511},                                 // wider than the frame: bars × pitch + 11
        {7, 10, 1011, 15, 14, 1, 1011},     {0, 10, 0, 0.1, 0.1, 0, 1},  // not yet shown: a plot of one pixel
    };
    for (const Case& c : cases) {
        const Layout layout = LaidOut(ChartKind::Candlestick, c.barSize, c.bars, {c.frameWidth, 400, 120});
        EXPECT_DOUBLE_EQ(layout.ctx.pitch, c.pitch) << c.barSize << "/" << c.bars;
        EXPECT_DOUBLE_EQ(layout.ctx.bodyWidth, c.bodyWidth) << c.barSize << "/" << c.bars;
        EXPECT_DOUBLE_EQ(layout.ctx.gap, c.gap) << c.barSize << "/" << c.bars;
        EXPECT_DOUBLE_EQ(layout.scene.surface.width, c.surfaceWidth) << c.barSize << "/" << c.bars;
    }
}

TEST(LayoutChartArea, PanesOfBothChartKinds) {
    const Layout candle = LaidOut(ChartKind::Candlestick, 3, 10, {500, 425, 120});
    EXPECT_DOUBLE_EQ(candle.ctx.plot.height, 400);  // 425 - 10 - 15
    EXPECT_DOUBLE_EQ(candle.ctx.volume.height, 80);
    EXPECT_DOUBLE_EQ(candle.ctx.price.top, 10);
    EXPECT_DOUBLE_EQ(candle.ctx.price.height, 305);  // 400 - 15 - 80
    EXPECT_DOUBLE_EQ(candle.ctx.dateBand.top, 316);
    EXPECT_DOUBLE_EQ(candle.ctx.volume.top, 332);
    EXPECT_DOUBLE_EQ(candle.ctx.volume.bottom, 412);
    EXPECT_DOUBLE_EQ(candle.ctx.plot.width, 489);
    EXPECT_DOUBLE_EQ(candle.scene.scale.width, 120);

    // No quantity: a volume pane of 1 %.
    EXPECT_DOUBLE_EQ(LaidOut(ChartKind::Candlestick, 3, 10, {500, 425, 120}, 0).ctx.volume.height, 4);

    const Layout kagi = LaidOut(ChartKind::Kagi, 3, 10, {500, 420, 120}, 0);
    EXPECT_DOUBLE_EQ(kagi.ctx.plot.height, 400);  // 420 - 10 - 10
    EXPECT_DOUBLE_EQ(kagi.ctx.upperSpacer, 42);
    EXPECT_DOUBLE_EQ(kagi.ctx.volume.height, 4);
    EXPECT_DOUBLE_EQ(kagi.ctx.price.top, 52);
    EXPECT_DOUBLE_EQ(kagi.ctx.price.height, 297);  // 400 - 15 - 4 - 2 × 42
    EXPECT_DOUBLE_EQ(kagi.ctx.dateBand.top, 52 + 297 + 42 + 1);
}

TEST(LayoutChartArea, ScrollRangeIsTheExcessOverTheFrame) {
    const ChartFrame frame{500, 400, 120};
    Layout wide = LaidOut(ChartKind::Candlestick, 3, 100, frame);
    charts::SetScrollRange(frame, wide.scene);
    EXPECT_EQ(wide.scene.scrollMaximum, 1511 - 500);
    EXPECT_TRUE(wide.scene.scrollVisible);

    Layout fits = LaidOut(ChartKind::Candlestick, 3, 10, frame);
    charts::SetScrollRange(frame, fits.scene);
    EXPECT_EQ(fits.scene.scrollMaximum, 0);
    EXPECT_FALSE(fits.scene.scrollVisible);
}

TEST(GetColourPair, PaletteWithBlackForUnknownNumbers) {
    EXPECT_EQ(charts::GetColourPair(4), (charts::ColourPair{{255, 0, 0}, {255, 191, 191}}));
    EXPECT_EQ(charts::GetColourPair(8), (charts::ColourPair{{150, 150, 150}, {200, 200, 200}}));
    EXPECT_EQ(charts::GetColourPair(100), (charts::ColourPair{{224, 238, 224}, {224, 238, 224}}));
    EXPECT_EQ(charts::GetColourPair(7), charts::ColourPair{});
    EXPECT_EQ(charts::GetColourPair(-1), charts::ColourPair{});
}

}  // namespace
