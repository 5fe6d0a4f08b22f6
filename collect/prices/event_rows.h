#pragma once
#include <string>
#include <vector>

#include "marketdata/price_series.h"

namespace collect {

// Moves the rows whose price columns (1-4) hold a dividend ("$") or a split
// ratio (":") from `rows` into `events` (replaced), both keeping their order.
// `splitDate` is the date of the first split row met (on newest-first pages
// the newest split), "1900/01/01" when there is none. True when at least one
// row was moved.
bool SeparateEventRows(std::vector<marketdata::PriceRec>& rows, std::vector<marketdata::PriceRec>& events,
                       std::string& splitDate);

}  // namespace collect
