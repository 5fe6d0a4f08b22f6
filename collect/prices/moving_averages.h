#pragma once
#include <span>

#include "marketdata/price_series.h"

namespace collect {

// Moving averages over 5, 25 and 75 rows of a series in ascending date
// order, into columns 8-11, 12-15 and 16-19: average price ("0.000"), the
// row's price deviation from it in percent ("0.00"), average volume ("0")
// and the row's volume deviation in percent ("0.00"). A row's price is its
// adjusted close (column 6) when above 0, else its close (column 4); its
// volume is column 5. Only the last 76 rows are recomputed (the last row
// alone in a series of 75 rows or fewer); the windows count from the first
// row recomputed, so a window's texts stay empty until it has filled there.
// The volume texts are empty on a row without volume.
void ComputeMovingAverages(std::span<marketdata::PriceRec> rows);

}  // namespace collect
