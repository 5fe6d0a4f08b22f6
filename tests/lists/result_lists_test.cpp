#include "lists/result_lists.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "analysis/judge_result_file.h"
#include "analysis/kagi_line_rec.h"
#include "analysis/summary_file.h"
#include "common/startup/run_env.h"
#include "tests/analysis/judge_test_records.h"
#include "tests/support/fake_ui.h"
#include "tests/support/program_folder.h"

namespace {

using analysis::KagiSummaryRec;
using lists::ListData;
using lists::SummarySelection;
using platform::Currency;
using testsupport::Money;

KagiSummaryRec SummaryRecord(const char* level, std::int32_t row, std::int32_t first, std::int32_t last) {
    KagiSummaryRec r;
    r.MarketCode = "JPN";
    r.LevelDigit = level;
    r.DirectionMark = "2";
    r.TurnStateMark = "1";
    r.YearKey = "2021";
    r.RowNumber = row;
    const auto slot = static_cast<std::size_t>(level[0] - '0');
    r.FirstRecord[slot] = first;
    r.LastRecord[slot] = last;
    r.Rules[analysis::kRuleBitsFamilies] = analysis::kFamilyRosa | analysis::kFamilyRoa;
    r.Rules[analysis::kRuleBitsRosa] = 512 | 128;
    r.Rules[analysis::kRuleBitsRoa] = 256;
    r.RecordCount = Currency(4);
    r.RisingCount = Currency(3);
    r.FallingCount = Currency(1);
    r.CountRate = Money("50");
    r.AbsoluteTotal = Money("40.5");
    r.RisingTotal = Money("30.5");
    r.FallingTotal = Money("-10");
    r.AmountRate = Money("50.6173");
    r.RisingByClass[0] = Currency(1);  // a result of exactly 0 %
    r.RisingByClass[1] = Currency(1);
    r.RisingByClass[11] = Currency(1234);
    r.FallingByClass[3] = Currency(1);
    return r;
}

class ResultListsTest : public ::testing::Test {
protected:
    ResultListsTest() {
        common::CCENV00M(env_);
        common::SetTaskWorkPaths(0, 0, env_);
        msg_.ProgressStride = 1;
        analysis::CFKRS52M(msg_, env_, analysis::kJudgeSummaryFileNumber, "JPN", "", 1, ".dat",
                           std::vector<KagiSummaryRec>{SummaryRecord("1", 1, 1, 3), SummaryRecord("3", 2, 1, 3),
                                                       SummaryRecord("4", 3, 2, 3), SummaryRecord("5", 4, 3, 3)});
        std::vector<analysis::KagiJudgeRec> results{
            testsupport::JudgeRecord("1301", {2021, 3, 4}, "1", "1", analysis::kFamilyRosa, "12.5"),
            testsupport::JudgeRecord("7203", {2021, 5, 6}, "2", "2", analysis::kFamilyRosa, "-3.25"),
            testsupport::JudgeRecord("9984", {2021, 7, 8}, "1", "2", analysis::kFamilyRosa, "0")};
        results[1].Signal.SignalPrice = Money("1234.5");
        results[1].Signal.SignalGain = Money("-40");
        analysis::CFKGR52M(msg_, env_, analysis::kJudgeResultFileNumber, 1, "JPN", "", ".dat", results);
    }
    std::optional<ListData> Summary(long level, std::int32_t rule = 0) {
        return lists::BuildSummaryList(env_, msg_, SummarySelection{"JPN", level, rule}, states_);
    }
    std::vector<std::string> Row(const ListData& list, std::size_t r) {
        std::vector<std::string> texts;
        for (const lists::ListCell& cell : list.rows[r].cells) texts.push_back(cell.text);
        return texts;
    }
    testsupport::ProgramFolder folder_{true};
    testsupport::FakeUi ui_;
    common::EnvRec env_;
    common::MSGRec msg_;
    std::vector<lists::ColumnSortState> states_;
};

TEST_F(ResultListsTest, SummaryRowsShowWhatTheirLevelAggregates) {
    const std::optional<ListData> level1 = Summary(1);
    ASSERT_TRUE(level1);
    ASSERT_EQ(level1->columns.size(), 40u);
    EXPECT_EQ(level1->columns[17].caption, "利益0%～");
    EXPECT_EQ(level1->columns[27].caption, "利益100%以上");
    EXPECT_EQ(level1->columns[28].caption, "損失0～%");
    EXPECT_EQ(level1->columns[39].caption, "ソート用カラム");
    EXPECT_EQ(states_.size(), 40u);
    EXPECT_EQ(states_[4].sortKind, lists::kSortAsNumber);
    ASSERT_EQ(level1->rows.size(), 1u);
    const std::vector<std::string> r1 = Row(*level1, 0);
    const std::vector<std::string> head1{"1:0000001", "売",      "-",       "-", "4", "3", "1", "+50.00%", "+40.50%",
                                         "+30.50%",   "-10.00%", "+50.62%", "-", "-", "-", "-", "-"};
    EXPECT_EQ(std::vector<std::string>(r1.begin(), r1.begin() + 17), head1);
    // Band 1 holds classes 0 and 1; the bands add up to the counts.
    EXPECT_EQ(r1[17], "2");
    EXPECT_EQ(r1[18], " ");
    EXPECT_EQ(r1[27], "1,234");
    EXPECT_EQ(r1[30], "1");
    EXPECT_EQ(r1[39], "000001");
    EXPECT_EQ(level1->rows[0].cells[1].colour, (charts::Rgb{0, 0, 255}));

    const std::vector<std::string> r3 = Row(*Summary(3), 0);
    EXPECT_EQ(r3[2], "同時");
    EXPECT_EQ(r3[3], "-");
    EXPECT_EQ(r3[12], "○");
    EXPECT_EQ(r3[13], " ");
    EXPECT_EQ(r3[15], "○");
    EXPECT_EQ(r3[16], "-");

    EXPECT_EQ(Row(*Summary(4), 0)[16], "ろさ一、ろさ三、ろあ二");
    const std::vector<std::string> r5 = Row(*Summary(5), 0);
    EXPECT_EQ(r5[0], "5:0000004");
    EXPECT_EQ(r5[3], "2021");
    EXPECT_TRUE(ui_.presenter->boxes.empty());
}

TEST_F(ResultListsTest, MissingChoicesOrNoRecordWarnAndKeepTheShownRows) {
    EXPECT_FALSE(lists::BuildSummaryList(env_, msg_, SummarySelection{"", 4, 0}, states_));
    EXPECT_FALSE(lists::BuildSummaryList(env_, msg_, SummarySelection{"JPN", 0, 0}, states_));
    EXPECT_FALSE(Summary(2));
    EXPECT_FALSE(Summary(4, analysis::kFamilyRoku));
    EXPECT_FALSE(lists::BuildSummaryList(env_, msg_, SummarySelection{"USA", 4, 0}, states_));
    ASSERT_EQ(ui_.presenter->boxes.size(), 5u);
    EXPECT_EQ(ui_.presenter->boxes[0].text, "「国」は選択必須項目です。　");
    EXPECT_EQ(ui_.presenter->boxes[1].text, "「集計単位」は選択必須項目です。　");
    for (std::size_t i = 2; i < 5; ++i)
        EXPECT_EQ(ui_.presenter->boxes[i].text, "抽出対象のデータはありませんでした。　");
    EXPECT_TRUE(Summary(4, analysis::kFamilyRoa));
}

TEST_F(ResultListsTest, DetailListShowsTheResultsOfTheRowsRecord) {
    const std::optional<ListData> detail =
        lists::BuildDetailList(env_, msg_, SummarySelection{"JPN", 4, 0}, "4:0000003", states_);
    ASSERT_TRUE(detail);
    ASSERT_EQ(detail->columns.size(), 16u);
    EXPECT_EQ(detail->columns[13].caption, "転換損益額");
    ASSERT_EQ(detail->rows.size(), 2u);
    const std::vector<std::string> expected{"0001",      "JPN",     "0001",       "    ",     "    ", "    ",
                                            "    ",      "    ",    "7203",       "20210506", "売",   "連続",
                                            "1,234.500", "-40.000", "-3.250000%", "000001"};
    EXPECT_EQ(Row(*detail, 0), expected);
    EXPECT_EQ(Row(*detail, 1)[14], "+0.000000%");
    EXPECT_EQ(Row(*detail, 1)[10], "買");
}

TEST_F(ResultListsTest, DetailListRefusesLevelsOneToThreeAndShowsHeadersForAFailedRead) {
    EXPECT_FALSE(lists::BuildDetailList(env_, msg_, SummarySelection{"JPN", 3, 0}, "3:0000002", states_));
    ASSERT_EQ(ui_.presenter->boxes.size(), 1u);
    EXPECT_EQ(ui_.presenter->boxes[0].text.rfind("「集計単位」がLevel1～3の場合", 0), 0u);

    for (const char* rowText : {"5:0000099", "", "x"}) {
        const std::optional<ListData> detail =
            lists::BuildDetailList(env_, msg_, SummarySelection{"JPN", 5, 0}, rowText, states_);
        ASSERT_TRUE(detail);
        EXPECT_EQ(detail->columns.size(), 16u);
        EXPECT_TRUE(detail->rows.empty());
    }
    const std::optional<ListData> otherCountry =
        lists::BuildDetailList(env_, msg_, SummarySelection{"CHN", 5, 0}, "5:0000004", states_);
    ASSERT_TRUE(otherCountry);
    EXPECT_TRUE(otherCountry->rows.empty());
}

TEST_F(ResultListsTest, ACompanyMissingFromTheNameIndexChartsNothing) {
    const std::optional<ListData> detail =
        lists::BuildDetailList(env_, msg_, SummarySelection{"JPN", 4, 0}, "4:0000003", states_);
    EXPECT_FALSE(lists::DetailRowChartTarget(env_, detail->rows[0]));
    ASSERT_EQ(ui_.presenter->boxes.size(), 1u);
    EXPECT_EQ(ui_.presenter->boxes[0].text, "株価時系列データが存在しません。　");
}

}  // namespace
