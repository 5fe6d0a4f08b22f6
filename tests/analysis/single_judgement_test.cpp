#include "analysis/single_judgement.h"

#include <gtest/gtest.h>

#include <vector>

#include "analysis/chart_line_file.h"
#include "common/run_state.h"
#include "tests/analysis/kagi_price_rows.h"
#include "tests/analysis/part_judgement_fixture.h"

namespace {

class SingleJudgement : public analysis_test::PartJudgementTest {};

TEST_F(SingleJudgement, WritesBothChartLineFilesOfTheStock) {
    const marketdata::Key key = Company("7203").Key;
    std::vector<marketdata::PriceRec> rows = analysis_test::DailyRows(analysis_test::kSignalZigzag);
    rows.push_back(rows.back());  // beyond the count the screen gives

    EXPECT_TRUE(analysis::ASKCM03M(key, static_cast<long>(analysis_test::kSignalZigzag.size()), rows));

    std::vector<analysis::KagiLineRec> days;
    std::vector<analysis::KagiLineRec> lines;
    ASSERT_TRUE(analysis::CFKSN10M(env, key, marketdata::kChartLineTempSuffix, ".dat", days));
    ASSERT_TRUE(analysis::CFKSN10M(env, key, "", ".dat", lines));
    EXPECT_EQ(days.size(), analysis_test::kSignalZigzag.size());
    ASSERT_EQ(lines.size(), 12u);
    EXPECT_EQ(lines[10].SignalMark, "1");
    EXPECT_EQ(common::State().functionId, "");
    EXPECT_TRUE(ui.presenter->boxes.empty());
}

}  // namespace
