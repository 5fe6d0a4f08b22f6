#include "marketdata/price_series.h"

#include <gtest/gtest.h>

#include "common/files/data_file.h"
#include "common/startup/run_env.h"
#include "common/run_state.h"
#include "common/files/text_file_write.h"
#include "platform/cp932.h"
#include "platform/utf8_text.h"
#include "tests/support/stock_key.h"
#include "tests/support/file_bytes.h"
#include "tests/support/program_folder.h"

namespace {

using platform::Currency;

marketdata::Key StockKey(const std::string& category) { return testsupport::StockKey("JPN", category, "7203"); }

class PriceSeries : public ::testing::Test {
protected:
    explicit PriceSeries(bool korvane = false) : folder_(korvane) {
        common::CCENV00M(env_);
        common::SetTaskWorkPaths(0, 0, env_);
    }

    // The daily series file of the stock, written as the collectors write it.
    void WriteSeries(const marketdata::Key& key, const std::vector<std::string>& lines) {
        common::CFFIL30M(lines, common::BuildDataFilePath(marketdata::kPriceSeriesFileNumber, 0, 0,
                                                          marketdata::PriceFileNamePart(key, "D"), ".txt", env_));
    }

    // The daily series of the stock; a blank extension means ".txt".
    bool Load(const std::string& category, std::vector<marketdata::PriceRec>& rows) {
        return marketdata::LoadPriceSeries(marketdata::kPriceSeriesFileNumber, env_, StockKey(category), "D", "", "",
                                           rows);
    }

    std::string ErrorLog() { return platform::FromCp932(testsupport::ReadBytes(common::State().errorLogPath)).text; }

    testsupport::ProgramFolder folder_;
    common::EnvRec env_;
};

TEST_F(PriceSeries, AcceptedColumnCounts) {
    const struct {
        std::size_t columns;
        bool accepted;
    } cases[] = {{6, false}, {7, true},   {8, true},   {9, false}, {11, false}, {12, true},
                 {13, false}, {16, true}, {17, false}, {19, false}, {20, true}, {21, false}, {23, false}};
    for (const auto& c : cases) {
        std::string line = "c0";
        for (std::size_t n = 1; n < c.columns; ++n) line += "\tc" + std::to_string(n);
        marketdata::PriceRec rec;
        rec.Text[19] = "old";
        EXPECT_EQ(marketdata::SplitPriceLine(line, rec), c.accepted) << c.columns;
        if (!c.accepted) {
            EXPECT_EQ(rec.Text[19], "old") << c.columns;
            continue;
        }
        const std::size_t last = std::min<std::size_t>(c.columns, marketdata::kPriceTextColumns) - 1;
        EXPECT_EQ(rec.Text[last], "c" + std::to_string(last)) << c.columns;
        if (last + 1 < marketdata::kPriceTextColumns) {
            EXPECT_EQ(rec.Text[last + 1], "") << c.columns;
        }
    }
}

TEST_F(PriceSeries, NamePart) {
    EXPECT_EQ(marketdata::PriceFileNamePart(StockKey("1000"), " D "), "-JPN-D-1000-7203");
}

// Unreadable texts read as 0 and the row then fails the filter; rows of a
// column count or date no writer produces are logged and skipped.
TEST_F(PriceSeries, LoadFiltersStockRows) {
    WriteSeries(StockKey("1000"), {
                                      "2004/01/05\t100\t110\t90\t105\t5000\t104",
                                      "2004/01/06\t0\t110\t90\t105\t5000\t104",
                                      "2004/01/07\t100\tn/a\t90\t105\t5000\t104",
                                      "2004/01/08\t100\t110\t90\t105\t0\t104",
                                      "   ",
                                      "2004/01/09\t1,234\t1,300.5\t1,200\t1,250\t7,000\t0\tnote",
                                      "2004/01/10\t100\t110\t90\t105\t5000\t104\tx\ty",
                                      "2004/13/01\t100\t110\t90\t105\t5000\t104",
                                      "2004/01/11\t100\t110\t90\t105",
                                  });
    std::vector<marketdata::PriceRec> rows;
    ASSERT_TRUE(Load("1000", rows));
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].Date, (platform::Date{2004, 1, 5}));
    EXPECT_EQ(rows[0].AdjClose, Currency(104));
    EXPECT_EQ(rows[1].Open, Currency(1234));
    EXPECT_EQ(rows[1].High, Currency::FromRaw(13005000));
    EXPECT_EQ(rows[1].Volume, Currency(7000));
    // No adjusted close: the close stands in, the text stays as read.
    EXPECT_EQ(rows[1].AdjClose, Currency(1250));
    EXPECT_EQ(rows[1].Text[6], "0");
    EXPECT_EQ(rows[1].Text[7], "note");

    const std::string log = ErrorLog();
    EXPECT_NE(log.find("株価時系列の読めない行を読み飛ばしました。　"), std::string::npos);
    EXPECT_NE(log.find("7行目　項目数=9"), std::string::npos) << log;
    EXPECT_NE(log.find("8行目　日付=2004/13/01"), std::string::npos) << log;
    EXPECT_NE(log.find("9行目　項目数=5"), std::string::npos) << log;
}

TEST_F(PriceSeries, IndexKeepsRowsWithoutQuantity) {
    WriteSeries(StockKey("0010"), {"2004/01/05\t100\t110\t90\t105\t0\t0", "2004/01/06\t0\t110\t90\t105\t0\t0"});
    std::vector<marketdata::PriceRec> rows;
    ASSERT_TRUE(Load("0010", rows));
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].Volume, Currency{});
}

TEST_F(PriceSeries, NothingToLoad) {
    std::vector<marketdata::PriceRec> rows(3);
    EXPECT_FALSE(Load("1000", rows));
    EXPECT_TRUE(rows.empty());

    const std::vector<std::vector<std::string>> files = {
        {"", "  \t "},                                        // blank lines only
        {"2004/01/05\t0\t0\t0\t0\t0\t0"},                     // every row filtered
        {"2004/01/05\t1\t1\t1\t1"},                           // every line unreadable
    };
    for (const auto& lines : files) {
        WriteSeries(StockKey("1000"), lines);
        rows.resize(2);
        EXPECT_FALSE(Load("1000", rows))
            << lines[0];
        EXPECT_TRUE(rows.empty());
    }
}

// The split file keeps the notice texts as they are and converts nothing.
TEST_F(PriceSeries, SplitFileKeepsTexts) {
    const std::string namePart = marketdata::PriceFileNamePart(StockKey("1000"), "D");
    marketdata::WritePriceSeries(env_, marketdata::kSplitFileNumber, namePart, ".txt",
                                 std::vector<std::string>{"2004/01/05\t分割\t1株\t->\t2株\t\t"});
    std::vector<marketdata::PriceRec> rows;
    ASSERT_TRUE(marketdata::LoadPriceSeriesByNumber(env_, marketdata::kSplitFileNumber, namePart, "", rows));
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].Text[1], "分割");
    EXPECT_EQ(rows[0].Text[5], "");
    EXPECT_EQ(rows[0].Close, Currency{});
}

TEST_F(PriceSeries, LineWriter) {
    marketdata::PriceRec rec;
    rec.Text = {"2004/01/05", "100", "110", "1,234", "105", "5,000", "0", "  "};
    rec.Text[8] = "never written";
    std::string line;
    marketdata::PriceRecToLine(rec, line);
    EXPECT_EQ(line, "2004/01/05\t100\t110\t1234\t105\t5000\t0");

    rec.Text[7] = "a,b";
    marketdata::PriceRecToLine(rec, line);
    EXPECT_EQ(line, "2004/01/05\t100\t110\t1234\t105\t5000\t0\tab");
}

// A price text that is not a number is written as it stands: without its
// commas "1," would read back as the number 1.
TEST_F(PriceSeries, LineWriterKeepsCommasOfTextsThatAreNoNumber) {
    const struct {
        const char* text;
        const char* written;
    } cases[] = {
        {"1,234.5", "1234.5"}, {"-1,000", "-1000"}, {" 12,345 ", " 12345 "}, {"1,", "1,"},  {",5", ",5"},
        {"1,,2", "1,,2"},      {"1.2,3", "1.2,3"},  {"1,2a", "1,2a"},         {"abc", "abc"}, {"", ""},
    };
    for (const auto& c : cases) {
        for (std::size_t column = 1; column <= 6; ++column) {
            SCOPED_TRACE(std::string(c.text) + " in column " + std::to_string(column));
            marketdata::PriceRec rec;
            rec.Text = {"2004/01/05", "1", "1", "1", "1", "1", "1"};
            rec.Text[column] = c.text;
            std::string line;
            marketdata::PriceRecToLine(rec, line);
            const std::vector<std::string_view> columns = platform::SplitAt(line, '\t');
            ASSERT_EQ(columns.size(), 7u);
            EXPECT_EQ(columns[column], c.written);
        }
    }

    // Written and read back, a close of "1," is still no number: the row goes.
    std::vector<marketdata::PriceRec> rows(2);
    rows[0].Text = {"2004/01/05", "1", "1", "1", "1,", "100", "0"};
    rows[1].Text = {"2004/01/06", "2", "2", "2", "2", "1,000", "0"};
    std::vector<std::string> lines;
    marketdata::PriceRecsToLines(rows, lines);
    WriteSeries(StockKey("1000"), lines);
    std::vector<marketdata::PriceRec> loaded;
    ASSERT_TRUE(Load("1000", loaded));
    ASSERT_EQ(loaded.size(), 1u);
    EXPECT_EQ(loaded[0].Text[0], "2004/01/06");
    EXPECT_EQ(loaded[0].Volume, Currency(1000));
}

TEST_F(PriceSeries, SortedRewrite) {
    std::vector<marketdata::PriceRec> rows(3);
    rows[0].Text = {"2004/01/07", "3", "3", "3", "3", "3", "3"};
    rows[1].Text = {"2004/01/05", "1", "1", "1", "1", "1", "1"};
    rows[2].Text = {"2004/01/06", "2", "2", "2", "2", "2", "2"};
    common::State().functionId = "CALLER";
    EXPECT_TRUE(marketdata::CFHPJ50M(env_, marketdata::kPriceSeriesFileNumber, "-JPN-D-0060-3050", ".tmp", rows));
    EXPECT_EQ(common::State().functionId, "CALLER");

    const std::string path =
        common::BuildDataFilePath(marketdata::kPriceSeriesFileNumber, 0, 0, "-JPN-D-0060-3050", ".tmp", env_);
    EXPECT_EQ(path, env_.folder(common::Folder::Chart) + "/Chart-JPN-D-0060-3050.tmp");
    EXPECT_EQ(testsupport::ReadBytes(path),
              "2004/01/05\t1\t1\t1\t1\t1\t1\r\n2004/01/06\t2\t2\t2\t2\t2\t2\r\n2004/01/07\t3\t3\t3\t3\t3\t3\r\n");
}

class AnalysisPriceSeries : public PriceSeries {
protected:
    AnalysisPriceSeries() : PriceSeries(true) {}
};

// A date text with a blank is dropped by the collection program and kept by
// the analysis program.
TEST_F(PriceSeries, BlankInDateDropped) {
    WriteSeries(StockKey("1000"), {"2004/01/05 \t1\t1\t1\t1\t1\t1", "2004/01/06\t1\t1\t1\t1\t1\t1"});
    std::vector<marketdata::PriceRec> rows;
    ASSERT_TRUE(Load("1000", rows));
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].Text[0], "2004/01/06");
}

TEST_F(AnalysisPriceSeries, BlankInDateKept) {
    WriteSeries(StockKey("1000"), {"2004/01/05 \t1\t1\t1\t1\t1\t1", "2004/01/06\t1\t1\t1\t1\t1\t1"});
    std::vector<marketdata::PriceRec> rows;
    ASSERT_TRUE(Load("1000", rows));
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].Date, (platform::Date{2004, 1, 5}));
}

}  // namespace
