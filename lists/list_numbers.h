#pragma once
#include <optional>
#include <string_view>

#include "platform/currency.h"

namespace lists {

// A list text's fixed-point value: numeric (platform::IsNumericText) and
// within the fixed-point range; nullopt otherwise, so that a value no
// Currency can hold is treated as text instead of ending the program.
std::optional<platform::Currency> ListCurrency(std::string_view text);

}  // namespace lists
