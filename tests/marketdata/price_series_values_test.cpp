#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "common/files/data_file.h"
#include "common/startup/run_env.h"
#include "common/run_state.h"
#include "marketdata/price_series.h"
#include "platform/cp932.h"
#include "platform/trapped_error.h"
#include "tests/support/stock_key.h"
#include "tests/support/file_bytes.h"
#include "tests/support/judgement_market.h"
#include "tests/support/program_folder.h"
#include "tests/support/trapped.h"

namespace {

using marketdata::PriceRec;
using marketdata::PriceValues;
using platform::Currency;

marketdata::Key StockKey(const std::string& category) { return testsupport::StockKey("JPN", category, "7203"); }

// The values-only load against the load that keeps every text, on the same
// series file bytes.
class PriceSeriesValues : public ::testing::Test {
protected:
    PriceSeriesValues() : folder_(true) {
        common::CCENV00M(env_);
        common::SetTaskWorkPaths(0, 0, env_);
    }

    void WriteFile(const marketdata::Key& key, const std::string& bytes) {
        testsupport::WriteBytes(common::BuildDataFilePath(marketdata::kPriceSeriesFileNumber, 0, 0,
                                                          marketdata::PriceFileNamePart(key, "D"), ".txt", env_),
                                bytes);
    }

    bool LoadTexts(const marketdata::Key& key, std::vector<PriceRec>& rows) {
        return marketdata::LoadPriceSeries(marketdata::kPriceSeriesFileNumber, env_, key, "D", "", ".txt", rows);
    }

    bool LoadValues(const marketdata::Key& key, std::vector<PriceValues>& rows) {
        return marketdata::LoadPriceSeriesValues(env_, key, "D", "", ".txt", rows);
    }

    // What the error log gained since the last call.
    std::string NewLog() {
        const std::filesystem::path path = common::State().errorLogPath;
        if (!std::filesystem::exists(path)) return "";
        const std::string log = platform::FromCp932(testsupport::ReadBytes(path)).text;
        const std::string added = log.substr(std::min(logSeen_, log.size()));
        logSeen_ = log.size();
        return added;
    }

    // Same rows, dates and values.
    static void ExpectSameRows(const std::vector<PriceValues>& values, const std::vector<PriceRec>& texts,
                               const std::string& label) {
        ASSERT_EQ(values.size(), texts.size()) << label;
        for (std::size_t i = 0; i < values.size(); ++i) {
            const PriceValues& v = values[i];
            const PriceRec& t = texts[i];
            const std::string row = label + " row " + std::to_string(i);
            EXPECT_EQ(v.Date, t.Date) << row;
            EXPECT_EQ(v.Open, t.Open) << row;
            EXPECT_EQ(v.High, t.High) << row;
            EXPECT_EQ(v.Low, t.Low) << row;
            EXPECT_EQ(v.Close, t.Close) << row;
            EXPECT_EQ(v.Volume, t.Volume) << row;
            EXPECT_EQ(v.AdjClose, t.AdjClose) << row;
        }
    }

    testsupport::ProgramFolder folder_;
    common::EnvRec env_;
    std::size_t logSeen_ = 0;
};

// A good line of `count` columns: the fixed seven (or their first ones), then "c7", "c8" ...
std::string Columns(std::size_t count) {
    const char* const fixed[] = {"2004/01/05", "100", "110", "90", "105", "5000", "104"};
    std::string line;
    for (std::size_t n = 0; n < count; ++n) {
        if (n > 0) line += '\t';
        line += n < std::size(fixed) ? fixed[n] : "c" + std::to_string(n);
    }
    return line;
}

TEST_F(PriceSeriesValues, FormatCasesMatchTheTextLoad) {
    const std::string good = "2004/01/05\t100\t110\t90\t105\t5000\t104";
    const struct Case {
        const char* label;
        std::string bytes;
        std::vector<std::string> dates;  // the date texts of the rows kept
        std::vector<std::string> logged;
    } cases[] = {
        {"accepted column counts",
         Columns(7) + "\r\n" + Columns(8) + "\r\n" + Columns(12) + "\r\n" + Columns(16) + "\r\n" + Columns(20) +
             "\r\n" + Columns(23) + "\r\n" + Columns(6) + "\r\n" + Columns(9) + "\r\n" + Columns(19) + "\r\n",
         {"2004/01/05", "2004/01/05", "2004/01/05", "2004/01/05", "2004/01/05"},
         {"6行目　項目数=23", "7行目　項目数=6", "8行目　項目数=9", "9行目　項目数=19"}},
        {"validity filter and unreadable numbers",
         "2004/01/05\t100\t110\t90\t105\t5000\t0\r\n"
         "2004/01/06\t0\t110\t90\t105\t5000\t104\r\n"
         "2004/01/07\t100\tn/a\t90\t105\t5000\t104\r\n"
         "2004/01/08\t100\t110\t90\t105\t0\t104\r\n"
         "2004/13/01\t100\t110\t90\t105\t5000\t104\r\n"
         "2004/01/09\t1,234\t1,300.5\t 1200 \t+1250\t7,000\t1250.00005\r\n",
         {"2004/01/05", "2004/01/09"},
         {"5行目　日付=2004/13/01"}},
        {"blank lines count in the line numbers", "\r\n  \t \r\n\r\r\n" + good + "\r\n\r\n2004/01\r\n",
         {"2004/01/05"},
         {"6行目　項目数=1"}},
        {"LF and CR LF mixed, a last line without its end",
         good + "\n2004/01/06\t1\t1\t1\t1\t1\t1\r\n2004/01/07\t2\t2\t2\t2\t2\t2",
         {"2004/01/05", "2004/01/06", "2004/01/07"},
         {}},
        {"a torn last line", good + "\r\n2004/01/06\t100\t11", {"2004/01/05"}, {"2行目　項目数=3"}},
        {"other date forms, a Japanese one in CP932",
         platform::ToCp932("2004年1月6日\t5\t6\t4\t5\t10\t5\r\n2004-1-7\t5\t6\t4\t5\t10\t5\r\n").bytes +
             " 2004/01/08 \t5\t6\t4\t5\t10\t5\r\n",
         {"2004年1月6日", "2004-1-7", " 2004/01/08 "},
         {}},
        {"plain amounts at the edges of the short way",
         "2004/01/05\t100.5\t110.1234\t90.12345\t105.\t0012\t104\r\n"
         "2004/01/06\t12345678901234\t110\t90\t105\t5000\t123456789012345\r\n"
         "2004/01/07\t123456789.1234\t110\t90\t105\t5000\t104\rX\r\n"
         "2004/01/08\t100\t110\t90\t105\t5000\t104 \r\n"
         "2004/01/09\t100\t110\t90\t105\t5000\t104\t\r\n"
         "2004/01/10\t100\t\t90\t105\t5000\t104\r\n"
         "2004/01/13\t100\t110\t90\t105\t5000\t-104\r\n"
         "2004/01/15\t12345678\t123456789\t1234567\t00000000105\t99999999\t104\r\n"
         "2004/01/14\t1\t1\t1\t1\t1\t1\r",
         {"2004/01/05", "2004/01/06", "2004/01/07", "2004/01/08", "2004/01/09", "2004/01/13", "2004/01/15",
          "2004/01/14"},
         {}},
        {"a byte CP932 cannot read", good + "\t\x81\x20x\r\n", {"2004/01/05"},
         {"CP932として読めないバイトを「?」にしました（1件）"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        WriteFile(StockKey("1000"), c.bytes);
        NewLog();
        std::vector<PriceRec> texts;
        const bool textsLoaded = LoadTexts(StockKey("1000"), texts);
        const std::string textLog = NewLog();
        std::vector<PriceValues> values(3);  // rows of an earlier series are reused
        values[0].AdjClose = Currency(77);
        EXPECT_EQ(LoadValues(StockKey("1000"), values), textsLoaded);
        const std::string valueLog = NewLog();
        ExpectSameRows(values, texts, c.label);
        ASSERT_EQ(texts.size(), c.dates.size());
        for (std::size_t i = 0; i < c.dates.size(); ++i) EXPECT_EQ(texts[i].Text[0], c.dates[i]);
        for (const std::string& line : c.logged) {
            EXPECT_NE(valueLog.find(line), std::string::npos) << valueLog;
            EXPECT_NE(textLog.find(line), std::string::npos) << textLog;
        }
    }
}

TEST_F(PriceSeriesValues, ConvertedValues) {
    WriteFile(StockKey("1000"),
              "2004/01/05\t1,234\t1,300.5\t 1200 \t1250.12345\t7,000\t0\r\n"
              "2004/01/06\t0.5\t2.\t.25\t1\t00012\t3\r\n");
    std::vector<PriceValues> rows;
    ASSERT_TRUE(LoadValues(StockKey("1000"), rows));
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].Date, (platform::Date{2004, 1, 5}));
    EXPECT_EQ(rows[0].Open, Currency(1234));
    EXPECT_EQ(rows[0].High, Currency::FromRaw(13005000));
    EXPECT_EQ(rows[0].Low, Currency(1200));
    EXPECT_EQ(rows[0].Close, Currency::FromRaw(12501234));  // half to even
    EXPECT_EQ(rows[0].AdjClose, rows[0].Close);
    EXPECT_EQ(rows[1].Open, Currency::FromRaw(5000));
    EXPECT_EQ(rows[1].High, Currency(2));
    EXPECT_EQ(rows[1].Low, Currency::FromRaw(2500));
    EXPECT_EQ(rows[1].Volume, Currency(12));
    EXPECT_EQ(rows[1].AdjClose, Currency(3));
}

// A number beyond the amount's range raises overflow from either load; on a
// line whose date does not read it is never converted.
TEST_F(PriceSeriesValues, NumberBeyondRange) {
    const std::string huge = "99999999999999999999";
    WriteFile(StockKey("1000"), "2004/01/05\t1\t1\t1\t" + huge + "\t1\t1\r\n");
    std::vector<PriceValues> rows;
    std::vector<PriceRec> texts;
    EXPECT_EQ(testsupport::ErrorNumberOf([&] { LoadValues(StockKey("1000"), rows); }),
              platform::error_number::kOverflow);
    EXPECT_EQ(testsupport::ErrorNumberOf([&] { LoadTexts(StockKey("1000"), texts); }),
              platform::error_number::kOverflow);

    WriteFile(StockKey("1000"), "2004/02/30\t1\t1\t1\t" + huge + "\t1\t1\r\n2004/01/06\t1\t1\t1\t1\t1\t1\r\n");
    ASSERT_TRUE(LoadValues(StockKey("1000"), rows));
    EXPECT_EQ(rows.size(), 1u);
}

TEST_F(PriceSeriesValues, IndexAndMissingFile) {
    WriteFile(StockKey("0010"), "2004/01/05\t100\t110\t90\t105\t0\t0\r\n2004/01/06\t0\t110\t90\t105\t0\t0\r\n");
    std::vector<PriceValues> rows;
    ASSERT_TRUE(LoadValues(StockKey("0010"), rows));
    EXPECT_EQ(rows.size(), 1u);

    rows.resize(4);
    EXPECT_FALSE(LoadValues(StockKey("1000"), rows));
    EXPECT_TRUE(rows.empty());
    EXPECT_FALSE(common::State().missingFilePath.empty());
}

// Lines made at random near the plain form (odd digits, points, blanks,
// signs, line ends and column counts) load to the same rows both ways.
TEST_F(PriceSeriesValues, RandomLinesLoadAlike) {
    std::mt19937 random(20261211);
    const auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    const auto amount = [&] {
        std::string text(static_cast<std::size_t>(1 + pick(14)), '0');  // within the range
        for (char& c : text) c = static_cast<char>('0' + pick(10));
        switch (pick(12)) {
            case 0: text.insert(static_cast<std::size_t>(pick(static_cast<int>(text.size()) + 1)), "."); break;
            case 1: text = text.substr(0, 3) + "." + text.substr(0, static_cast<std::size_t>(pick(7))); break;
            case 2: text.insert(0, pick(2) == 0 ? " " : "-"); break;
            case 3: text = pick(2) == 0 ? "" : "x"; break;
            default: break;
        }
        return text;
    };
    const char* const ends[] = {"\r\n", "\n", "\r\r\n", "\rx\r\n"};
    for (int round = 0; round < 20; ++round) {
        std::string bytes;
        for (int line = 0; line < 100; ++line) {
            bytes += pick(20) == 0 ? "2004/02/30" : "2004/01/" + std::to_string(10 + pick(20));
            const int columns = 6 + pick(4) / 3 * (1 + pick(12));
            for (int c = 1; c <= columns; ++c) bytes += "\t" + (c <= 6 ? amount() : "m" + std::to_string(c));
            bytes += ends[pick(8) < 5 ? 0 : pick(4)];
        }
        if (pick(2) == 0) bytes += "2004/01/31\t1\t2\t3\t4\t5\t6";  // a last line without its end
        WriteFile(StockKey("1000"), bytes);
        std::vector<PriceRec> texts;
        std::vector<PriceValues> values;
        NewLog();
        EXPECT_EQ(LoadValues(StockKey("1000"), values), LoadTexts(StockKey("1000"), texts));
        ExpectSameRows(values, texts, "round " + std::to_string(round));
    }
}

// Every company of a generated market loads to the same rows both ways, the
// vectors reused from company to company as a judgement run does.
TEST_F(PriceSeriesValues, GeneratedMarketLoadsAlike) {
    std::vector<PriceRec> texts;
    std::vector<PriceValues> values;
    for (long n = 0; n < 12; ++n) {
        const marketdata::CdmRec company = testsupport::MarketCompany(testsupport::MarketCompanyCode(n));
        const long rows = 300 + 97 * n;
        marketdata::CFHPJ50M(env_, marketdata::kPriceSeriesFileNumber,
                             marketdata::PriceFileNamePart(company.Key, "D"), ".txt",
                             testsupport::MarketCompanySeries(n, rows));
        ASSERT_TRUE(LoadTexts(company.Key, texts));
        ASSERT_TRUE(LoadValues(company.Key, values));
        EXPECT_EQ(values.size(), static_cast<std::size_t>(rows));
        ExpectSameRows(values, texts, "company " + std::to_string(n));
    }
}

}  // namespace
