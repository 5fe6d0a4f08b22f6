#pragma once
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QPixmap>
#include <filesystem>
#include <string>

#include "chart_ui/chart_picture.h"
#include "chart_ui/chart_window.h"
#include "common/logs/logs.h"
#include "common/run_state.h"
#include "common/startup/run_env.h"
#include "tests/support/fake_ui.h"
#include "tests/support/judgement_market.h"
#include "tests/support/program_folder.h"

namespace chart_ui_test {

// A Korvane program folder with one Japanese stock of `kRows` daily rows, its
// price bands and the default settings, and a recording user interface.
class ChartWindowTest : public ::testing::Test {
protected:
    static constexpr long kRows = 400;

    ChartWindowTest() {
        common::CCENV00M(env);
        common::SetTaskWorkPaths(0, 0, env);
        common::LoadLogSwitches(env);
        testsupport::WriteJudgementMarket(env, 1, kRows);
    }

    // The stock of the market, or a code without a series.
    static charts::ChartTarget Target(const std::string& code = testsupport::MarketCompanyCode(0)) {
        charts::ChartTarget target;
        target.company = testsupport::MarketCompany(code);
        target.key = target.company.Key;
        target.currencyCode = "JPY";
        target.texts.country = "JPN";
        target.texts.listingMarket = "東証";
        target.texts.name = "試験電機工業";
        return target;
    }

    // A window as a user sees it, at a size of a usual screen, showing the stock.
    static void Show(chart_ui::ChartWindow& window) {
        window.resize(1180, 720);
        window.show();
        QApplication::processEvents();
        window.SetChartTarget(Target());
    }

    static QImage Grab(QWidget& widget) { return widget.grab().toImage(); }

    // Screenshots for a person to look at, in the build tree.
    static void SaveScreenshot(QWidget& widget, const std::string& name) {
        const std::filesystem::path folder = CHART_SCREENS_DIR;
        std::filesystem::create_directories(folder);
        EXPECT_TRUE(widget.grab().save(QString::fromStdString((folder / name).string())));
    }

    const std::vector<testsupport::ShownBox>& Boxes() const { return ui.presenter->boxes; }

    testsupport::ProgramFolder folder{true};
    testsupport::FakeUi ui;
    common::EnvRec env;
};

}  // namespace chart_ui_test
