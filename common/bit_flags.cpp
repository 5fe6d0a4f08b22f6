#include "common/bit_flags.h"

namespace common {

bool IsBitSet(long flags, long mask) { return (flags & mask) != 0; }

bool IsBitClear(long flags, long mask) { return (flags & mask) == 0; }

std::string BitDigit(long flags, long mask) { return IsBitSet(flags, mask) ? "1" : "0"; }

std::string BitMarkText(long flags, long mask) { return IsBitSet(flags, mask) ? "○" : " "; }

std::string TextIfBitSet(long flags, long mask, std::string_view text) {
    return IsBitSet(flags, mask) ? std::string(text) : std::string();
}

}  // namespace common
