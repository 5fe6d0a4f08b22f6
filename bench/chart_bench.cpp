// Builds the candlestick drawing list of a 12,000-row daily series at bar
// size "large" (pitch 15): the time to compute the list and its item count.
// Painting it is measured with the chart widgets. Run by hand:
// bench_chart [rows] [rounds]
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "analysis/chart_price_series.h"
#include "bench/bench_support.h"
#include "charts/candlestick_chart.h"
#include "common/default_settings.h"
#include "common/settings.h"
#include "tests/support/fake_ui.h"
#include "tests/support/judgement_market.h"
#include "tests/support/program_folder.h"

int main(int argc, char** argv) {
    const long rows = argc > 1 ? std::atol(argv[1]) : 12000;
    const long rounds = argc > 2 ? std::atol(argv[2]) : 5;

    testsupport::ProgramFolder folder(true);
    testsupport::FakeUi ui;
    common::WriteAllDefaults();
    common::WriteSetting(common::SettingKeyPath("KsnGrh", "GrahSize"), "3");

    std::vector<marketdata::PriceRec> daily = testsupport::MarketCompanySeries(0, rows);
    for (marketdata::PriceRec& row : daily) marketdata::PriceRecToValues(row);
    std::vector<marketdata::PriceRec> chart;
    analysis::PrepareChartSeries(daily, {}, chart);

    charts::ChartTarget target;
    target.key.Category = "1000";
    charts::ChartScene scene;
    const charts::ChartFrame frame{1200, 600, 120};
    const double ms = bench::BestMilliseconds(rounds, [&] { charts::AGCDL00M(frame, target, chart, scene); });
    std::printf(
        "candlestick drawing list of %ld rows: %.2f ms (best of %ld), %zu surface items, %zu scale items, "
        "surface %.0f x %.0f px\n",
        rows, ms, rounds, scene.surface.items.size(), scene.scale.items.size(), scene.surface.width,
        scene.surface.height);
    return 0;
}
