#include "analysis/summary_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "analysis/judge_result_file.h"
#include "analysis/kagi_line_rec.h"
#include "common/startup/run_env.h"
#include "tests/analysis/judge_test_records.h"
#include "tests/support/fake_ui.h"
#include "tests/support/file_bytes.h"
#include "tests/support/program_folder.h"

namespace {

using analysis::KagiSummaryRec;
using platform::Currency;
using testsupport::Money;

// A different value in every stored field.
KagiSummaryRec DistinctSummary() {
    KagiSummaryRec r;
    r.MarketCode = "CHN";
    r.LevelDigit = "3";
    r.DirectionMark = "2";
    r.TurnStateMark = "1";
    r.YearKey = "2021";
    for (std::size_t i = 0; i < r.FurtherValuesA.size(); ++i) r.FurtherValuesA[i] = static_cast<std::uint8_t>(i + 1);
    r.RowNumber = 77;
    r.FirstRecord = {1, 2, 3, 4, 5, 6};
    r.LastRecord = {7, 8, 9, 10, 11, 12};
    r.Rules = {13, 0x900, 15, 16, 17, 18};
    for (std::size_t i = 0; i < r.FurtherValuesB.size(); ++i) r.FurtherValuesB[i] = static_cast<std::uint8_t>(200 + i);
    r.RecordCount = Currency(4);
    r.RisingCount = Currency(3);
    r.FallingCount = Currency(1);
    r.CountRate = Money("50");
    r.AbsoluteTotal = Money("40.5");
    r.RisingTotal = Money("30.5");
    r.FallingTotal = Money("-10");
    r.AmountRate = Money("50.6173");
    for (std::size_t i = 0; i < 12; ++i) {
        r.RisingByClass[i] = Currency(static_cast<long long>(i) + 100);
        r.FallingByClass[i] = Currency(static_cast<long long>(i) + 200);
    }
    return r;
}

class SummaryFileTest : public ::testing::Test {
protected:
    SummaryFileTest() {
        common::CCENV00M(env_);
        common::SetTaskWorkPaths(0, 0, env_);
        msg_.ProgressStride = 1;
    }
    std::string Path() {
        return analysis::CountryDataFilePath(env_, analysis::kJudgeSummaryFileNumber, 0, 0, "JPN", "", ".dat");
    }
    void Write(const std::vector<KagiSummaryRec>& recs, long mode = 1) {
        analysis::CFKRS52M(msg_, env_, analysis::kJudgeSummaryFileNumber, "JPN", "", mode, ".dat", recs);
    }
    testsupport::ProgramFolder folder_{true};
    testsupport::FakeUi ui_;
    common::EnvRec env_;
    common::MSGRec msg_;
};

TEST_F(SummaryFileTest, StoredPartIsByteExactAndRoundTrips) {
    const KagiSummaryRec rec = DistinctSummary();
    Write({rec});
    const std::string bytes = testsupport::ReadBytes(Path());
    ASSERT_EQ(bytes.size(), analysis::kKagiSummaryRecSize);
    EXPECT_EQ(bytes.substr(0, 10), "CHN3212021");
    EXPECT_EQ(static_cast<unsigned char>(bytes[10]), 1);
    EXPECT_EQ(static_cast<unsigned char>(bytes[34]), 77);
    EXPECT_EQ(static_cast<unsigned char>(bytes[110]), 200);
    EXPECT_EQ(static_cast<unsigned char>(bytes[302]), 0x80);  // 200 x 10000 = 0x1E8480

    KagiSummaryRec back;
    ASSERT_TRUE(analysis::ReadSummaryRecordAt("", "JPN", env_, 1, back));
    std::filesystem::remove(Path());
    Write({back});
    EXPECT_EQ(testsupport::ReadBytes(Path()), bytes);
    EXPECT_EQ(back.FurtherValuesB, rec.FurtherValuesB);
    EXPECT_EQ(back.FallingByClass, rec.FallingByClass);
}

TEST_F(SummaryFileTest, RecordAtAndWriterModes) {
    KagiSummaryRec a = DistinctSummary();
    KagiSummaryRec b = DistinctSummary();
    b.RowNumber = 2;
    KagiSummaryRec got;
    EXPECT_FALSE(analysis::ReadSummaryRecordAt("", "JPN", env_, 1, got));
    Write({a});
    Write({b}, 2);
    Write({}, 1);  // nothing to write: the file stays
    ASSERT_TRUE(analysis::ReadSummaryRecordAt("", "JPN", env_, 2, got));
    EXPECT_EQ(got.RowNumber, 2);
    EXPECT_FALSE(analysis::ReadSummaryRecordAt("", "JPN", env_, 3, got));
    Write({b}, 1);
    EXPECT_FALSE(analysis::ReadSummaryRecordAt("", "JPN", env_, 2, got));
}

TEST_F(SummaryFileTest, SelectionByLevelAndFamilyMask) {
    std::vector<KagiSummaryRec> recs;
    for (const auto& [level, families] : std::vector<std::pair<const char*, std::int32_t>>{
             {"1", 0x800}, {"3", 0x800}, {"3", 0x400}, {"3", 0xC00}, {"5", 0x800}}) {
        KagiSummaryRec r = DistinctSummary();
        r.LevelDigit = level;
        r.Rules[analysis::kRuleBitsFamilies] = families;
        r.RowNumber = static_cast<std::int32_t>(recs.size()) + 1;
        recs.push_back(r);
    }
    Write(recs);

    const auto rows = [&](const std::string& selection, std::int32_t mask) {
        long count = 0;
        std::vector<KagiSummaryRec> kept;
        EXPECT_TRUE(analysis::CFKRS11M(msg_, "JPN", selection, mask, 40002, 0, 0, "", env_, count, kept));
        std::vector<std::int32_t> numbers;
        for (long i = 0; i < count; ++i) numbers.push_back(kept[static_cast<std::size_t>(i)].RowNumber);
        return numbers;
    };
    EXPECT_EQ(rows("3", 0), (std::vector<std::int32_t>{2, 3, 4}));
    EXPECT_EQ(rows("3", 0x800), (std::vector<std::int32_t>{2, 4}));
    EXPECT_EQ(rows("1", 0x400), std::vector<std::int32_t>{});

    long count = 0;
    std::vector<KagiSummaryRec> kept;
    ASSERT_TRUE(analysis::CFKRS11M(msg_, "JPN", "5", 0, 40002, 0, 0, "", env_, count, kept));
    EXPECT_EQ(kept[0].DirectionValue, 2);
    EXPECT_EQ(kept[0].YearValue, 2021);
    EXPECT_EQ(kept[0].RisingTotalValue, 30);  // 30.5 to even
    EXPECT_EQ(kept[0].FallingTotalValue, 10);
    EXPECT_EQ(kept[0].AmountRateValue, 506173);

    std::filesystem::remove(Path());
    count = 3;
    EXPECT_FALSE(analysis::CFKRS11M(msg_, "JPN", "5", 0, 40002, 0, 0, "", env_, count, kept));
    EXPECT_EQ(count, 3);
}

}  // namespace
