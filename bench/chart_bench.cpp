// Builds the candlestick drawing list of a 12,000-row daily series at bar
// size "large" (pitch 15): the time to compute the list, the first time in
// the process and then again, with the programs' memory policy, and a digest
// of the list, which stays the same while the chart is drawn the same.
// Painting it is measured with the chart widgets. Run by hand:
// bench_chart [rows] [rounds]
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "analysis/chart_price_series.h"
#include "bench/bench_support.h"
#include "charts/candlestick_chart.h"
#include "common/settings/default_settings.h"
#include "common/settings/settings.h"
#include "platform/memory_policy.h"
#include "tests/support/fake_ui.h"
#include "tests/support/judgement_market.h"
#include "tests/support/program_folder.h"

namespace {

void AddToDigest(const charts::DrawingList& list, bench::Digest& digest) {
    for (const charts::DrawItem& item : list.items) {
        digest.Add(static_cast<std::uint64_t>(item.kind));
        for (const double value : {item.x1, item.y1, item.x2, item.y2}) digest.Add(value);
        for (const int part : {item.colour.red, item.colour.green, item.colour.blue}) {
            digest.Add(static_cast<std::uint64_t>(part));
        }
        digest.Add(static_cast<std::uint64_t>(item.style));
        digest.Add(static_cast<std::uint64_t>(item.fontSize));
        digest.Add(list.TextOf(item));
    }
}

}  // namespace

int main(int argc, char** argv) {
    platform::KeepFreedMemory();  // as the programs do
    const long rows = argc > 1 ? std::atol(argv[1]) : 12000;
    const long rounds = argc > 2 ? std::atol(argv[2]) : 6;

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
    long faults = -1;
    const bench::FirstAndMedian ms = bench::TimeFirstAndMedian(rounds, [&] {
        const long before = bench::PageFaults();
        charts::AGCDL00M(frame, target, chart, scene);
        if (faults < 0) faults = bench::PageFaults() - before;
    });
    bench::Digest digest;
    AddToDigest(scene.surface, digest);
    AddToDigest(scene.scale, digest);
    std::printf(
        "candlestick drawing list of %ld rows: %.2f ms the first time (%ld page faults), %.2f ms again (median of "
        "%ld); %zu surface items, %zu scale items, surface %.0f x %.0f px, digest %016llx\n",
        rows, ms.first, faults, ms.median, rounds - 1, scene.surface.items.size(), scene.scale.items.size(),
        scene.surface.width, scene.surface.height,
        static_cast<unsigned long long>(digest.value()));
    return 0;
}
