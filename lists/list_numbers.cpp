#include "lists/list_numbers.h"

#include <cmath>

#include "platform/numeric_text.h"

namespace lists {

std::optional<platform::Currency> ListCurrency(std::string_view text) {
    // A text this short has at most 14 integer digits, far within the range:
    // its number needs no test against the limit below.
    constexpr std::size_t kSurelyInRange = 14;
    if (text.size() <= kSurelyInRange) return platform::ParseCurrency(text);
    const std::optional<double> value = platform::ParseDouble(text);
    // Below the largest whole number a Currency holds, with room for the
    // rounding of the double.
    constexpr double kLimit = 922337203685477.0;
    if (!value || !(std::fabs(*value) < kLimit)) return std::nullopt;
    return platform::ParseCurrency(text);
}

}  // namespace lists
