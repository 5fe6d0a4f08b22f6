#include "analysis/judge_aggregation.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "analysis/judge_record_io.h"
#include "analysis/judge_result_file.h"
#include "analysis/summary_file.h"
#include "common/files/data_file.h"
#include "common/settings/settings.h"
#include "common/startup/run_env.h"
#include "common/tasks/task_files.h"
#include "platform/utf8_text.h"
#include "tests/analysis/judge_test_records.h"
#include "tests/support/fake_ui.h"
#include "tests/support/file_bytes.h"
#include "tests/support/program_folder.h"

namespace {

using analysis::KagiJudgeRec;
using platform::Currency;
using platform::Date;
using testsupport::JudgeRecord;
using testsupport::Money;

constexpr long kProcess = 3;

TEST(JudgeSummaryCutOff, RangeTable) {
    const struct {
        Date today;
        const char* range;
        Date cutOff;
    } cases[] = {
        {{2024, 6, 15}, "0", {1900, 1, 1}},   {{2024, 6, 15}, "1", {2021, 6, 15}},
        {{2024, 6, 15}, " 3 ", {2014, 6, 15}}, {{2024, 6, 15}, "4", {2009, 6, 15}},
        {{2024, 6, 15}, "9", {2019, 6, 15}},   {{2024, 6, 15}, "x", {2019, 6, 15}},
        {{2024, 6, 15}, "-1", {2019, 6, 15}},  {{2024, 6, 15}, "", {2019, 6, 15}},
        {{2024, 2, 29}, "1", {2021, 2, 28}},   {{2024, 2, 29}, "4", {2009, 2, 28}},
        {{2024, 2, 29}, "0", {1900, 1, 1}},
    };
    for (const auto& c : cases) EXPECT_EQ(analysis::SummaryCutOff(c.today, c.range), c.cutOff) << c.range;
}

class JudgeAggregationTest : public ::testing::Test {
protected:
    JudgeAggregationTest() {
        common::CCENV00M(env_);
        common::SetTaskWorkPaths(0, 0, env_);
    }
    void StartRun(long parts) {
        common::TSCRec control;
        common::InitTaskControlRec(kProcess, parts, env_, control);
        common::CFTSC50M(kProcess, "", env_, control);
    }
    std::string Path(long fileNumber, long procIdx = 0, long seq = 0, const std::string& nameText = "") {
        return analysis::CountryDataFilePath(env_, fileNumber, procIdx, seq, "JPN", nameText, ".dat");
    }
    void WritePart(long seq, const std::vector<KagiJudgeRec>& recs) {
        analysis::AppendJudgeRecords(Path(40001, kProcess, seq), recs);
    }
    void RunAll() {
        analysis::CFKGRMRM(40001, kProcess, ".dat", "JPN", env_, msg_);
        analysis::DeletePartResults(40001, kProcess, env_);
        analysis::CFKGRSTM(msg_, env_, "JPN");
        analysis::AKSUM21M(env_, msg_, "JPN");
    }
    std::vector<KagiJudgeRec> Results() {
        const std::string bytes = testsupport::ReadBytes(Path(40001));
        std::vector<KagiJudgeRec> recs(bytes.size() / analysis::kKagiJudgeRecSize);
        platform::RecordReader in(bytes);
        for (KagiJudgeRec& rec : recs) analysis::ReadJudgeRecord(in, rec);
        return recs;
    }
    static std::string Corp(const KagiJudgeRec& rec) { return platform::TrimBlanks(rec.Key.CorpCode); }

    testsupport::ProgramFolder folder_{true};
    testsupport::FakeUi ui_;
    common::EnvRec env_;
    common::MSGRec msg_;
};

TEST_F(JudgeAggregationTest, GatherSortKeepsTiesInGatherOrderAndCleansUp) {
    common::WriteSetting(common::SettingKeyPath("Kesen", "EnvSumRng"), "0");
    StartRun(2);
    // Equal sort texts: a1, a2 (part 1) and b1 (part 2); x sorts before them
    // (down direction "2" sorts after "1", higher family bits first).
    WritePart(1, {JudgeRecord("a1", {2020, 1, 1}, "2"), JudgeRecord("a2", {2020, 5, 1}, "2"),
                  JudgeRecord("y", {2020, 1, 1}, "1", "1", 0x400)});
    WritePart(2, {JudgeRecord("b1", {2020, 9, 9}, "2"), JudgeRecord("x", {2020, 1, 1}, "1", "1", 0x800)});
    analysis::CFKGRMRM(40001, kProcess, ".dat", "JPN", env_, msg_);
    // The parts stay until the gathering is committed.
    EXPECT_TRUE(std::filesystem::exists(Path(40001, kProcess, 1)));
    analysis::DeletePartResults(40001, kProcess, env_);
    analysis::CFKGRSTM(msg_, env_, "JPN");
    analysis::AKSUM21M(env_, msg_, "JPN");

    const std::vector<KagiJudgeRec> recs = Results();
    std::vector<std::string> order;
    for (const KagiJudgeRec& rec : recs) order.push_back(Corp(rec));
    EXPECT_EQ(order, (std::vector<std::string>{"x", "y", "a1", "a2", "b1"}));
    for (std::size_t i = 0; i < recs.size(); ++i) EXPECT_EQ(recs[i].SequenceNumber, static_cast<int>(i) + 1);
    EXPECT_EQ(common::ReadSetting(common::SettingKeyPath("Counter", "CntTrlKgrJPN")), "5");

    EXPECT_FALSE(std::filesystem::exists(Path(40001, kProcess, 1)));
    EXPECT_FALSE(std::filesystem::exists(Path(40001, kProcess, 2)));
    EXPECT_FALSE(std::filesystem::exists(Path(40001, 0, 0, "Temp")));
    EXPECT_FALSE(std::filesystem::exists(Path(40001, 0, 0, "Temp01")));
    EXPECT_FALSE(std::filesystem::exists(common::BuildDataFilePath(50001, 0, 0, "", "", env_)));
}

// The gathered file holds the kept records of the parts in part order, each
// exactly as written but for its sequence number, which counts on across parts.
TEST_F(JudgeAggregationTest, GatheredRecordsAreTheStoredOnesNumberedOn) {
    common::WriteSetting(common::SettingKeyPath("Kesen", "EnvSumRng"), "0");
    StartRun(2);
    std::vector<KagiJudgeRec> part1{JudgeRecord("a", {2020, 1, 1}, "2"), JudgeRecord("b", {2021, 2, 3}, "1", "1", 0x400)};
    std::vector<KagiJudgeRec> part2{JudgeRecord("c", {2022, 9, 9}, "2")};
    part1[1].BlockNumber = 7;
    WritePart(1, part1);
    WritePart(2, part2);
    analysis::CFKGRMRM(40001, kProcess, ".dat", "JPN", env_, msg_);

    std::vector<KagiJudgeRec> expected = part1;
    expected.insert(expected.end(), part2.begin(), part2.end());
    for (std::size_t i = 0; i < expected.size(); ++i) expected[i].SequenceNumber = static_cast<std::int32_t>(i) + 1;
    EXPECT_EQ(testsupport::ReadBytes(Path(40001, 0, 0, "Temp")), analysis::JudgeRecordBytes(expected));
}

TEST_F(JudgeAggregationTest, CutOffDropsOlderJudgements) {
    common::WriteSetting(common::SettingKeyPath("Kesen", "EnvSumRng"), "1");  // three years
    const Date today = platform::Now().date;
    StartRun(1);
    WritePart(1, {JudgeRecord("old", {today.year - 4, 1, 1}), JudgeRecord("new", today)});
    RunAll();
    const std::vector<KagiJudgeRec> recs = Results();
    ASSERT_EQ(recs.size(), 1u);
    EXPECT_EQ(Corp(recs[0]), "new");
}

// Nothing within the summary range: the files of the previous run must not
// stand as this run's results.
TEST_F(JudgeAggregationTest, NothingGatheredEmptiesTheResultAndSummaryFiles) {
    common::WriteSetting(common::SettingKeyPath("Kesen", "EnvSumRng"), "1");
    StartRun(1);
    WritePart(1, {JudgeRecord("old", {platform::Now().date.year - 4, 1, 1})});
    testsupport::WriteBytes(Path(40001), std::string(analysis::kKagiJudgeRecSize, 'r'));
    testsupport::WriteBytes(Path(40002), std::string(analysis::kKagiSummaryRecSize, 's'));
    RunAll();
    EXPECT_EQ(testsupport::ReadBytes(Path(40001)), "");
    EXPECT_EQ(testsupport::ReadBytes(Path(40002)), "");
}

TEST_F(JudgeAggregationTest, BlockBoundary) {
    common::WriteSetting(common::SettingKeyPath("Kesen", "EnvSumRng"), "0");
    for (const long total : {30000L, 30001L}) {
        StartRun(1);
        std::vector<KagiJudgeRec> recs;
        recs.reserve(static_cast<std::size_t>(total));
        // Gathered newest year first, so the sort reverses the order.
        for (long i = 0; i < total; ++i) {
            recs.push_back(JudgeRecord(std::to_string(i), {2000 + static_cast<int>((total - 1 - i) / 3000), 1, 1}));
        }
        WritePart(1, recs);
        // A leftover block of an interrupted sort must not add records.
        testsupport::WriteBytes(Path(40001, 0, 0, "Temp01"), std::string(analysis::kKagiJudgeRecSize, '\0'));
        analysis::CFKGRMRM(40001, kProcess, ".dat", "JPN", env_, msg_);
        analysis::DeletePartResults(40001, kProcess, env_);
        analysis::CFKGRSTM(msg_, env_, "JPN");

        const std::vector<KagiJudgeRec> sorted = Results();
        ASSERT_EQ(static_cast<long>(sorted.size()), total);
        EXPECT_EQ(Corp(sorted.front()), std::to_string(total - 3000));
        EXPECT_EQ(Corp(sorted.back()), total == 30000 ? "2999" : "0");
        EXPECT_EQ(sorted.back().BlockNumber, total == 30000 ? 1 : 2);
        EXPECT_EQ(sorted[29999].BlockNumber, 1);
        for (long p = 1; p < total; ++p) {
            ASSERT_LE(sorted[static_cast<std::size_t>(p - 1)].JudgeDate, sorted[static_cast<std::size_t>(p)].JudgeDate);
            ASSERT_EQ(sorted[static_cast<std::size_t>(p - 1)].SequenceNumber, p);
        }
        EXPECT_FALSE(std::filesystem::exists(Path(40001, 0, 0, "Temp01")));
    }
}

// Sorted file (market JPN, family 0x800 unless noted):
//   1  dir 1 turn 1 2020  +25   class 3  rising
//   2  dir 1 turn 1 2020  -5    class 1  falling
//   3  dir 1 turn 2 2021  +10   class 1  rising
//   4  dir 2 turn 1 2020  -20.3 class 3  falling
// Level 1 rows: "JPN1" 1-3 (3 records: rising 2, falling 1; totals 35 / 5 of
// 40; count rate (0.6667 - 0.3333) x 100 = 33.34; amount rate
// (0.875 - 0.125) x 100 = 75), "JPN2" 4. Level 2: 1-2, 3, 4. Levels 3-5
// split no further except by year, which level 5 adds: 1-2, 3, 4.
TEST_F(JudgeAggregationTest, TallyLevels) {
    common::WriteSetting(common::SettingKeyPath("Kesen", "EnvSumRng"), "0");
    StartRun(1);
    WritePart(1, {JudgeRecord("1", {2020, 1, 1}, "1", "1", 0x800, "25"),
                  JudgeRecord("2", {2020, 2, 1}, "1", "1", 0x800, "-5"),
                  JudgeRecord("3", {2021, 1, 1}, "1", "2", 0x800, "10"),
                  JudgeRecord("4", {2020, 1, 1}, "2", "1", 0x800, "-20.3")});
    RunAll();

    long count = 0;
    std::vector<analysis::KagiSummaryRec> rows;
    std::vector<int> rowsPerLevel;
    msg_.ProgressStride = 1;
    for (const char* level : {"1", "2", "3", "4", "5"}) {
        long before = count;
        ASSERT_TRUE(analysis::CFKRS11M(msg_, "JPN", level, 0, 40002, 0, 0, "", env_, count, rows));
        rowsPerLevel.push_back(static_cast<int>(count - before));
    }
    EXPECT_EQ(rowsPerLevel, (std::vector<int>{2, 3, 3, 3, 3}));
    ASSERT_EQ(count, 14);

    const analysis::KagiSummaryRec& first = rows[0];
    EXPECT_EQ(first.RowNumber, 1);
    EXPECT_EQ(first.MarketCode, "JPN");
    EXPECT_EQ(first.DirectionMark, "1");
    EXPECT_EQ(first.FirstRecord[1], 1);
    EXPECT_EQ(first.LastRecord[1], 3);
    EXPECT_EQ(first.RecordCount, Currency(3));
    EXPECT_EQ(first.RisingCount, Currency(2));
    EXPECT_EQ(first.FallingCount, Currency(1));
    EXPECT_EQ(first.CountRate, Money("33.34"));
    EXPECT_EQ(first.AbsoluteTotal, Currency(40));
    EXPECT_EQ(first.RisingTotal, Currency(35));
    EXPECT_EQ(first.FallingTotal, Currency(-5));
    EXPECT_EQ(first.AmountRate, Currency(75));
    EXPECT_EQ(first.RisingByClass[3], Currency(1));
    EXPECT_EQ(first.RisingByClass[1], Currency(1));
    EXPECT_EQ(first.FallingByClass[1], Currency(1));

    const analysis::KagiSummaryRec& down = rows[1];
    EXPECT_EQ(down.RowNumber, 2);
    EXPECT_EQ(down.FirstRecord[1], 4);
    EXPECT_EQ(down.CountRate, Currency(-100));
    EXPECT_EQ(down.AmountRate, Currency(-100));
    EXPECT_EQ(down.FallingByClass[3], Currency(1));

    const analysis::KagiSummaryRec& lastLevel5 = rows[13];
    EXPECT_EQ(lastLevel5.RowNumber, 14);
    EXPECT_EQ(lastLevel5.LevelDigit, "5");
    EXPECT_EQ(lastLevel5.FirstRecord[5], 4);
    EXPECT_EQ(lastLevel5.LastRecord[5], 4);
}

TEST_F(JudgeAggregationTest, RowsFollowFileOrderSoSplitRunsGiveTwoRows) {
    analysis::CFKGR52M(msg_, env_, 40001, 1, "JPN", "", ".dat",
                       std::vector<KagiJudgeRec>{JudgeRecord("a", {2020, 1, 1}, "1"),
                                                 JudgeRecord("b", {2020, 1, 1}, "2"),
                                                 JudgeRecord("c", {2020, 1, 1}, "1")});
    analysis::AKSUM21M(env_, msg_, "JPN");
    long count = 0;
    std::vector<analysis::KagiSummaryRec> rows;
    msg_.ProgressStride = 1;
    ASSERT_TRUE(analysis::CFKRS11M(msg_, "JPN", "1", 0, 40002, 0, 0, "", env_, count, rows));
    ASSERT_EQ(count, 3);
    EXPECT_EQ(rows[2].FirstRecord[1], 3);
}

}  // namespace
