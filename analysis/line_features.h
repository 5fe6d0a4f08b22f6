#pragma once
#include <cstdint>
#include <span>

#include "analysis/kagi_line_rec.h"
#include "analysis/kesen_params.h"

namespace analysis {

// Bits of `KagiLineRec::Features`: shapes of a line measured against the lines
// before it.
inline constexpr std::int32_t kInsideLine = 8192;
inline constexpr std::int32_t kOuterLine = 4096;
inline constexpr std::int32_t kGapLine = 2048;
inline constexpr std::int32_t kHalfBack = 1024;
inline constexpr std::int32_t kGoAndBack = 512;
inline constexpr std::int32_t kLongLine = 256;
inline constexpr std::int32_t kDominantLine = 128;
inline constexpr std::int32_t kHoleLine = 64;
inline constexpr std::int32_t kNewHigh = 32;
inline constexpr std::int32_t kLowerHigh = 16;
inline constexpr std::int32_t kHigherLow = 8;
inline constexpr std::int32_t kNewLow = 4;
inline constexpr std::int32_t kShortVs4 = 2;
inline constexpr std::int32_t kShortVs6 = 1;

// The detectors. `lines` holds lines 1 to at least i (line k at lines[k - 1]);
// i is the current line. Each returns its bit or 0, and 0 when i is below the
// least line number it is defined for. The caller ORs the bit into line i,
// except for GapLine, HalfBack and DominantLine, whose bit belongs to line i-1.
// A line's length is High - Low; an up line has Direction "1", any other is
// taken as down.

// Line i lies within line i-2 (one common end allowed).
std::int32_t InsideLine(const KesenParamSet& params, std::span<const KagiLineRec> lines, std::int32_t i);
// Line i covers line i-2 and reaches past it (one common end allowed).
std::int32_t OuterLine(const KesenParamSet& params, std::span<const KagiLineRec> lines, std::int32_t i);
// Lines i and i-2 share no price (for line i-1).
std::int32_t GapLine(const KesenParamSet& params, std::span<const KagiLineRec> lines, std::int32_t i);
// Line i-1 has GapLine and line i retraces at least the half-back share of it
// (for line i-1).
std::int32_t HalfBack(const KesenParamSet& params, std::span<const KagiLineRec> lines, std::int32_t i);
// Line i-1 has LongLine and line i retraces at least the go-and-back share
// of it without passing its start.
std::int32_t GoAndBack(const KesenParamSet& params, std::span<const KagiLineRec> lines, std::int32_t i);
// Line i spans at least EnvTdai percent of its start price and is at least as
// long as the closed `LengthWork` of the EnvIkoRng lines before it.
std::int32_t LongLine(const KesenParamSet& params, std::span<const KagiLineRec> lines, std::int32_t i);
// Line i-1 has LongLine and is longer than lines i-2 and i together (for
// line i-1).
std::int32_t DominantLine(const KesenParamSet& params, std::span<const KagiLineRec> lines, std::int32_t i);
// The four new-value bits compare line i with the same-direction lines i-2,
// i-4, ... down to max(i - EnvRange, 1); with none of them the bit is set.
std::int32_t NewHigh(const KesenParamSet& params, std::span<const KagiLineRec> lines, std::int32_t i);
std::int32_t LowerHigh(const KesenParamSet& params, std::span<const KagiLineRec> lines, std::int32_t i);
std::int32_t HigherLow(const KesenParamSet& params, std::span<const KagiLineRec> lines, std::int32_t i);
std::int32_t NewLow(const KesenParamSet& params, std::span<const KagiLineRec> lines, std::int32_t i);
std::int32_t ShortVs4(const KesenParamSet& params, std::span<const KagiLineRec> lines, std::int32_t i);
std::int32_t ShortVs6(const KesenParamSet& params, std::span<const KagiLineRec> lines, std::int32_t i);

// The hole search on line i. When it returns the bit, it has stored line i's
// hole fields: HoleLines, the two hole prices in whole units, the ratio of
// the run's first end to line i's end (five decimals, then read back into a
// Currency) and 0 in HoleExtra. A hole whose line count lies outside
// EnvAnaMin..EnvAnaMax gives 0 and leaves the fields as they were.
std::int32_t HoleLine(const KesenParamSet& params, std::span<KagiLineRec> lines, std::int32_t i);

// Runs the fourteen detectors for current line i in the judgement's order and
// ORs each bit into the line it belongs to. HalfBack sees the GapLine bit just
// set; GoAndBack and DominantLine see LongLine of line i-1 as set while it was
// current.
void EvaluateLineFeatures(const KesenParamSet& params, std::span<KagiLineRec> lines, std::int32_t i);

}  // namespace analysis
