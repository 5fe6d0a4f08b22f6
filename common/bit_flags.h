#pragma once
#include <string>
#include <string_view>

namespace common {

// Tests of the analysis program's flag words (Long bit sets) with a one-bit
// or multi-bit mask: "set" means (flags & mask) != 0, that is, at least one
// bit of the mask is set.

bool IsBitSet(long flags, long mask);
bool IsBitClear(long flags, long mask);
// "1" when set, else "0".
std::string BitDigit(long flags, long mask);
// "○" (U+25CB) when set, else one space.
std::string BitMarkText(long flags, long mask);
// `text` when set, else "".
std::string TextIfBitSet(long flags, long mask, std::string_view text);

}  // namespace common
