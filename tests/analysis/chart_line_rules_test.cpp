#include "analysis/chart_line_rules.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "analysis/line_features.h"
#include "platform/numeric_text.h"

namespace {

using analysis::KagiLineRec;
using analysis::KesenParamSet;
using platform::Currency;

using Rule = std::int32_t (*)(const KesenParamSet&, std::span<const KagiLineRec>, std::int32_t);

constexpr std::int32_t I = analysis::kInsideLine, O = analysis::kOuterLine, G = analysis::kGapLine,
                       HB = analysis::kHalfBack, GB = analysis::kGoAndBack, D = analysis::kDominantLine,
                       HO = analysis::kHoleLine, NH = analysis::kNewHigh, LH = analysis::kLowerHigh,
                       HL = analysis::kHigherLow, NL = analysis::kNewLow, S4 = analysis::kShortVs4,
                       S6 = analysis::kShortVs6, DOG = D | O | G;

constexpr const char* kUp = "1";
constexpr const char* kDown = "2";

Currency Money(const char* text) { return *platform::ParseCurrency(text); }

// The default width of the three mountains: EnvRoeN/EnvRoeD = 1/5.
KesenParamSet Params(const char* roeRatio = "0.2") {
    KesenParamSet params;
    params.RoeRatio = Money(roeRatio);
    return params;
}

// One line of a fixture: its number, feature bits and, where a rule reads
// them, its prices.
struct LineShape {
    std::int32_t k;
    std::int32_t bits;
    const char* low = "0";
    const char* high = "0";
};

// Lines 1..n of alternating direction, line n in `direction`.
std::vector<KagiLineRec> Series(std::int32_t n, const char* direction, const std::vector<LineShape>& shapes) {
    std::vector<KagiLineRec> lines(n);
    for (std::int32_t k = n; k >= 1; --k) {
        const bool likeLast = (n - k) % 2 == 0;
        lines[k - 1].Direction = likeLast == (std::string(direction) == kUp) ? kUp : kDown;
    }
    for (const LineShape& s : shapes) {
        lines[s.k - 1].Features = s.bits;
        lines[s.k - 1].Low = Money(s.low);
        lines[s.k - 1].High = Money(s.high);
    }
    return lines;
}

// `shapes` with the line of `change` replaced by it.
std::vector<LineShape> With(std::vector<LineShape> shapes, const LineShape& change) {
    for (LineShape& s : shapes) {
        if (s.k == change.k) {
            s = change;
            return shapes;
        }
    }
    shapes.push_back(change);
    return shapes;
}

struct RuleCase {
    const char* name;
    Rule rule;
    std::int32_t bit;
    const char* direction;  // of the current line i
    std::int32_t i;
    std::vector<LineShape> fires;
    std::vector<LineShape> misses;  // each, put in place of its line, breaks exactly one condition
};

// Every rule at its least line count, in both directions. Prices only where
// the rule reads them; R = 0.2 throughout.
std::vector<RuleCase> RuleCases() {
    using namespace analysis;
    return {
        // ろさ一: i-3 inside, i-1 outer.
        {"ろさ一 down", Rosa1, kRule1, kDown, 4, {{1, I}, {3, O}}, {{1, O}, {3, I}}},
        {"ろさ一 up", Rosa1, kRule1, kUp, 4, {{1, I}, {3, O}}, {{3, 0}}},
        // ろさ二: i-1, i-5, i-9 inside; i-3, i-7 outer.
        {"ろさ二 down", Rosa2, kRule2, kDown, 10, {{1, I}, {3, O}, {5, I}, {7, O}, {9, I}}, {{5, 0}, {7, I}}},
        {"ろさ二 up", Rosa2, kRule2, kUp, 10, {{1, I}, {3, O}, {5, I}, {7, O}, {9, I}}, {{9, O}, {3, 0}}},
        // ろさ三: i-5, i-3, i-1 new extremes without a gap.
        {"ろさ三 down", Rosa3, kRule3, kDown, 6, {{1, NH}, {3, NH}, {5, NH}}, {{3, NH | G}, {1, NL}}},
        {"ろさ三 up", Rosa3, kRule3, kUp, 6, {{1, NL}, {3, NL}, {5, NL}}, {{5, NL | G}, {3, NH}}},
        // ろさ四: rising bottoms (falling peaks up) on i-2..i-8; no gap on
        // i-3..i-9. Line 9 = i-1 is not looked at: its gap does not matter.
        {"ろさ四 down", Rosa4, kRule4, kDown, 10, {{2, HL}, {4, HL}, {6, HL}, {8, HL}, {9, G}}, {{1, G}, {4, LH}}},
        {"ろさ四 up", Rosa4, kRule4, kUp, 10, {{2, LH}, {4, LH}, {6, LH}, {8, LH}}, {{8, HL}, {5, G}}},
        // ろさ五: new extremes on i-2..i-8; no gap on i-3..i-9.
        {"ろさ五 down", Rosa5, kRule5, kDown, 10, {{2, NH}, {4, NH}, {6, NH}, {8, NH}}, {{7, G}, {2, NL}}},
        {"ろさ五 up", Rosa5, kRule5, kUp, 10, {{2, NL}, {4, NL}, {6, NL}, {8, NL}, {9, G}}, {{4, 0}, {3, G}}},
        // ろく一: i-2 gap.
        {"ろく一 down", Roku1, kRule1, kDown, 3, {{1, G}}, {{1, HB}}},
        {"ろく一 up", Roku1, kRule1, kUp, 3, {{1, G}}, {{1, 0}}},
        // ろく二: i-3 half-back.
        {"ろく二 down", Roku2, kRule2, kDown, 4, {{1, HB}}, {{1, G}}},
        {"ろく二 up", Roku2, kRule2, kUp, 4, {{1, HB}}, {{1, GB}}},
        // ろく三: i-2 go-and-back, i-1 inside.
        {"ろく三 down", Roku3, kRule3, kDown, 3, {{1, GB}, {2, I}}, {{2, O}, {1, HB}}},
        {"ろく三 up", Roku3, kRule3, kUp, 3, {{1, GB}, {2, I}}, {{1, 0}}},
        // ろゑ一: lines 7, 5, 3 new extremes (counts 1, 2, 3); line 3 gap and
        // dominant, 100 long: width 20.
        // Down: |High(8) 220 - High(3) 200| = 20 <= 20, the tie fires; 220.0001
        // is 20.0001 away.
        {"ろゑ一 down",
         Roe1,
         kRule1,
         kDown,
         8,
         {{3, NH | G | D, "100", "200"}, {5, NH}, {7, NH}, {8, 0, "190", "220"}},
         {{8, 0, "190", "220.0001"}, {5, 0}, {3, NH | G, "100", "200"}}},
        // Up: |Low(7) 280 - Low(3) 300| = 20 <= 20 fires; 279.9999 is 20.0001 away.
        {"ろゑ一 up",
         Roe1,
         kRule1,
         kUp,
         8,
         {{3, NL | G | D, "300", "400"}, {5, NL}, {7, NL, "280", "350"}, {8, 0, "280", "300"}},
         {{7, NL, "279.9999", "350"}, {7, NH, "280", "350"}, {3, NL | D, "300", "400"}}},
        // ろゑ二 down: line 1 100..200 (width 20); High(5) 175 < High(3) 185, so
        // P = High(3): |185 - 200| = 15 fires. Misses: High(5) 200 is not below
        // High(1) (P = 200, distance 0); High(3) 179 gives P = 179, 21 away; a
        // gap on line 4; no LowerHigh on line 5.
        {"ろゑ二 down",
         Roe2,
         kRule2,
         kDown,
         6,
         {{1, D | G, "100", "200"}, {3, NH, "150", "185"}, {5, LH, "160", "175"}},
         {{5, LH, "160", "200"}, {3, NH, "150", "179"}, {4, G}, {5, 0, "160", "175"}}},
        // ろゑ二 up: Low(5) 120 > Low(1) 100 and 120 <= Low(3) 130, so Q = Low(5):
        // |100 - 120| = 20, the tie fires. Misses: Q 120.0001 is 20.0001 away;
        // Low(5) 100 is not above Low(1); a gap on line 3; no gap on line 1.
        {"ろゑ二 up",
         Roe2,
         kRule2,
         kUp,
         6,
         {{1, D | G, "100", "200"}, {3, NL, "130", "180"}, {5, HL, "120", "170"}},
         {{5, HL, "120.0001", "170"}, {5, HL, "100", "170"}, {3, NL | G, "130", "180"}, {1, D, "100", "200"}}},
        // ろゑ三: i-3 dominant, outer, gap; i-1 short against i-5 and new extreme.
        {"ろゑ三 down", Roe3, kRule3, kDown, 6, {{3, DOG}, {5, S4 | NH}}, {{5, S4 | NL}, {3, D | O}}},
        {"ろゑ三 up", Roe3, kRule3, kUp, 6, {{3, DOG}, {5, S4 | NL}}, {{5, NL}, {3, O | G}}},
        // ろゑ四: i-3 dominant, outer, gap; i-1 inside and short against i-5.
        {"ろゑ四 down", Roe4, kRule4, kDown, 6, {{3, DOG}, {5, I | S4}}, {{5, I | S6}, {3, D | G}}},
        {"ろゑ四 up", Roe4, kRule4, kUp, 6, {{3, DOG}, {5, I | S4}}, {{5, S4}, {3, D | O}}},
        // ろゑ五 down: line 2 100..200 (width 20); High(6) 215 >= High(7) 215, so
        // e = 6: |215 - 200| = 15 fires (line 4 at 250 would be 50 away).
        // Misses: no gap on line 4; High(7) 216 makes e = 4, 50 away; High(6)
        // 220.0001 with High(7) 215 is 20.0001 away; no outer on line 2.
        {"ろゑ五 down",
         Roe5,
         kRule5,
         kDown,
         7,
         {{2, DOG, "100", "200"}, {4, G, "230", "250"}, {6, 0, "150", "215"}, {7, 0, "190", "215"}},
         {{4, 0, "230", "250"}, {7, 0, "190", "216"}, {6, 0, "150", "220.0001"}, {2, D | G, "100", "200"}}},
        // ろゑ五 up: line 2 300..400; Low(7) 290 >= Low(6) 290, so e = 6:
        // |300 - 290| = 10 fires. Misses: Low(7) 289 makes e = 4, |300 - 250| =
        // 50; no dominant on line 2; no gap on line 4.
        {"ろゑ五 up",
         Roe5,
         kRule5,
         kUp,
         7,
         {{2, DOG, "300", "400"}, {4, G, "250", "280"}, {6, 0, "290", "350"}, {7, 0, "290", "330"}},
         {{7, 0, "289", "330"}, {2, O | G, "300", "400"}, {4, 0, "250", "280"}}},
        // ろゑ六: i-5 dominant, outer, gap; i-3 new extreme without gap; i-1
        // inside and short against i-7.
        {"ろゑ六 down", Roe6, kRule6, kDown, 8, {{3, DOG}, {5, NH}, {7, I | S6}}, {{5, NH | G}, {7, I | S4}, {3, D | O}}},
        {"ろゑ六 up", Roe6, kRule6, kUp, 8, {{3, DOG}, {5, NL}, {7, I | S6}}, {{5, NH}, {7, S6}}},
        // ろあ一: i-1 hole.
        {"ろあ一 down", Roa1, kRule1, kDown, 5, {{4, HO}}, {{4, 0}}},
        {"ろあ一 up", Roa1, kRule1, kUp, 5, {{4, HO}}, {{4, G}}},
        // ろあ二: i-3 hole; i-1 new extreme.
        {"ろあ二 down", Roa2, kRule2, kDown, 7, {{4, HO}, {6, NH}}, {{6, NL}, {4, 0}}},
        {"ろあ二 up", Roa2, kRule2, kUp, 7, {{4, HO}, {6, NL}}, {{6, NH}, {4, G}}},
        // ろあ三: i-3 hole; i-1 inside; i-7 falling peak (rising bottom up).
        {"ろあ三 down", Roa3, kRule3, kDown, 8, {{1, LH}, {5, HO}, {7, I}}, {{1, HL}, {7, O}, {5, 0}}},
        {"ろあ三 up", Roa3, kRule3, kUp, 8, {{1, HL}, {5, HO}, {7, I}}, {{1, LH}, {7, 0}}},
    };
}

TEST(ChartLineRules, EachRuleFiresAndMissesByOneCondition) {
    const KesenParamSet params = Params();
    for (const RuleCase& c : RuleCases()) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.rule(params, Series(c.i, c.direction, c.fires), c.i), c.bit);
        for (const LineShape& miss : c.misses) {
            SCOPED_TRACE("miss on line " + std::to_string(miss.k));
            EXPECT_EQ(c.rule(params, Series(c.i, c.direction, With(c.fires, miss)), c.i), 0);
        }
    }
}

// The rules whose least line count lies above the oldest line they read: the
// same pattern one line earlier, at one line below the count, does not fire.
TEST(ChartLineRules, BelowTheLeastLineCountNeverFires) {
    const KesenParamSet params = Params();
    const std::vector<RuleCase> cases = RuleCases();
    for (const std::string name :
         {"ろゑ三 down", "ろゑ四 up", "ろゑ五 down", "ろゑ五 up", "ろゑ六 down", "ろあ一 down", "ろあ二 up"}) {
        SCOPED_TRACE(name);
        const auto c = std::find_if(cases.begin(), cases.end(), [&](const RuleCase& r) { return r.name == name; });
        ASSERT_NE(c, cases.end());
        std::vector<LineShape> earlier = c->fires;
        for (LineShape& s : earlier) --s.k;
        EXPECT_EQ(c->rule(params, Series(c->i - 1, c->direction, earlier), c->i - 1), 0);
    }
}

// ろゑ一 on a down line: the walk over lines i-1, i-3, ... Line 3 (100..200,
// width 20) is the peak that fires unless the walk stops first.
TEST(ChartLineRules, RoeOneWalk) {
    struct Case {
        const char* name;
        const char* roeRatio;
        std::int32_t i;
        std::vector<LineShape> shapes;  // line i included
        std::int32_t expected;
    };
    const LineShape peak3 = {3, NH | G | D, "100", "200"};
    const Case cases[] = {
        {"passes line 5 without DominantLine, fires at line 3 (10 away)", "0.2", 10,
         {peak3, {5, NH | G, "100", "210"}, {7, NH}, {9, NH}, {10, 0, "180", "210"}}, analysis::kRule1},
        {"passes line 5 without GapLine", "0.2", 10,
         {peak3, {5, NH | D, "100", "210"}, {7, NH}, {9, NH}, {10, 0, "180", "210"}}, analysis::kRule1},
        {"passes line 5 too far: 50 from a width of 2", "0.2", 10,
         {peak3, {5, NH | G | D, "150", "160"}, {7, NH}, {9, NH}, {10, 0, "180", "210"}}, analysis::kRule1},
        {"line 9 without NewHigh stops the walk first", "0.2", 10,
         {peak3, {5, NH}, {7, NH}, {9, 0}, {10, 0, "180", "210"}}, 0},
        {"line 7 near but counted 2 only", "0.2", 10,
         {{1, NH}, {3, NH}, {5, NH}, {7, NH | G | D, "100", "210"}, {9, NH}, {10, 0, "180", "210"}}, 0},
        {"line 2 near but not above line 2", "0.2", 9,
         {{2, NH | G | D, "100", "200"}, {4, NH}, {6, NH}, {8, NH}, {9, 0, "180", "210"}}, 0},
        {"line 4 near, counted 3", "0.2", 9,
         {{2, NH}, {4, NH | G | D, "100", "200"}, {6, NH}, {8, NH}, {9, 0, "180", "210"}}, analysis::kRule1},
        {"R 0: equal peaks fire", "0", 8, {peak3, {5, NH}, {7, NH}, {8, 0, "190", "200"}}, analysis::kRule1},
        {"R 0: a tick apart misses", "0", 8, {peak3, {5, NH}, {7, NH}, {8, 0, "190", "200.0001"}}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(analysis::Roe1(Params(c.roeRatio), Series(c.i, kDown, c.shapes), c.i), c.expected);
    }
}

// Line 4, down: ろさ一 (1 inside, 3 outer), ろく一 (2 gap), ろく二 (1 half-back).
TEST(ChartLineRulesEvaluate, RecordsEveryHitAndKeepsEarlierBits) {
    std::vector<KagiLineRec> lines = Series(4, kDown, {{1, I | HB}, {2, G}, {3, O}});
    KagiLineRec& line = lines[3];
    line.RuleHit = "0";
    line.RuleCount = 7;
    line.RuleBits = {0, analysis::kFamilyRoe, 0, 0, analysis::kRule3, 0};  // ろゑ三 at an earlier evaluation

    EXPECT_EQ(analysis::EvaluateChartLineRules(Params(), lines, 4), 3);
    EXPECT_EQ(line.RuleHit, "1");
    EXPECT_EQ(line.RuleCount, 3);
    const std::array<std::int32_t, 6> expected = {
        0, analysis::kFamilyRosa | analysis::kFamilyRoku | analysis::kFamilyRoe, analysis::kRule1,
        analysis::kRule1 | analysis::kRule2, analysis::kRule3, 0};
    EXPECT_EQ(line.RuleBits, expected);
}

TEST(ChartLineRulesEvaluate, NoHitClearsTheLatestCountOnly) {
    std::vector<KagiLineRec> lines = Series(4, kDown, {});
    KagiLineRec& line = lines[3];
    line.RuleHit = "1";
    line.RuleCount = 2;
    line.RuleBits = {0, analysis::kFamilyRosa, analysis::kRule1, 0, 0, 0};

    EXPECT_EQ(analysis::EvaluateChartLineRules(Params(), lines, 4), 0);
    EXPECT_EQ(line.RuleHit, "0");
    EXPECT_EQ(line.RuleCount, 0);
    const std::array<std::int32_t, 6> kept = {0, analysis::kFamilyRosa, analysis::kRule1, 0, 0, 0};
    EXPECT_EQ(line.RuleBits, kept);
}

// Line 8, down, fires ろあ一 (7 hole), ろあ二 (5 hole, 7 new high) and ろあ三
// (5 hole, 7 inside, 1 lower high) and nothing else.
TEST(ChartLineRulesEvaluate, RoaSwitchesSkipTheirRuleOnly) {
    struct Case {
        std::int32_t ig1, ig2, ig3;
        std::int32_t count;
        std::int32_t roaBits;
    };
    using analysis::kRule1, analysis::kRule2, analysis::kRule3;
    const Case cases[] = {
        {0, 0, 0, 3, kRule1 | kRule2 | kRule3}, {1, 0, 0, 2, kRule2 | kRule3}, {0, 1, 0, 2, kRule1 | kRule3},
        {0, 0, 1, 2, kRule1 | kRule2},          {1, 1, 1, 0, 0},
        {2, 0, 0, 3, kRule1 | kRule2 | kRule3},  // only 1 skips
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.ig1) + std::to_string(c.ig2) + std::to_string(c.ig3));
        KesenParamSet params = Params();
        params.RoaIg1 = c.ig1;
        params.RoaIg2 = c.ig2;
        params.RoaIg3 = c.ig3;
        std::vector<KagiLineRec> lines = Series(8, kDown, {{1, LH}, {5, HO}, {7, HO | NH | I}});
        EXPECT_EQ(analysis::EvaluateChartLineRules(params, lines, 8), c.count);
        EXPECT_EQ(lines[7].RuleHit, c.count > 0 ? "1" : "0");
        EXPECT_EQ(lines[7].RuleBits[analysis::kRuleBitsRoa], c.roaBits);
        EXPECT_EQ(lines[7].RuleBits[analysis::kRuleBitsFamilies], c.count > 0 ? analysis::kFamilyRoa : 0);
    }
}

}  // namespace
