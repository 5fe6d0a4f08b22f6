#pragma once
#include <cstdint>
#include <string>

#include "platform/date.h"

namespace charts {

// The first date ("yyyy/mm/dd") a chart of period `periodCode` shows, counted
// back from `lastDate`: 1 three months, 2 six months, 3 one year, 4 two years,
// 5 five years; any other code the whole series ("1900/01/01"). The day of
// month is kept even where the month lacks it: the text is only compared with
// date texts.
std::string PeriodStartDate(std::int32_t periodCode, const platform::Date& lastDate);

}  // namespace charts
