#include "collect/prices/price_row_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "collect/child/process_stamp.h"
#include "common/files/data_file.h"
#include "common/startup/run_env.h"
#include "tests/support/file_bytes.h"
#include "tests/support/program_folder.h"

namespace {

using marketdata::PriceRec;

class PriceRowFiles : public ::testing::Test {
protected:
    PriceRowFiles() {
        common::CCENV00M(env_);
        common::SetTaskWorkPaths(0, 0, env_);
    }

    std::string SeriesPath(const std::string& extension) {
        return common::BuildDataFilePath(marketdata::kPriceSeriesFileNumber, 0, 0, kNamePart, extension, env_);
    }

    static constexpr const char* kNamePart = "-JPN-D-1000-7203";
    testsupport::ProgramFolder folder_;
    common::EnvRec env_;
};

// The rows go out in their own order; the provisional mark is kept and the
// moving-average texts stay in memory.
TEST_F(PriceRowFiles, SeriesWrittenInRowOrder) {
    PriceRec newer;
    newer.Text = {"2005/03/09", "1,010", "1020", "1000", "1015", "12000", "0", "*", "1015.000"};
    PriceRec older;
    older.Text = {"2005/03/08", "990", "1000", "980", "995", "11000", "995"};
    const std::vector<PriceRec> rows = {newer, older};
    EXPECT_TRUE(collect::CFHPC50M(env_, marketdata::kPriceSeriesFileNumber, rows, kNamePart, ".tmp"));
    EXPECT_EQ(testsupport::ReadBytes(SeriesPath(".tmp")),
              "2005/03/09\t1010\t1020\t1000\t1015\t12000\t0\t*\r\n"
              "2005/03/08\t990\t1000\t980\t995\t11000\t995\r\n");
    EXPECT_FALSE(std::filesystem::exists(SeriesPath(".txt")));
}

TEST_F(PriceRowFiles, Calendar) {
    std::vector<std::string> lines = {"stale"};
    EXPECT_FALSE(collect::CFCND10M("-JPN", env_, lines));
    const std::string path = common::BuildDataFilePath(collect::kCalendarFileNumber, 0, 0, "-JPN", "", env_);
    testsupport::WriteBytes(path, "");
    EXPECT_FALSE(collect::CFCND10M("-JPN", env_, lines));
    testsupport::WriteBytes(path, "2005/03/08\r\n2005/03/09\r\n");
    EXPECT_TRUE(collect::CFCND10M("-JPN", env_, lines));
    EXPECT_EQ(lines, (std::vector<std::string>{"2005/03/08", "2005/03/09"}));
}

// New rows win on their dates; the merged rows wait in ".tmp" beside the
// untouched master.
TEST_F(PriceRowFiles, SeriesRecovery) {
    const std::string master = "2005/03/07\t1\t1\t1\t1\t1\t1\r\n2005/03/08\t2\t2\t2\t2\t2\t2\r\n";
    testsupport::WriteBytes(SeriesPath(".txt"), master);
    testsupport::WriteBytes(SeriesPath(".tmp"), "2005/03/09\t4\t4\t4\t4\t4\t4\r\n2005/03/08\t3\t3\t3\t3\t3\t3\r\n");
    const std::string base = SeriesPath(".txt").substr(0, SeriesPath(".txt").size() - 4);
    std::vector<std::string> lines;
    collect::CFHPJR0M(base, ".tmp", ".txt", lines);
    const std::vector<std::string> expected = {"2005/03/07\t1\t1\t1\t1\t1\t1", "2005/03/08\t3\t3\t3\t3\t3\t3",
                                               "2005/03/09\t4\t4\t4\t4\t4\t4"};
    EXPECT_EQ(lines, expected);
    EXPECT_EQ(testsupport::ReadBytes(SeriesPath(".tmp")),
              expected[0] + "\r\n" + expected[1] + "\r\n" + expected[2] + "\r\n");
    EXPECT_EQ(testsupport::ReadBytes(SeriesPath(".txt")), master);
}

TEST(ProcessStamp, ClearsOneKindOnly) {
    const struct {
        long kind;
        bool clearsTerm;
    } cases[] = {{1, true}, {3, true}, {4, false}, {10, false}, {0, false}, {11, false}};
    for (const auto& c : cases) {
        marketdata::CdmRec rec;
        for (std::size_t k = 1; k < rec.ProcMark.size(); ++k) rec.ProcMark[k] = {"1", "2005/03/09", "10:00:00"};
        for (std::size_t k = 1; k < rec.Term.size(); ++k) rec.Term[k] = {"1990/01/04", "2005/03/09"};
        collect::ClearProcessStamp(c.kind, rec);
        for (std::size_t k = 1; k < rec.ProcMark.size(); ++k) {
            const bool cleared = static_cast<long>(k) == c.kind;
            EXPECT_EQ(rec.ProcMark[k].MarkFlag, cleared ? "" : "1") << c.kind << " " << k;
            EXPECT_EQ(rec.ProcMark[k].MarkDate, cleared ? "" : "2005/03/09") << c.kind << " " << k;
            EXPECT_EQ(rec.ProcMark[k].MarkTime, cleared ? "" : "10:00:00") << c.kind << " " << k;
        }
        for (std::size_t k = 1; k < rec.Term.size(); ++k) {
            const bool cleared = c.clearsTerm && static_cast<long>(k) == c.kind;
            EXPECT_EQ(rec.Term[k].FirstDate, cleared ? "" : "1990/01/04") << c.kind << " " << k;
            EXPECT_EQ(rec.Term[k].LastDate, cleared ? "" : "2005/03/09") << c.kind << " " << k;
        }
    }
}

}  // namespace
