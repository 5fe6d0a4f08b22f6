// The layout of items into the page cell tables, and the label lookups.
#include <gtest/gtest.h>

#include <filesystem>
#include <ostream>
#include <string>
#include <tuple>
#include <vector>

#include "collect/web/html_items.h"
#include "collect/web/html_tag_table.h"
#include "collect/web/label_lookup.h"
#include "collect/web/page_layout.h"
#include "common/run_state.h"
#include "common/startup/run_env.h"
#include "platform/cp932.h"
#include "tests/support/file_bytes.h"
#include "tests/support/program_folder.h"

namespace {

struct Grid {
    std::int32_t cols = 0;
    std::int32_t rows = 0;
    collect::PageCellTable text;
    collect::PageCellTable link;
};

Grid Lay(const std::string& page) {
    collect::HtmlItems items = collect::SplitHtmlItems(page);
    collect::ResolveTagAttributes(items);
    Grid grid;
    collect::LayoutHtmlItems(items, grid.cols, grid.rows);
    collect::FillPageCellTables(items, grid.cols, grid.rows, grid.text, grid.link);
    return grid;
}

// Every non-empty cell as "row,col=text", row by row.
std::string Cells(const collect::PageCellTable& table) {
    std::string out;
    for (std::int32_t row = 1; row <= table.RowCount(); ++row) {
        for (std::int32_t col = 1; col <= table.ColCount(); ++col) {
            if (table.At(row, col).empty()) continue;
            if (!out.empty()) out += " ";
            out += std::to_string(row) + "," + std::to_string(col) + "=";
            out += table.At(row, col);
        }
    }
    return out;
}

struct LayoutCase {
    const char* name;
    const char* page;
    std::int32_t rows;
    std::int32_t cols;
    const char* cells;
};

void PrintTo(const LayoutCase& c, std::ostream* os) { *os << c.name; }

class Layout : public ::testing::TestWithParam<LayoutCase> {
protected:
    static void SetUpTestSuite() { collect::BuildHtmlTagTable(); }
};

TEST_P(Layout, PutsTheTextsInTheirCells) {
    const Grid grid = Lay(GetParam().page);
    EXPECT_EQ(Cells(grid.text), GetParam().cells);
    EXPECT_EQ(grid.rows, GetParam().rows);
    EXPECT_EQ(grid.cols, GetParam().cols);
    EXPECT_EQ(grid.text.RowCount(), grid.rows);
    EXPECT_EQ(grid.text.ColCount(), grid.cols);
}

const LayoutCase kLayoutCases[] = {
    {"TwoRowsOfTwoCells", "<table><tr><td>a</td><td>b</td></tr><tr><td>c</td><td>d</td></tr></table>", 2, 2,
     "1,1=a 1,2=b 2,1=c 2,2=d"},
    {"BreakInCellStartsALineBelow",
     "<table><tr><td>a<br>b</td><td>x</td></tr><tr><td>c</td></tr></table>", 3, 2, "1,1=a 1,2=x 2,1=b 3,1=c"},
    {"BreakAtCellEndAddsNoLine", "<table><tr><td>a<br></td></tr><tr><td>c</td></tr></table>", 2, 1, "1,1=a 2,1=c"},
    {"NestedTableWidensTheGrid",
     "<table><tr><td>L</td><td><table><tr><td>n1</td><td>n2</td></tr><tr><td>n3</td></tr></table></td>"
     "<td>R</td></tr><tr><td>next</td></tr></table>",
     4, 4, "1,1=L 1,2=n1 1,3=n2 1,4=R 2,2=n3 4,1=next"},
    {"SpansDoNotMoveTheGrid",
     "<table><tr><td colspan=\"2\">wide</td><td>x</td></tr><tr><td rowspan=2>tall</td><td>y</td></tr></table>", 2, 2,
     "1,1=wide 1,2=x 2,1=tall 2,2=y"},
    {"PageWithoutTableIsOneColumn", "a<br>b<p>c</p>d<li>e", 5, 1, "1,1=a 2,1=b 3,1=c 4,1=d 5,1=e"},
    {"ListItemRightAfterCellAddsNoLine", "<table><tr><td><li>x</td><td>y</td></tr></table>", 1, 2, "1,1=x 1,2=y"},
    {"TableAfterTextStartsOnTheSameLine", "top<table><tr><td>a</td></tr></table>after", 2, 1, "1,1=topa 2,1=after"},
    {"InputFieldIsAnEmptyCell", "<table><tr><td><input name=q></td><td>v</td></tr></table>", 1, 2, "1,2=v"},
    {"ImageAltTextInItsCell", "<table><tr><td><img alt=\"↑\" src=u.gif></td><td>v</td></tr></table>", 1, 2,
     "1,1=↑ 1,2=v"},
    {"UnclosedRowReturnsToItsCells", "<table><tr><td>a</td><td>c</td><tr><td>b</td><td>d</td></table>", 1, 2,
     "1,1=ab 1,2=cd"},
    {"ReferencesDecodedInTheCell", "<td>&#12354;&#60;b&#62;&#12x;&#</td>", 1, 1, "1,1=あ<b>&#12x;&#"},
    {"EmptyPageIsOneEmptyCell", "", 1, 1, ""},
};

INSTANTIATE_TEST_SUITE_P(Cases, Layout, ::testing::ValuesIn(kLayoutCases),
                         [](const ::testing::TestParamInfo<LayoutCase>& info) { return std::string(info.param.name); });

TEST(LayoutLinks, AnchorTextAndHrefShareTheirCell) {
    collect::BuildHtmlTagTable();
    const Grid grid = Lay("<table><tr><td>code</td><td><a href=\"/q?s=7203\">トヨタ</a></td></tr></table>");
    EXPECT_EQ(grid.text.At(1, 2), "トヨタ");
    EXPECT_EQ(grid.link.At(1, 2), "/q?s=7203");
    EXPECT_EQ(grid.link.At(1, 1), "");
}

// A cell without its closing tag swallows the rest of its row and table; each
// closing tag that does not close it is skipped and noted in the run log.
TEST(LayoutLinks, MissingCellCloseSkipsTheOuterClosingTags) {
    testsupport::ProgramFolder folder;
    common::EnvRec env;
    common::CCENV00M(env);
    common::SetTaskWorkPaths(41, 1, env);
    common::State().logSwitch[10] = true;
    collect::BuildHtmlTagTable();
    const Grid grid = Lay("<table><tr><td>a</tr></table>b");
    EXPECT_EQ(Cells(grid.text), "1,1=ab");
    const std::string log = platform::FromCp932(testsupport::ReadBytes(common::State().runLogPath)).text;
    EXPECT_NE(log.find("CWHTM401,A0:Admin  ,00,ｈｔｌｍソースのＴａｇ不整合    HA(5).Str=</tr>  HA(5).TagIdx="),
              std::string::npos)
        << log;
    EXPECT_NE(log.find("HA(6).Str=</table>"), std::string::npos) << log;
}

// Texts join their cell in the order they come, whatever the order of the
// cells; a row keeps its cells in column order.
TEST(PageCellTable, CellsAppendedInAnyOrder) {
    collect::PageCellTable table;
    table.Reset(5, 3);
    const std::tuple<std::int32_t, std::int32_t, const char*> appends[] = {
        {2, 3, "x"}, {1, 2, "a"}, {2, 1, "y"}, {1, 2, "b"}, {3, 3, "z"}, {1, 1, "p"},
        {2, 3, "w"}, {5, 1, "q"}, {0, 1, "outside"}, {1, 4, "outside"}, {6, 1, "outside"},
    };
    for (const auto& [row, col, text] : appends) table.Append(row, col, text);
    EXPECT_EQ(Cells(table), "1,1=p 1,2=ab 2,1=y 2,3=xw 3,3=z 5,1=q");
    std::vector<std::int32_t> columns;
    for (const collect::PageCellTable::Cell& cell : table.CellsOf(2, 2)) columns.push_back(cell.col);
    EXPECT_EQ(columns, std::vector<std::int32_t>{3});
    EXPECT_TRUE(table.CellsOf(4).empty());
    EXPECT_TRUE(table.CellsOf(6).empty());
    table.Reset(1, 1);
    EXPECT_EQ(Cells(table), "");
}

class LabelLookup : public ::testing::Test {
protected:
    // 3 x 3 cells around the label "資本金" in the middle.
    void SetUp() override {
        table_.Reset(3, 3);
        const char* texts[3][3] = {{"AL", "A", "AR"}, {"L", "資本金", "R"}, {"BL", "B", "BR"}};
        for (std::int32_t row = 1; row <= 3; ++row) {
            for (std::int32_t col = 1; col <= 3; ++col) table_.Append(row, col, texts[row - 1][col - 1]);
        }
    }
    collect::PageCellTable table_;
};

TEST_F(LabelLookup, EachDirectionReadsItsNeighbour) {
    const char* expected[] = {"資本金", "R", "B", "L", "A", "BR", "BL", "AR", "AL"};
    for (std::int32_t direction = 0; direction <= 8; ++direction) {
        std::string target;
        std::int32_t hits = 0;
        collect::LookupLabelValueContains(table_.At(2, 2), direction, "", hits, "資本", target, table_, 2, 2);
        EXPECT_EQ(target, expected[direction]) << direction;
        EXPECT_EQ(hits, 1);
    }
}

TEST_F(LabelLookup, FirstHitWinsAndEdgesCountWithoutValue) {
    std::int32_t hits = 0;
    std::string target;
    // Off the table: counted, nothing found.
    collect::LookupLabelValueContains("L", collect::kLeft, "", hits, "L", target, table_, 2, 1);
    EXPECT_EQ(target, "");
    collect::LookupLabelValueContains("L", 9, "", hits, "L", target, table_, 2, 1);
    EXPECT_EQ(target, "");
    collect::LookupLabelValueContains("L", collect::kRight, "", hits, "L", target, table_, 2, 1);
    EXPECT_EQ(target, "資本金");
    collect::LookupLabelValueContains("L", collect::kBelow, "", hits, "L", target, table_, 2, 1);
    EXPECT_EQ(target, "資本金");
    EXPECT_EQ(hits, 3);  // the filled target stops the last lookup before its test
}

TEST_F(LabelLookup, ExactMatchesOnlyTheLabelItself) {
    std::int32_t hits = 0;
    std::string target;
    collect::LookupLabelValueExact("資本金", collect::kRight, "", hits, "資本", target, table_, 2, 2);
    EXPECT_EQ(hits, 0);
    collect::LookupLabelValueExact("資本金", collect::kRight, "", hits, "資本金", target, table_, 2, 2);
    EXPECT_EQ(target, "R");
    collect::LookupLabelValueContains("資本金", collect::kRight, "", hits, "資本金X", target, table_, 2, 2);
    EXPECT_EQ(hits, 1);
}

TEST(StripLabel, CutsTheLabelAndItsSeparator) {
    EXPECT_EQ(collect::StripLabelPrefix(" 資本金：100億円 ", "："), "100億円");
    EXPECT_EQ(collect::StripLabelPrefix("資本金：：1", "："), "：1");
    EXPECT_EQ(collect::StripLabelPrefix("a--b", "--"), "-b");
    EXPECT_EQ(collect::StripLabelPrefix(" 100 ", "："), "100");
    EXPECT_EQ(collect::StripLabelPrefix(" 100 ", ""), "100");
    collect::PageCellTable table;
    table.Reset(1, 1);
    table.Append(1, 1, "資本金：100億円");
    std::string target;
    std::int32_t hits = 0;
    collect::LookupLabelValueContains(table.At(1, 1), collect::kSameCell, "：", hits, "資本金", target, table, 1, 1);
    EXPECT_EQ(target, "100億円");
}

}  // namespace
