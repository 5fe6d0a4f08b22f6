// The ろく, ろゑ and ろあ rule families through the whole judgement of one
// company: price rows, day series, lines, features, rules and signals, with
// the parameters read from the settings store.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "analysis/chart_line_rules.h"
#include "analysis/judgement_engine.h"
#include "analysis/kagi_lines.h"
#include "analysis/kesen_params.h"
#include "analysis/line_features.h"
#include "common/settings/default_settings.h"
#include "common/settings/settings.h"
#include "marketdata/code_master.h"
#include "platform/numeric_text.h"
#include "tests/analysis/kagi_price_rows.h"
#include "tests/support/program_folder.h"

namespace {

using analysis::KagiDayRec;
using analysis::KagiLineRec;
using analysis::RuleBitRec;
using analysis_test::Jan2024;
using platform::Currency;

Currency Money(const char* text) { return *platform::ParseCurrency(text); }

constexpr std::int32_t I = analysis::kInsideLine, O = analysis::kOuterLine, G = analysis::kGapLine,
                       HB = analysis::kHalfBack, L = analysis::kLongLine, D = analysis::kDominantLine,
                       HO = analysis::kHoleLine, NH = analysis::kNewHigh, LH = analysis::kLowerHigh,
                       HL = analysis::kHigherLow, NL = analysis::kNewLow, S4 = analysis::kShortVs4,
                       S6 = analysis::kShortVs6;

constexpr std::int32_t kRoku = analysis::kFamilyRoku, kRoe = analysis::kFamilyRoe, kRoa = analysis::kFamilyRoa;

// One band (width 10, tick 1): a close 10 or more from the last turn
// candidate is marked; days 5 and 13 move 5 and are not. Worked by hand with
// the default parameters (EnvTdai 15, EnvRange 2, EnvIkoN/D 2/3, EnvHnnN/D
// 1/2, EnvIkoRng empty, EnvChange 1):
//  line 1 up 300-340, days 1-2.
//  line 2 down to 290, breaks at 300 - 2; no rule has enough lines.
//  line 3 up to 450, breaks at 342: outer (290 <= 300, 450 > 340), long
//    (160 >= 15% of 290); line 4 makes it a gap (360 > 340), a half-back
//    (90 >= 160 / 2) and dominant (50 + 90 < 160). No rule at 3 lines.
//  line 4 down to 360, not broken (288); long (90 >= 15% of 450).
//  line 5 up to 390, not broken (452): inside line 3, shorter than line 1.
//  line 6 down to 372 on day 8 (inside line 4 and a higher low then, bits
//    that stay), to 350 on day 9: breaks at 358 and is a hole (lows 290 <
//    350 < 360, 2 lines). ろく二 (line 3 half-back) and ろゑ四 (line 3
//    dominant, outer and gap; line 5 inside and shorter than line 1): two
//    families, so a sell at 358.
//  line 7 up to 430, breaks at 392: outer, long, and a hole (highs 390 < 430
//    < 450). ろあ一 (line 6 a hole) alone against the last rule line's
//    direction: no signal, but line 7 is now the last rule line.
//  line 8 down to 400, not broken (348): line 7 becomes a gap (400 > 390)
//    and dominant (40 + 30 < 80).
//  line 9 up to 440, breaks at 432: a hole (highs 390 < 440 < 450, 4
//    lines). ろく一 (line 7 a gap) paired with line 7's ろあ一: a buy at 432,
//    which closes the sell: 358 - 432.
//  day 13 closes at 435, unmarked: the buy's value, 435 - 432.
const std::vector<const char*> kCloses{"300", "340", "290", "450", "455", "360", "390",
                                       "372", "350", "430", "400", "440", "435"};

class RuleFamilies : public ::testing::Test {
protected:
    RuleFamilies() { common::WriteKesenDefaults(); }

    void SetKesen(const char* key, const char* value) {
        common::WriteSetting(common::SettingKeyPath("Kesen", key), value);
    }

    void Judge() {
        analysis::KesenParamSet params;
        analysis::LoadKesenParams(params);
        ASSERT_TRUE(analysis::AKAGI41M(params, company_, analysis_test::OneBand(), days_, lines_,
                                       analysis_test::DailyValues(kCloses)));
        ASSERT_EQ(days_.size(), kCloses.size());
        ASSERT_EQ(lines_.size(), 9u);
    }

    testsupport::ProgramFolder folder_{true};
    marketdata::CdmRec company_;
    std::vector<KagiDayRec> days_;
    std::vector<KagiLineRec> lines_;
};

// What the rules and signals leave in one line; day 0 is the template date.
struct Judgement {
    const char* ruleHit;
    std::int32_t ruleCount;
    RuleBitRec ruleBits;  // unused, families, ろさ, ろく, ろゑ, ろあ
    int ruleDay;
    const char* signalMark;
    std::int32_t pairLine;
    std::int32_t prevSignalLine;
    const char* signalPrice;
    const char* gain;
    const char* gainPct;
    const char* turnState;
};

void ExpectJudgements(const std::vector<KagiLineRec>& lines, const std::vector<Judgement>& want) {
    const double templateDate = analysis::KagiTemplateRecord().RuleDate;
    for (std::size_t k = 0; k < want.size(); ++k) {
        SCOPED_TRACE("line " + std::to_string(k + 1));
        const KagiLineRec& line = lines[k];
        const Judgement& w = want[k];
        EXPECT_EQ(line.RuleHit, w.ruleHit);
        EXPECT_EQ(line.RuleCount, w.ruleCount);
        EXPECT_EQ(line.RuleBits, w.ruleBits);
        EXPECT_EQ(line.RuleDate, w.ruleDay == 0 ? templateDate : Jan2024(w.ruleDay));
        EXPECT_EQ(line.SignalMark, w.signalMark);
        const bool signalled = std::string(w.signalMark) == "1";
        EXPECT_EQ(line.SignalLine, signalled ? static_cast<std::int32_t>(k + 1) : 0);
        EXPECT_EQ(line.PairLine, w.pairLine);
        EXPECT_EQ(line.PrevSignalLine, w.prevSignalLine);
        EXPECT_EQ(line.SignalPrice, Money(w.signalPrice));
        EXPECT_EQ(line.SignalGain, Money(w.gain));
        EXPECT_EQ(line.SignalGainPct, Money(w.gainPct));
        EXPECT_EQ(line.TurnState, w.turnState);
    }
}

TEST_F(RuleFamilies, DaysAndLinesWithTheirFeatures) {
    Judge();
    const std::string marks = "1111011111110";
    const std::string directions = "1121121221211";
    for (std::size_t j = 0; j < days_.size(); ++j) {
        SCOPED_TRACE("day " + std::to_string(j + 1));
        EXPECT_EQ(days_[j].Marked, marks.substr(j, 1));
        EXPECT_EQ(days_[j].Direction, directions.substr(j, 1));
    }

    const struct {
        const char* direction;
        int openDay;
        const char* low;
        const char* high;
        const char* breakPrice;
        const char* length;  // 0 for the last line, which is never closed
        std::int32_t features;
    } want[] = {
        {"1", 1, "300", "340", "0", "40", 0},
        {"2", 3, "290", "340", "298", "50", 0},
        {"1", 4, "290", "450", "342", "160", O | G | HB | L | D | NH | NL},
        {"2", 6, "360", "450", "288", "90", L | NH | HL},
        {"1", 7, "360", "390", "452", "30", I | LH | HL | S4},
        {"2", 8, "350", "390", "358", "40", I | HO | LH | HL | NL | S4},
        {"1", 10, "350", "430", "392", "80", O | G | L | D | HO | NH | NL | S4},
        {"2", 11, "400", "430", "348", "30", NH | HL | S4 | S6},
        {"1", 12, "400", "440", "432", "0", HO | NH | HL | S6},
    };
    for (std::size_t k = 0; k < lines_.size(); ++k) {
        SCOPED_TRACE("line " + std::to_string(k + 1));
        const KagiLineRec& line = lines_[k];
        EXPECT_EQ(line.Direction, want[k].direction);
        EXPECT_EQ(line.KagiDate, Jan2024(want[k].openDay));
        EXPECT_EQ(line.Low, Money(want[k].low));
        EXPECT_EQ(line.High, Money(want[k].high));
        EXPECT_EQ(line.BreakPrice, Money(want[k].breakPrice));
        EXPECT_EQ(line.LineLength, Money(want[k].length));
        EXPECT_EQ(line.Features, want[k].features);
    }

    // The holes: down line 6 from the run's first low (line 4) to its own;
    // up lines 7 and 9 from their own high to the run's first (line 5).
    const struct {
        std::size_t line;
        std::int32_t holeLines;
        const char* priceA;
        const char* priceB;
        const char* ratio;  // "0.00000" of the quotient, read back to 4 places
    } holes[] = {
        {6, 2, "360", "350", "1.0286"},  // 360 / 350 = 1.028571...
        {7, 2, "430", "390", "0.907"},   // 390 / 430 = 0.906976...
        {9, 4, "440", "390", "0.8864"},  // 390 / 440 = 0.886363...
    };
    for (const auto& h : holes) {
        SCOPED_TRACE("hole on line " + std::to_string(h.line));
        const KagiLineRec& line = lines_[h.line - 1];
        EXPECT_EQ(line.HoleLines, h.holeLines);
        EXPECT_EQ(line.HolePriceA, Money(h.priceA));
        EXPECT_EQ(line.HolePriceB, Money(h.priceB));
        EXPECT_EQ(line.HoleRatio, Money(h.ratio));
    }
}

TEST_F(RuleFamilies, RokuAndRoeSellThenRoaPairsIntoABuy) {
    Judge();
    // Lines 2 and 3 broke without a rule ("0"); lines 4, 5 and 8 never broke.
    // The sell closes at the buy's price: 358 - 432, (358 / 432 - 1) x 100;
    // the buy is valued at the last close: 435 - 432, (435 / 432 - 1) x 100.
    // TurnState: line 6 has two rules; line 7's single rule turns against it
    // and leaves the state; line 9's single rule repeats line 7's direction.
    ExpectJudgements(
        lines_,
        {
            {"", 0, {}, 0, "", 0, 0, "0", "0", "0", ""},
            {"0", 0, {}, 0, "", 0, 0, "0", "0", "0", ""},
            {"0", 0, {}, 0, "", 0, 0, "0", "0", "0", ""},
            {"", 0, {}, 0, "", 0, 0, "0", "0", "0", ""},
            {"", 0, {}, 0, "", 0, 0, "0", "0", "0", ""},
            {"1", 2, {0, kRoku | kRoe, 0, analysis::kRule2, analysis::kRule4, 0}, 9, "1", 0, 0, "358", "-74",
             "-17.1296", "2"},
            {"1", 1, {0, kRoa, 0, 0, 0, analysis::kRule1}, 10, "", 0, 0, "0", "0", "0", "2"},
            {"", 0, {}, 0, "", 0, 0, "0", "0", "0", "2"},
            {"1", 1, {0, kRoku, 0, analysis::kRule1, 0, 0}, 12, "1", 7, 6, "432", "3", "0.6944", "1"},
        });
}

// Without ろあ一, line 7 fires nothing, so line 9's lone ろく一 turns against
// the last rule line (6) and gives no signal: the sell stays open to the last
// close, 358 - 435, (358 / 435 - 1) x 100, and the state stays "2".
TEST_F(RuleFamilies, IgnoringRoaOneLeavesTheSellOpen) {
    SetKesen("EnvRoaIg1", "1");
    Judge();
    ExpectJudgements(
        lines_,
        {
            {"", 0, {}, 0, "", 0, 0, "0", "0", "0", ""},
            {"0", 0, {}, 0, "", 0, 0, "0", "0", "0", ""},
            {"0", 0, {}, 0, "", 0, 0, "0", "0", "0", ""},
            {"", 0, {}, 0, "", 0, 0, "0", "0", "0", ""},
            {"", 0, {}, 0, "", 0, 0, "0", "0", "0", ""},
            {"1", 2, {0, kRoku | kRoe, 0, analysis::kRule2, analysis::kRule4, 0}, 9, "1", 0, 0, "358", "-77",
             "-17.7011", "2"},
            {"0", 0, {}, 0, "", 0, 0, "0", "0", "0", "2"},
            {"", 0, {}, 0, "", 0, 0, "0", "0", "0", "2"},
            {"1", 1, {0, kRoku, 0, analysis::kRule1, 0, 0}, 12, "", 0, 0, "0", "0", "0", "2"},
        });
}

}  // namespace
