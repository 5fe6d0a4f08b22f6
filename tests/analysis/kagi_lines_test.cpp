#include "analysis/kagi_lines.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/run_state.h"
#include "platform/date.h"
#include "platform/numeric_text.h"
#include "tests/analysis/kagi_price_rows.h"
#include "tests/support/program_folder.h"

namespace {

using analysis::KagiDayRec;
using analysis::KagiLineRec;
using analysis_test::Jan2024;
using marketdata::PriceLimitRec;
using marketdata::PriceRec;
using platform::Currency;

Currency Money(const char* text) { return *platform::ParseCurrency(text); }
Currency Money(long long whole) { return Currency(whole); }

PriceLimitRec Band(const char* low, const char* high, const char* width, const char* tick) {
    PriceLimitRec row;
    row.BandLow = Money(low);
    row.BandHigh = Money(high);
    row.Width = Money(width);
    row.Tick = Money(tick);
    return row;
}

// Three bands, highest first; below 10 the lowest band still holds the price.
std::vector<PriceLimitRec> Bands() {
    return {Band("1000", "1999", "50", "5"), Band("100", "999", "10", "1"), Band("10", "99", "2", "0.1")};
}

// A row of 2024/01/`day`: open 3 below the close.
PriceRec Row(int day, const char* close, const char* adjClose, long long volume) {
    PriceRec row;
    row.Date = platform::Date{2024, 1, day};
    row.Text[0] = platform::DateText(row.Date);
    row.Close = Money(close);
    row.Open = row.Close - Money(3);
    row.AdjClose = Money(adjClose);
    row.Volume = Money(volume);
    return row;
}

std::vector<PriceRec> Rows(const std::vector<const char*>& prices) {
    std::vector<PriceRec> rows;
    for (const char* price : prices) rows.push_back(Row(static_cast<int>(rows.size()) + 1, price, price, 10));
    return rows;
}

struct Judged {
    std::vector<KagiDayRec> days;
    std::vector<KagiLineRec> lines;
};

Judged Judge(const std::vector<PriceRec>& rows, const std::vector<PriceLimitRec>& bands = Bands()) {
    Judged out;
    analysis::BuildDaySeries(marketdata::ValuesOf(rows), out.days);
    analysis::JudgeKagiLines(analysis::KesenParamSet{}, bands, out.days, out.lines);
    return out;
}

// Width 10 and tick 1 throughout (prices 100-999). Worked by hand:
// day 2 and 4 stay within 10 of the last candidate (500, 510); day 4 is a
// new high one tick short of the width, so line 1 does not rise with it.
TEST(KagiLines, GoldenSeriesGivesDaysAndLines) {
    const std::vector<const char*> prices{"500", "505", "510", "519", "525", "516", "515", "500", "511"};
    std::vector<PriceRec> rows;
    for (int j = 1; j <= 9; ++j) rows.push_back(Row(j, prices[j - 1], prices[j - 1], 10LL * j));
    const Judged got = Judge(rows);

    struct DayWant {
        const char* marked;
        const char* direction;
        long long move, low, high, volumeSum;
    };
    // Unmarked days keep the row's open (close - 3) and close as Low / High.
    const DayWant days[] = {
        {"1", "1", 0, 500, 500, 10},    {"0", "1", 0, 502, 505, 30},   {"1", "1", 10, 500, 510, 60},
        {"0", "1", 0, 516, 519, 40},    {"1", "1", 15, 510, 525, 90},  {"0", "1", 0, 513, 516, 60},
        {"1", "2", 10, 515, 525, 130},  {"1", "2", 15, 500, 515, 80},  {"1", "1", 11, 500, 511, 90},
    };
    ASSERT_EQ(got.days.size(), 9u);
    for (std::size_t i = 0; i < 9; ++i) {
        SCOPED_TRACE("day " + std::to_string(i + 1));
        const KagiDayRec& d = got.days[i];
        const DayWant& w = days[i];
        EXPECT_EQ(d.KagiDate, Jan2024(static_cast<int>(i) + 1));
        EXPECT_EQ(analysis::DayRecord(d).KagiDate2, 2);
        EXPECT_EQ(analysis::DayRecord(d).RuleDate, 2);
        EXPECT_EQ(d.Tick, Money(1));
        EXPECT_EQ(d.Width, Money(10));
        EXPECT_EQ(d.Marked, w.marked);
        EXPECT_EQ(d.Direction, w.direction);
        EXPECT_EQ(d.Move, Money(w.move));
        EXPECT_EQ(d.Low, Money(w.low));
        EXPECT_EQ(d.High, Money(w.high));
        EXPECT_EQ(d.VolumeSum, Money(w.volumeSum));
        EXPECT_EQ(d.OpenCopy, Money(prices[i]) - Money(3));
        EXPECT_EQ(d.PriceCopy, d.Price);
    }

    struct LineWant {
        int day;  // the opening day
        const char* direction;
        long long price, low, high, breakPrice, length;
    };
    // Line 2 breaks two ticks below line 1's low, which is day 1's price
    // (not its open); line 3 two ticks above line 2's high. The last line
    // stays open, its length 0.
    const LineWant lines[] = {
        {1, "1", 500, 500, 525, 0, 25},
        {7, "2", 515, 500, 525, 498, 25},
        {9, "1", 511, 500, 511, 527, 0},
    };
    ASSERT_EQ(got.lines.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        SCOPED_TRACE("line " + std::to_string(i + 1));
        const KagiLineRec& l = got.lines[i];
        const LineWant& w = lines[i];
        const KagiDayRec& opening = got.days[w.day - 1];
        EXPECT_EQ(l.KagiDate, Jan2024(w.day));
        EXPECT_EQ(l.Marked, "1");
        EXPECT_EQ(l.Direction, w.direction);
        EXPECT_EQ(l.Price, Money(w.price));
        EXPECT_EQ(l.Low, Money(w.low));
        EXPECT_EQ(l.High, Money(w.high));
        EXPECT_EQ(l.BreakPrice, Money(w.breakPrice));
        EXPECT_EQ(l.LineLength, Money(w.length));
        EXPECT_EQ(l.LengthWork, Money(w.length));
        EXPECT_EQ(l.Move, opening.Move);
        EXPECT_EQ(l.VolumeSum, opening.VolumeSum);
        EXPECT_EQ(l.Tick, Money(1));
    }
}

// The width is the width of the later day's band, reached exactly or missed
// by one tick of that band, in either direction.
TEST(KagiLines, MoveOfTheWidthMarksOneTickLessDoesNot) {
    struct Case {
        const char* first;
        const char* second;
        const char* marked;
        const char* direction;
        const char* move;
        const char* lineLow;
        const char* lineHigh;
    };
    const Case cases[] = {
        {"500", "510", "1", "1", "10", "500", "510"},   {"500", "509", "0", "", "0", "500", "500"},
        {"500", "490", "1", "2", "10", "490", "500"},   {"500", "491", "0", "", "0", "500", "500"},
        {"995", "1045", "1", "1", "50", "995", "1045"}, {"995", "1040", "0", "", "0", "995", "995"},
        {"50", "52", "1", "1", "2", "50", "52"},        {"50", "51.9", "0", "", "0", "50", "50"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.first) + " -> " + c.second);
        const Judged got = Judge(Rows({c.first, c.second}));
        ASSERT_EQ(got.days.size(), 2u);
        EXPECT_EQ(got.days[1].Marked, c.marked);
        EXPECT_EQ(got.days[1].Move, Money(c.move));
        EXPECT_EQ(got.days[0].Direction, c.direction);
        EXPECT_EQ(got.days[1].Direction, c.direction);
        ASSERT_EQ(got.lines.size(), 1u);
        EXPECT_EQ(got.lines[0].Low, Money(c.lineLow));
        EXPECT_EQ(got.lines[0].High, Money(c.lineHigh));
    }
}

// Only BandLow is compared: above the top band's upper bound row 1 still
// holds; below every band the lowest band does, so a price there is marked
// only when it moves that band's width.
TEST(KagiLines, BandOfADay) {
    struct Case {
        const char* price;
        const char* tick;
        const char* width;
    };
    const Case cases[] = {{"5000", "5", "50"}, {"1000", "5", "50"},   {"999.99", "1", "10"},
                          {"10", "0.1", "2"},  {"9.99", "0.1", "2"}, {"0.01", "0.1", "2"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.price);
        const Judged got = Judge(Rows({c.price}));
        EXPECT_EQ(got.days[0].Tick, Money(c.tick));
        EXPECT_EQ(got.days[0].Width, Money(c.width));
    }

    const Judged low = Judge(Rows({"5", "5", "4", "7"}));
    const char* const marked[] = {"1", "0", "0", "1"};
    for (std::size_t j = 0; j < low.days.size(); ++j) EXPECT_EQ(low.days[j].Marked, marked[j]) << "day " << j + 1;
    EXPECT_EQ(low.days[0].Direction, "1");
    ASSERT_EQ(low.lines.size(), 1u);
    EXPECT_EQ(low.lines[0].High, Money(7));
}

// The engine remembers the band of the day before; wherever the price goes,
// in the table, above it or below it, each day gets the band the plain lookup
// gives, in a table ordered from the top, in one with the lowest low twice and
// in one out of order.
TEST(KagiLines, BandOfEachDayIsTheLookupsBand) {
    const std::vector<const char*> prices{"50",  "12", "9",  "8",  "11", "5",    "150", "0.5",
                                          "10",  "99", "100", "3000", "1", "999.99", "9.99", "20"};
    const std::vector<std::vector<PriceLimitRec>> tables{
        Bands(),
        {Band("100", "999", "10", "1"), Band("10", "99", "2", "0.1"), Band("10", "99", "3", "0.5")},
        {Band("10", "99", "2", "0.1"), Band("1000", "1999", "50", "5"), Band("100", "999", "10", "1")},
    };
    for (std::size_t t = 0; t < tables.size(); ++t) {
        SCOPED_TRACE("table " + std::to_string(t + 1));
        const Judged got = Judge(Rows(prices), tables[t]);
        ASSERT_EQ(got.days.size(), prices.size());
        for (const KagiDayRec& day : got.days) {
            const PriceLimitRec* band = marketdata::FindPriceBand(tables[t], day.Price);
            ASSERT_NE(band, nullptr);
            EXPECT_EQ(day.Width, band->Width) << day.Price.ToText();
            EXPECT_EQ(day.Tick, band->Tick) << day.Price.ToText();
        }
    }
}

// One row: one day, one line equal to it. It takes a direction only from its
// own comparison, which marks it only at width 0 (a table of the engine's
// caller's own; no loaded table has such a band).
TEST(KagiLines, OneRowGivesOneLine) {
    struct Case {
        const char* price;
        std::vector<PriceLimitRec> bands;
        const char* direction;
    };
    const Case cases[] = {
        {"500", Bands(), ""}, {"5", Bands(), ""}, {"5", {Band("1", "99", "0", "0")}, "1"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.price) + " direction " + c.direction);
        const Judged got = Judge(Rows({c.price}), c.bands);
        ASSERT_EQ(got.days.size(), 1u);
        const KagiDayRec& day = got.days[0];
        EXPECT_EQ(day.Marked, "1");
        EXPECT_EQ(day.Direction, c.direction);
        EXPECT_EQ(day.Low, Money(c.price));
        EXPECT_EQ(day.High, Money(c.price));
        EXPECT_EQ(day.VolumeSum, Money(10));
        ASSERT_EQ(got.lines.size(), 1u);
        EXPECT_EQ(got.lines[0], analysis::DayRecord(day));
    }
}

TEST(KagiLines, RiseShortOfTheWidthLeavesOneLineWithoutDirection) {
    const Judged got = Judge(Rows({"500", "505", "509", "502"}));
    for (std::size_t i = 1; i < got.days.size(); ++i) EXPECT_EQ(got.days[i].Marked, "0");
    for (const KagiDayRec& day : got.days) EXPECT_EQ(day.Direction, "");
    ASSERT_EQ(got.lines.size(), 1u);
    EXPECT_EQ(got.lines[0].High, Money(500));
    EXPECT_EQ(got.lines[0].VolumeSum, Money(10));
    EXPECT_EQ(got.days[3].VolumeSum, Money(40));
}

// Adjusted close 0 takes the close; with both 0 the row is no day and its
// volume is not summed.
TEST(KagiLines, ZeroPriceRowIsDropped) {
    const std::vector<PriceRec> rows{Row(1, "500", "500", 10), Row(2, "0", "0", 99), Row(3, "512", "0", 20)};
    const Judged got = Judge(rows);
    ASSERT_EQ(got.days.size(), 2u);
    EXPECT_EQ(got.days[1].KagiDate, Jan2024(3));
    EXPECT_EQ(got.days[1].Price, Money(512));
    EXPECT_EQ(got.days[1].PriceCopy, Money(512));
    EXPECT_EQ(got.days[1].Move, Money(12));
    EXPECT_EQ(got.days[1].VolumeSum, Money(30));
}

class KagiEntry : public ::testing::Test {
protected:
    KagiEntry() {
        common::State().functionId = "CALLER";
        company_.ProcMark[analysis::kJudgementProcess] = {"", "old date", "old time"};
        company_.Term[analysis::kJudgementProcess] = {"old first", "old last"};
        days_.resize(3);
        lines_.resize(2);
    }

    bool Run(const std::vector<PriceRec>& rows) {
        return analysis::AKAGI41M(analysis::KesenParamSet{}, company_, Bands(), days_, lines_,
                                  marketdata::ValuesOf(rows));
    }

    testsupport::ProgramFolder folder_{true};
    marketdata::CdmRec company_;
    std::vector<KagiDayRec> days_;
    std::vector<KagiLineRec> lines_;
};

TEST_F(KagiEntry, NoRowReturnsFalseAndKeepsTheCompanyDates) {
    EXPECT_FALSE(Run({}));
    EXPECT_TRUE(days_.empty());
    EXPECT_TRUE(lines_.empty());
    EXPECT_EQ(company_.ProcMark[analysis::kJudgementProcess].MarkDate, "old date");
    EXPECT_EQ(company_.Term[analysis::kJudgementProcess].FirstDate, "old first");
    EXPECT_EQ(common::State().procedureId, "AKAGI41M");
    EXPECT_EQ(common::State().functionId, "CALLER");
}

TEST_F(KagiEntry, AllZeroPricesStampOnlyTheLastPriceDate) {
    EXPECT_TRUE(Run({Row(1, "0", "0", 10), Row(2, "0", "0", 10)}));
    EXPECT_TRUE(days_.empty());
    EXPECT_TRUE(lines_.empty());
    const marketdata::ProcMarkRec& mark = company_.ProcMark[analysis::kJudgementProcess];
    EXPECT_EQ(mark.MarkDate, "2024/01/02");
    EXPECT_EQ(mark.MarkTime, "00:00:00");
    EXPECT_EQ(company_.Term[analysis::kJudgementProcess].FirstDate, "old first");
    EXPECT_EQ(company_.Term[analysis::kJudgementProcess].LastDate, "old last");
}

TEST_F(KagiEntry, JudgesTheSeriesAndStampsTheRun) {
    const platform::DateTime before = platform::Now();
    EXPECT_TRUE(Run({Row(3, "500", "500", 10), Row(4, "510", "510", 10), Row(5, "0", "0", 10)}));
    const platform::DateTime after = platform::Now();

    ASSERT_EQ(days_.size(), 2u);
    ASSERT_EQ(lines_.size(), 1u);
    EXPECT_EQ(lines_[0].High, Money(510));
    const marketdata::ProcMarkRec& mark = company_.ProcMark[analysis::kJudgementProcess];
    const auto stamp = [](const platform::DateTime& t) {
        return platform::DateText(t.date) + " " + platform::TimeText(t.hour, t.minute, t.second);
    };
    const std::string runStamp = mark.MarkDate + " " + mark.MarkTime;
    EXPECT_LE(stamp(before), runStamp);
    EXPECT_LE(runStamp, stamp(after));
    EXPECT_EQ(company_.Term[analysis::kJudgementProcess].FirstDate, "2024/01/03");
    EXPECT_EQ(company_.Term[analysis::kJudgementProcess].LastDate, "2024/01/04");
    EXPECT_EQ(common::State().functionId, "CALLER");
}

}  // namespace
