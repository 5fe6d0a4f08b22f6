#include "analysis/judge_result_file.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "analysis/judge_list.h"
#include "analysis/judge_record_io.h"
#include "common/settings/settings.h"
#include "common/startup/run_env.h"
#include "platform/utf8_text.h"
#include "tests/analysis/judge_test_records.h"
#include "tests/support/fake_ui.h"
#include "tests/support/file_bytes.h"
#include "tests/support/program_folder.h"

namespace {

using analysis::KagiJudgeRec;
using platform::Currency;
using testsupport::JudgeRecord;
using testsupport::Money;

// A different value in every stored field.
KagiJudgeRec DistinctRecord() {
    KagiJudgeRec r;
    marketdata::InitKey("USA", "C1", "CAT", "I020", r.Key);
    r.Key.IndCode0030 = "I030";
    r.Key.IndCode0040 = "I040";
    r.Key.IndCode0050 = "I050";
    r.Key.IndCode0060 = "I060";
    r.Key.IndCode0070 = "I070";
    r.Key.IndCode0080 = "I080";
    r.Key.IndCode0090 = "I090";
    r.Key.CorpCode = marketdata::FitField("CORP-77", 20, "CorpCode");
    r.Key.Flag1 = "A";
    r.Key.Flag2 = "B";
    r.Key.UpdateDate = "2024/05/06";
    r.Key.UpdateTime = "07:08:09";
    r.IndexValue = 11;
    r.FurtherLong = -12;
    r.LevelRows = {13, 14, 15, 16, 17};
    r.JudgeDate = 45000;
    r.Direction = "2";
    r.TurnState = "1";
    r.CombinedRules = {21, 0x900, 23, 24, 25, 26};
    r.SignalRules = {31, 32, 33, 34, 35, 36};
    r.TurnRules = {41, 42, 43, 44, 45, 46};
    r.Signal = {45001, Money("1.1"), Money("2.2"), Money("3.3"), Money("4.4"), Money("-25"), 51, Money("5.5")};
    r.Turn = {45002, Money("6.6"), Money("7.7"), Money("8.8"), Money("9.9"), Money("10.1"), 52, Money("11.11")};
    r.SequenceNumber = 61;
    r.BlockNumber = 62;
    return r;
}

class JudgeResultFileTest : public ::testing::Test {
protected:
    JudgeResultFileTest() {
        common::CCENV00M(env_);
        common::SetTaskWorkPaths(0, 0, env_);
    }
    std::string ResultPath(long procIdx = 0, long seq = 0, const std::string& nameText = "") {
        return analysis::CountryDataFilePath(env_, analysis::kJudgeResultFileNumber, procIdx, seq, "JPN", nameText,
                                             ".dat");
    }
    testsupport::ProgramFolder folder_{true};
    testsupport::FakeUi ui_;
    common::EnvRec env_;
    common::MSGRec msg_;
};

TEST_F(JudgeResultFileTest, StoredPartIsByteExactAndRoundTrips) {
    const KagiJudgeRec rec = DistinctRecord();
    const std::string bytes = analysis::JudgeRecordBytes(std::vector<KagiJudgeRec>{rec});
    ASSERT_EQ(bytes.size(), analysis::kKagiJudgeRecSize);
    EXPECT_EQ(bytes.substr(0, 7), "USAC1  ");
    EXPECT_EQ(bytes.substr(119, 2), "21");
    // The result value at 233: -25 as ten-thousandths.
    std::int64_t result = 0;
    for (int b = 7; b >= 0; --b) result = (result << 8) | static_cast<unsigned char>(bytes[233 + b]);
    EXPECT_EQ(result, -250000);
    EXPECT_EQ(static_cast<unsigned char>(bytes[317]), 62);

    platform::RecordReader in(bytes);
    KagiJudgeRec back;
    analysis::ReadJudgeRecord(in, back);
    EXPECT_EQ(analysis::JudgeRecordBytes(std::vector<KagiJudgeRec>{back}), bytes);
    EXPECT_EQ(back.Key.CorpCode, rec.Key.CorpCode);
    EXPECT_EQ(back.LevelRows, rec.LevelRows);
    EXPECT_EQ(back.Signal, rec.Signal);
    EXPECT_EQ(back.Turn, rec.Turn);
    EXPECT_EQ(back.TurnRules, rec.TurnRules);
    EXPECT_EQ(analysis::StoredJudgeDate(bytes), rec.JudgeDate);
}

TEST_F(JudgeResultFileTest, CountryNamePartsAndOtherCodes) {
    EXPECT_EQ(std::filesystem::path(ResultPath()).filename().string(), "鉤足判定結果（国内）.dat");
    const std::string other = analysis::CountryDataFilePath(env_, 40001, 0, 0, "ZZZ", "Temp", ".dat");
    EXPECT_EQ(std::filesystem::path(other).filename().string(), "鉤足判定結果Temp.dat");
}

TEST_F(JudgeResultFileTest, DerivedListFields) {
    KagiJudgeRec rec = DistinctRecord();
    rec.CombinedRules = {0, 0x800, 0, 1, 0xFFF, 0x1001};
    analysis::DeriveJudgeList(rec, 7);
    analysis::CopyStoredIntoList(rec);
    const analysis::KagiJudgeList& l = rec.List;
    EXPECT_EQ(l.SignMark, "0");
    EXPECT_EQ(l.ResultMagnitude, Currency(25));
    EXPECT_EQ(l.ResultClass, 3);
    EXPECT_EQ(l.FallingMark, 1);
    EXPECT_EQ(l.RisingMark, 0);
    EXPECT_EQ(l.FamilyKey, "7FF");
    EXPECT_EQ(l.RuleKey, "FFFFFE000FFE");
    EXPECT_EQ(l.YearKey, "2023");
    EXPECT_EQ(l.Level1Key, "USA2");
    EXPECT_EQ(l.SortText, "USA217FFFFFFFE000FFE2023");
    EXPECT_EQ(l.GatherLine, "USA217FFFFFFFE000FFE2023@00000007");
    EXPECT_EQ(l.OwnIndex, 11);
    EXPECT_EQ(l.RulesCopy, rec.CombinedRules);

    // A negative rule word keeps its low twelve bits; a sequence past eight digits keeps them all.
    rec.CombinedRules[analysis::kRuleBitsFamilies] = -1;
    analysis::DeriveJudgeList(rec, 123456789);
    EXPECT_EQ(l.FamilyKey, "000");
    EXPECT_EQ(l.GatherLine, "USA21000FFFFFE000FFE2023@123456789");
}

// A damaged record's judgement date that is no day of the calendar reads as
// no date: its year key keeps four characters, so every sort text of a file
// keeps one length.
TEST_F(JudgeResultFileTest, DamagedJudgementDateGivesTheYearKeyOfNoDate) {
    const double damaged[] = {std::nan(""), HUGE_VAL, -HUGE_VAL, 1e300, -1e300, 9.3e18, 2958466, -657435};
    std::vector<KagiJudgeRec> recs;
    for (const double date : damaged) {
        recs.push_back(DistinctRecord());
        recs.back().JudgeDate = date;
    }
    analysis::AppendJudgeRecords(ResultPath(0, 1), recs);
    long count = 0;
    std::vector<KagiJudgeRec> back;
    ASSERT_TRUE(analysis::CFKGR10M(msg_, "JPN", 1, 40001, 0, 1, "", ".dat", env_, count, back));
    ASSERT_EQ(count, static_cast<long>(std::size(damaged)));
    for (const KagiJudgeRec& rec : back) {
        SCOPED_TRACE(rec.JudgeDate);
        EXPECT_EQ(rec.List.YearKey, "0000");
        EXPECT_EQ(rec.List.SortText, "USA216FFFE8FE7FE6FE50000");
    }
}

TEST(JudgeResultClass, Steps) {
    const struct {
        const char* magnitude;
        std::int32_t resultClass;
    } cases[] = {{"0", 0}, {"5", 1}, {"20", 2}, {"20.3", 3}, {"200", 11}, {"0.4", 1}, {"110", 11}, {"105", 11}};
    for (const auto& c : cases) EXPECT_EQ(analysis::ResultClass(Money(c.magnitude)), c.resultClass) << c.magnitude;
}

TEST_F(JudgeResultFileTest, RangeReaderReadsInOrderAndStopsAtEnd) {
    std::vector<KagiJudgeRec> recs;
    for (int i = 1; i <= 3; ++i) recs.push_back(JudgeRecord("C" + std::to_string(i), {2024, 1, i}));
    analysis::AppendJudgeRecords(ResultPath(), recs);
    // A torn record at the end is not a record.
    testsupport::WriteBytes(ResultPath(), testsupport::ReadBytes(ResultPath()) + "xyz");

    long count = -1;
    std::vector<KagiJudgeRec> got;
    ASSERT_TRUE(analysis::ReadJudgeResultList(msg_, 0, 0, "JPN", "", env_, 1, 3, count, got));
    ASSERT_EQ(count, 3);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(got[i].JudgeDate, recs[i].JudgeDate);

    ASSERT_TRUE(analysis::ReadJudgeResultList(msg_, 0, 0, "JPN", "", env_, 2, 9, count, got));
    EXPECT_EQ(count, 2);
    EXPECT_EQ(got[0].JudgeDate, recs[1].JudgeDate);

    EXPECT_FALSE(analysis::ReadJudgeResultList(msg_, 0, 0, "JPN", "", env_, 4, 6, count, got));
    EXPECT_EQ(count, 0);
    EXPECT_EQ(got.size(), 1u);

    std::filesystem::remove(ResultPath());
    count = 5;
    EXPECT_FALSE(analysis::ReadJudgeResultList(msg_, 0, 0, "JPN", "", env_, 1, 3, count, got));
    EXPECT_EQ(count, 5);
}

TEST_F(JudgeResultFileTest, GatherReaderNumbersOnAcrossFiles) {
    analysis::AppendJudgeRecords(ResultPath(0, 1), std::vector<KagiJudgeRec>{JudgeRecord("A", {2024, 1, 1}),
                                                                             JudgeRecord("B", {2024, 1, 2})});
    analysis::AppendJudgeRecords(ResultPath(0, 2), std::vector<KagiJudgeRec>{JudgeRecord("C", {2024, 1, 3})});
    long count = 0;
    std::vector<KagiJudgeRec> recs;
    ASSERT_TRUE(analysis::CFKGR10M(msg_, "JPN", 1, 40001, 0, 1, "", ".dat", env_, count, recs));
    ASSERT_TRUE(analysis::CFKGR10M(msg_, "JPN", 2, 40001, 0, 2, "", ".dat", env_, count, recs));
    ASSERT_EQ(count, 3);
    ASSERT_EQ(recs.size(), 3u);
    EXPECT_EQ(platform::TrimBlanks(recs[2].Key.CorpCode), "C");
    EXPECT_EQ(recs[2].List.GatherLine.substr(recs[2].List.GatherLine.size() - 9), "@00000003");
    EXPECT_EQ(recs[2].List.OwnIndex, 0);  // not set by this reader

    // Mode 1 starts afresh; a missing file leaves everything as it was.
    ASSERT_TRUE(analysis::CFKGR10M(msg_, "JPN", 1, 40001, 0, 2, "", ".dat", env_, count, recs));
    EXPECT_EQ(count, 1);
    EXPECT_FALSE(analysis::CFKGR10M(msg_, "JPN", 1, 40001, 0, 9, "", ".dat", env_, count, recs));
    EXPECT_EQ(count, 1);
}

TEST_F(JudgeResultFileTest, WriterReplacesOrAppendsAndTallyReaderMatches) {
    msg_.ProgressStride = 1;
    std::vector<KagiJudgeRec> recs{JudgeRecord("A", {2024, 1, 1}), JudgeRecord("B", {2024, 1, 2})};
    analysis::CFKGR52M(msg_, env_, 40001, 1, "JPN", "", ".dat", recs);
    analysis::CFKGR52M(msg_, env_, 40001, 2, "JPN", "", ".dat", recs);
    EXPECT_EQ(std::filesystem::file_size(ResultPath()), 4 * analysis::kKagiJudgeRecSize);
    analysis::CFKGR52M(msg_, env_, 40001, 1, "JPN", "", ".dat", std::vector<KagiJudgeRec>{});
    EXPECT_EQ(std::filesystem::file_size(ResultPath()), 4 * analysis::kKagiJudgeRecSize);
    analysis::CFKGR52M(msg_, env_, 40001, 1, "JPN", "", ".dat", recs);
    EXPECT_EQ(std::filesystem::file_size(ResultPath()), 2 * analysis::kKagiJudgeRecSize);

    long count = 0;
    std::vector<analysis::KagiJudgeList> lists;
    ASSERT_TRUE(analysis::CFKGR13M(msg_, "JPN", 1, 40001, 0, 0, "", ".dat", env_, count, lists));
    ASSERT_EQ(count, 2);
    EXPECT_EQ(lists[1].MarketCopy, "JPN");
    EXPECT_EQ(lists[1].GatherLine.substr(lists[1].GatherLine.size() - 9), "@00000002");
}

}  // namespace
