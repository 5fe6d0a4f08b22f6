#pragma once
#include <array>
#include <cstdint>
#include <span>

#include "analysis/kagi_line_rec.h"
#include "analysis/kesen_params.h"
#include "platform/currency.h"

namespace analysis {

// The six Longs of `KagiLineRec::RuleBits`.
using RuleBitRec = std::array<std::int32_t, 6>;

// The signal state of one stock's judgement run; it lives for that run only.
struct SignalState {
    std::int32_t lastRuleLine = 0;    // the line the rules last fired on
    KagiFlag lastRuleDirection;       // its direction
    KagiFlag signalDirection;         // the yin/yang state: "1" buy, "2" sell, empty
                                      // before any signal
    std::int32_t lastSignalLine = 0;  // 0 before the first signal
};

// Line i (i >= 2) has reached its BreakPrice: a down line with its Low, an up
// line with its High.
bool IsLineBroken(const KesenParamSet& params, std::span<const KagiLineRec> lines, std::int32_t i);

// At least two rules in `bits`: with `change` above 0 the families are
// counted (two rules of one family count one), else the single rules.
bool IsTurnConfirmed(std::int32_t change, const RuleBitRec& bits);

// ORs the family bits and the four family words of `source` into `target`.
void MergeRuleBits(const RuleBitRec& source, RuleBitRec& target);

// Sets the signal's gain, and its percentage of the price paid, when line
// `signal` is closed at `price`. A divisor of 0 or less leaves the percentage
// 0.
void PriceSignalGain(const platform::Currency& price, KagiLineRec& signal);

// Records a signal on line i at day serial `date`, closing the previous signal
// at this one's price. The caller sets SignalLine and PairLine.
void RecordSignal(std::int32_t i, SignalState& state, double date, std::span<KagiLineRec> lines);

// Turns the rule hits of line i into a signal, a "2" mark or nothing, and
// makes line i the last rule line when it has hits.
void DecideSignal(const KesenParamSet& params, std::span<KagiLineRec> lines, std::int32_t i, double date,
                  SignalState& state);

// One marked day after the line builder has extended or opened current line
// i: its features, then on a break-through its rules, then the signal decision.
void JudgeMarkedDay(const KesenParamSet& params, std::span<KagiLineRec> lines, std::int32_t i, double date,
                    SignalState& state);

// After the last day: values the open signal at the closing price and writes
// the yin/yang state into every line.
void CloseJudgement(const platform::Currency& closingPrice, std::span<KagiLineRec> lines, const SignalState& state);

}  // namespace analysis
