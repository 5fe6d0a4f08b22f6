// Reading the research provider's report pages: finding the report, the
// labelled texts and tables, the rating change and the dates.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "collect/company_pages/research_report_dates.h"
#include "collect/company_pages/research_report_page.h"
#include "collect/web/html_items.h"
#include "collect/web/html_tag_table.h"
#include "collect/web/page_layout.h"
#include "marketdata/code_master.h"
#include "marketdata/multex_record.h"
#include "tests/collect/laid_out_page.h"
#include "tests/support/research_pages.h"

namespace {

using Page = collect_test::LaidOutPage;
constexpr auto Layout = collect_test::LayOutPage;

// A page of one table, its rows given cell by cell.
Page TablePage(const std::vector<std::vector<std::string>>& rows) {
    std::string html = "<html><body><table>";
    for (const auto& row : rows) {
        html += "<tr>";
        for (const std::string& cell : row) html += "<td>" + cell + "</td>";
        html += "</tr>";
    }
    return Layout(html + "</table></body></html>");
}

marketdata::CdmRec Stock(const std::string& code) {
    marketdata::CdmRec stock;
    marketdata::InitCdmRec(stock, 1);
    stock.Key.Market = "JPN";
    stock.Key.Category = "1000";
    stock.Key.CorpCode = code;
    return stock;
}

std::string Line(const marketdata::MultexRec& rec) {
    std::string line;
    marketdata::MultexRecToLine(rec, line);
    return line;
}

marketdata::MultexRec Parse(const Page& page, const marketdata::CdmRec& stock = Stock("1301")) {
    marketdata::MultexRec rec;
    collect::ParseResearchReportPage(stock, page.text, rec);
    return rec;
}

// Pages of the site: the industry under either label, the analyst "（-）",
// both directions of a rating change, and the history, valuation and
// performance tables with their "-" cells.
TEST(ResearchReportPage, ReadsTheGeneratedPages) {
    for (const std::string code : {"1301", "7203", "6758"}) {
        SCOPED_TRACE(code);
        const std::string name = "銘柄" + code;
        const Page page = Layout(testsupport::ResearchReportPage(code, name));
        std::int32_t row = 0;
        std::int32_t col = 0;
        EXPECT_GT(collect::CheckReportPage(page.text, row, col), 0);
        EXPECT_EQ(page.text.At(row, col), "今週のリサーチ情報");
        const marketdata::CdmRec stock = Stock(code);
        marketdata::MultexRec expected = testsupport::ExpectedResearchRecord(code, name);
        expected.Key = stock.Key;
        EXPECT_EQ(Line(Parse(page, stock)), Line(expected));
    }
}

TEST(ResearchReportPage, FindsTheReportOnlyWhereThePageHasOne) {
    struct Case {
        const char* name;
        std::vector<std::vector<std::string>> rows;
        std::int32_t row;
    };
    const std::vector<Case> cases = {
        {"report", {{"銘柄"}, {"x", "今週のリサーチ情報"}}, 2},
        {"no report", {{"銘柄"}, {"関連情報"}}, 0},
        {"foreign section", {{"外国部の銘柄についてはレポートはありません。"}, {"今週のリサーチ情報"}}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Page page = TablePage(c.rows);
        std::int32_t row = -1;
        std::int32_t col = -1;
        EXPECT_EQ(collect::CheckReportPage(page.text, row, col), c.row);
        EXPECT_EQ(row, c.row);
        EXPECT_EQ(col, c.row == 0 ? 0 : 2);
    }
    const Page foreign = Layout(testsupport::NoResearchReportPage());
    std::int32_t row = 0;
    std::int32_t col = 0;
    EXPECT_EQ(collect::CheckReportPage(foreign.text, row, col), 0);
}

TEST(ResearchReportPage, FindsCellsFromAGivenRow) {
    const Page page = TablePage({{"", "年月日"}, {"PER割安度"}, {"x", "y", "年月"}});
    std::int32_t row = 0;
    std::int32_t col = 0;
    EXPECT_EQ(collect::FindCellContaining(page.text, "年月", row, col), 1);
    EXPECT_EQ(col, 2);
    EXPECT_EQ(collect::FindCellContainingFrom(page.text, 2, "年月", row, col), 3);
    EXPECT_EQ(col, 3);
    EXPECT_EQ(collect::FindCellContainingFrom(page.text, 4, "年月", row, col), 0);
    EXPECT_EQ(col, 0);
}

// A page with none of the labels, and one whose tables end at their headers:
// empty texts and no read past the end of the page.
TEST(ResearchReportPage, APageWithoutLabelsOrRowsLeavesTheFieldsEmpty) {
    marketdata::MultexRec empty;
    empty.Key = Stock("1301").Key;
    empty.Text[4] = "1900/01/01";
    EXPECT_EQ(Line(Parse(TablePage({{"今週のリサーチ情報"}}))), Line(empty));

    const marketdata::MultexRec cut =
        Parse(TablePage({{"銘柄【1301】"}, {"関連情報"}, {"銘柄レポート更新履歴"}, {"年月日", "内容"}}));
    EXPECT_EQ(cut.Text[1], "銘柄");
    for (std::size_t k = 1; k <= 5; ++k) {
        EXPECT_EQ(cut.A1[k], "1900/01/01");
        EXPECT_EQ(cut.A2[k], "");
    }
    EXPECT_EQ(cut.B1[1], "");
    EXPECT_EQ(cut.C1[1], "");
}

TEST(ResearchReportPage, TheFirstIndustryLabelWins) {
    const marketdata::MultexRec rec =
        Parse(TablePage({{"マルテックス業種「銀行」"}, {"ロイター業種「証券」"}, {"今週のリサーチ情報"}}));
    EXPECT_EQ(rec.Text[3], "銀行");
}

TEST(ResearchReportPage, ReadsTheRatingChange) {
    struct Case {
        std::vector<std::string> texts;
        std::vector<std::string> expected;  // texts 11-14
    };
    const std::vector<Case> cases = {
        {{"業績予想を更新", "マルテックス・レーティング変更（旧=3 ↑ 新=2）"}, {"2008/01/02", "↑", "2", "3"}},
        {{"マルテックス・レーティング変更（旧= 1↓新=　4）", "マルテックス・レーティング変更（旧=3↑新=2）"},
         {"2008/01/01", "↓", "4", "1"}},
        {{"ﾏﾙﾃｯｸｽ・ﾚｰﾃｨﾝｸﾞ新規（新=2）"}, {"2008/01/01", "？", "2", ""}},
        {{"業績予想を更新", "レーティング変更（旧=3↑新=2）"}, {"", "", "", ""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.texts.back());
        marketdata::MultexRec rec;
        for (std::size_t k = 1; k <= c.texts.size(); ++k) {
            rec.A1[k] = "2008/01/0" + std::to_string(k);
            rec.A2[k] = c.texts[k - 1];
        }
        collect::ParseRatingChange(rec);
        EXPECT_EQ((std::vector<std::string>{rec.Text[11], rec.Text[12], rec.Text[13], rec.Text[14]}), c.expected);
    }
}

TEST(ResearchReportDates, NormalisesReportDates) {
    struct Case {
        const char* text;
        const char* expected;
    };
    const Case cases[] = {
        {"", "1900/01/01"},
        {" - ", "1900/01/01"},
        {"2008/03/14", "2008/03/14"},
        {"2008年3月4日現在", "2008/03/04"},
        {"２００７／１２／３１", "2007/12/31"},
        {"2026/01/31", "2026/01/31"},  // the current year
        {"2027/01/02", "1927/01/02"},  // later than the current year
        {"2099/11/30", "1999/11/30"},
        {"08/03/14", "2008/03/14"},  // a short year is compared on its digits
        {"98/03/14", "1998/03/14"},
        {"26/03/14", "2026/03/14"},
        {"999/1/1", "1900/01/01"},  // a year of three digits, or one, names no century
        {"8/03/14", "1900/01/01"},
        {"2008/03", "1900/01/01"},  // fewer than three runs of digits
        {"更新なし", "1900/01/01"},
        {"2008/02/30", "1900/01/01"},  // no such day
    };
    for (const Case& c : cases) {
        EXPECT_EQ(collect::NormaliseReportDate(c.text, 2026), c.expected) << c.text;
    }
}

TEST(ResearchReportDates, NormalisesYearMonths) {
    struct Case {
        const char* text;
        const char* expected;
    };
    const Case cases[] = {
        {"-", "000000"},
        {" - ", "000000"},
        {"2008年3月", "200803"},
        {"2009年3月期", "200903"},
        {"２００８年１２月", "200812"},
        {"2008年", "200800"},
        {"20081年3月", "000000"},  // beyond the six digits
        {"2008年13月", "000000"},
        {"2008", "000000"},
        {"", "000000"},
        {"年3月", "000000"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(collect::NormaliseYearMonth(c.text, "-", "000000"), c.expected) << c.text;
    }
}

}  // namespace
