#include "marketdata/chart_line_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "common/startup/run_env.h"
#include "tests/support/file_bytes.h"
#include "tests/support/program_folder.h"
#include "tests/support/stock_key.h"

namespace {

namespace fs = std::filesystem;
using testsupport::StockKey;

class ChartLineFiles : public ::testing::Test {
protected:
    ChartLineFiles() : folder_(true) {
        common::CCENV00M(env_);
        common::SetTaskWorkPaths(0, 0, env_);
    }

    fs::path Keisen(const std::string& name) const { return folder_.data() / "Keisen" / name; }

    testsupport::ProgramFolder folder_;
    common::EnvRec env_;
};

TEST_F(ChartLineFiles, NameCarriesTrimmedMarketCategoryAndCompanyCode) {
    const struct {
        marketdata::Key key;
        std::string suffix;
        std::string extension;
        std::string name;
    } cases[] = {
        {StockKey("JPN", "1000", "7203"), "", ".dat", "Keisen-JPN-1000-7203.dat"},
        {StockKey("US", "10", "IBM"), "-Temp", ".txt", "Keisen-Temp-US-10-IBM.txt"},
        {StockKey("", "1000", "7203"), "", ".dat", "Keisen--1000-7203.dat"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(marketdata::CFKSN54M(env_, c.key, marketdata::kChartLineFileNumber, c.suffix, c.extension),
                  Keisen(c.name).string());
    }
}

TEST_F(ChartLineFiles, DeleteDropsOnlyTheStocksBinaryFiles) {
    const char* const stocks[] = {"JPN-1000-7203", "JPN-1000-72031"};
    for (const char* stock : stocks) {
        for (const char* prefix : {"Keisen-", "Keisen-Temp-"}) {
            for (const char* extension : {".dat", ".txt"}) {
                testsupport::WriteBytes(Keisen(std::string(prefix) + stock + extension), "lines");
            }
        }
    }
    const marketdata::Key key = StockKey("JPN", "1000", "7203");
    marketdata::DeleteChartLineFiles(env_, key);

    EXPECT_FALSE(fs::exists(Keisen("Keisen-JPN-1000-7203.dat")));
    EXPECT_FALSE(fs::exists(Keisen("Keisen-Temp-JPN-1000-7203.dat")));
    for (const char* kept : {"Keisen-JPN-1000-7203.txt", "Keisen-Temp-JPN-1000-7203.txt", "Keisen-JPN-1000-72031.dat",
                             "Keisen-Temp-JPN-1000-72031.dat", "Keisen-JPN-1000-72031.txt",
                             "Keisen-Temp-JPN-1000-72031.txt"}) {
        EXPECT_TRUE(fs::exists(Keisen(kept))) << kept;
    }
    marketdata::DeleteChartLineFiles(env_, key);  // nothing left to delete is no error
}

}  // namespace
