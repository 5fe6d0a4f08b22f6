#pragma once
#include <span>
#include <vector>

#include "marketdata/price_series.h"

namespace collect {

// One row per date, in ascending date order (the first 10 characters of
// column 0, compared as text): for a date in both inputs the row of `second`
// wins, and among rows of one input sharing a date the earliest does.
// `merged` may be either input; one that is neither keeps its room.
void MergePriceRowsByDate(std::span<const marketdata::PriceRec> first, std::span<const marketdata::PriceRec> second,
                          std::vector<marketdata::PriceRec>& merged);

}  // namespace collect
