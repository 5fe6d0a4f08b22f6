#pragma once
#include <cstdint>

#include "platform/currency.h"

namespace platform {

// Conversions to the 32-bit and 16-bit integer types. Halves round to the
// even neighbour (2.5 -> 2, 3.5 -> 4); a result outside the type's range,
// NaN or an infinity raises overflow (error 6).
std::int32_t ToLong(double value);
std::int32_t ToLong(const Currency& value);
std::int16_t ToInteger(double value);

}  // namespace platform
