#include "lists/list_cells.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace {

using lists::ListRow;
using charts::Rgb;

constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kRed{255, 0, 0};
constexpr Rgb kBlue{0, 0, 255};

using Writer = void (*)(ListRow&, std::int32_t&, std::string_view);

struct CellCase {
    const char* name;
    Writer writer;
    const char* text;
    const char* shown;
    Rgb colour;
};

class CellWriters : public ::testing::TestWithParam<CellCase> {};

TEST_P(CellWriters, WriteTheNextCellFormattedAndColoured) {
    const CellCase& c = GetParam();
    ListRow row;
    row.cells.resize(3);
    row.cells[2].colour = Rgb{1, 2, 3};  // a colour left from earlier shows which writers set one
    std::int32_t counter = 1;
    c.writer(row, counter, c.text);
    EXPECT_EQ(counter, 2);
    EXPECT_EQ(row.cells[2].text, c.shown);
    EXPECT_EQ(row.cells[2].colour, c.colour);
}

constexpr Rgb kKept{1, 2, 3};

INSTANTIATE_TEST_SUITE_P(
    Table, CellWriters,
    ::testing::Values(CellCase{"PctZeroBlack", lists::SetNextCellPct, "0", "+0.00%", kBlack},
                      CellCase{"PctNegativeBlue", lists::SetNextCellPct, "-1.5", "-1.50%", kBlue},
                      CellCase{"PctPositiveRed", lists::SetNextCellPct, "1234.567", "+1,234.57%", kRed},
                      CellCase{"PctTextUnchanged", lists::SetNextCellPct, "abc", "abc", kKept},
                      CellCase{"PctFine", lists::SetNextCellPctFine, "-0.5", "-0.500000%", kBlue},
                      CellCase{"Dec5KeepsMinus", lists::SetNextCellDec5, "-12.3", "-12.30000", kKept},
                      CellCase{"Dec5", lists::SetNextCellDec5, "1234.5", "1,234.50000", kKept},
                      CellCase{"Dec3", lists::SetNextCellDec3, "1234567.8", "1,234,567.800", kKept},
                      CellCase{"Dec3SignedNegative", lists::SetNextCellDec3Signed, "-2", "-2.000", kBlue},
                      CellCase{"IntRoundsHalfEven", lists::SetNextCellInt, "2.5", "2", kKept},
                      CellCase{"IntSignedPositive", lists::SetNextCellIntSigned, "1,000", "+1,000", kRed},
                      CellCase{"IntOfFourteenDigits", lists::SetNextCellInt, "12345678901234", "12,345,678,901,234",
                               kKept},
                      CellCase{"IntBeyondFixedPointIsText", lists::SetNextCellInt, "1000000000000000",
                               "1000000000000000", kKept},
                      CellCase{"IntOrBlankZero", lists::SetNextCellIntOrBlank, "0", " ", kKept},
                      CellCase{"IntOrBlankMillion", lists::SetNextCellIntOrBlank, "1234567", "1,234,567", kKept},
                      CellCase{"Digits8Year", lists::SetNextCellDigits8, " 2004 ", "20040000", kKept},
                      CellCase{"Digits8Date", lists::SetNextCellDigits8, "20040105", "20040105", kKept},
                      CellCase{"Digits8Text", lists::SetNextCellDigits8, " n/a ", "n/a", kKept},
                      CellCase{"Buy", lists::SetNextCellBuySell, "1", "買", kRed},
                      CellCase{"Sell", lists::SetNextCellBuySell, "2", "売", kBlue},
                      CellCase{"TurnSimultaneous", lists::SetNextCellTurnKind, "1", "同時", kRed},
                      CellCase{"TurnConsecutive", lists::SetNextCellTurnKind, "2", "連続", kBlue},
                      CellCase{"RuleSetTwoGroups", lists::SetNextCellRuleSet, "2304", "ろさ、ろあ", kKept},
                      CellCase{"RuleSetZero", lists::SetNextCellRuleSet, "0", "-", kKept},
                      CellCase{"RuleSetText", lists::SetNextCellRuleSet, "x", "-", kKept},
                      CellCase{"Plain", lists::SetNextCellPlain, " a ", " a ", kKept}),
    [](const ::testing::TestParamInfo<CellCase>& info) { return std::string(info.param.name); });

TEST(CellWriters, TurnKindOfAnotherCodeAdvancesAndKeepsTheCell) {
    ListRow row;
    row.cells.resize(2);
    row.cells[1].text = "before";
    std::int32_t counter = 0;
    lists::SetNextCellTurnKind(row, counter, "3");
    EXPECT_EQ(counter, 1);
    EXPECT_EQ(row.cells[1].text, "before");
}

}  // namespace
