#pragma once
#include <span>

#include "marketdata/key.h"
#include "marketdata/price_series.h"

namespace analysis {

// Judges one stock for the screens from the series the screen holds (its
// first `priceCount` rows) and writes the stock's chart-line files: the day
// series with the suffix "-Temp", the line series without. Without a
// price-band table nothing is judged. True when both files were written. A
// run-time error is logged and shown, and ends the program.
bool ASKCM03M(const marketdata::Key& key, long priceCount, std::span<const marketdata::PriceRec> prices);

}  // namespace analysis
