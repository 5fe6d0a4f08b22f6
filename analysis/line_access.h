#pragma once
#include <cstdint>
#include <span>

#include "analysis/kagi_line_rec.h"
#include "platform/currency.h"

namespace analysis {

// Lines are numbered from 1 as the rules and features speak of them; line k is
// lines[k - 1] of the line series.
inline const KagiLineRec& LineAt(std::span<const KagiLineRec> lines, std::int32_t k) { return lines[k - 1]; }

// An up line; any other direction is taken as down.
inline bool IsUp(const KagiLineRec& line) { return line.Direction.Is(kFlagUp); }

// The price range a line covers.
inline platform::Currency LineLength(std::span<const KagiLineRec> lines, std::int32_t k) {
    return LineAt(lines, k).High - LineAt(lines, k).Low;
}

}  // namespace analysis
