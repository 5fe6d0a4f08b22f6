#pragma once
#include <cstdint>
#include <span>

#include "analysis/kagi_line_rec.h"
#include "analysis/kesen_params.h"

namespace analysis {

// Rule bits within a family's word of `KagiLineRec::RuleBits`.
inline constexpr std::int32_t kRule1 = 512;  // 一
inline constexpr std::int32_t kRule2 = 256;  // 二
inline constexpr std::int32_t kRule3 = 128;  // 三
inline constexpr std::int32_t kRule4 = 64;   // 四
inline constexpr std::int32_t kRule5 = 32;   // 五
inline constexpr std::int32_t kRule6 = 16;   // 六

// The chart-line rules. `lines` holds lines 1 to at least i (line k at
// lines[k - 1]); i is the current line, which has broken through. Each rule
// reads the feature bits and prices of the lines before i and returns its rule
// bit when the pattern is complete, else 0; it returns 0 when i is below its
// least line count. The conditions are written for a down line (Direction not
// "1"); an up line is tested against the mirrored bits and prices. R is
// `RoeRatio`, and every length test with it is inclusive.

// ろさ: inside and outer lines, and runs of rising peaks or bottoms.
std::int32_t Rosa1(const KesenParamSet& params, std::span<const KagiLineRec> lines, std::int32_t i);
std::int32_t Rosa2(const KesenParamSet& params, std::span<const KagiLineRec> lines, std::int32_t i);
std::int32_t Rosa3(const KesenParamSet& params, std::span<const KagiLineRec> lines, std::int32_t i);
std::int32_t Rosa4(const KesenParamSet& params, std::span<const KagiLineRec> lines, std::int32_t i);
std::int32_t Rosa5(const KesenParamSet& params, std::span<const KagiLineRec> lines, std::int32_t i);
// ろく: a gap, a half-back and a go-and-back line.
std::int32_t Roku1(const KesenParamSet& params, std::span<const KagiLineRec> lines, std::int32_t i);
std::int32_t Roku2(const KesenParamSet& params, std::span<const KagiLineRec> lines, std::int32_t i);
std::int32_t Roku3(const KesenParamSet& params, std::span<const KagiLineRec> lines, std::int32_t i);
// ろゑ: peaks measured against an earlier dominant line.
std::int32_t Roe1(const KesenParamSet& params, std::span<const KagiLineRec> lines, std::int32_t i);
std::int32_t Roe2(const KesenParamSet& params, std::span<const KagiLineRec> lines, std::int32_t i);
std::int32_t Roe3(const KesenParamSet& params, std::span<const KagiLineRec> lines, std::int32_t i);
std::int32_t Roe4(const KesenParamSet& params, std::span<const KagiLineRec> lines, std::int32_t i);
std::int32_t Roe5(const KesenParamSet& params, std::span<const KagiLineRec> lines, std::int32_t i);
std::int32_t Roe6(const KesenParamSet& params, std::span<const KagiLineRec> lines, std::int32_t i);
// ろあ: patterns around a hole line.
std::int32_t Roa1(const KesenParamSet& params, std::span<const KagiLineRec> lines, std::int32_t i);
std::int32_t Roa2(const KesenParamSet& params, std::span<const KagiLineRec> lines, std::int32_t i);
std::int32_t Roa3(const KesenParamSet& params, std::span<const KagiLineRec> lines, std::int32_t i);

// One evaluation of the rules on current line i: clears its RuleHit ("0") and
// RuleCount, then runs ろさ一 to ろあ三 in that order, skipping a ろあ rule whose
// switch (RoaIg1, RoaIg2, RoaIg3) is 1. Each rule that fires sets RuleHit "1",
// adds 1 to RuleCount and ORs its family bit and rule bit into RuleBits, which
// keeps the bits of earlier evaluations. Returns RuleCount.
std::int32_t EvaluateChartLineRules(const KesenParamSet& params, std::span<KagiLineRec> lines, std::int32_t i);

}  // namespace analysis
