#pragma once
#include <string>
#include <string_view>

#include "platform/currency.h"

namespace platform {

// Formats a number with a pattern such as "0.00", "#,##0" or "+0.00%;-0.00%".
//   '0'  a digit, always shown
//   '#'  a digit, shown only when significant
//   ','  between integer placeholders: thousands grouping
//   '.'  the decimal point, shown when a decimal digit is
//   '%'  shows the value times 100
// Any other character before or after the placeholders is copied as is.
// Rounding to the pattern's decimals is half to even: a double on the exact
// binary value of itself (or of its product by 100), a Currency exactly. With one section a negative value gets a
// leading "-" unless it rounds to zero; with two, the second section shows
// the absolute value of a negative one. Integers go through the double
// overload, which holds them exactly up to 2^53. NaN and infinities (also
// from the product by 100) raise overflow (error 6).
std::string FormatNumber(double value, std::string_view format);
std::string FormatNumber(const Currency& value, std::string_view format);

}  // namespace platform
