#pragma once
#include <string>
#include <string_view>

#include "platform/date.h"

namespace collect {

// The dates of the research provider's report pages in the forms the
// research-provider file keeps.

// "yyyy/mm/dd" from the first three runs of digits of `text` (year, month,
// day; full-width digits count too). An empty text or "-", a text with fewer
// than three runs, a year of other than four or two digits, or one that
// names no calendar day gives "1900/01/01". A four-digit year after
// `currentYear` is read as 19 and its last two digits; a two-digit year is
// compared with the last two digits of `currentYear`: the 1900s when it is
// greater, else the current century.
std::string NormaliseReportDate(std::string_view text, int currentYear = platform::Now().date.year);

// `replacement` when the trimmed text equals `marker`; otherwise "yyyymm" from
// a "2008年3月" text (its "月" removed, split at "年", each part read from
// its leading digits). A text without "年", without a year, or with a year or
// month beyond the form (YearMonthDigits) gives `replacement` as well.
std::string NormaliseYearMonth(std::string_view text, std::string_view marker, std::string_view replacement);

}  // namespace collect
