// Paints the visible part of a 12,000-row daily candlestick chart at the
// largest bar size (a surface of 180,000 pixels) into a 1000 x 600 view at
// several scroll positions; scrolling stays smooth while a paint takes well
// under the 16 ms of one frame. Also times building the chart's drawing list
// (loading the series included), the first time and again, against the
// paint. Run by hand: bench_chart_paint [rows] [rounds]
#include <QApplication>
#include <QImage>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/bench_support.h"
#include "chart_ui/chart_picture.h"
#include "charts/candlestick_chart.h"
#include "common/settings/settings.h"
#include "platform/memory_policy.h"
#include "tests/support/judgement_market.h"
#include "tests/support/program_folder.h"

int main(int argc, char** argv) {
    platform::KeepFreedMemory();  // as the programs do
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    const long rows = argc > 1 ? std::stol(argv[1]) : 12000;
    const long rounds = argc > 2 ? std::stol(argv[2]) : 50;

    testsupport::ProgramFolder folder(true);
    common::EnvRec env = bench::FreshEnvironment();
    testsupport::WriteJudgementMarket(env, 1, rows);
    common::WriteSetting(common::SettingKeyPath("KsnGrh", "GrahSize"), "3");

    charts::ChartTarget target;
    target.company = testsupport::MarketCompany(testsupport::MarketCompanyCode(0));
    target.key = target.company.Key;
    target.currencyCode = "JPY";
    const charts::ChartFrame frame{1000, 600, 96};
    charts::ChartScene scene;
    const bench::FirstAndMedian build = bench::TimeFirstAndMedian(6, [&] {
        scene = {};
        if (!charts::DrawStockCandlestickChart(env, frame, target, scene)) std::exit(1);
    });
    std::printf("rows %ld: surface %.0f px wide, %zu items; drawing list built in %.1f ms the first time, %.1f ms "
                "again (median of 5)\n",
                rows, scene.surface.width, scene.surface.items.size(), build.first, build.median);

    chart_ui::ChartPicture picture(QStringLiteral("Pict2"));
    picture.resize(static_cast<int>(frame.width), static_cast<int>(frame.height));
    picture.SetDrawing(scene.surface);
    QImage image(picture.size(), QImage::Format_RGB32);
    std::vector<double> paints;
    for (const double share : {0.0, 0.25, 0.5, 0.75, 1.0}) {
        const int offset = static_cast<int>(share * static_cast<double>(scene.scrollMaximum));
        picture.SetScrollOffset(offset);
        double total = 0;
        const double best = bench::BestMilliseconds(rounds, [&] {
            const auto start = std::chrono::steady_clock::now();
            picture.render(&image);
            total += std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        });
        std::printf("scroll %6d px: paint %.3f ms best, %.3f ms mean of %ld\n", offset, best,
                    total / static_cast<double>(rounds), rounds);
        paints.push_back(total / static_cast<double>(rounds));
    }
    const double paint = bench::Median(paints);
    std::printf("the drawing list takes %.0fx a paint of the view (%.3f ms, median over the positions) the first "
                "time, %.0fx again\n",
                build.first / paint, paint, build.median / paint);
    return 0;
}
