#include "lists/screening.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "analysis/analysis_info_file.h"
#include "analysis/analysis_info_record.h"
#include "common/run_state.h"
#include "common/settings/settings.h"
#include "common/startup/run_env.h"
#include "lists/list_sort.h"
#include "marketdata/analysis_info_reader.h"
#include "marketdata/name_index.h"
#include "tests/support/fake_ui.h"
#include "tests/support/judgement_market.h"
#include "tests/support/program_folder.h"

namespace {

using common::AnalysisRec;

// A stored row with the given values at their stored positions.
AnalysisRec Row(const std::map<int, std::string>& values) {
    AnalysisRec rec;
    for (const auto& [position, value] : values) rec.Field[static_cast<std::size_t>(position)] = value;
    return rec;
}

// The same row as the analysis writer takes it (stored position 76 on is
// one place further on in the record).
analysis::AnalysisInfoRec InfoRecord(const AnalysisRec& row) {
    analysis::AnalysisInfoRec rec;
    rec.Market = row.Field[1];
    rec.Category = row.Field[2];
    for (std::size_t i = 0; i < 5; ++i) rec.IndCode[i] = row.Field[3 + i];
    rec.CorpCode = row.Field[8];
    for (std::size_t e = 9; e <= 105; ++e) {
        const std::size_t position = e < analysis::kUnstoredPosition ? e : e + 1;
        rec.Text[position - analysis::kFirstTextPosition] = row.Field[e];
    }
    return rec;
}

// Stocks with a country, market code and name, a price (取引値, 19) and a
// direction (転換方向, 42).
std::vector<AnalysisRec> Market() {
    return {Row({{1, "JPN"}, {2, "1000"}, {3, "0001"}, {8, "1301"}, {19, "120"}, {42, "1"}, {101, "東証"}}),
            Row({{1, "JPN"}, {2, "1000"}, {3, "0002"}, {8, "7203"}, {19, "-5"}, {42, "2"}}),
            Row({{1, "USA"}, {2, "1000"}, {3, "0001"}, {8, "IBM"}, {19, "120"}, {42, "1"}}),
            Row({{1, "JPN"}, {2, "1000"}, {3, "0001"}, {8, "9984"}, {19, ""}, {42, "1"}}),
            Row({{1, "JPN"}, {2, "1000"}, {3, "0001"}, {8, "6758"}, {19, "n/a"}, {42, "1"}}),
            Row({{1, "JPN"}, {2, "1000"}, {3, "0001"}, {8, "8306"}, {19, "120.0000"}, {42, "2"}})};
}

std::string Codes(const std::vector<AnalysisRec>& rows) {
    std::string codes;
    for (const AnalysisRec& rec : rows) codes += rec.Field[8] + ",";
    return codes;
}

std::string Codes(const std::vector<lists::ListedStock>& stocks) {
    std::string codes;
    for (const lists::ListedStock& stock : stocks) codes += stock.companyCode + ",";
    return codes;
}

struct FilterCase {
    const char* name;
    const char* from;
    const char* to;
    const char* kept;
};

class RangeFilters : public ::testing::TestWithParam<FilterCase> {};

TEST_P(RangeFilters, KeepNumericValuesWithinTheInclusiveBounds) {
    const FilterCase& c = GetParam();
    common::MSGRec msg;
    std::vector<AnalysisRec> rows = Market();
    const std::string from = c.from;
    const std::string to = c.to;
    if (!from.empty() && !to.empty()) {
        lists::FilterByRange(msg, 19, from, to, rows);
    } else if (!from.empty()) {
        lists::FilterFrom(msg, 19, from, rows);
    } else {
        lists::FilterTo(msg, 19, to, rows);
    }
    EXPECT_EQ(Codes(rows), c.kept);
}

INSTANTIATE_TEST_SUITE_P(
    Table, RangeFilters,
    ::testing::Values(FilterCase{"FromEqualsTo", "120", "120", "1301,IBM,8306,"},
                      FilterCase{"NegativeBounds", "-10", "-1", "7203,"},
                      FilterCase{"FromOnly", "0", "", "1301,IBM,8306,"}, FilterCase{"ToOnly", "", "0", "7203,"},
                      FilterCase{"WideRangeSkipsBlankAndText", "-1000", "1,000", "1301,7203,IBM,8306,"}),
    [](const ::testing::TestParamInfo<FilterCase>& info) { return std::string(info.param.name); });

TEST(ScreeningFilters, CodesMatchExactlyAndBoundsMustBeNumbersInRange) {
    common::MSGRec msg;
    std::vector<AnalysisRec> rows = Market();
    EXPECT_EQ(lists::FilterByCode(msg, 1, "JPN", rows), 5u);
    EXPECT_EQ(lists::FilterByCode(msg, 200, "JPN", rows), 0u);
    EXPECT_TRUE(lists::IsRangeBoundText("  "));
    EXPECT_TRUE(lists::IsRangeBoundText("-1,234.5"));
    EXPECT_FALSE(lists::IsRangeBoundText("12a"));
    EXPECT_FALSE(lists::IsRangeBoundText("1000000000000000"));
    const std::vector<std::string> kinds{"市場", "", "ｼｼﾞｮｳ", "", "市場"};
    EXPECT_TRUE(lists::KindUsedInOtherRow(kinds, 4));
    EXPECT_FALSE(lists::KindUsedInOtherRow(kinds, 1));
    EXPECT_FALSE(lists::KindUsedInOtherRow(kinds, 2));
}

class ScreeningTest : public ::testing::Test {
protected:
    ScreeningTest() {
        common::CCENV00M(env_);
        common::SetTaskWorkPaths(0, 0, env_);
        common::WriteSetting(common::SettingKeyPath("Common", "ListMax"), "1000");
        lists::CFMCT10M(env_, "", catalogue_);
    }
    void WriteFiles(const std::vector<AnalysisRec>& info, const std::vector<AnalysisRec>& index) {
        for (const auto& [number, rows] : {std::pair{marketdata::kAnalysisInfoFileNumber, &info},
                                           std::pair{marketdata::kAnalysisIndexFileNumber, &index}}) {
            std::vector<analysis::AnalysisInfoRec> recs;
            for (const AnalysisRec& row : *rows) recs.push_back(InfoRecord(row));
            analysis::WriteAnalysisFile(msg_, number, 0, "", env_, recs);
        }
    }
    lists::ScreeningResult Run() { return lists::ScreenAnalysisInfo(env_, msg_, catalogue_, conditions_, states_); }

    testsupport::ProgramFolder folder_{true};
    testsupport::FakeUi ui_;
    common::EnvRec env_;
    common::MSGRec msg_;
    lists::ColumnCatalogue catalogue_;
    lists::ScreeningConditions conditions_;
    std::vector<lists::ColumnSortState> states_;
};

TEST_F(ScreeningTest, LoadsBothFilesAndListsTheStocksThatPassEveryCondition) {
    WriteFiles(Market(), {Row({{1, "JPN"}, {2, "0020"}, {8, "0001"}, {97, "東証一部"}}),
                          Row({{1, "JPN"}, {2, "0030"}, {8, "0009"}, {97, "other"}})});
    conditions_.code[0] = {"国", "JPN"};
    conditions_.code[3] = {"市場", "0001:東証一部"};
    conditions_.code[4] = {"転換方向", ""};  // no choice: no filter
    conditions_.range[2] = {"取引値", " 100 ", "120"};
    conditions_.range[4] = {"前日比率", "", ""};
    const lists::ScreeningResult result = Run();
    ASSERT_EQ(result.outcome, lists::ScreeningOutcome::Listed);
    EXPECT_EQ(Codes(result.rows), "1301,8306,");
    EXPECT_EQ(common::State().analysisIndexTable.size(), 2u);
    EXPECT_EQ(lists::ChoiceItems("市場", catalogue_, common::State().analysisIndexTable),
              std::vector<std::string>{"0001:東証一部"});

    const lists::ListData& list = result.list;
    ASSERT_EQ(list.rows.size(), 2u);
    EXPECT_EQ(list.columns.front().caption, "№");
    EXPECT_EQ(list.columns.back().caption, "ソート用カラム");
    // 91 offered columns, 9 of them hidden by default, plus № and the key.
    EXPECT_EQ(list.columns.size(), 84u);
    EXPECT_EQ(list.columns[3].caption, "市場");
    EXPECT_EQ(list.rows[0].cells[3].text, "0001:東証");
    EXPECT_EQ(list.rows[1].cells[3].text, "0001");
    EXPECT_EQ(list.rows[0].cells[8].text, "1301");  // an empty companion adds nothing
    EXPECT_TRUE(ui_.presenter->boxes.empty());
}

TEST_F(ScreeningTest, ARowOpensItsOwnStockAlsoAfterASort) {
    common::State().analysisTable = Market();
    const lists::ScreeningResult result = Run();
    lists::ListData list = result.list;
    std::size_t priceColumn = 0;
    while (list.columns[priceColumn].caption != "取引値") ++priceColumn;
    lists::SortListByColumn(states_, lists::SortMode::Descending, priceColumn + 1, list);
    // Equal prices descending come in reverse order.
    EXPECT_EQ(list.rows[0].cells[0].text, "000006");
    EXPECT_EQ(list.rows[2].cells[0].text, "000001");
    EXPECT_EQ(list.rows[5].cells[priceColumn].text, "n/a");
    EXPECT_EQ(list.rows[4].cells[priceColumn].text, " ");  // empty values sort after every number
    EXPECT_EQ(list.rows[3].cells[priceColumn].text, "-5.000");
    marketdata::CdmTbl master{testsupport::MarketCompany("1301"), testsupport::MarketCompany("7203")};
    master[1].RptText[6] = "JPY";
    master[1].InfoText[38] = "トヨタ";
    marketdata::WriteNameIndex(env_, "JPN", 2, master);
    const std::optional<charts::ChartTarget> target =
        lists::ScreeningRowChartTarget(env_, list.rows[3].cells[0].text, result.rows);
    ASSERT_TRUE(target);
    EXPECT_EQ(target->key.CorpCode, marketdata::FitField("7203", 20, "CorpCode"));
    EXPECT_EQ(target->currencyCode, "JPY");
    EXPECT_EQ(target->texts.name, "トヨタ");
    EXPECT_TRUE(ui_.presenter->boxes.empty());

    // A company the name index does not hold charts nothing, not the last one.
    std::size_t ibm = 0;
    while (list.rows[ibm].cells[8].text != "IBM") ++ibm;
    EXPECT_FALSE(lists::ScreeningRowChartTarget(env_, list.rows[ibm].cells[0].text, result.rows));
    ASSERT_EQ(ui_.presenter->boxes.size(), 1u);
    EXPECT_EQ(ui_.presenter->boxes[0].text, "株価時系列データが存在しません。　");
    EXPECT_FALSE(lists::ScreeningRowChartTarget(env_, "000007", result.rows));
    EXPECT_EQ(ui_.presenter->boxes.size(), 1u);
}

// 取引通貨 matches the stock's currency in whatever form its collector stored
// it, and a chart opened from the list scales by that same currency.
TEST_F(ScreeningTest, TheCurrencyConditionAndTheChartShareTheStocksCurrency) {
    common::State().analysisTable = {
        Row({{1, "CHN"}, {2, "1000"}, {8, "600000"}, {16, "人民元"}}),
        Row({{1, "CHN"}, {2, "1000"}, {8, "600001"}, {16, ""}}),
        Row({{1, "CHN"}, {2, "1000"}, {8, "200002"}, {16, "香港ドル"}}),
        Row({{1, "USA"}, {2, "1000"}, {8, "IBM"}, {16, "USD"}}),
        Row({{1, "USA"}, {2, "1000"}, {8, "AAPL"}, {16, "米ドル"}}),
        Row({{1, "JPN"}, {2, "1000"}, {8, "7203"}, {16, "JPY"}}),
    };
    const std::pair<const char*, const char*> cases[] = {
        {"CNY:人民元", "600000,600001,"}, {"HKD:香港ドル", "200002,"}, {"USD:米ドル", "IBM,AAPL,"}, {"JPY:日本円", "7203,"}};
    for (const auto& [choice, codes] : cases) {
        conditions_.code[1] = {"取引通貨", choice};
        EXPECT_EQ(Codes(Run().rows), codes) << choice;
    }
    EXPECT_TRUE(ui_.presenter->boxes.empty());

    // The name index keeps three bytes of "人民元".
    conditions_.code[1] = {"取引通貨", "CNY:人民元"};
    const lists::ScreeningResult result = Run();
    marketdata::CdmTbl master{testsupport::MarketCompany("600000")};
    marketdata::InitKey("CHN", "", "1000", "", master[0].Key);
    master[0].Key.CorpCode = marketdata::FitField("600000", 20, "CorpCode");
    master[0].RptText[6] = "人民元";
    marketdata::WriteNameIndex(env_, "CHN", 1, master);
    const std::optional<charts::ChartTarget> target = lists::ScreeningRowChartTarget(env_, "000001", result.rows);
    ASSERT_TRUE(target);
    EXPECT_EQ(target->currencyCode, "CNY");
}

TEST_F(ScreeningTest, TheListLimitListsOneThousandAndRefusesOneMore) {
    std::vector<AnalysisRec> table(1001, Row({{1, "JPN"}, {2, "1000"}, {8, "1"}}));
    table[0].Field[1] = "USA";
    common::State().analysisTable = table;
    conditions_.code[0] = {"国", "JPN"};
    EXPECT_EQ(Run().list.rows.size(), 1000u);
    conditions_.code[0] = {};
    const lists::ScreeningResult over = Run();
    EXPECT_EQ(over.outcome, lists::ScreeningOutcome::OverLimit);
    EXPECT_TRUE(over.list.rows.empty());
    ASSERT_EQ(ui_.presenter->boxes.size(), 1u);
    EXPECT_EQ(ui_.presenter->boxes[0].text.rfind("対象データが１０００件を超えました（対象データ１００１件）　\r\n", 0),
              0u);

    common::WriteSetting(common::SettingKeyPath("Common", "ListMax"), "");
    conditions_.code[0] = {"国", "USA"};
    EXPECT_EQ(Run().outcome, lists::ScreeningOutcome::OverLimit);
}

TEST_F(ScreeningTest, NoInformationNoRowLeftAndRefusedBoundsEndTheRun) {
    EXPECT_EQ(Run().outcome, lists::ScreeningOutcome::NoAnalysisInfo);
    ASSERT_EQ(ui_.presenter->boxes.size(), 1u);
    EXPECT_EQ(ui_.presenter->boxes[0].text.rfind("分析情報が存在しません。　\r\n\r\n", 0), 0u);

    common::State().analysisTable = Market();
    conditions_.range[0] = {"取引値", "121", ""};
    EXPECT_EQ(Run().outcome, lists::ScreeningOutcome::NothingLeft);
    EXPECT_EQ(ui_.presenter->boxes.back().text, "抽出対象のデータはありませんでした。　");

    conditions_.range[1] = {"出来高", "1", "99999999999999999"};
    const lists::ScreeningResult refused = Run();
    EXPECT_EQ(refused.outcome, lists::ScreeningOutcome::BadBound);
    EXPECT_EQ(refused.badRow, 1u);
    EXPECT_TRUE(refused.badBoundIsTo);
}

TEST(ScreeningList, BadPositionsGiveBlankCellsAndHiddenColumnsAreLeftOut) {
    testsupport::ProgramFolder folder(true);
    std::vector<lists::ListColumnRec> columns = lists::BuildDefaultColumns();
    columns.resize(8);
    columns[0].ColNo = 300;
    columns[2].CompanionCol = 0;
    columns[3].Hidden = 1;
    common::MSGRec msg;
    std::vector<lists::ColumnSortState> states;
    const lists::ListData list = lists::FillScreeningList(msg, Market(), columns, states);
    ASSERT_EQ(list.columns.size(), 9u);
    EXPECT_EQ(list.columns[1].caption, "国");
    EXPECT_EQ(list.rows[0].cells[1].text, " ");
    EXPECT_EQ(list.rows[0].cells[3].text, "0001");
    EXPECT_EQ(list.columns[4].caption, "ｾｸﾀｰ");
    EXPECT_EQ(states.size(), 9u);
}

TEST(ScreeningList, StoredConditionsSampleShowsThirtyDatedRows) {
    const lists::ListData sample = lists::StoredConditionsSample({2024, 3, 1});
    ASSERT_EQ(sample.rows.size(), 30u);
    EXPECT_EQ(sample.columns[2].caption, "保存名称");
    EXPECT_EQ(sample.rows[0].cells[0].text, "2024/02/29");
    EXPECT_EQ(sample.rows[29].cells[0].text, "2024/01/31");
    EXPECT_EQ(sample.rows[0].cells[1].text, "jikoku");
    EXPECT_EQ(sample.rows[0].cells[2].colour, (charts::Rgb{255, 0, 0}));
}

}  // namespace
