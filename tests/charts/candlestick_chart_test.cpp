#include "charts/candlestick_chart.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "analysis/chart_price_series.h"
#include "charts/colour_palette.h"
#include "charts/price_to_y.h"
#include "tests/charts/chart_fixture.h"
#include "tests/support/judgement_market.h"

namespace {

using charts::DrawItem;
using charts::GetColourPair;
using marketdata::PriceRec;

constexpr charts::ChartFrame kFrame{500, 425, 120};  // price pane: top 10, height 305
constexpr double kBody = 14;                         // bar size "large": pitch 15

struct Prices {
    long open;
    long high;
    long low;
    long close;
    long quantity;
};

// Chart rows as the loader prepares them, one calendar day apart.
std::vector<PriceRec> ChartRows(const std::vector<Prices>& prices) {
    std::vector<PriceRec> daily(prices.size());
    platform::Date day{2005, 1, 3};
    for (std::size_t i = 0; i < prices.size(); ++i) {
        const Prices& p = prices[i];
        daily[i].Date = day;
        daily[i].Open = platform::Currency(p.open);
        daily[i].High = platform::Currency(p.high);
        daily[i].Low = platform::Currency(p.low);
        daily[i].Close = platform::Currency(p.close);
        daily[i].Volume = platform::Currency(p.quantity);
        daily[i].AdjClose = daily[i].Close;
        day = platform::AddDays(day, 1);
    }
    std::vector<PriceRec> chart;
    analysis::PrepareChartSeries(daily, {}, chart);
    return chart;
}

std::vector<Prices> Flat(std::size_t rows) { return std::vector<Prices>(rows, {100, 110, 90, 105, 1000}); }

class CandlestickChart : public charts_test::ChartTest {
protected:
    CandlestickChart() {
        SetChartSetting("GrahSize", "3");
        SetChartSetting("GrahLog", "0");
        SetChartSetting("Grahmidl", "0");
        target.key.Category = "1000";
        target.texts.name = "テスト";
        target.texts.country = "日本";
    }

    charts::ChartTarget target;
    charts::ChartScene scene;
};

TEST_F(CandlestickChart, BodiesAndWicksByDirection) {
    const std::vector<PriceRec> rows =
        ChartRows({{100, 120, 90, 110, 1000}, {110, 115, 95, 100, 2000}, {100, 130, 100, 125, 3000}});
    ASSERT_TRUE(charts::AGCDL00M(kFrame, target, rows, scene));
    EXPECT_EQ(scene.title, "企業名：テスト　　　国：日本");

    const std::vector<DrawItem> up =
        charts_test::BarFills(scene.surface, GetColourPair(charts::kColourRed).light, kBody);
    const std::vector<DrawItem> down =
        charts_test::BarFills(scene.surface, GetColourPair(charts::kColourBlue).light, kBody);
    ASSERT_EQ(up.size(), 2u);
    ASSERT_EQ(down.size(), 1u);
    EXPECT_DOUBLE_EQ(up[0].x1, 2);  // plot left 1 + gap 1
    EXPECT_DOUBLE_EQ(down[0].x1, 17);
    EXPECT_DOUBLE_EQ(up[1].x1, 32);
    // Prices 90 .. 130 fill the pane.
    const auto y = [](double price) { return charts::PriceToY(price - 90, 40, 305, 10); };
    EXPECT_DOUBLE_EQ(up[0].y1, y(100));
    EXPECT_DOUBLE_EQ(up[0].y2, y(110));
    EXPECT_DOUBLE_EQ(up[1].y2, y(125));

    const std::vector<DrawItem> wicks =
        charts_test::ItemsOf(scene.surface, DrawItem::Kind::Line, GetColourPair(charts::kColourBlue).strong);
    ASSERT_EQ(wicks.size(), 1u);
    EXPECT_DOUBLE_EQ(wicks[0].x1, 17 + 6.5);
    EXPECT_DOUBLE_EQ(wicks[0].y1, y(115));
    EXPECT_DOUBLE_EQ(wicks[0].y2, y(95));

    const std::vector<DrawItem> volume =
        charts_test::BarFills(scene.surface, GetColourPair(charts::kColourGreen).light, kBody);
    ASSERT_EQ(volume.size(), 3u);
    EXPECT_DOUBLE_EQ(volume[2].y1, 332);  // the highest quantity reaches the volume pane's top
    EXPECT_DOUBLE_EQ(volume[2].y2, 412);
    EXPECT_DOUBLE_EQ(volume[0].y1, 412);  // the lowest stays at its bottom
}

TEST_F(CandlestickChart, MovingAverageFromTheSeventhBar) {
    const charts::Rgb magenta = GetColourPair(charts::kColourMagenta).strong;
    ASSERT_TRUE(charts::AGCDL00M(kFrame, target, ChartRows(Flat(6)), scene));
    EXPECT_TRUE(charts_test::ItemsOf(scene.surface, DrawItem::Kind::Line, magenta).empty());

    ASSERT_TRUE(charts::AGCDL00M(kFrame, target, ChartRows(Flat(7)), scene));
    const std::vector<DrawItem> segments = charts_test::ItemsOf(scene.surface, DrawItem::Kind::Line, magenta);
    ASSERT_EQ(segments.size(), 1u);
    EXPECT_DOUBLE_EQ(segments[0].x1, 2 + 5 * 15 + 6.5);
    EXPECT_DOUBLE_EQ(segments[0].x2, 2 + 6 * 15 + 6.5);
    // The first average (row 5) is on the axis; one pixel below its y.
    EXPECT_DOUBLE_EQ(segments[0].y2, charts::PriceToY(15, 20, 305, 10) + 1);
}

TEST_F(CandlestickChart, LongSeriesScrollsAndPeriodLongerThanTheSeriesShowsAll) {
    SetChartSetting("GrahPeriod", "5");
    ASSERT_TRUE(charts::AGCDL00M(kFrame, target, ChartRows(Flat(100)), scene));
    EXPECT_DOUBLE_EQ(scene.surface.width, 1511);
    EXPECT_EQ(scene.scrollMaximum, 1011);
    EXPECT_TRUE(scene.scrollVisible);
    EXPECT_EQ(charts_test::BarFills(scene.surface, GetColourPair(charts::kColourGreen).light, kBody).size(), 100u);

    SetChartSetting("GrahPeriod", "1");  // three months of a hundred days
    ASSERT_TRUE(charts::AGCDL00M(kFrame, target, ChartRows(Flat(100)), scene));
    EXPECT_EQ(charts_test::BarFills(scene.surface, GetColourPair(charts::kColourGreen).light, kBody).size(),
              91u);  // from 12 January
}

TEST_F(CandlestickChart, LogScaleDrawsASeriesWithZeroQuantities) {
    SetChartSetting("GrahLog", "1");
    SetChartSetting("Grahmidl", "1");
    std::vector<Prices> prices = Flat(30);
    for (std::size_t i = 0; i < prices.size(); i += 2) prices[i].quantity = 0;
    ASSERT_TRUE(charts::AGCDL00M(kFrame, target, ChartRows(prices), scene));
    for (const DrawItem& item : scene.surface.items) {
        ASSERT_TRUE(std::isfinite(item.y1) && std::isfinite(item.y2));
    }
    const std::vector<DrawItem> volume =
        charts_test::BarFills(scene.surface, GetColourPair(charts::kColourGreen).light, kBody);
    ASSERT_EQ(volume.size(), 30u);
    EXPECT_DOUBLE_EQ(volume[0].y1, 412);
    EXPECT_DOUBLE_EQ(volume[1].y1, 332);
}

TEST_F(CandlestickChart, NoRowsWarnsAndKeepsThePicture) {
    scene.title = "前の図";
    EXPECT_FALSE(charts::AGCDL00M(kFrame, target, {}, scene));
    EXPECT_EQ(Warnings(), std::vector<std::string>{"株価時系列データが存在しません。　"});
    EXPECT_EQ(scene.title, "前の図");
}

TEST_F(CandlestickChart, DrawsAStockFromItsSeriesFile) {
    target.company = testsupport::MarketCompany(testsupport::MarketCompanyCode(0));
    target.key = target.company.Key;
    EXPECT_FALSE(charts::DrawStockCandlestickChart(env, kFrame, target, scene));
    EXPECT_EQ(Warnings(), std::vector<std::string>{"株価時系列データが存在しません。　"});

    testsupport::WriteJudgementMarket(env, 1, 50);
    SetChartSetting("GrahSize", "3");
    SetChartSetting("GrahSplt", "0");
    ASSERT_TRUE(charts::DrawStockCandlestickChart(env, kFrame, target, scene));
    EXPECT_EQ(charts_test::BarFills(scene.surface, GetColourPair(charts::kColourGreen).light, kBody).size(), 50u);
    EXPECT_EQ(scene.surface.width, 50 * 15 + 11);
}

}  // namespace
