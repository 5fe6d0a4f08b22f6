#pragma once
#include <optional>
#include <string>
#include <string_view>

#include "platform/date.h"

namespace collect {

inline constexpr const char* kNoQuoteDate = "1900/01/01";

// "yyyy/mm/dd" of a text that reads as a date; nullopt otherwise.
std::optional<std::string> QuoteDateText(std::string_view text);

// A quote date written as month and day ("12/31", "12月31日"): the date of
// this year, or of last year when it lies after `today`; nullopt when the
// text is not one.
std::optional<std::string> MonthDayQuoteDate(std::string_view text, const platform::Date& today);

// The "yyyymm" form of a year 0-9999 and a month 0-12; `none` for any other
// year or month, which the six digits cannot hold.
std::string YearMonthDigits(int year, int month, std::string_view none);

// "yyyymm" of a text "2024年3月" ("0000" or "00" for a part that is not a
// number); "000000" for a year or month beyond the form.
std::string YearMonthText(std::string_view text);

}  // namespace collect
