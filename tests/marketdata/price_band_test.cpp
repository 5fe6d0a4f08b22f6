#include "marketdata/price_band.h"

#include <gtest/gtest.h>

#include "common/files/data_file.h"
#include "common/files/text_file_write.h"
#include "common/run_state.h"
#include "common/startup/run_env.h"
#include "platform/cp932.h"
#include "tests/support/fake_ui.h"
#include "tests/support/file_bytes.h"
#include "tests/support/program_folder.h"

namespace {

using platform::Currency;

class PriceBand : public ::testing::Test {
protected:
    PriceBand() {
        common::CCENV00M(env_);
        common::SetTaskWorkPaths(0, 0, env_);
    }

    std::string TablePath() {
        return common::BuildDataFilePath(marketdata::kPriceBandFileNumber, 0, 0, "", "", env_);
    }
    void WriteTable(const std::vector<std::string>& lines) { common::CFFIL30M(lines, TablePath()); }

    std::vector<marketdata::PriceLimitRec> Load() {
        std::vector<marketdata::PriceLimitRec> table;
        EXPECT_TRUE(marketdata::CFNHB10M(marketdata::kPriceBandFileNumber, "", env_, table));
        return table;
    }

    std::string ErrorLog() { return platform::FromCp932(testsupport::ReadBytes(common::State().errorLogPath)).text; }

    testsupport::ProgramFolder folder_;
    testsupport::FakeUi ui_;
    common::EnvRec env_;
};

TEST_F(PriceBand, BuiltInRows) {
    const std::vector<marketdata::PriceLimitRec> table = Load();
    ASSERT_EQ(table.size(), 96u);
    EXPECT_EQ(table[0].BandLowText, "100000000");
    EXPECT_EQ(table[0].BandHigh, Currency(999999999));
    EXPECT_EQ(table[0].Width, Currency(2000000));
    EXPECT_EQ(table[0].Tick, Currency(100000));
    EXPECT_EQ(table[95].BandLow, Currency(1));
    EXPECT_EQ(table[95].BandHigh, Currency(49));
    EXPECT_EQ(table[95].WidthText, "4");
    EXPECT_EQ(table[95].TickText, "1");
    // Every band ends one tick below the next higher one: no gap, no overlap.
    for (std::size_t k = 1; k < table.size(); ++k) {
        EXPECT_EQ(table[k].BandHigh + table[k].Tick, table[k - 1].BandLow) << "row " << k + 1;
    }
    EXPECT_TRUE(ui_.presenter->boxes.empty());
}

TEST_F(PriceBand, Lookup) {
    std::vector<marketdata::PriceLimitRec> table;
    marketdata::BuildBuiltInPriceBands(table);
    const struct {
        Currency price;
        long long width;
        long long tick;
    } cases[] = {
        {Currency(2000), 35, 5},         {Currency(1999), 33, 1},       {Currency(30000), 350, 50},
        {Currency(29999), 310, 10},      {Currency(1), 4, 1},           {Currency(2000000000), 2000000, 100000},
        {Currency::FromRaw(5000), 4, 1},  // below every band: the lowest band still gives a width
        {Currency(0), 4, 1},
    };
    for (const auto& c : cases) {
        const marketdata::PriceLimitRec* band = marketdata::FindPriceBand(table, c.price);
        ASSERT_NE(band, nullptr) << c.price.ToText();
        EXPECT_EQ(band->Width, Currency(c.width)) << c.price.ToText();
        EXPECT_EQ(band->Tick, Currency(c.tick)) << c.price.ToText();
    }
    EXPECT_EQ(marketdata::FindPriceBand({}, Currency(1)), nullptr);
}

// The user's rows in file order; the lookup takes the first row from the top
// whose low is at most the price, whatever its high.
TEST_F(PriceBand, UserTable) {
    WriteTable({"", "100\t199\t10\t1", "  ", "1000\t1999\t20\t1\textra", "50\t99\t5\t1", ""});
    const std::vector<marketdata::PriceLimitRec> table = Load();
    ASSERT_EQ(table.size(), 3u);
    EXPECT_EQ(table[1].BandLowText, "1000");
    EXPECT_EQ(table[1].TickText, "1");
    EXPECT_EQ(marketdata::FindPriceBand(table, Currency(1500))->Width, Currency(10));
    EXPECT_EQ(marketdata::FindPriceBand(table, Currency(60))->Width, Currency(5));
    EXPECT_EQ(marketdata::FindPriceBand(table, Currency(10))->Width, Currency(5));
    EXPECT_TRUE(ui_.presenter->boxes.empty());
}

TEST_F(PriceBand, UnreadableLinesSkipped) {
    WriteTable({"100\t199\t10\t1", "abc\t199\t10\t1", "", "100\t199\t10", "1\t49\t4\t99999999999999999"});
    const std::vector<marketdata::PriceLimitRec> table = Load();
    ASSERT_EQ(table.size(), 1u);
    EXPECT_EQ(table[0].Width, Currency(10));

    ASSERT_EQ(ui_.presenter->boxes.size(), 1u);
    const std::string& warning = ui_.presenter->boxes[0].text;
    EXPECT_NE(warning.find(TablePath()), std::string::npos) << warning;
    EXPECT_NE(warning.find("2行目（他に2行）"), std::string::npos) << warning;
    EXPECT_EQ(ui_.presenter->boxes[0].style, 48);
    const std::string log = ErrorLog();
    for (const char* line : {"2行目　abc", "4行目　100", "5行目　1\t49"}) {
        EXPECT_NE(log.find(line), std::string::npos) << line;
    }

    // A file with no readable row falls back on the built-in bands.
    WriteTable({"x\ty\tz\tw"});
    EXPECT_EQ(Load().size(), 96u);
    ASSERT_EQ(ui_.presenter->boxes.size(), 2u);
    EXPECT_TRUE(ui_.presenter->boxes[1].text.ends_with("\r\n1行目")) << ui_.presenter->boxes[1].text;
}

// A band width of 0 or less would make every day of the band a turn
// candidate: such a line is refused like any unreadable one.
TEST_F(PriceBand, WidthOfZeroOrLessRefused) {
    WriteTable({"1000\t1999\t20\t1", "100\t999\t0\t1", "10\t99\t-0.5\t1", "1\t9\t0.0001\t1"});
    const std::vector<marketdata::PriceLimitRec> table = Load();
    ASSERT_EQ(table.size(), 2u);
    EXPECT_EQ(table[1].Width, Currency::FromRaw(1));  // the smallest width there is

    ASSERT_EQ(ui_.presenter->boxes.size(), 1u);
    const std::string& warning = ui_.presenter->boxes[0].text;
    EXPECT_NE(warning.find(TablePath()), std::string::npos) << warning;
    EXPECT_NE(warning.find("2行目（他に1行）"), std::string::npos) << warning;
    const std::string log = ErrorLog();
    for (const char* line : {"2行目　100\t999\t0\t1", "3行目　10\t99\t-0.5\t1"}) {
        EXPECT_NE(log.find(line), std::string::npos) << line;
    }

    // With every line refused the built-in bands stand in.
    WriteTable({"1\t49\t0\t1"});
    EXPECT_EQ(Load().size(), 96u);
}

TEST_F(PriceBand, CheckRunShowsCount) {
    marketdata::AHNHB00M();
    WriteTable({"100\t199\t10\t1", "", "50\t99\t5\t1", "1\t49\t4\t1"});
    marketdata::AHNHB00M();
    ASSERT_EQ(ui_.presenter->boxes.size(), 2u);
    EXPECT_EQ(ui_.presenter->boxes[0].text, "pCnt=96");
    EXPECT_EQ(ui_.presenter->boxes[0].style, 0);
    EXPECT_EQ(ui_.presenter->boxes[1].text, "pCnt=3");
}

}  // namespace
