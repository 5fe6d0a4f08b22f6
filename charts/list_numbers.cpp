#include "charts/list_numbers.h"

#include <cmath>

#include "platform/numeric_text.h"

namespace charts {

std::optional<platform::Currency> ListCurrency(std::string_view text) {
    const std::optional<double> value = platform::ParseDouble(text);
    // Below the largest whole number a Currency holds, with room for the
    // rounding of the double.
    constexpr double kLimit = 922337203685477.0;
    if (!value || !(std::fabs(*value) < kLimit)) return std::nullopt;
    return platform::ParseCurrency(text);
}

}  // namespace charts
