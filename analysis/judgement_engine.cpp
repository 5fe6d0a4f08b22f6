#include "analysis/judgement_engine.h"

#include <bit>
#include <cstdint>

#include "analysis/chart_line_rules.h"
#include "analysis/line_access.h"
#include "analysis/line_features.h"

namespace analysis {

namespace {

using platform::Currency;

constexpr char kSignalled = '1';
constexpr char kSameWay = '2';
constexpr char kRuleHit = '1';

struct FamilyRules {
    std::size_t word;
    std::uint32_t ruleMask;  // the bits of the family's rules; others are not counted
};

constexpr FamilyRules kFamilies[] = {
    {kRuleBitsRosa, kRule1 | kRule2 | kRule3 | kRule4 | kRule5},
    {kRuleBitsRoku, kRule1 | kRule2 | kRule3},
    {kRuleBitsRoe, kRule1 | kRule2 | kRule3 | kRule4 | kRule5 | kRule6},
    {kRuleBitsRoa, kRule1 | kRule2 | kRule3},
};

// Records a signal on line i when the merged rule bits confirm the turn.
void SignalWhenConfirmed(const KesenParamSet& params, const RuleBitRec& merged, std::span<KagiLineRec> lines,
                         std::int32_t i, std::int32_t pairLine, double date, SignalState& state) {
    if (!IsTurnConfirmed(params.Change, merged)) return;
    RecordSignal(i, state, date, lines);
    KagiLineRec& line = lines[i - 1];
    line.SignalLine = i;
    line.PairLine = pairLine;
}

}  // namespace

bool IsLineBroken(const KesenParamSet&, std::span<const KagiLineRec> lines, std::int32_t i) {
    if (i < 2) return false;
    const KagiLineRec& line = LineAt(lines, i);
    return IsUp(line) ? line.High >= line.BreakPrice : line.Low <= line.BreakPrice;
}

bool IsTurnConfirmed(std::int32_t change, const RuleBitRec& bits) {
    int count = 0;
    for (const FamilyRules& family : kFamilies) {
        const std::int32_t word = bits[family.word];
        if (change > 0)
            count += word > 0 ? 1 : 0;
        else
            count += std::popcount(static_cast<std::uint32_t>(word) & family.ruleMask);
    }
    return count >= 2;
}

void MergeRuleBits(const RuleBitRec& source, RuleBitRec& target) {
    for (std::size_t w = kRuleBitsFamilies; w <= kRuleBitsRoa; ++w) target[w] |= source[w];
}

void PriceSignalGain(const Currency& price, KagiLineRec& signal) {
    const Currency paid = signal.SignalPrice;
    // A sell gains when the price falls, a buy when it rises.
    const Currency& sold = IsUp(signal) ? price : paid;
    const Currency& bought = IsUp(signal) ? paid : price;
    signal.SignalGain = sold - bought;
    // A BreakPrice can be 0 or below when the tick exceeds the previous low.
    if (bought <= Currency()) {
        signal.SignalGainPct = Currency();
        return;
    }
    // The scale of both raws cancels in the quotient.
    const double ratio = static_cast<double>(sold.raw()) / static_cast<double>(bought.raw());
    signal.SignalGainPct = Currency::FromDouble((ratio - 1) * 100);
}

void RecordSignal(std::int32_t i, SignalState& state, double date, std::span<KagiLineRec> lines) {
    KagiLineRec& line = lines[i - 1];
    line.SignalMark = KagiFlag(kSignalled);
    state.signalDirection = line.Direction;
    line.RuleDate = date;
    line.SignalPrice = line.BreakPrice;
    if (state.lastSignalLine > 0) PriceSignalGain(line.SignalPrice, lines[state.lastSignalLine - 1]);
    line.PrevSignalLine = state.lastSignalLine;
    state.lastSignalLine = i;
}

void DecideSignal(const KesenParamSet& params, std::span<KagiLineRec> lines, std::int32_t i, double date,
                  SignalState& state) {
    if (i < 2) return;
    KagiLineRec& line = lines[i - 1];
    if (line.SignalMark.Is(kSignalled) || !line.RuleHit.Is(kRuleHit)) return;
    const KagiFlag direction = line.Direction;
    const bool withSignal = direction == state.signalDirection;
    if (direction != state.lastRuleDirection) {
        // A turn against the last rule line needs more than one rule on this line.
        if (line.RuleCount > 1) {
            if (withSignal) {
                line.SignalMark = KagiFlag(kSameWay);
            } else {
                RuleBitRec merged{};
                MergeRuleBits(line.RuleBits, merged);
                SignalWhenConfirmed(params, merged, lines, i, 0, date, state);
            }
        }
    } else if (withSignal) {
        line.SignalMark = KagiFlag(kSameWay);
    } else {
        // The last rule line may be line i itself, from an earlier day.
        RuleBitRec merged{};
        MergeRuleBits(lines[state.lastRuleLine - 1].RuleBits, merged);
        MergeRuleBits(line.RuleBits, merged);
        SignalWhenConfirmed(params, merged, lines, i, state.lastRuleLine, date, state);
    }
    // Also when a single rule gave nothing: the next rules in this direction
    // pair with this line.
    state.lastRuleLine = i;
    state.lastRuleDirection = direction;
}

void JudgeMarkedDay(const KesenParamSet& params, std::span<KagiLineRec> lines, std::int32_t i, double date,
                    SignalState& state) {
    EvaluateLineFeatures(params, lines, i);
    if (IsLineBroken(params, lines, i) && EvaluateChartLineRules(params, lines, i) > 0) lines[i - 1].RuleDate = date;
    DecideSignal(params, lines, i, date, state);
}

void CloseJudgement(const Currency& closingPrice, std::span<KagiLineRec> lines, const SignalState& state) {
    if (state.lastSignalLine > 0) PriceSignalGain(closingPrice, lines[state.lastSignalLine - 1]);
    // A single rule sets the state only when it repeats the last rule
    // direction; two or more rules set it outright.
    KagiFlag turn;
    KagiFlag lastRuleDirection;
    for (KagiLineRec& line : lines) {
        if (line.RuleCount > 0) {
            if (line.RuleCount >= 2 || lastRuleDirection == line.Direction) turn = line.Direction;
            lastRuleDirection = line.Direction;
        }
        line.TurnState = turn;
    }
}

}  // namespace analysis
