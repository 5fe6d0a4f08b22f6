#pragma once
#include <optional>
#include <string_view>
#include <tuple>

#include "platform/date.h"

namespace platform {

// Reads a date typed by a user or found in a downloaded file. Surrounding
// blanks are trimmed; digits are half-width only. The accepted forms, and no
// others (yyyy = four digits, yy = two or four digits, m/d = one or two
// digits, Mon = English month, three-letter or full, any case):
//   yyyy/m/d        2004/1/5, 2004/01/05
//   yyyy-m-d        2004-1-5, 2004-01-05
//     either of these may be followed by blanks and a time "h:mm" or
//     "h:mm:ss", which must be a valid time and is otherwise ignored
//   yyyy年m月d日     2001年3月1日
//   yyyy年m月        2001年3月 (day 1)
//   d-Mon-yy        9-Mar-05
//   Mon-d-yy        Mar-9-05
//   Mon d, yy       Mar 9, 2005; March 9, 2005
//   d Mon yy        9 Mar 2005
// Two-digit years 00-29 are 2000-2029, 30-99 are 1930-1999. Dates that do
// not exist (2004/02/30) are refused.
std::optional<Date> ParseDate(std::string_view text);
// ParseDate into `date`, left untouched when the text is no date: for
// readers of millions of dates, with nothing to unpack.
bool ParseDateInto(std::string_view text, Date& date);

// Reads "h:mm" or "h:mm:ss" (hour of one or two digits) into hour 0..23,
// minute 0..59 and second 0..59 (0 when not written). Blanks are trimmed.
std::optional<std::tuple<int, int, int>> ParseTimeText(std::string_view text);

}  // namespace platform
