#include "lists/list_sort.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using lists::ListData;
using lists::SortMode;

// A list of "№", a text column, a numeric column and the key column; row i
// is named by its text "i".
struct SortFixture {
    ListData list;
    std::vector<lists::ColumnSortState> states;

    explicit SortFixture(const std::vector<std::pair<std::string, std::string>>& cells) {
        std::int32_t counter = 0;
        lists::AddListColumn("№", lists::kSortAsText, lists::ColumnAlign::Default, counter, states, list);
        lists::AddListColumn("名前", lists::kSortAsText, lists::ColumnAlign::Left, counter, states, list);
        lists::AddListColumn("値", lists::kSortAsNumber, lists::ColumnAlign::Right, counter, states, list);
        lists::AddListColumn(lists::kSortKeyCaption, lists::kSortAsText, lists::ColumnAlign::Right, counter, states,
                             list);
        int n = 0;
        for (const auto& [text, number] : cells) {
            lists::ListRow& row = list.AddRow(std::to_string(++n));
            row.cells[1].text = text;
            row.cells[2].text = number;
        }
    }
    std::string Order() const {
        std::string order;
        for (const lists::ListRow& row : list.rows) order += row.cells[0].text;
        return order;
    }
    std::string Click(SortMode mode, std::size_t column) {
        lists::SortListByColumn(states, mode, column, list);
        return Order();
    }
};

TEST(ListSort, NumbersInOrderNegativesFirstTextsAndBlanksLastInTheirOrder) {
    SortFixture f({{"", "5"}, {"", "-3"}, {"", "word"}, {"", "0"}, {"", "-10"}, {"", " "}});
    EXPECT_EQ(f.Click(SortMode::Ascending, 3), "524136");
    EXPECT_EQ(f.list.rows[0].cells[3].text, "100000001");
    EXPECT_EQ(f.list.rows[5].cells[3].text, "300000006");
    EXPECT_EQ(f.Click(SortMode::Descending, 3), "142536");
}

TEST(ListSort, PercentagesHugeValuesAndTiesOrderLikeTheirNumbers) {
    // 10^15 and more misorder as fixed-width text; ties keep their order
    // ascending and reverse descending.
    SortFixture f({{"", "+2.50%"}, {"", "1000000000000000"}, {"", "999999999999999.5"}, {"", "2.5"}, {"", "-1%"}});
    EXPECT_EQ(f.Click(SortMode::Ascending, 3), "51432");
    EXPECT_EQ(f.Click(SortMode::Descending, 3), "23415");
}

TEST(ListSort, ToggleStartsAscendingAndReversesOnEveryClickPerColumn) {
    SortFixture f({{"b", "2"}, {"a", "3"}, {"c", "1"}});
    EXPECT_EQ(f.Click(SortMode::Toggle, 3), "312");
    EXPECT_EQ(f.Click(SortMode::Toggle, 3), "213");
    EXPECT_EQ(f.Click(SortMode::Toggle, 2), "213");
    EXPECT_EQ(f.Click(SortMode::Toggle, 2), "312");
    EXPECT_EQ(f.Click(SortMode::Toggle, 3), "312");  // the numeric column's third click: ascending again
    EXPECT_EQ(f.Click(SortMode::Ascending, 2), "213");
    EXPECT_EQ(f.Click(SortMode::Ascending, 2), "213");
    EXPECT_TRUE(f.states[1].lastAscending);
    EXPECT_EQ(f.Click(SortMode::Toggle, 2), "312");
}

TEST(ListSort, TextComparesAsTextAndIsStable) {
    // Width, case and kana kind do not count; equal texts keep their order.
    SortFixture f({{"ｶﾞ", ""}, {"Ｂ", ""}, {"b", ""}, {"が", ""}, {"a", ""}});
    EXPECT_EQ(f.Click(SortMode::Ascending, 2), "52314");
    EXPECT_EQ(f.Click(SortMode::Descending, 2), "14235");
}

TEST(ListSort, FirstColumnSortsAsTextAndTheKeyColumnLeavesTheOrder) {
    SortFixture f({{"x", "1"}, {"y", "2"}, {"z", "3"}});
    f.states[0].sortKind = lists::kSortAsNumber;
    EXPECT_EQ(f.Click(SortMode::Descending, 1), "321");
    EXPECT_EQ(f.Click(SortMode::Ascending, 4), "321");
    EXPECT_EQ(f.Click(SortMode::Ascending, 9), "321");
}

}  // namespace
