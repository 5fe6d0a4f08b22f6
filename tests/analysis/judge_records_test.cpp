#include "analysis/judge_records.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "analysis/company_judgement.h"
#include "analysis/judge_statistics.h"
#include "analysis/signal_block.h"
#include "platform/date.h"
#include "platform/numeric_text.h"

namespace {

using analysis::KagiJudgeRec;
using analysis::KagiLineRec;
using platform::Currency;

Currency Money(const char* text) { return *platform::ParseCurrency(text); }

KagiLineRec Line(const char* direction, const char* mark, std::int32_t signal, std::int32_t pair, double ruleDate,
                 const char* price, const char* gain) {
    KagiLineRec line;
    line.Direction = direction;
    line.SignalMark = mark;
    line.SignalLine = signal;
    line.PairLine = pair;
    line.RuleDate = ruleDate;
    line.SignalExtraA = Money("1.5");
    line.SignalPrice = Money(price);
    line.SignalGain = Money(gain);
    line.SignalGainPct = Money("-2.5");
    line.RuleCount = 3;
    line.SignalExtraC = Money(gain);
    return line;
}

// Line 2 signals on itself without a turn line; line 3 signals on line 1
// and turns on line 2. Prices are in cents (USD).
std::vector<KagiLineRec> ThreeLines() {
    std::vector<KagiLineRec> lines{Line("1", "", 0, 0, 45300.75, "10000", "500"),
                                   Line("2", "1", 2, 0, 45310.5, "55200", "-10400"),
                                   Line("1", "1", 1, 2, 45320.25, "0", "0")};
    lines[0].RuleBits = {0x7, 0x800, 0x1, 0, 0, 0x10};
    lines[1].RuleBits = {0x70, 0x400, 0, 0x2, 0, 0x20};
    return lines;
}

TEST(JudgeRecords, OneRecordPerSignalLineWithItsBlocksAndRules) {
    marketdata::Key key;
    key.CorpCode = "AAPL";
    const std::vector<KagiJudgeRec> recs = analysis::MakeJudgeRecords(key, ThreeLines(), Money("0.01"));
    ASSERT_EQ(recs.size(), 2u);

    const KagiJudgeRec& first = recs[0];
    EXPECT_EQ(first.Key.CorpCode, "AAPL");
    EXPECT_EQ(first.JudgeDate, 45310.0);
    EXPECT_EQ(first.Direction, "2");
    EXPECT_EQ(first.TurnState, "1");
    EXPECT_EQ(first.Signal.RuleDate, 45310.5);
    EXPECT_EQ(first.Signal.SignalPrice, Money("552"));
    EXPECT_EQ(first.Signal.SignalGain, Money("-104"));
    EXPECT_EQ(first.Signal.SignalExtraC, Money("-104"));
    EXPECT_EQ(first.Signal.SignalExtraA, Money("1.5"));     // not a price: unscaled
    EXPECT_EQ(first.Signal.SignalGainPct, Money("-2.5"));  // a percentage: unscaled
    EXPECT_EQ(first.Turn.RuleDate, platform::ToDaySerial(platform::Date{1900, 1, 1}));
    EXPECT_EQ(first.Turn.SignalPrice, Currency());
    EXPECT_EQ(first.SignalRules, (analysis::RuleSet{0x70, 0x400, 0, 0x2, 0, 0x20}));
    EXPECT_EQ(first.CombinedRules, (analysis::RuleSet{0, 0x400, 0, 0x2, 0, 0x20}));

    const KagiJudgeRec& second = recs[1];
    EXPECT_EQ(second.Direction, "1");
    EXPECT_EQ(second.TurnState, "2");
    EXPECT_EQ(second.Signal.SignalPrice, Money("100"));  // line 1's block
    EXPECT_EQ(second.Signal.SignalGain, Money("5"));
    EXPECT_EQ(second.Turn.SignalPrice, Money("552"));  // line 2's block
    EXPECT_EQ(second.Turn.RuleDate, 45310.5);
    EXPECT_EQ(second.TurnRules, (analysis::RuleSet{0x70, 0x400, 0, 0x2, 0, 0x20}));
    // The flag words of both lines; the leading words stay out.
    EXPECT_EQ(second.CombinedRules, (analysis::RuleSet{0, 0xC00, 0x1, 0x2, 0, 0x30}));
}

TEST(JudgeRecords, LineNumberOutsideTheSeriesIsAnError) {
    std::vector<KagiLineRec> lines = ThreeLines();
    lines[2].PairLine = 4;
    EXPECT_ANY_THROW(analysis::MakeJudgeRecords({}, lines, Currency(1)));
}

KagiJudgeRec Result(const char* direction, const char* gain) {
    KagiJudgeRec rec;
    rec.Direction = direction;
    rec.Signal.SignalGain = Money(gain);
    return rec;
}

TEST(JudgeStatistics, RatesRoundEachQuotientBeforeTheDifference) {
    const std::vector<KagiJudgeRec> recs{Result("1", "-104"), Result("2", "8")};
    const analysis::JudgeStats stats = analysis::ComputeJudgeStats(recs);

    const analysis::DirectionStats& up = stats[0];
    EXPECT_EQ(up.Judgements, 1);
    EXPECT_EQ(up.Gains, 0);
    EXPECT_EQ(up.Losses, 1);
    EXPECT_EQ(up.HitRate, Money("-100"));
    EXPECT_EQ(up.AbsoluteTotal, Money("104"));
    EXPECT_EQ(up.GainTotal, Currency());
    EXPECT_EQ(up.LossTotal, Money("-104"));
    EXPECT_EQ(up.AmountRate, Money("-100"));

    const analysis::DirectionStats& down = stats[1];
    EXPECT_EQ(down.Judgements, 1);
    EXPECT_EQ(down.HitRate, Money("100"));
    EXPECT_EQ(down.AmountRate, Money("100"));

    const analysis::DirectionStats& both = stats[2];
    EXPECT_EQ(both.Judgements, 2);
    EXPECT_EQ(both.Gains, 1);
    EXPECT_EQ(both.Losses, 1);
    EXPECT_EQ(both.HitRate, Currency());
    EXPECT_EQ(both.AbsoluteTotal, Money("112"));
    EXPECT_EQ(both.GainTotal, Money("8"));
    EXPECT_EQ(both.LossTotal, Money("-104"));
    // (0.0714 - 0.9286) x 100; the unrounded quotients would give -85.7143.
    EXPECT_EQ(both.AmountRate, Money("-85.72"));
}

TEST(JudgeStatistics, ZeroResultsCountAsHitsWithoutAnAmountRate) {
    const std::vector<KagiJudgeRec> recs{Result("2", "0"), Result("2", "0"), Result("2", "0")};
    const analysis::JudgeStats stats = analysis::ComputeJudgeStats(recs);
    EXPECT_EQ(stats[1].Judgements, 3);
    EXPECT_EQ(stats[1].Gains, 3);
    EXPECT_EQ(stats[1].HitRate, Money("100"));
    EXPECT_EQ(stats[1].AbsoluteTotal, Currency());
    EXPECT_EQ(stats[1].AmountRate, Currency());
    // No judgement of direction "1": nothing divided.
    EXPECT_EQ(stats[0].Judgements, 0);
    EXPECT_EQ(stats[0].HitRate, Currency());
    // 0.3333 - 0.6667: the unrounded quotients would give -33.3333.
    const analysis::JudgeStats third =
        analysis::ComputeJudgeStats(std::vector<KagiJudgeRec>{Result("1", "5"), Result("1", "-1"), Result("1", "-1")});
    EXPECT_EQ(third[0].HitRate, Money("-33.34"));
}

marketdata::CdmRec CompanyWithOldJudgement() {
    marketdata::CdmRec company;
    company.Attr4 = "2020/01/01";
    company.Attr5 = "1";
    company.Attr6 = "2";
    company.NumGroup[3].Nums = {7, 4, 3};
    company.NumGroup[3].Amounts[4] = Money("12.5");
    return company;
}

TEST(CompanyJudgement, LatestJudgementAndStatisticsGoToTheirFields) {
    std::vector<KagiLineRec> lines = ThreeLines();
    const std::vector<KagiJudgeRec> recs = analysis::MakeJudgeRecords({}, lines, Money("0.01"));
    marketdata::CdmRec company = CompanyWithOldJudgement();
    analysis::StoreJudgements(recs, company);

    EXPECT_EQ(company.Attr4, "2024/01/29");  // the second record's own date, 45320
    EXPECT_EQ(company.Attr5, "1");
    EXPECT_EQ(company.Attr6, "2");
    EXPECT_EQ(company.Num[1], 0);
    EXPECT_EQ(company.Num[2], 0xC00);
    EXPECT_EQ(company.Num[3], 0x1);
    EXPECT_EQ(company.Num[4], 0x2);
    EXPECT_EQ(company.Num[5], 0);  // word 5 (0x30) is not kept
    EXPECT_EQ(company.ValueDate, (platform::Date{2024, 1, 9}));  // its signal block's, 45300.75
    EXPECT_EQ(company.Amount[1], Money("1.5"));
    EXPECT_EQ(company.Amount[3], Money("100"));
    EXPECT_EQ(company.Amount[4], Money("5"));
    EXPECT_EQ(company.Amount[5], Money("-2.5"));
    EXPECT_EQ(company.Num[6], 3);
    EXPECT_EQ(company.Amount[6], Money("5"));
    // This run's two judgements alone: "2" lost 104, "1" gained 5.
    EXPECT_EQ(company.NumGroup[1].Nums, (std::array<std::int32_t, 3>{1, 1, 0}));
    EXPECT_EQ(company.NumGroup[2].Nums, (std::array<std::int32_t, 3>{1, 0, 1}));
    EXPECT_EQ(company.NumGroup[3].Nums, (std::array<std::int32_t, 3>{2, 1, 1}));
    EXPECT_EQ(company.NumGroup[3].Amounts[1], Money("109"));
    EXPECT_EQ(company.NumGroup[3].Amounts[3], Money("-104"));
}

TEST(CompanyJudgement, NoJudgementSetsTurnStateNineAndKeepsTheRest) {
    marketdata::CdmRec company = CompanyWithOldJudgement();
    analysis::ClearJudgementDate(company);
    analysis::StoreJudgements({}, company);
    EXPECT_EQ(company.Attr4, "          ");
    EXPECT_EQ(company.Attr5, "1");
    EXPECT_EQ(company.Attr6, "9");
    EXPECT_EQ(company.NumGroup[3].Nums, (std::array<std::int32_t, 3>{7, 4, 3}));
    EXPECT_EQ(company.NumGroup[3].Amounts[4], Money("12.5"));
}

}  // namespace
