#include "analysis/judgement_engine.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "analysis/chart_line_rules.h"
#include "analysis/kagi_lines.h"
#include "platform/numeric_text.h"
#include "tests/analysis/kagi_price_rows.h"

namespace {

using analysis::KagiDayRec;
using analysis::KagiLineRec;
using analysis::SignalState;
using analysis_test::Jan2024;
using platform::Currency;

Currency Money(const char* text) { return *platform::ParseCurrency(text); }

KagiLineRec Line(const char* direction, const char* breakPrice = "0") {
    KagiLineRec line = analysis::KagiTemplateRecord();
    line.Direction = direction;
    line.BreakPrice = Money(breakPrice);
    return line;
}

// Gives a line the rules of its latest evaluation.
void Fire(KagiLineRec& line, std::int32_t count, std::size_t word, std::int32_t familyBit, std::int32_t ruleBits) {
    line.RuleHit = "1";
    line.RuleCount = count;
    line.RuleBits[analysis::kRuleBitsFamilies] |= familyBit;
    line.RuleBits[word] |= ruleBits;
}

constexpr double kDay = 45300;

TEST(JudgementEngine, TwoRulesOfOneFamilySignalOnlyWhenRulesAreCounted) {
    for (const std::int32_t change : {0, 1}) {
        SCOPED_TRACE(change);
        std::vector<KagiLineRec> lines{Line("1"), Line("2", "95")};
        Fire(lines[1], 2, analysis::kRuleBitsRosa, analysis::kFamilyRosa, analysis::kRule1 | analysis::kRule3);
        analysis::KesenParamSet params;
        params.Change = change;
        SignalState state;
        analysis::DecideSignal(params, lines, 2, kDay, state);

        const KagiLineRec& line = lines[1];
        if (change == 0) {
            EXPECT_EQ(line.SignalMark, "1");
            EXPECT_EQ(line.SignalLine, 2);
            EXPECT_EQ(line.PairLine, 0);
            EXPECT_EQ(line.PrevSignalLine, 0);
            EXPECT_EQ(line.SignalPrice, Money("95"));
            EXPECT_EQ(line.RuleDate, kDay);
            EXPECT_EQ(state.signalDirection, "2");
            EXPECT_EQ(state.lastSignalLine, 2);
        } else {
            EXPECT_EQ(line.SignalMark, "");
            EXPECT_EQ(line.SignalLine, 0);
            EXPECT_EQ(state.signalDirection, "");
            EXPECT_EQ(state.lastSignalLine, 0);
        }
        EXPECT_EQ(state.lastRuleLine, 2);
        EXPECT_EQ(state.lastRuleDirection, "2");
    }
}

// One rule on a line against the last rule direction gives nothing that day;
// the next day the line pairs with itself, so a second family counts.
TEST(JudgementEngine, RulesOfTwoDaysOnOneLineGiveASignal) {
    std::vector<KagiLineRec> lines{Line("1"), Line("2", "95")};
    analysis::KesenParamSet params;
    params.Change = 1;
    SignalState state;

    Fire(lines[1], 1, analysis::kRuleBitsRosa, analysis::kFamilyRosa, analysis::kRule3);
    analysis::DecideSignal(params, lines, 2, kDay, state);
    EXPECT_EQ(lines[1].SignalMark, "");
    EXPECT_EQ(state.lastRuleLine, 2);

    lines[1].RuleCount = 0;
    Fire(lines[1], 1, analysis::kRuleBitsRoku, analysis::kFamilyRoku, analysis::kRule1);
    analysis::DecideSignal(params, lines, 2, kDay + 1, state);
    EXPECT_EQ(lines[1].SignalMark, "1");
    EXPECT_EQ(lines[1].SignalLine, 2);
    EXPECT_EQ(lines[1].PairLine, 2);
    EXPECT_EQ(lines[1].RuleDate, kDay + 1);
}

TEST(JudgementEngine, RulesWithTheCurrentSignalMarkTheLineOnly) {
    std::vector<KagiLineRec> lines{Line("1"), Line("2", "95")};
    Fire(lines[1], 2, analysis::kRuleBitsRosa, analysis::kFamilyRosa, analysis::kRule1);
    lines[1].RuleBits[analysis::kRuleBitsRoku] = analysis::kRule1;
    SignalState state;
    state.signalDirection = "2";
    state.lastSignalLine = 1;
    analysis::DecideSignal(analysis::KesenParamSet{}, lines, 2, kDay, state);
    EXPECT_EQ(lines[1].SignalMark, "2");
    EXPECT_EQ(lines[1].SignalLine, 0);
    EXPECT_EQ(state.lastSignalLine, 1);
}

TEST(JudgementEngine, TurnCountsOnlyTheKnownRuleBits) {
    using analysis::RuleBitRec;
    // Words: unused, families, ろさ, ろく, ろゑ, ろあ.
    const struct {
        RuleBitRec bits;
        bool byRules;     // EnvChange 0
        bool byFamilies;  // EnvChange 1
    } cases[] = {
        {{0, 0, 512 | 32, 0, 0, 0}, true, false}, {{0, 0, 512, 0, 16, 0}, true, true},
        {{0, 0, 0, 64, 0, 128}, false, true},  // ろく has no rule 64
        {{0, 0, 0, 0, 0, 256}, false, false},     {{0, 0, 0, 0, 512 | 256 | 128, 0}, true, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(analysis::IsTurnConfirmed(0, c.bits), c.byRules);
        EXPECT_EQ(analysis::IsTurnConfirmed(1, c.bits), c.byFamilies);
    }
}

TEST(JudgementEngine, GainAgainstTheSignalPrice) {
    const struct {
        const char* direction;
        const char* signalPrice;
        const char* price;
        const char* gain;
        const char* pct;
    } cases[] = {
        {"2", "100", "80", "20", "25"},     // (100 / 80 - 1) x 100
        {"1", "80", "100", "20", "25"},     // (100 / 80 - 1) x 100
        {"2", "1", "3", "-2", "-66.6667"},  // (1 / 3 - 1) x 100
        {"1", "0", "5", "5", "0"},          // no division by a price of 0
        {"2", "10", "-2", "12", "0"},       // nor by one below 0
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.direction) + " " + c.signalPrice + " " + c.price);
        KagiLineRec line = Line(c.direction);
        line.SignalPrice = Money(c.signalPrice);
        line.SignalGainPct = Money("7");
        analysis::PriceSignalGain(Money(c.price), line);
        EXPECT_EQ(line.SignalGain, Money(c.gain));
        EXPECT_EQ(line.SignalGainPct, Money(c.pct));
    }
}

TEST(JudgementEngine, TurnStateFollowsTheRuleLines) {
    // A single rule sets the state only when the last rule line had the same
    // direction; two rules set it outright.
    const struct {
        const char* direction;
        std::int32_t ruleCount;
        const char* turnState;
    } cases[] = {
        {"1", 0, ""},  {"2", 1, ""},  {"1", 0, ""},  {"2", 1, "2"}, {"1", 0, "2"},
        {"1", 1, "2"}, {"2", 0, "2"}, {"1", 1, "1"}, {"2", 3, "2"},
    };
    std::vector<KagiLineRec> lines;
    for (const auto& c : cases) {
        lines.push_back(Line(c.direction));
        lines.back().RuleCount = c.ruleCount;
    }
    analysis::CloseJudgement(Money("500"), lines, SignalState{});
    for (std::size_t k = 0; k < lines.size(); ++k) {
        SCOPED_TRACE(k + 1);
        EXPECT_EQ(lines[k].TurnState, cases[k].turnState);
        EXPECT_EQ(lines[k].SignalGain, Currency());
    }
}

struct Judged {
    std::vector<KagiDayRec> days;
    std::vector<KagiLineRec> lines;
};

// A widening zigzag, one line per day from day 3: line i (i >= 2) comes from
// day i+1 and breaks 2 ticks past the end of line i-1. Every line from 3 on is
// a new high and a new low against all earlier lines, with no gap, inside or
// long-line shortfall, so the only rules are ろさ三 (lines 8 on: lines i-5,
// i-3, i-1 are new extremes) and ろさ五 (lines 11 on: lines i-2 to i-8).
Judged JudgeWideningZigzag(std::int32_t change, std::vector<const char*> prices) {
    analysis::KesenParamSet params;
    params.Range = 10;
    params.Change = change;
    Judged out;
    analysis::BuildDaySeries(analysis_test::DailyValues(prices), out.days);
    analysis::JudgeKagiLines(params, analysis_test::OneBand(), out.days, out.lines);
    return out;
}

const std::vector<const char*> kZigzag{"500", "510", "490", "520", "480", "530", "470",
                                       "540", "460", "550", "450", "560", "440"};

TEST(JudgementEngine, WideningZigzagSignalsWhenRulesAreCounted) {
    const Judged got = JudgeWideningZigzag(0, kZigzag);
    ASSERT_EQ(got.lines.size(), 12u);
    const KagiLineRec& buy = got.lines[10];   // line 11: up to 560, breaks at 550 + 2
    const KagiLineRec& sell = got.lines[11];  // line 12: down to 440, breaks at 450 - 2

    for (std::int32_t i = 1; i <= 12; ++i) {
        SCOPED_TRACE(i);
        const KagiLineRec& line = got.lines[i - 1];
        const std::int32_t count = i >= 11 ? 2 : i >= 8 ? 1 : 0;
        EXPECT_EQ(line.RuleCount, count);
        EXPECT_EQ(line.RuleHit, count > 0 ? "1" : i >= 2 ? "0" : "");
        if (count > 0) {
            EXPECT_EQ(line.RuleDate, Jan2024(i + 1));
        }
        EXPECT_EQ(line.SignalMark, i >= 11 ? "1" : "");
        EXPECT_EQ(line.TurnState, i == 11 ? "1" : i == 12 ? "2" : "");
    }
    const std::int32_t rosa35 = analysis::kRule3 | analysis::kRule5;
    EXPECT_EQ(buy.RuleBits[analysis::kRuleBitsRosa], rosa35);
    EXPECT_EQ(buy.RuleBits[analysis::kRuleBitsFamilies], analysis::kFamilyRosa);

    EXPECT_EQ(buy.SignalLine, 11);
    EXPECT_EQ(buy.PrevSignalLine, 0);
    EXPECT_EQ(buy.SignalPrice, Money("552"));
    // Closed at the sell's price: 448 - 552, (448 / 552 - 1) x 100.
    EXPECT_EQ(buy.SignalGain, Money("-104"));
    EXPECT_EQ(buy.SignalGainPct, Money("-18.8406"));

    EXPECT_EQ(sell.SignalLine, 12);
    EXPECT_EQ(sell.PairLine, 0);
    EXPECT_EQ(sell.PrevSignalLine, 11);
    EXPECT_EQ(sell.SignalPrice, Money("448"));
    // Open at the end: valued at the last day's 440, (448 / 440 - 1) x 100.
    EXPECT_EQ(sell.SignalGain, Money("8"));
    EXPECT_EQ(sell.SignalGainPct, Money("1.8182"));
}

TEST(JudgementEngine, WideningZigzagCountingFamiliesGivesNoSignal) {
    const Judged got = JudgeWideningZigzag(1, kZigzag);
    ASSERT_EQ(got.lines.size(), 12u);
    for (const KagiLineRec& line : got.lines) {
        EXPECT_EQ(line.SignalMark, "");
        EXPECT_EQ(line.SignalLine, 0);
        EXPECT_EQ(line.SignalGain, Currency());
    }
    // The state comes from the rule counts alone.
    EXPECT_EQ(got.lines[10].TurnState, "1");
    EXPECT_EQ(got.lines[11].TurnState, "2");
}

TEST(JudgementEngine, NoRuleHitLeavesTurnStateBlank) {
    // Seven lines: too few for any rule.
    const Judged got = JudgeWideningZigzag(0, {kZigzag.begin(), kZigzag.begin() + 8});
    ASSERT_EQ(got.lines.size(), 7u);
    for (const KagiLineRec& line : got.lines) {
        EXPECT_EQ(line.RuleCount, 0);
        EXPECT_EQ(line.TurnState, "");
        EXPECT_EQ(line.SignalMark, "");
    }
}

}  // namespace
