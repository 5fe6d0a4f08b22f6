// Finding the price table on a page, converting its dates and folding its
// rows into a stock's collected rows.
#include <gtest/gtest.h>

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "collect/prices/price_page_fold.h"
#include "collect/prices/price_table.h"
#include "collect/web/html_items.h"
#include "collect/web/html_tag_table.h"
#include "collect/web/page_layout.h"
#include "common/run_state.h"
#include "common/settings/settings.h"
#include "common/startup/run_env.h"
#include "platform/cp932.h"
#include "platform/date.h"
#include "tests/collect/laid_out_page.h"
#include "tests/support/file_bytes.h"
#include "tests/support/program_folder.h"

namespace {

using Cells = std::vector<std::string>;

constexpr const char* kStock = "1000";
constexpr const char* kIndex = "0010";

const Cells kUsHeader = {"Date", "Open", "High", "Low", "Close", "Volume", "Adj Close*"};
const Cells kJpHeader = {"日付", "始値", "高値", "安値", "終値", "出来高", "調整後終値*"};

using Page = collect_test::LaidOutPage;

// A page as the data sources lay it out: a table with a title row, then the
// rows given cell by cell (a dividend note after its date stands in the
// open column, where its spanning cell starts).
Page MakePage(const std::vector<Cells>& rows) {
    std::string html = "<html><body><table><tr><td>Historical Prices</td></tr>";
    for (const Cells& row : rows) {
        html += "<tr>";
        for (const std::string& cell : row) html += "<td>" + cell + "</td>";
        html += "</tr>";
    }
    html += "</table></body></html>";
    Page page = collect_test::LayOutPage(html);
    page.fetch.Url = "http://127.0.0.1/q/hp?s=IBM";
    return page;
}

// A log's text, "" while nothing was written to it.
std::string LogText(const std::string& path) {
    if (!std::filesystem::exists(path)) return "";
    return platform::FromCp932(testsupport::ReadBytes(path)).text;
}

std::string MapText(const collect::PriceColumnMap& m) {
    return std::to_string(m.DateCol) + "," + std::to_string(m.OpenCol) + "," + std::to_string(m.HighCol) + "," +
           std::to_string(m.LowCol) + "," + std::to_string(m.CloseCol) + "," + std::to_string(m.VolumeCol) + "," +
           std::to_string(m.AdjCloseCol) + "," + std::to_string(m.SpareCol1 + m.SpareCol2 + m.SpareCol3);
}

// ---- finding the table

struct FinderCase {
    const char* name;
    const char* category;
    std::vector<Cells> rows;
    std::int32_t byLabels;  // ParsePriceTable
    std::int32_t byShape;   // FindPriceTableByShape
    const char* map;        // of the finder that found the table (labels first)
};

void PrintTo(const FinderCase& c, std::ostream* os) { *os << c.name; }

class FindTable : public ::testing::TestWithParam<FinderCase> {};

TEST_P(FindTable, GivesTheHeaderRowAndTheColumns) {
    const FinderCase& c = GetParam();
    const Page page = MakePage(c.rows);
    collect::PriceColumnMap byLabels;
    byLabels.SpareCol1 = 9;
    EXPECT_EQ(collect::ParsePriceTable(c.category, byLabels, page.fetch, page.text), c.byLabels);
    collect::PriceColumnMap byShape;
    byShape.CloseCol = 9;
    EXPECT_EQ(collect::FindPriceTableByShape(c.category, byShape, page.fetch, page.text), c.byShape);
    EXPECT_EQ(MapText(c.byLabels > 0 ? byLabels : byShape), c.map);
    if (c.byLabels <= 0) {
        EXPECT_EQ(MapText(byLabels), "0,0,0,0,0,0,0,0");
    }
    if (c.byShape <= 0) {
        EXPECT_EQ(MapText(byShape), "0,0,0,0,0,0,0,0");
    }
}

const std::vector<Cells> kUsRows = {
    {"9-Mar-05", "1,234.50", "1,240.00", "1,230.00", "1,235.25", "5,100", "1,235.25"},
    {"8-Mar-05", "1,220.00", "1,236.00", "1,219.00", "1,234.50", "4,900", "1,234.50"},
};

std::vector<Cells> With(Cells header, const std::vector<Cells>& rows) {
    std::vector<Cells> all = {std::move(header)};
    all.insert(all.end(), rows.begin(), rows.end());
    return all;
}

const FinderCase kFinderCases[] = {
    // The title is row 1, so the header is row 2. The shape finder knows a
    // data row by the year it starts with, which US dates do not.
    {"UsStockHeaderOfSevenLabels", kStock, With(kUsHeader, kUsRows), 2, 0, "1,2,3,4,5,6,7,0"},
    {"IndexCountsOnlyDateAndPrices", kIndex, With(kUsHeader, kUsRows), 2, 0, "1,2,3,4,5,0,0,0"},
    {"WeeklyAverageVolume", kStock,
     With({"Date", "Open", "High", "Low", "Close", "Avg Vol", "Adj Close*"}, kUsRows), 2, 0, "1,2,3,4,5,6,7,0"},
    {"JapaneseHeader", kStock,
     With(kJpHeader, {{"2005年3月9日", "1,000", "1,010", "990", "1,005", "12,300", "1,005"}}), 2, 2,
     "1,2,3,4,5,6,7,0"},
    {"ColumnsInAnotherOrder", kIndex,
     With({"Date", "Close", "Open", "Low", "High"}, {{"9-Mar-05", "4", "1", "3", "2"}}), 2, 0, "1,3,5,4,2,0,0,0"},
    // Without its adjusted close a stock's header does not count; the shape
    // finder needs seven numbers as well.
    {"StockHeaderMissingALabel", kStock,
     With({"日付", "始値", "高値", "安値", "終値", "出来高"}, {{"2005/3/9", "1", "2", "3", "4", "5", "6"}}), 0, 2,
     "1,2,3,4,5,6,7,0"},
    // A label named twice leaves another column unnamed (here the high): no
    // header. On an index page the quantity does not count, twice or not.
    {"RepeatedLabelIsNoHeader", kStock,
     With({"Date", "Open", "Open", "Low", "Close", "Volume", "Adj Close*"}, kUsRows), 0, 0, "0,0,0,0,0,0,0,0"},
    {"IndexWithARepeatedPrice", kIndex, With({"Date", "Open", "High", "Low", "Close", "Close"}, kUsRows), 0, 0,
     "0,0,0,0,0,0,0,0"},
    {"IndexWithARepeatedQuantity", kIndex,
     With({"Date", "Open", "High", "Low", "Close", "Volume", "Volume"}, kUsRows), 2, 0, "1,2,3,4,5,0,0,0"},
    {"UnknownLabelsFoundByShape", kStock,
     With({"Datum", "Eröffnung", "Hoch", "Tief", "Schluss", "Umsatz", "Bereinigt"},
          {{"2005/03/09", "1,000", "n/a", "1,010", "990", "1,005", "12,300", "1,005"}}),
     0, 2, "1,2,4,5,6,7,8,0"},
    {"YearRowWithTooFewNumbersIsPassed", kIndex,
     {{"2005 annual report", "12", "x"}, {"Date?", "Open", "High", "Low", "Close"}, {"2005/03/09", "1", "2", "3", "4"}},
     0, 3, "1,2,3,4,5,0,0,0"},
    {"NoDataTextBeforeAnyHeader", kStock,
     {{"Prices", "Historical quotes are unavailable for the specified date range."}, kUsHeader}, -1, -1,
     "0,0,0,0,0,0,0,0"},
    {"InvalidTicker", kIndex, {{"Sorry, XX is not a valid ticker symbol."}}, -1, -1, "0,0,0,0,0,0,0,0"},
    {"JapaneseNoData", kStock, {{"7203のデータはありません"}}, -1, -1, "0,0,0,0,0,0,0,0"},
    {"NoTableAtAll", kStock, {{"Welcome"}, {"Please try again"}}, 0, 0, "0,0,0,0,0,0,0,0"},
};

INSTANTIATE_TEST_SUITE_P(Cases, FindTable, ::testing::ValuesIn(kFinderCases),
                         [](const ::testing::TestParamInfo<FinderCase>& info) { return std::string(info.param.name); });

// ---- converting dates

// The current year, as the two-digit pivot sees it.
std::string ThisYearShort() { return std::to_string(platform::Now().date.year % 100 + 100).substr(1); }
std::string NextYearShort() { return std::to_string((platform::Now().date.year + 1) % 100 + 100).substr(1); }

class DateConversion : public ::testing::Test {
protected:
    void SetUp() override {
        common::CCENV00M(env_);
        common::SetTaskWorkPaths(41, 1, env_);
    }
    std::string ErrorLog() const { return LogText(common::State().errorLogPath); }
    testsupport::ProgramFolder folder_;
    common::EnvRec env_;
};

TEST_F(DateConversion, ReadsEachCountrysForms) {
    struct Case {
        std::string country;
        std::string text;
        std::string expected;
    };
    const int year = platform::Now().date.year;
    const std::vector<Case> cases = {
        {"USA", "9-Mar-05", "2005/03/09"},
        {"USA", "9-Mar-75", "1975/03/09"},
        {"USA", "9-Mar-20", "2020/03/09"},
        {"USA", "9-Mar-2005", "2005/03/09"},
        {"CHN", " 19-Dec-99 ", "1999/12/19"},
        // Rows are never in the future: this year's two digits are this
        // century, next year's are the last one.
        {"USA", "1-Jan-" + ThisYearShort(), std::to_string(year) + "/01/01"},
        {"USA", "1-Jan-" + NextYearShort(), std::to_string(year + 1 - 100) + "/01/01"},
        {"GBR", "Mar-9-05", "2005/03/09"},
        {"XEU", "Dec-31-21", "2021/12/31"},
        {"JPN", "2005/3/9", "2005/03/09"},
        {"JPN", "2005年3月9日", "2005/03/09"},
        {"JPN", "2005年3月9日(水)", "2005/03/09"},
        {"JPN", "2099年3月9日(水)", year < 2099 ? "1999/03/09" : "2099/03/09"},
        // Monthly labels are the month's first day.
        {"USA", "Mar 05", "2005/03/01"},
        {"USA", "Mar 1999", "1999/03/01"},
        {"CHN", "Dec 21", "2021/12/01"},
        {"JPN", "2005年3月", "2005/03/01"},
        {"JPN", "Mar 05", "2005/03/01"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(collect::AHPJP441(c.country, c.text), c.expected) << c.country << " " << c.text;
    }
    EXPECT_EQ(ErrorLog(), "");
}

TEST_F(DateConversion, LogsWhatItCannotRead) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"USA", "2005/03/09"}, {"USA", "9-Mar"},     {"USA", "9-Mrz-05"},  {"CHN", "31-Feb-05"},
        {"GBR", "9-Mar-05"},   {"USA", "9-Mar-005"}, {"JPN", "Dividend"},  {"JPN", "2005/13/1"},
        {"USA", "Mar 9, 2005"},
        // An ISO-2022-JP date read as ASCII: three digit runs, but no date.
        {"JPN", "2026\x1B$BG/\x1B(B6\x1B$B7n\x1B(B1\x1B$BF|\x1B(B"},
    };
    for (const auto& [country, text] : cases) {
        EXPECT_EQ(collect::AHPJP441(country, text), "") << country << " " << text;
        EXPECT_NE(ErrorLog().find("AHPJP441,E0:ErrApl ,00,株価時系列の日付変換不能　日付=<" + text + ">\r\n"),
                  std::string::npos)
            << text;
    }
}

// ---- folding a page in

class FoldPage : public ::testing::Test {
protected:
    void SetUp() override {
        common::CCENV00M(env_);
        common::SetTaskWorkPaths(41, 1, env_);
        common::State().logSwitch[11] = true;
        common::State().logSwitch[15] = true;
        company_.Key.CorpCode = "IBM                 ";
        company_.InfoText[38] = "International Business Machines";
        request_.Country = "USA";
        request_.Category = kStock;
        request_.Candle = "D";
        request_.ToDate = {2005, 3, 31};
        request_.PositionDate = request_.ToDate;
    }

    // Finds the table by its labels and folds the page in.
    bool Fold(const std::vector<Cells>& rows) {
        page_ = MakePage(rows);
        const std::int32_t header = collect::ParsePriceTable(request_.Category, map_, page_.fetch, page_.text);
        EXPECT_GT(header, 0);
        request_.RowIndex = header + 1;
        return collect::AHPJP44M(company_, request_, map_, collected_, page_.fetch, page_.text);
    }

    std::vector<std::string> Lines() const {
        std::vector<std::string> lines;
        for (const marketdata::PriceRec& row : collected_) {
            std::string line = row.Text[0];
            for (std::size_t col = 1; col < 7; ++col) line += "|" + row.Text[col];
            lines.push_back(line);
        }
        return lines;
    }

    std::string RunLog() const { return LogText(common::State().runLogPath); }

    testsupport::ProgramFolder folder_;
    common::EnvRec env_;
    marketdata::CdmRec company_;
    collect::PriceRequest request_;
    collect::PriceColumnMap map_;
    std::vector<marketdata::PriceRec> collected_;
    Page page_;
};

TEST_F(FoldPage, AppendsTheRowsWithTheirValues) {
    collected_.resize(2);
    collected_[0].Text[0] = "2005/03/11";
    collected_[1].Text[0] = "2005/03/10";
    request_.TotalRows = 2;
    EXPECT_TRUE(Fold(With(kUsHeader, {
                                         kUsRows[0],
                                         {"", "page footer"},
                                         {"8-Mar-05", "$0.18 Cash Dividend"},
                                         kUsRows[1],
                                         {"7-Mar-05", "1", "2", "3", "4", "5", "N/A"},
                                     })));
    EXPECT_EQ(Lines(), (std::vector<std::string>{
                           "2005/03/11||||||",
                           "2005/03/10||||||",
                           "2005/03/09|1234.50|1240.00|1230.00|1235.25|5100|1235.25",
                           "2005/03/08|$0.18 Cash Dividend|||||",
                           "2005/03/08|1220.00|1236.00|1219.00|1234.50|4900|1234.50",
                           "2005/03/07|1|2|3|4|5|N/A",
                       }));
    EXPECT_EQ(request_.TotalRows, 6);
    EXPECT_EQ(request_.PageRows, 4);
    EXPECT_EQ(request_.PositionDate, (platform::Date{2005, 3, 7}));
    EXPECT_EQ(RunLog(), "") << "a dividend row may share its date";
}

TEST_F(FoldPage, IndexRowsCarryNoQuantity) {
    request_.Category = kIndex;
    EXPECT_TRUE(Fold(With(kUsHeader, {kUsRows[0]})));
    EXPECT_EQ(Lines(), (std::vector<std::string>{"2005/03/09|1234.50|1240.00|1230.00|1235.25|0|0"}));
}

TEST_F(FoldPage, NoDateRowEndsThePage) {
    EXPECT_FALSE(Fold(With(kUsHeader, {kUsRows[0], {"31-Dec-69", "0", "0", "0", "0", "0", "0"}, kUsRows[1]})));
    EXPECT_EQ(Lines().size(), 1u);
    EXPECT_EQ(request_.TotalRows, 1);
    EXPECT_EQ(request_.PageRows, 1);
    EXPECT_EQ(request_.PositionDate, (platform::Date{2005, 3, 9}));
}

TEST_F(FoldPage, UnreadableDateSkipsOnlyItsRow) {
    EXPECT_TRUE(Fold(With(kUsHeader, {kUsRows[0], {"Mar-2005", "1", "2", "3", "4", "5", "6"}, kUsRows[1]})));
    EXPECT_EQ(request_.TotalRows, 2);
    EXPECT_EQ(request_.PositionDate, (platform::Date{2005, 3, 8}));
    const std::string errors = LogText(common::State().errorLogPath);
    EXPECT_NE(errors.find("AHPJP441,E0:ErrApl ,00,株価時系列の日付変換不能　日付=<Mar-2005>"), std::string::npos)
        << errors;
}

// A row cut short, or read in the wrong charset, never enters the series;
// it still counts as a row of the page, which is then not taken for the last.
TEST_F(FoldPage, RowWhosePricesDoNotReadIsSkipped) {
    EXPECT_TRUE(Fold(With(kUsHeader, {kUsRows[0],
                                      {"7-Mar-05", "1,220.00", "", "", "", "", ""},
                                      {"4-Mar-05", "1,220.00", "1,236.00", "1,2x9.00", "1,234.50", "4,900", "1"},
                                      {"3-Mar-05", "$0.18 Cash Dividend"}})));
    EXPECT_EQ(Lines(), (std::vector<std::string>{"2005/03/09|1234.50|1240.00|1230.00|1235.25|5100|1235.25",
                                                 "2005/03/03|$0.18 Cash Dividend|||||"}));
    EXPECT_EQ(request_.TotalRows, 2);
    EXPECT_EQ(request_.PageRows, 4);
    const std::string errors = LogText(common::State().errorLogPath);
    EXPECT_NE(errors.find("AHPJP44M,E0:ErrApl ,00,株価時系列の価格変換不能　日付=<7-Mar-05>"), std::string::npos)
        << errors;
    EXPECT_NE(errors.find("日付=<4-Mar-05>"), std::string::npos);
}

// The next page starts with the row the previous page ended on.
TEST_F(FoldPage, RepeatedRowIsDroppedAndNoted) {
    EXPECT_TRUE(Fold(With(kUsHeader, {kUsRows[0]})));
    EXPECT_TRUE(Fold(With(kUsHeader, kUsRows)));
    EXPECT_EQ(request_.TotalRows, 2);
    EXPECT_EQ(request_.PageRows, 1);
    EXPECT_EQ(common::ReadSetting("MirControl\\HpGet\\HpDupSts"), "");
    const std::string log = RunLog();
    EXPECT_NE(log.find("AHPJP44M,20:Info   ,01,株価時系列データの重複データを補正。　　IBM : International Business "
                       "Machines\r\n"),
              std::string::npos)
        << log;
    EXPECT_NE(log.find("AHPJP44M,20:Info   ,02,http://127.0.0.1/q/hp?s=IBM\r\n"), std::string::npos);
    EXPECT_NE(log.find("AHPJP44M,20:Info   ,03,2005/03/09\t1234.50\t1240.00\t1230.00\t1235.25\t5100\t1235.25\r\n"),
              std::string::npos);
    EXPECT_EQ(log.find("90:Worning"), std::string::npos);
}

TEST_F(FoldPage, DifferingRowOfTheSameDateEndsTheStock) {
    EXPECT_TRUE(Fold(With(kUsHeader, {kUsRows[0]})));
    Cells changed = kUsRows[0];
    changed[4] = "1,236.00";
    EXPECT_FALSE(Fold(With(kUsHeader, {changed, kUsRows[1]})));
    EXPECT_EQ(request_.TotalRows, 1);
    EXPECT_EQ(request_.PageRows, 0);
    EXPECT_EQ(collected_[0].Text[4], "1235.25");
    EXPECT_EQ(common::ReadSetting("MirControl\\HpGet\\HpDupSts"), "1");
    const std::string log = RunLog();
    const std::string head = "AHPJP44M,90:Worning,";
    EXPECT_NE(log.find(head + "01,株価時系列データの日付が重複しています。　　IBM : International Business Machines\r\n"),
              std::string::npos)
        << log;
    EXPECT_NE(log.find(head + "02,http://127.0.0.1/q/hp?s=IBM\r\n"), std::string::npos);
    EXPECT_NE(log.find(head + "03,2005/03/09\t1234.50\t1240.00\t1230.00\t1235.25\t5100\t1235.25\r\n"),
              std::string::npos);
    EXPECT_NE(log.find(head + "04,2005/03/09\t1234.50\t1240.00\t1230.00\t1236.00\t5100\t1235.25\r\n"),
              std::string::npos);
}

TEST_F(FoldPage, SplitRowKeepsBothRowsOfItsDate) {
    EXPECT_TRUE(Fold(With(kUsHeader, {kUsRows[0], {"9-Mar-05", "2 : 1 Stock Split"}})));
    EXPECT_EQ(request_.TotalRows, 2);
    EXPECT_EQ(common::ReadSetting("MirControl\\HpGet\\HpDupSts"), "");
}

// Monthly pages name a month by a label or by its first trading day; the
// row is keyed by the month's first day. Daily rows and notes keep theirs.
TEST_F(FoldPage, MonthlyRowsAreKeyedByTheirMonth) {
    request_.Candle = "M";
    EXPECT_TRUE(Fold(With(kUsHeader, {{"Mar 05", "1", "2", "3", "4", "5", "6"},
                                      {"3-Feb-05", "1", "2", "3", "4", "5", "6"},
                                      {"10-Jan-05", "$0.18 Cash Dividend"},
                                      {"3-Jan-05", "1", "2", "3", "4", "5", "6"}})));
    request_.Country = "JPN";
    EXPECT_TRUE(Fold(With(kJpHeader, {{"2004年12月", "1", "2", "3", "4", "5", "6"}})));
    EXPECT_EQ(request_.PositionDate, (platform::Date{2004, 12, 1}));
    std::vector<std::string> dates;
    for (const marketdata::PriceRec& row : collected_) dates.push_back(row.Text[0]);
    EXPECT_EQ(dates, (std::vector<std::string>{"2005/03/01", "2005/02/01", "2005/01/10", "2005/01/01", "2004/12/01"}));

    collected_.clear();
    request_.Country = "USA";
    request_.Candle = "D";
    EXPECT_TRUE(Fold(With(kUsHeader, {{"3-Jan-05", "1", "2", "3", "4", "5", "6"}})));
    EXPECT_EQ(collected_.back().Text[0], "2005/01/03");
}

}  // namespace
