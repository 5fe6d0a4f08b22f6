#pragma once

namespace collect {

// Sets every code-master record's price-history stamp and dates from the
// daily series file held for it: stamp "1" with the first and last date of
// the series, or "9" with no dates when there is none.
void AHPJP50M();

}  // namespace collect
