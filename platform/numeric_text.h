#pragma once
#include <optional>
#include <string_view>

#include "platform/currency.h"

namespace platform {

// The one test of whether a text is a number: optional blanks (space, tab)
// around it, an optional + or - directly before the digits, thousands commas
// only between integer digits, at most one decimal point and at least one
// digit. No exponent, currency symbol or full-width digits.
bool IsNumericText(std::string_view text);

// The parsers return nullopt for text that is not numeric; numeric text whose
// value is out of the type's range raises overflow (error 6), as any other
// conversion to that type does.

// More than four decimals are rounded half to even.
std::optional<Currency> ParseCurrency(std::string_view text);
// ParseCurrency into `value`, left untouched when the text is not numeric:
// for readers of millions of numbers, with nothing to unpack.
bool ParseCurrencyInto(std::string_view text, Currency& value);
// The nearest double.
std::optional<double> ParseDouble(std::string_view text);

}  // namespace platform
