#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "collect/prices/event_rows.h"
#include "collect/prices/moving_averages.h"
#include "collect/prices/price_merge.h"

namespace {

using marketdata::PriceRec;

PriceRec Row(const std::string& date, const std::string& close, const std::string& adjusted = "0",
             const std::string& volume = "100", const std::string& mark = "") {
    PriceRec row;
    row.Text = {date, close, close, close, close, volume, adjusted, mark};
    return row;
}

std::vector<std::string> Column(const std::vector<PriceRec>& rows, std::size_t column) {
    std::vector<std::string> texts;
    for (const PriceRec& row : rows) texts.push_back(row.Text[column]);
    return texts;
}

// ---- merging by date

// The held series ends in a provisional row; the collected rows come newest
// first, as the pages give them.
TEST(MergePriceRows, CollectedRowsReplaceHeldRowsOfTheirDate) {
    const std::vector<PriceRec> held = {Row("2005/03/07", "10"), Row("2005/03/08", "11"),
                                        Row("2005/03/09", "12", "0", "100", "*")};
    const std::vector<PriceRec> collected = {Row("2005/03/10", "23"), Row("2005/03/09", "22"),
                                             Row("2005/03/08", "21")};
    std::vector<PriceRec> merged;
    collect::MergePriceRowsByDate(held, collected, merged);
    EXPECT_EQ(Column(merged, 0), (std::vector<std::string>{"2005/03/07", "2005/03/08", "2005/03/09", "2005/03/10"}));
    EXPECT_EQ(Column(merged, 4), (std::vector<std::string>{"10", "21", "22", "23"}));
    EXPECT_EQ(merged[2].Text[7], "");
}

TEST(MergePriceRows, TheEarliestRowOfADateWithinOneInputWins) {
    const std::vector<PriceRec> first = {Row("2005/03/08", "1"), Row("2005/03/08", "2")};
    const std::vector<PriceRec> second = {Row("2005/03/09", "3"), Row("2005/03/09", "4")};
    std::vector<PriceRec> merged;
    collect::MergePriceRowsByDate(first, second, merged);
    EXPECT_EQ(Column(merged, 4), (std::vector<std::string>{"1", "3"}));
}

// Merging nothing in keeps the first input, also when the result replaces it
// or held rows of an earlier merge.
TEST(MergePriceRows, NoSecondRowGivesTheFirstInput) {
    std::vector<PriceRec> held = {Row("2005/03/09", "12"), Row("2005/03/07", "10")};
    std::vector<PriceRec> merged = {Row("1999/01/04", "99")};
    collect::MergePriceRowsByDate(held, {}, merged);
    EXPECT_EQ(Column(merged, 0), (std::vector<std::string>{"2005/03/07", "2005/03/09"}));

    const std::vector<PriceRec> collected = {Row("2005/03/08", "11")};
    collect::MergePriceRowsByDate(held, collected, held);
    EXPECT_EQ(Column(held, 4), (std::vector<std::string>{"10", "11", "12"}));
}

// ---- moving averages

constexpr std::size_t kFirstAverageColumn = 8;

// Rows dated day by day, close = the row's number (1-based), volume 100.
std::vector<PriceRec> Rising(std::size_t count) {
    std::vector<PriceRec> rows;
    for (std::size_t i = 1; i <= count; ++i) {
        PriceRec row = Row("d" + std::to_string(i), std::to_string(i));
        for (std::size_t c = kFirstAverageColumn; c < marketdata::kPriceTextColumns; ++c) row.Text[c] = "old";
        rows.push_back(row);
    }
    return rows;
}

std::vector<std::string> Averages(const PriceRec& row) {
    return {row.Text.begin() + kFirstAverageColumn, row.Text.end()};
}

const std::vector<std::string> kOld(12, "old");
const std::vector<std::string> kNone(12, "");

TEST(MovingAverages, SeventyFiveRowsOrFewerGetNone) {
    for (const std::size_t count : {1u, 75u}) {
        std::vector<PriceRec> rows = Rising(count);
        collect::ComputeMovingAverages(rows);
        EXPECT_EQ(Averages(rows.back()), kNone) << count;
        if (count > 1) {
            EXPECT_EQ(Averages(rows[count - 2]), kOld) << count;
        }
    }
    std::vector<PriceRec> none;
    collect::ComputeMovingAverages(none);
}

// Rows 125 to 200 are recomputed; each window fills from there.
TEST(MovingAverages, TwoHundredRows) {
    std::vector<PriceRec> rows = Rising(200);
    collect::ComputeMovingAverages(rows);
    const auto window = [&](std::size_t rowNumber, std::size_t w) {
        const auto& text = rows[rowNumber - 1].Text;
        const std::size_t first = kFirstAverageColumn + 4 * w;
        return std::vector<std::string>(text.begin() + static_cast<long>(first),
                                        text.begin() + static_cast<long>(first + 4));
    };
    const std::vector<std::string> empty(4, "");
    EXPECT_EQ(Averages(rows[123]), kOld);
    EXPECT_EQ(window(128, 0), empty);
    EXPECT_EQ(window(129, 0), (std::vector<std::string>{"127.000", "1.57", "100", "0.00"}));
    EXPECT_EQ(window(148, 1), empty);
    EXPECT_EQ(window(149, 1), (std::vector<std::string>{"137.000", "8.76", "100", "0.00"}));
    EXPECT_EQ(window(125, 2), empty);
    EXPECT_EQ(window(198, 2), empty);
    EXPECT_EQ(window(199, 2), (std::vector<std::string>{"162.000", "22.84", "100", "0.00"}));
    EXPECT_EQ(window(200, 0), (std::vector<std::string>{"198.000", "1.01", "100", "0.00"}));
    EXPECT_EQ(window(200, 1), (std::vector<std::string>{"188.000", "6.38", "100", "0.00"}));
    EXPECT_EQ(window(200, 2), (std::vector<std::string>{"163.000", "22.70", "100", "0.00"}));
}

// The adjusted close counts when above 0, else the close; a row without
// volume shows no volume texts.
TEST(MovingAverages, PriceAndVolumeOfARow) {
    std::vector<PriceRec> rows;
    for (int i = 0; i < 79; ++i) rows.push_back(Row("d", "10", i % 2 == 0 ? "0" : "-1", "200"));
    rows.push_back(Row("d", "10", "20", "0"));
    collect::ComputeMovingAverages(rows);
    const auto& last = rows.back().Text;
    EXPECT_EQ(std::vector<std::string>(last.begin() + 8, last.begin() + 12),
              (std::vector<std::string>{"12.000", "66.67", "", ""}));
    const auto& before = rows[78].Text;
    EXPECT_EQ(std::vector<std::string>(before.begin() + 8, before.begin() + 12),
              (std::vector<std::string>{"10.000", "0.00", "200", "0.00"}));
}

// ---- dividend and split rows

TEST(EventRows, SplitAndDividendRowsAreSetApart) {
    std::vector<PriceRec> rows = {Row("2005/03/10", "12"), Row("2005/03/09", "$0.25 Cash Dividend"),
                                  Row("2005/03/08", "11"), Row("2005/03/07", "2:1 Stock Split"),
                                  Row("2005/01/04", "1:2 Stock Split")};
    std::vector<PriceRec> events = {Row("1999/01/04", "stale")};
    std::string splitDate;
    EXPECT_TRUE(collect::SeparateEventRows(rows, events, splitDate));
    EXPECT_EQ(Column(rows, 0), (std::vector<std::string>{"2005/03/10", "2005/03/08"}));
    EXPECT_EQ(Column(events, 0), (std::vector<std::string>{"2005/03/09", "2005/03/07", "2005/01/04"}));
    EXPECT_EQ(splitDate, "2005/03/07");
}

TEST(EventRows, OnlyEventRowsLeaveNoRow) {
    std::vector<PriceRec> rows = {Row("2005/03/09", "$0.25"), Row("2005/03/08", "$0.20")};
    std::vector<PriceRec> events;
    std::string splitDate;
    EXPECT_TRUE(collect::SeparateEventRows(rows, events, splitDate));
    EXPECT_TRUE(rows.empty());
    EXPECT_EQ(events.size(), 2u);
    EXPECT_EQ(splitDate, "1900/01/01");
}

TEST(EventRows, PlainRowsStay) {
    std::vector<PriceRec> rows = {Row("2005/03/09", "1,200"), Row("2005/03/08", "1,100")};
    std::vector<PriceRec> events = {Row("1999/01/04", "$1")};
    std::string splitDate = "2000/01/01";
    EXPECT_FALSE(collect::SeparateEventRows(rows, events, splitDate));
    EXPECT_EQ(rows.size(), 2u);
    EXPECT_TRUE(events.empty());
    EXPECT_EQ(splitDate, "1900/01/01");
}

}  // namespace
