// The collectors' cell readers on hostile grids: one wide row above one tall
// column lays out as a k x k grid that holds only 2k texts, and a row of k
// cells that hold the rate history's date heading without being it. The
// readers find what lies in the farthest cells, and their cost follows the
// page, not the area of its grid.
#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "collect/company_lists/list_collector_run.h"
#include "collect/company_pages/jp_profile_page.h"
#include "collect/prices/price_table.h"
#include "collect/rates/fx_history_page.h"
#include "collect/web/html_tag_table.h"
#include "tests/collect/laid_out_page.h"
#include "tests/support/cost_growth.h"

namespace {

using collect_test::LaidOutPage;

// k cells in one row above k rows of one cell; the last cell of each holds
// its own text.
std::string WideOverTall(std::size_t k, const std::string& lastWide = "c", const std::string& lastTall = "r") {
    std::string page = "<table><tr>";
    for (std::size_t n = 1; n <= k; ++n) page += "<td>" + (n == k ? lastWide : std::string("c")) + "</td>";
    page += "</tr>";
    for (std::size_t n = 1; n <= k; ++n) page += "<tr><td>" + (n == k ? lastTall : std::string("r")) + "</td></tr>";
    return page + "</table>";
}

// One row of k cells that contain the date heading of the rate history but
// are not it, so each is a start the header search tries.
std::string HeadingRow(std::size_t k) {
    std::string page = "<table><tr>";
    for (std::size_t n = 0; n < k; ++n) page += "<td>通貨種類A</td>";
    return page + "</tr></table>";
}

std::string Row(const std::vector<std::string>& cells) {
    std::string row = "<tr>";
    for (const std::string& cell : cells) row += "<td>" + cell + "</td>";
    return row + "</tr>";
}

const std::vector<std::string> kHeader{"通貨種類", "CNY", "USD", "JPY", "HKD", "TWD", "XEU", "GBP"};

class CellReaders : public ::testing::Test {
protected:
    static void SetUpTestSuite() { collect::BuildHtmlTagTable(); }
};

TEST_F(CellReaders, FindTheFarthestCellsOfASparseGrid) {
    LaidOutPage labels = collect_test::LayOutPage(WideOverTall(50, "Companies", "会社概要"));
    ASSERT_EQ(labels.fetch.RowCount, 51);
    ASSERT_EQ(labels.fetch.ColCount, 50);
    std::swap(collect::PageText(), labels.text);
    std::int32_t row = 0;
    std::int32_t col = 0;
    EXPECT_TRUE(collect::FindLabelCell("Companies", labels.fetch, row, col));
    EXPECT_EQ(std::make_pair(row, col), std::make_pair(1, 50));
    std::swap(collect::PageText(), labels.text);
    marketdata::CpiRec profile;
    EXPECT_EQ(collect::CheckJapanProfilePage(labels.text, profile, row, col), 51);
    EXPECT_EQ(col, 1);

    const LaidOutPage notice = collect_test::LayOutPage(WideOverTall(50, "1", "データはありません"));
    collect::PriceColumnMap map;
    EXPECT_EQ(collect::ParsePriceTable("1000", map, notice.fetch, notice.text), -1);
    EXPECT_EQ(collect::FindPriceTableByShape("1000", map, notice.fetch, notice.text), -1);

    const LaidOutPage next = collect_test::LayOutPage(WideOverTall(50, "c", "次の20件を表示する"));
    EXPECT_TRUE(collect::HasNextFxPage(next.text, 51));
    EXPECT_FALSE(collect::HasNextFxPage(next.text, 52));
}

// The header search starts at the first cell of a row that holds the date
// heading and maps the rest of the row from there.
TEST_F(CellReaders, RateHistoryHeaderIsMappedFromItsRowsFirstHeading) {
    struct Case {
        const char* name;
        std::vector<std::vector<std::string>> rows;
        std::int32_t header;
        std::int32_t dateCol;
    };
    std::vector<std::string> afterNote{"通貨種類の説明"};
    afterNote.insert(afterNote.end(), kHeader.begin(), kHeader.end());
    std::vector<std::string> afterText{"memo"};
    afterText.insert(afterText.end(), kHeader.begin(), kHeader.end());
    const Case cases[] = {
        {"HeadingNoteBeforeTheHeader", {afterNote}, 1, 2},
        {"TextBeforeTheHeader", {afterText}, 1, 2},
        {"ShortRowThenHeader", {{"通貨種類", "CNY", "USD"}, kHeader}, 2, 1},
        {"HeadingsWithoutCodes", {{"通貨種類", "通貨種類A", "通貨種類B"}}, 0, 0},
    };
    for (const Case& c : cases) {
        std::string html = "<table>";
        for (const std::vector<std::string>& cells : c.rows) html += Row(cells);
        const LaidOutPage page = collect_test::LayOutPage(html + "</table>");
        collect::FxColumnMap map;
        EXPECT_EQ(collect::FindFxHistoryHeader(page.text, map), c.header) << c.name;
        EXPECT_EQ(map.DateCol, c.dateCol) << c.name;
        if (c.header > 0) {
            EXPECT_EQ(map.RateCols[6], c.dateCol + 7) << c.name;
        }
    }
}

struct CostCase {
    const char* name;
    std::string (*page)(std::size_t k);
    void (*read)(LaidOutPage& page);
};

void PrintTo(const CostCase& c, std::ostream* os) { *os << c.name; }

std::string Grid(std::size_t k) { return WideOverTall(k); }

const CostCase kCostCases[] = {
    {"CellScanOfTheCollectors", Grid,
     [](LaidOutPage& page) {
         marketdata::CpiRec profile;
         std::int32_t row = 0, col = 0;
         collect::CheckJapanProfilePage(page.text, profile, row, col);
     }},
    {"PriceTableByLabels", Grid,
     [](LaidOutPage& page) {
         collect::PriceColumnMap map;
         collect::ParsePriceTable("1000", map, page.fetch, page.text);
     }},
    {"PriceTableByShape", Grid,
     [](LaidOutPage& page) {
         collect::PriceColumnMap map;
         collect::FindPriceTableByShape("1000", map, page.fetch, page.text);
     }},
    {"RateHistoryOnTheGrid", Grid,
     [](LaidOutPage& page) {
         collect::FxColumnMap map;
         collect::FindFxHistoryHeader(page.text, map);
         collect::HasNextFxPage(page.text, 1);
     }},
    {"RateHistoryOnAHeadingRow", HeadingRow,
     [](LaidOutPage& page) {
         collect::FxColumnMap map;
         collect::FindFxHistoryHeader(page.text, map);
     }},
    {"CompanyListLabel", Grid,
     [](LaidOutPage& page) {
         std::swap(collect::PageText(), page.text);
         std::int32_t row = 0, col = 0;
         collect::FindLabelCell("Companies", page.fetch, row, col);
         std::swap(collect::PageText(), page.text);
     }},
};

class ReaderCost : public ::testing::TestWithParam<CostCase> {
protected:
    static void SetUpTestSuite() { collect::BuildHtmlTagTable(); }
};

TEST_P(ReaderCost, GrowsWithThePageNotWithItsGrid) {
    const CostCase& c = GetParam();
    const double growth = testsupport::FourfoldGrowth(3000, [&c](std::size_t k) -> testsupport::CostRun {
        const auto page = std::make_shared<LaidOutPage>(collect_test::LayOutPage(c.page(k)));
        return [page, &c] { c.read(*page); };
    });
    EXPECT_LT(growth, testsupport::kLinearGrowthLimit);
}

INSTANTIATE_TEST_SUITE_P(Readers, ReaderCost, ::testing::ValuesIn(kCostCases),
                         [](const ::testing::TestParamInfo<CostCase>& info) { return std::string(info.param.name); });

}  // namespace
