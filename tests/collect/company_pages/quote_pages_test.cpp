// Reading the quote pages of the three markets, laid out through the real
// tokenizer and layout.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "collect/company_pages/cn_quote_page.h"
#include "collect/company_pages/jp_quote_page.h"
#include "collect/company_pages/quote_dates.h"
#include "collect/company_pages/us_quote_page.h"
#include "collect/web/html_items.h"
#include "collect/web/html_tag_table.h"
#include "collect/web/page_layout.h"
#include "marketdata/code_master.h"
#include "platform/date.h"
#include "platform/numeric_text.h"
#include "tests/collect/laid_out_page.h"
#include "tests/support/program_folder.h"
#include "tests/support/quote_pages.h"

namespace {

using Row = std::vector<std::string>;
using collect::PageCellTable;

PageCellTable Layout(const std::string& html) { return collect_test::LayOutPage(html).text; }

PageCellTable Table(const std::vector<Row>& rows) {
    std::string html = "<html><body><table>";
    for (const Row& row : rows) {
        html += "<tr>";
        for (const std::string& cell : row) html += "<td>" + cell + "</td>";
        html += "</tr>";
    }
    return Layout(html + "</table></body></html>");
}

marketdata::CdmRec Company(const std::string& name) {
    marketdata::CdmRec rec;
    marketdata::InitCdmRec(rec, 1);
    rec.InfoText[171 - 133] = name;
    return rec;
}

class QuotePages : public ::testing::Test {
protected:
    testsupport::ProgramFolder folder;
};

TEST_F(QuotePages, JapaneseStartIsTheMarkFoundLast) {
    std::int32_t row = 0, col = 0;
    EXPECT_EQ(collect::CheckJapanQuotePage(Table({{"x", "現在の日時 a b"}, {"新規デザイン作成"}, {"y"}}), row, col), 4);
    EXPECT_EQ(col, 1);
    EXPECT_EQ(collect::CheckJapanQuotePage(Table({{"新規デザイン作成"}, {"x", "現在の日時 a b"}}), row, col), 2);
    EXPECT_EQ(col, 2);
    EXPECT_EQ(collect::CheckJapanQuotePage(Table({{"現在の日時"}, {"一致する銘柄はありません"}}), row, col), 0);
    EXPECT_EQ(collect::CheckJapanQuotePage(Table({{"nothing"}}), row, col), 0);
}

TEST_F(QuotePages, JapaneseTradeDatesAndMarks) {
    const platform::Date today = platform::Now().date;
    const auto read = [](const std::string& trade, const std::string& fiscal) {
        marketdata::RpiRec rpi;
        collect::ParseJapanQuote(Company("n"), rpi,
                                 Table({{"現在の日時 15:00 トヨタ(株) 【東証1部：7203】"},
                                        {"取引値", "決算年月", "単元株数", "株価収益率", "1株株主資本"},
                                        {trade, fiscal, "---株", "---倍", "1,000.50円"}}),
                                 1, 1);
        return rpi;
    };
    const marketdata::RpiRec none = read("--- ---", "---");
    EXPECT_EQ(none.Text[2], "トヨタ(株)");
    EXPECT_EQ(none.Text[3], "東証1部");
    EXPECT_EQ(none.Text[9], "1900/01/01");
    EXPECT_EQ(none.Text[10], "0");
    EXPECT_EQ(none.Text[70], "000000");
    EXPECT_EQ(none.Text[8], "1");
    EXPECT_EQ(none.Text[43], "-");
    EXPECT_EQ(none.Text[44], "0");
    EXPECT_EQ(none.Text[54], "-");
    EXPECT_EQ(none.Text[55], "1000.50");

    const marketdata::RpiRec timed = read("15:00 1,234", "2024年3月");
    EXPECT_EQ(timed.Text[9], platform::DateText(today));
    EXPECT_EQ(timed.Text[10], "1234");
    EXPECT_EQ(timed.Text[70], "202403");
    EXPECT_EQ(read("15:00 1,234", "20241年3月").Text[70], "000000");
    EXPECT_EQ(read("15:00 1,234", "2024年13月").Text[70], "000000");

    // 12/31 read early in January belongs to the year before; a day not
    // after today to this year.
    const marketdata::RpiRec lastYear = read("12/31 980", "2023年12月");
    const bool december31 = today.month == 12 && today.day == 31;
    EXPECT_EQ(lastYear.Text[9], std::to_string(december31 ? today.year : today.year - 1) + "/12/31");
    EXPECT_EQ(read("1/1 980", "").Text[9], std::to_string(today.year) + "/01/01");
    EXPECT_EQ(read("2024年2月9日 15:00 980", "").Text[9], platform::DateText(today));
    EXPECT_EQ(read("2024年2月9日 980", "").Text[9], "2024/02/09");
    const marketdata::RpiRec yearless = read("1月1日 980", "");
    EXPECT_EQ(yearless.Text[9], std::to_string(today.year) + "/01/01");
    EXPECT_EQ(yearless.Text[10], "980");
}

// A quote dated by month and day only belongs to the year of today, or to
// the year before when that day is still to come.
TEST(QuoteDates, MonthAndDayTakeTheYearOfToday) {
    struct Case {
        const char* text;
        platform::Date today;
        const char* date;  // "" for none
    };
    const Case cases[] = {
        {"12月31日", {2025, 1, 5}, "2024/12/31"},  {"12/31", {2025, 1, 5}, "2024/12/31"},
        {"1月5日", {2025, 1, 5}, "2025/01/05"},    {"1月6日", {2025, 1, 5}, "2024/01/06"},
        {"12月31日", {2024, 12, 31}, "2024/12/31"}, {"1月1日", {2024, 12, 31}, "2024/01/01"},
        {"2月29日", {2024, 3, 1}, "2024/02/29"},   {"2月29日", {2025, 3, 1}, ""},
        {"13月1日", {2025, 1, 5}, ""},              {"3月5", {2025, 6, 1}, ""},
        {"月5日", {2025, 6, 1}, ""},                {"980", {2025, 6, 1}, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.text) + " " + platform::DateText(c.today));
        EXPECT_EQ(collect::MonthDayQuoteDate(c.text, c.today).value_or(""), c.date);
    }
}

TEST_F(QuotePages, JapaneseGeneratedPage) {
    const PageCellTable table = Layout(testsupport::JapanQuotePage("7203", "トヨタ自動車(株)"));
    std::int32_t row = 0, col = 0;
    ASSERT_GT(collect::CheckJapanQuotePage(table, row, col), 0);
    marketdata::RpiRec rpi;
    collect::ParseJapanQuote(Company("n"), rpi, table, row, col);
    const testsupport::QuoteFigures f = testsupport::QuoteFiguresOf("7203");
    EXPECT_EQ(rpi.Text[10], f.price);
    EXPECT_EQ(rpi.Text[14], f.previousClose);
    EXPECT_EQ(rpi.Text[15], f.volume);
    EXPECT_EQ(rpi.Text[19], "百万円");
    EXPECT_EQ(rpi.Text[8], "100");
    EXPECT_EQ(rpi.Text[44], "15.20");
    EXPECT_EQ(rpi.Text[59], "40.5");
    EXPECT_EQ(rpi.Text[68], "80.00");
    EXPECT_EQ(rpi.Text[3], "東証1部");
    EXPECT_EQ(collect::CheckJapanQuotePage(Layout(testsupport::JapanQuoteMissingPage()), row, col), 0);
}

TEST_F(QuotePages, ChineseQuoteAndFinancials) {
    std::int32_t row = 0, col = 0;
    const PageCellTable quote = Layout(testsupport::ChinaQuotePage("^00700", "騰訊控股"));
    ASSERT_GT(collect::CheckChinaQuotePage(quote, row, col), 0);
    marketdata::RpiRec rpi;
    collect::ParseChinaQuote(Company("会社名"), rpi, quote, row, col);
    const testsupport::QuoteFigures f = testsupport::QuoteFiguresOf("^00700");
    EXPECT_EQ(rpi.Text[2], "騰訊控股");
    EXPECT_EQ(rpi.Text[4], "2024/03/01");
    EXPECT_EQ(rpi.Text[5], "16:08:00");
    EXPECT_EQ(rpi.Text[9], "2024/03/01");
    EXPECT_EQ(rpi.Text[6], "香港ドル");
    EXPECT_EQ(rpi.Text[7], "19.5");
    EXPECT_EQ(rpi.Text[10], f.price + ".40");
    EXPECT_EQ(rpi.Text[13], "0.50");
    EXPECT_EQ(rpi.Text[15], "12.5");  // the volume's unit stands apart
    EXPECT_EQ(rpi.Text[16], "M");
    EXPECT_EQ(rpi.Text[8], "500");
    EXPECT_EQ(rpi.Text[18], "1.2");
    EXPECT_EQ(rpi.Text[19], "B");
    EXPECT_EQ(rpi.Text[44], "15.2");
    // The page's own yen rate converts the prices.
    EXPECT_EQ(rpi.Text[23], (*platform::ParseCurrency(f.price + ".40") * *platform::ParseCurrency("19.5")).ToText());

    const PageCellTable financials = Layout(testsupport::ChinaFinancialsPage("^00700"));
    ASSERT_GT(collect::CheckChinaFinancialsPage(financials, row, col), 0);
    collect::ParseChinaFinancials(rpi, financials, row, col);
    EXPECT_EQ(rpi.Text[69], "2023年12月期");
    EXPECT_EQ(rpi.Text[70], "202312");
    EXPECT_EQ(rpi.Text[73], "1000000");
    EXPECT_EQ(rpi.Text[74], "HKD");
    EXPECT_EQ(rpi.Text[48], "香港ドル");
    EXPECT_EQ(rpi.Text[50], "1000000");
    EXPECT_EQ(rpi.Text[61], "14.25");
    EXPECT_EQ(rpi.Text[40], "3.40");
    EXPECT_EQ(rpi.Text[42], "香港ドル");
    EXPECT_EQ(rpi.Text[150].rfind("発行済み株数：", 0), 0u);
    EXPECT_EQ(rpi.Text[37], "60.000");

    EXPECT_EQ(collect::CheckChinaQuotePage(Layout(testsupport::ChinaQuoteMissingPage()), row, col), 0);
}

TEST_F(QuotePages, ChineseTitleAndDividendForms) {
    marketdata::RpiRec rpi;
    collect::ParseChinaQuote(Company("登録名"), rpi, Table({{"> 中国株・企業情報"}, {"株価速報"}, {"-"}, {"現在値", "1"}}),
                             1, 1);
    EXPECT_EQ(rpi.Text[2], "登録名");
    EXPECT_EQ(rpi.Text[9], "-");
    EXPECT_EQ(rpi.Text[4], "1900/01/01");

    const auto dividend = [](const std::string& label, const std::string& value) {
        marketdata::RpiRec r;
        collect::ParseChinaFinancials(r, Table({{"決算年月", "2023/12/31"}, {label, value}}), 1, 1);
        return r;
    };
    marketdata::RpiRec r = dividend("配　当", "0.85香港ドル、10株につき1株");
    EXPECT_EQ(r.Text[70], "202312");
    EXPECT_EQ(r.Text[40], "0.85");
    EXPECT_EQ(r.Text[42], "香港ドル");
    EXPECT_EQ(r.Text[41], "10につき1");
    r = dividend("配　当（元）", "無配");
    EXPECT_EQ(r.Text[40], "0");
    EXPECT_EQ(r.Text[42], "元");
    r = dividend("配　当", "10株につき3株");
    EXPECT_EQ(r.Text[40], "0");
    EXPECT_EQ(r.Text[41], "10につき3");
}

TEST_F(QuotePages, UsQuote) {
    std::int32_t row = 0, col = 0;
    const PageCellTable table = Layout(testsupport::UsQuotePage("AAPL", "Apple Inc."));
    ASSERT_GT(collect::CheckUsQuotePage(table, row, col), 0);
    marketdata::RpiRec rpi;
    collect::ParseUsQuote(Company("n"), rpi, table, row, col);
    const testsupport::QuoteFigures f = testsupport::QuoteFiguresOf("AAPL");
    EXPECT_EQ(rpi.Text[2], "Apple Inc.");
    EXPECT_EQ(rpi.Text[3], "NasdaqGS");
    EXPECT_EQ(rpi.Text[9], "2024/03/01");
    EXPECT_EQ(rpi.Text[10], f.price + ".50");
    EXPECT_EQ(rpi.Text[12], f.change + ".00");
    EXPECT_EQ(rpi.Text[15], f.volume);
    EXPECT_EQ(rpi.Text[18], "1.2");
    EXPECT_EQ(rpi.Text[19], "B");
    EXPECT_EQ(rpi.Text[83], f.price + ".40");
    EXPECT_EQ(rpi.Text[86], f.price + ".60");
    EXPECT_EQ(rpi.Text[31], "1900.00");
    EXPECT_EQ(rpi.Text[40], "0.96");
    EXPECT_EQ(rpi.Text[39], "0.52");
    EXPECT_EQ(rpi.Text[32], "0");
    EXPECT_EQ(rpi.Text[14], f.previousClose + ".5");
    EXPECT_EQ(collect::CheckUsQuotePage(Layout(testsupport::UsQuoteMissingPage()), row, col), 0);
}

}  // namespace
