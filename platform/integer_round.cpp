#include "platform/integer_round.h"

#include <cmath>
#include <limits>

#include "platform/trapped_error.h"

namespace platform {
namespace {

// Written so that NaN, which compares false with everything, is refused too.
template <typename Integer, typename Rounded>
Integer CheckedNarrow(Rounded rounded) {
    if (!(rounded >= static_cast<Rounded>(std::numeric_limits<Integer>::min()) &&
          rounded <= static_cast<Rounded>(std::numeric_limits<Integer>::max()))) {
        RaiseError(error_number::kOverflow, "IntegerRound");
    }
    return static_cast<Integer>(rounded);
}

// nearbyint rounds halves to even in the default rounding mode, which the program never changes.
template <typename Integer>
Integer RoundDouble(double value) {
    return CheckedNarrow<Integer>(std::nearbyint(value));
}

}  // namespace

std::int32_t ToLong(double value) { return RoundDouble<std::int32_t>(value); }

std::int32_t ToLong(const Currency& value) { return CheckedNarrow<std::int32_t>(value.RoundedUnits(0)); }

std::int16_t ToInteger(double value) { return RoundDouble<std::int16_t>(value); }

}  // namespace platform
