#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "charts/chart_layout.h"
#include "charts/colour_palette.h"
#include "charts/price_axis.h"
#include "charts/volume_axis.h"

namespace {

using charts::AxisScale;
using charts::AxisTick;
using charts::DrawItem;

class PriceAxis : public ::testing::Test {
protected:
    PriceAxis() {
        ctx.barSize = 3;
        ctx.lowHighMarks = 1;
        charts::LayoutChartArea(charts::ChartKind::Candlestick, 1000, 10, ctx, {500, 425, 120}, scene);
    }

    std::vector<double> Ticks(const AxisScale& axis) const {
        std::vector<double> values;
        for (const AxisTick& tick : axis.ticks) {
            if (tick.kind == AxisTick::Kind::Tick) values.push_back(tick.raw);
        }
        return values;
    }

    long Count(const charts::DrawingList& list, DrawItem::Kind kind) const {
        return std::count_if(list.items.begin(), list.items.end(), [&](const DrawItem& i) { return i.kind == kind; });
    }

    charts::ChartContext ctx;
    charts::ChartScene scene;
};

TEST_F(PriceAxis, LinearStepByTheLeadingDigits) {
    struct Case {
        double highest;
        double step;
    };
    const Case cases[] = {{97, 2}, {1234, 200}, {4700, 500}, {5000, 1000}, {9500, 1000}, {9600, 200}, {150, 20}};
    for (const Case& c : cases) {
        const std::vector<double> ticks = Ticks(charts::DrawPriceAxis(1, c.highest, ctx, scene));
        ASSERT_GE(ticks.size(), 3u) << c.highest;
        EXPECT_EQ(ticks[1] - ticks[0], c.step) << c.highest;
        // Up to and including the first tick above the highest price.
        EXPECT_GT(ticks.back(), c.highest) << c.highest;
        EXPECT_LE(ticks[ticks.size() - 2], c.highest) << c.highest;
    }
}

TEST_F(PriceAxis, SpansExactlyTheShownPricesAndDrawsOnlyWhatLiesBetween) {
    const AxisScale axis = charts::DrawPriceAxis(61, 97, ctx, scene);
    EXPECT_EQ(axis.low, 61);
    EXPECT_EQ(axis.range, 36);
    EXPECT_EQ(axis.ticks[axis.first].kind, AxisTick::Kind::LowMark);
    EXPECT_EQ(axis.ticks[axis.last].kind, AxisTick::Kind::HighMark);
    // Ticks 62 .. 96 (18 lines), then the two marks as strips with bands behind their labels.
    EXPECT_EQ(Count(scene.surface, DrawItem::Kind::Line), 18);
    EXPECT_EQ(Count(scene.surface, DrawItem::Kind::FilledBox), 2);
    EXPECT_EQ(Count(scene.scale, DrawItem::Kind::FilledBox), 2);
    EXPECT_EQ(Count(scene.scale, DrawItem::Kind::Text), 20);
    const DrawItem& high = scene.surface.items.back();
    EXPECT_EQ(high.colour, charts::GetColourPair(charts::kColourRed).light);
    EXPECT_DOUBLE_EQ(high.y2, ctx.price.top);
    EXPECT_DOUBLE_EQ(high.y1, ctx.price.top - 1);
}

TEST_F(PriceAxis, LowHighSwitchOffHidesOnlyTheMarks) {
    ctx.lowHighMarks = 0;
    const AxisScale axis = charts::DrawPriceAxis(61, 97, ctx, scene);
    EXPECT_EQ(axis.range, 36);
    EXPECT_EQ(Count(scene.surface, DrawItem::Kind::Line), 18);
    EXPECT_EQ(Count(scene.surface, DrawItem::Kind::FilledBox), 0);
    EXPECT_EQ(Count(scene.scale, DrawItem::Kind::FilledBox), 0);
}

TEST_F(PriceAxis, MiddleTicksHalveTheSteps) {
    ctx.middleTicks = 1;
    const std::vector<double> ticks = Ticks(charts::DrawPriceAxis(1, 97, ctx, scene));
    EXPECT_EQ(ticks[1], 1);
    EXPECT_EQ(ticks.back(), 98);
}

TEST_F(PriceAxis, LogScaleLeavesZeroAlone) {
    ctx.logScale = 1;
    const AxisScale axis = charts::DrawPriceAxis(0, 500, ctx, scene);
    EXPECT_EQ(axis.low, 0);
    EXPECT_DOUBLE_EQ(axis.range, std::log2(500.0));
    const std::vector<double> ticks = Ticks(axis);
    EXPECT_EQ(ticks, (std::vector<double>{0, 1, 2, 4, 6, 8, 10, 20, 40, 60, 80, 100, 200, 400, 600, 800, 1000}));

    const AxisScale shifted = charts::DrawPriceAxis(100, 800, ctx, scene);
    EXPECT_DOUBLE_EQ(shifted.low, std::log2(100.0));
    EXPECT_NEAR(shifted.range, 3, 1e-9);
}

TEST_F(PriceAxis, LabelsCarryTheCurrencyUnit) {
    ctx.priceUnit = platform::Currency::FromRaw(100);  // 0.01
    charts::DrawPriceAxis(1234, 1234, ctx, scene);     // one price: the low mark alone
    const DrawItem& label = scene.scale.items.back();
    EXPECT_EQ(scene.scale.TextOf(label), "        12.34     ");
    EXPECT_EQ(label.colour, charts::GetColourPair(charts::kColourBlue).strong);
}

TEST_F(PriceAxis, VolumeAxisOfEqualQuantitiesHasOnlyZeroAndTheMarks) {
    ctx.logScale = 1;
    const AxisScale axis = charts::DrawVolumeAxis(300, 300, ctx, scene);
    ASSERT_EQ(axis.ticks.size(), 2u);
    EXPECT_EQ(axis.ticks[1].raw, 300);
    EXPECT_EQ(axis.low, 300);  // no logarithm without a spread
    EXPECT_EQ(axis.range, 0);

    charts::ChartScene other;
    const AxisScale spread = charts::DrawVolumeAxis(0, 50000, ctx, other);
    EXPECT_EQ(Ticks(spread), (std::vector<double>{0, 1, 10, 100, 1000, 10000, 100000}));
    EXPECT_DOUBLE_EQ(spread.range, std::log2(50000.0));
}

}  // namespace
