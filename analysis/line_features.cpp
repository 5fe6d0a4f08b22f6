#include "analysis/line_features.h"

#include "analysis/line_access.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>

#include "platform/number_format.h"
#include "platform/numeric_text.h"

namespace analysis {

namespace {

using platform::Currency;

bool HasFeature(std::span<const KagiLineRec> lines, std::int32_t k, std::int32_t bit) {
    return (LineAt(lines, k).Features & bit) != 0;
}

// True when `holds(line i, line k)` for every same-direction line k: i-2,
// i-4, ... down to and including max(i - EnvRange, 1). No such line: true.
template <typename Holds>
bool AgainstSameDirection(const KesenParamSet& params, std::span<const KagiLineRec> lines, std::int32_t i,
                          Holds holds) {
    const std::int32_t last = std::max(i - params.Range, 1);
    for (std::int32_t k = i - 2; k >= last; k -= 2) {
        if (!holds(LineAt(lines, i), LineAt(lines, k))) return false;
    }
    return true;
}

// Rounds by the pattern's text and reads the text back, as the hole fields
// are stored.
template <typename Value>
Currency RoundedByFormat(const Value& value, const char* pattern) {
    return platform::ParseCurrency(platform::FormatNumber(value, pattern)).value();
}

// A whole amount is its own rounding to whole units; only a fraction needs
// the formatter, which is slow beside the rest of the hole search.
Currency RoundedToWhole(const Currency& value) {
    return value.raw() % Currency::kScale == 0 ? value : RoundedByFormat(value, "0");
}

// |value| x 10^5 rounded half to even on the exact binary value, as the
// formatter rounds a double to five decimals. `magnitude` is below 2^53.
std::int64_t HundredThousandths(double magnitude) {
    int exponent = 0;
    const double fraction = std::frexp(magnitude, &exponent);
    // magnitude == mantissa / 2^shift exactly, the mantissa below 2^53.
    const auto mantissa = static_cast<std::uint64_t>(std::ldexp(fraction, std::numeric_limits<double>::digits));
    const int shift = std::numeric_limits<double>::digits - exponent;
    const unsigned __int128 scaled = static_cast<unsigned __int128>(mantissa) * 100000;
    // Below 2^70, so past a shift of 70 it is less than half of one unit.
    if (shift > 70) return 0;
    const unsigned __int128 quotient = scaled >> shift;
    const unsigned __int128 remainder = scaled - (quotient << shift);
    const unsigned __int128 half = static_cast<unsigned __int128>(1) << (shift - 1);
    const bool up = remainder > half || (remainder == half && (quotient & 1) != 0);
    return static_cast<std::int64_t>(quotient) + (up ? 1 : 0);
}

// The ratio as the hole fields store it: formatted to five decimals and that
// text read back into a Currency, which rounds the fifth decimal half to
// even. A hole is found every few lines, so both roundings are done on the
// number here; a ratio too large for that (or not finite) goes through the
// formatter and its errors.
Currency StoredHoleRatio(double ratio) {
    constexpr double kDirectLimit = 1e9;
    if (!(std::fabs(ratio) < kDirectLimit)) return RoundedByFormat(ratio, "0.00000");
    const std::int64_t units = HundredThousandths(std::fabs(ratio));
    return Currency::FromRawRatio(ratio < 0 ? -units : units, 10);
}

// The hole search on the prices of one side: the lows for a down line, the
// highs for an up line. `below(x, y)` is "x < y" on the lows and "x > y" on
// the highs, so one walk serves both directions.
struct HoleFound {
    std::int32_t holeLines = 0;
    std::int32_t runStart = 0;  // a, the first line of the run ending at i
};

template <typename Price, typename Below>
std::optional<HoleFound> FindHole(std::span<const KagiLineRec> lines, std::int32_t i, Price price, Below below) {
    const auto at = [&](std::int32_t k) { return price(LineAt(lines, k)); };
    if (!below(at(i), at(i - 2))) return std::nullopt;

    std::int32_t a = i;
    while (a >= 3 && !below(at(a - 2), at(a))) a -= 2;

    std::int32_t g = 0;
    for (std::int32_t m = a; m > 1; m -= 2) {
        if (below(at(m), at(m - 1))) break;
        g = m - 1;
        if (below(at(m - 1), at(i - 1)) && !below(at(i), at(m - 1))) break;
    }
    if (g == 0 || !below(at(g), at(i))) return std::nullopt;
    return HoleFound{i - g - 1, a};
}

}  // namespace

std::int32_t InsideLine(const KesenParamSet&, std::span<const KagiLineRec> lines, std::int32_t i) {
    if (i < 3) return 0;
    const KagiLineRec& now = LineAt(lines, i);
    const KagiLineRec& before = LineAt(lines, i - 2);
    const bool inside = (now.Low >= before.Low && now.High < before.High) ||
                        (now.Low > before.Low && now.High <= before.High);
    return inside ? kInsideLine : 0;
}

std::int32_t OuterLine(const KesenParamSet&, std::span<const KagiLineRec> lines, std::int32_t i) {
    if (i < 3) return 0;
    const KagiLineRec& now = LineAt(lines, i);
    const KagiLineRec& before = LineAt(lines, i - 2);
    const bool outer = (now.Low <= before.Low && now.High > before.High) ||
                       (now.Low < before.Low && now.High >= before.High);
    return outer ? kOuterLine : 0;
}

std::int32_t GapLine(const KesenParamSet&, std::span<const KagiLineRec> lines, std::int32_t i) {
    if (i < 3) return 0;
    const KagiLineRec& now = LineAt(lines, i);
    const KagiLineRec& before = LineAt(lines, i - 2);
    const bool gap = now.Low <= before.Low ? now.High < before.Low : now.Low > before.High;
    return gap ? kGapLine : 0;
}

std::int32_t HalfBack(const KesenParamSet& params, std::span<const KagiLineRec> lines, std::int32_t i) {
    if (i < 2 || !HasFeature(lines, i - 1, kGapLine)) return 0;
    return LineLength(lines, i) >= LineLength(lines, i - 1) * params.HnnRatio ? kHalfBack : 0;
}

std::int32_t GoAndBack(const KesenParamSet& params, std::span<const KagiLineRec> lines, std::int32_t i) {
    if (i < 2 || !HasFeature(lines, i - 1, kLongLine)) return 0;
    const Currency previous = LineLength(lines, i - 1);
    const Currency length = LineLength(lines, i);
    return previous * params.IkoRatio <= length && length < previous ? kGoAndBack : 0;
}

std::int32_t LongLine(const KesenParamSet& params, std::span<const KagiLineRec> lines, std::int32_t i) {
    if (i < 1) return 0;
    const KagiLineRec& line = LineAt(lines, i);
    const Currency length = LineLength(lines, i);
    const Currency base = IsUp(line) ? line.Low : line.High;
    if (length < base * params.TdaiFactor) return 0;
    // Earlier lines are closed: their stored length is the one to beat.
    const std::int32_t last = std::max(i - params.IkoRng, 1);
    for (std::int32_t k = i - 1; k >= last; --k) {
        if (length < LineAt(lines, k).LengthWork) return 0;
    }
    return kLongLine;
}

std::int32_t DominantLine(const KesenParamSet&, std::span<const KagiLineRec> lines, std::int32_t i) {
    if (i < 3 || !HasFeature(lines, i - 1, kLongLine)) return 0;
    return LineLength(lines, i - 2) + LineLength(lines, i) < LineLength(lines, i - 1) ? kDominantLine : 0;
}

std::int32_t NewHigh(const KesenParamSet& params, std::span<const KagiLineRec> lines, std::int32_t i) {
    if (i < 3) return 0;
    const auto holds = [](const KagiLineRec& now, const KagiLineRec& k) { return now.High > k.High; };
    return AgainstSameDirection(params, lines, i, holds) ? kNewHigh : 0;
}

std::int32_t LowerHigh(const KesenParamSet& params, std::span<const KagiLineRec> lines, std::int32_t i) {
    if (i < 3) return 0;
    const auto holds = [](const KagiLineRec& now, const KagiLineRec& k) { return now.High < k.High; };
    return AgainstSameDirection(params, lines, i, holds) ? kLowerHigh : 0;
}

std::int32_t HigherLow(const KesenParamSet& params, std::span<const KagiLineRec> lines, std::int32_t i) {
    if (i < 3) return 0;
    const auto holds = [](const KagiLineRec& now, const KagiLineRec& k) { return now.Low > k.Low; };
    return AgainstSameDirection(params, lines, i, holds) ? kHigherLow : 0;
}

std::int32_t NewLow(const KesenParamSet& params, std::span<const KagiLineRec> lines, std::int32_t i) {
    if (i < 3) return 0;
    const auto holds = [](const KagiLineRec& now, const KagiLineRec& k) { return now.Low < k.Low; };
    return AgainstSameDirection(params, lines, i, holds) ? kNewLow : 0;
}

std::int32_t ShortVs4(const KesenParamSet&, std::span<const KagiLineRec> lines, std::int32_t i) {
    if (i < 5) return 0;
    return LineLength(lines, i) < LineLength(lines, i - 4) ? kShortVs4 : 0;
}

std::int32_t ShortVs6(const KesenParamSet&, std::span<const KagiLineRec> lines, std::int32_t i) {
    if (i < 7) return 0;
    return LineLength(lines, i) < LineLength(lines, i - 6) ? kShortVs6 : 0;
}

std::int32_t HoleLine(const KesenParamSet& params, std::span<KagiLineRec> lines, std::int32_t i) {
    if (i < 4) return 0;
    const std::span<const KagiLineRec> view = lines;
    KagiLineRec& line = lines[i - 1];
    const bool up = IsUp(line);
    const std::optional<HoleFound> hole =
        up ? FindHole(view, i, [](const KagiLineRec& r) { return r.High; },
                      [](const Currency& x, const Currency& y) { return x > y; })
           : FindHole(view, i, [](const KagiLineRec& r) { return r.Low; },
                      [](const Currency& x, const Currency& y) { return x < y; });
    if (!hole || hole->holeLines < params.AnaMin || hole->holeLines > params.AnaMax) return 0;

    const Currency first = up ? LineAt(view, hole->runStart).High : LineAt(view, hole->runStart).Low;
    const Currency last = up ? line.High : line.Low;
    line.HoleLines = hole->holeLines;
    line.HolePriceA = RoundedToWhole(up ? last : first);
    line.HolePriceB = RoundedToWhole(up ? first : last);
    // The quotient is taken in double precision: the stored ratio is rounded twice.
    line.HoleRatio = StoredHoleRatio(first.ToDouble() / last.ToDouble());
    line.HoleExtra = {};
    return kHoleLine;
}

void EvaluateLineFeatures(const KesenParamSet& params, std::span<KagiLineRec> lines, std::int32_t i) {
    const auto orInto = [&](std::int32_t k, std::int32_t bit) {
        if (bit != 0) lines[k - 1].Features |= bit;
    };
    orInto(i, InsideLine(params, lines, i));
    orInto(i, OuterLine(params, lines, i));
    orInto(i - 1, GapLine(params, lines, i));
    orInto(i - 1, HalfBack(params, lines, i));
    orInto(i, GoAndBack(params, lines, i));
    orInto(i, LongLine(params, lines, i));
    orInto(i - 1, DominantLine(params, lines, i));
    orInto(i, NewHigh(params, lines, i));
    orInto(i, LowerHigh(params, lines, i));
    orInto(i, HigherLow(params, lines, i));
    orInto(i, NewLow(params, lines, i));
    orInto(i, HoleLine(params, lines, i));
    orInto(i, ShortVs4(params, lines, i));
    orInto(i, ShortVs6(params, lines, i));
}

}  // namespace analysis
