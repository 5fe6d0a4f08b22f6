#include "analysis/chart_line_rules.h"

#include "analysis/line_access.h"

#include <cstddef>
#include <initializer_list>

#include "analysis/line_features.h"

namespace analysis {

namespace {

using platform::Currency;
using Lines = std::span<const KagiLineRec>;

bool Has(Lines lines, std::int32_t k, std::int32_t bits) { return (LineAt(lines, k).Features & bits) == bits; }

bool Lacks(Lines lines, std::int32_t k, std::int32_t bit) { return (LineAt(lines, k).Features & bit) == 0; }

// The down form reads the highs and the bits of rising peaks; an up line reads
// the mirror, so each rule is written once.
struct Side {
    bool up = false;
    std::int32_t newExtreme = kNewHigh;       // NewHigh, NewLow
    std::int32_t shortOfExtreme = kLowerHigh;  // LowerHigh, HigherLow
    std::int32_t risingBase = kHigherLow;      // HigherLow, LowerHigh

    Currency Extreme(const KagiLineRec& line) const { return up ? line.Low : line.High; }
    // a reaches at least as far as b: a >= b on the highs, a <= b on the lows.
    bool AtLeast(const Currency& a, const Currency& b) const { return up ? a <= b : a >= b; }
};

Side SideOf(Lines lines, std::int32_t i) {
    if (!IsUp(LineAt(lines, i))) return Side{};
    return Side{true, kNewLow, kHigherLow, kLowerHigh};
}

// |a - b| <= length(k) x R: the three mountains' width around line k.
bool WithinPeakWidth(const KesenParamSet& params, Lines lines, const Currency& a, const Currency& b, std::int32_t k) {
    const Currency distance = a >= b ? a - b : b - a;
    return distance <= LineLength(lines, k) * params.RoeRatio;
}

constexpr std::int32_t kDominantOuterGap = kDominantLine | kOuterLine | kGapLine;

// Lines i-2, i-4, i-6, i-8 have `bit`; lines i-3, i-5, i-7, i-9 lack GapLine.
bool FourStepsWithoutGap(Lines lines, std::int32_t i, std::int32_t bit) {
    for (const std::int32_t n : {2, 4, 6, 8}) {
        if (!Has(lines, i - n, bit) || !Lacks(lines, i - n - 1, kGapLine)) return false;
    }
    return true;
}

}  // namespace

std::int32_t Rosa1(const KesenParamSet&, Lines lines, std::int32_t i) {
    if (i < 4) return 0;
    return Has(lines, i - 3, kInsideLine) && Has(lines, i - 1, kOuterLine) ? kRule1 : 0;
}

std::int32_t Rosa2(const KesenParamSet&, Lines lines, std::int32_t i) {
    if (i < 10) return 0;
    const bool fires = Has(lines, i - 1, kInsideLine) && Has(lines, i - 5, kInsideLine) &&
                       Has(lines, i - 9, kInsideLine) && Has(lines, i - 3, kOuterLine) &&
                       Has(lines, i - 7, kOuterLine);
    return fires ? kRule2 : 0;
}

std::int32_t Rosa3(const KesenParamSet&, Lines lines, std::int32_t i) {
    if (i < 6) return 0;
    const Side side = SideOf(lines, i);
    for (const std::int32_t k : {i - 5, i - 3, i - 1}) {
        if (!Has(lines, k, side.newExtreme) || !Lacks(lines, k, kGapLine)) return 0;
    }
    return kRule3;
}

std::int32_t Rosa4(const KesenParamSet&, Lines lines, std::int32_t i) {
    if (i < 10) return 0;
    return FourStepsWithoutGap(lines, i, SideOf(lines, i).risingBase) ? kRule4 : 0;
}

std::int32_t Rosa5(const KesenParamSet&, Lines lines, std::int32_t i) {
    if (i < 10) return 0;
    return FourStepsWithoutGap(lines, i, SideOf(lines, i).newExtreme) ? kRule5 : 0;
}

std::int32_t Roku1(const KesenParamSet&, Lines lines, std::int32_t i) {
    if (i < 3) return 0;
    return Has(lines, i - 2, kGapLine) ? kRule1 : 0;
}

std::int32_t Roku2(const KesenParamSet&, Lines lines, std::int32_t i) {
    if (i < 4) return 0;
    return Has(lines, i - 3, kHalfBack) ? kRule2 : 0;
}

std::int32_t Roku3(const KesenParamSet&, Lines lines, std::int32_t i) {
    if (i < 3) return 0;
    return Has(lines, i - 2, kGoAndBack) && Has(lines, i - 1, kInsideLine) ? kRule3 : 0;
}

std::int32_t Roe1(const KesenParamSet& params, Lines lines, std::int32_t i) {
    if (i < 6) return 0;
    const Side side = SideOf(lines, i);
    // For an up line Low(i) and Low(i-1) are the same price; the up form reads
    // line i-1.
    const Currency peak = side.Extreme(LineAt(lines, side.up ? i - 1 : i));
    // The count includes line k itself: lines i-1, i-3, i-5 count 1, 2, 3, so
    // line i-5 is the first that can be the earlier dominant peak.
    std::int32_t count = 0;
    for (std::int32_t k = i - 1; k >= 1; k -= 2) {
        if (!Has(lines, k, side.newExtreme)) return 0;
        ++count;
        if (count >= 3 && k > 2 && Has(lines, k, kGapLine | kDominantLine) &&
            WithinPeakWidth(params, lines, peak, side.Extreme(LineAt(lines, k)), k)) {
            return kRule1;
        }
    }
    return 0;
}

std::int32_t Roe2(const KesenParamSet& params, Lines lines, std::int32_t i) {
    if (i < 6) return 0;
    const Side side = SideOf(lines, i);
    const Currency last = side.Extreme(LineAt(lines, i - 1));
    const Currency middle = side.Extreme(LineAt(lines, i - 3));
    const Currency first = side.Extreme(LineAt(lines, i - 5));
    if (!Has(lines, i - 5, kDominantLine | kGapLine) || !Has(lines, i - 3, side.newExtreme) ||
        !Lacks(lines, i - 3, kGapLine) || !Lacks(lines, i - 2, kGapLine) || !Has(lines, i - 1, side.shortOfExtreme) ||
        side.AtLeast(last, first)) {
        return 0;
    }
    const Currency nearer = side.AtLeast(last, middle) ? last : middle;
    return WithinPeakWidth(params, lines, nearer, first, i - 5) ? kRule2 : 0;
}

std::int32_t Roe3(const KesenParamSet&, Lines lines, std::int32_t i) {
    if (i < 6) return 0;
    const Side side = SideOf(lines, i);
    return Has(lines, i - 3, kDominantOuterGap) && Has(lines, i - 1, kShortVs4 | side.newExtreme) ? kRule3 : 0;
}

std::int32_t Roe4(const KesenParamSet&, Lines lines, std::int32_t i) {
    if (i < 6) return 0;
    return Has(lines, i - 3, kDominantOuterGap) && Has(lines, i - 1, kInsideLine | kShortVs4) ? kRule4 : 0;
}

std::int32_t Roe5(const KesenParamSet& params, Lines lines, std::int32_t i) {
    if (i < 7) return 0;
    if (!Has(lines, i - 5, kDominantOuterGap) || !Has(lines, i - 3, kGapLine)) return 0;
    const Side side = SideOf(lines, i);
    const std::int32_t e = side.AtLeast(side.Extreme(LineAt(lines, i - 1)), side.Extreme(LineAt(lines, i))) ? i - 1 : i - 3;
    const bool near =
        WithinPeakWidth(params, lines, side.Extreme(LineAt(lines, e)), side.Extreme(LineAt(lines, i - 5)), i - 5);
    return near ? kRule5 : 0;
}

std::int32_t Roe6(const KesenParamSet&, Lines lines, std::int32_t i) {
    if (i < 8) return 0;
    const Side side = SideOf(lines, i);
    const bool fires = Has(lines, i - 5, kDominantOuterGap) && Lacks(lines, i - 3, kGapLine) &&
                       Has(lines, i - 3, side.newExtreme) && Has(lines, i - 1, kInsideLine | kShortVs6);
    return fires ? kRule6 : 0;
}

std::int32_t Roa1(const KesenParamSet&, Lines lines, std::int32_t i) {
    if (i < 5) return 0;
    return Has(lines, i - 1, kHoleLine) ? kRule1 : 0;
}

std::int32_t Roa2(const KesenParamSet&, Lines lines, std::int32_t i) {
    if (i < 7) return 0;
    return Has(lines, i - 3, kHoleLine) && Has(lines, i - 1, SideOf(lines, i).newExtreme) ? kRule2 : 0;
}

std::int32_t Roa3(const KesenParamSet&, Lines lines, std::int32_t i) {
    if (i < 8) return 0;
    const bool fires = Has(lines, i - 3, kHoleLine) && Has(lines, i - 1, kInsideLine) &&
                       Has(lines, i - 7, SideOf(lines, i).shortOfExtreme);
    return fires ? kRule3 : 0;
}

namespace {

struct RuleEntry {
    std::int32_t (*fire)(const KesenParamSet&, Lines, std::int32_t);
    std::size_t familyWord;
    std::int32_t familyBit;
    std::int32_t KesenParamSet::*skipSwitch;  // the rule is skipped when this is 1
};

// The judgement's order.
constexpr RuleEntry kRules[] = {
    {Rosa1, kRuleBitsRosa, kFamilyRosa, nullptr},
    {Rosa2, kRuleBitsRosa, kFamilyRosa, nullptr},
    {Rosa3, kRuleBitsRosa, kFamilyRosa, nullptr},
    {Rosa4, kRuleBitsRosa, kFamilyRosa, nullptr},
    {Rosa5, kRuleBitsRosa, kFamilyRosa, nullptr},
    {Roku1, kRuleBitsRoku, kFamilyRoku, nullptr},
    {Roku2, kRuleBitsRoku, kFamilyRoku, nullptr},
    {Roku3, kRuleBitsRoku, kFamilyRoku, nullptr},
    {Roe1, kRuleBitsRoe, kFamilyRoe, nullptr},
    {Roe2, kRuleBitsRoe, kFamilyRoe, nullptr},
    {Roe3, kRuleBitsRoe, kFamilyRoe, nullptr},
    {Roe4, kRuleBitsRoe, kFamilyRoe, nullptr},
    {Roe5, kRuleBitsRoe, kFamilyRoe, nullptr},
    {Roe6, kRuleBitsRoe, kFamilyRoe, nullptr},
    {Roa1, kRuleBitsRoa, kFamilyRoa, &KesenParamSet::RoaIg1},
    {Roa2, kRuleBitsRoa, kFamilyRoa, &KesenParamSet::RoaIg2},
    {Roa3, kRuleBitsRoa, kFamilyRoa, &KesenParamSet::RoaIg3},
};

}  // namespace

std::int32_t EvaluateChartLineRules(const KesenParamSet& params, std::span<KagiLineRec> lines, std::int32_t i) {
    KagiLineRec& line = lines[i - 1];
    line.RuleHit = KagiFlag('0');
    line.RuleCount = 0;
    for (const RuleEntry& rule : kRules) {
        if (rule.skipSwitch != nullptr && params.*rule.skipSwitch == 1) continue;
        const std::int32_t bit = rule.fire(params, lines, i);
        if (bit == 0) continue;
        line.RuleHit = KagiFlag('1');
        ++line.RuleCount;
        line.RuleBits[kRuleBitsFamilies] |= rule.familyBit;
        line.RuleBits[rule.familyWord] |= bit;
    }
    return line.RuleCount;
}

}  // namespace analysis
