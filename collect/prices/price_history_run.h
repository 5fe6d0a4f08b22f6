#pragma once
#include <string>

#include "common/logs/progress.h"

namespace collect {

// The price-history run of the current process context (one country): the
// country's companies split into parts that child copies collect, their
// updated records gathered and applied to the code master. Each of its four
// steps is recorded as it starts, so an interrupted or cancelled run resumes
// at its step. True when the run came to its end.
bool AHPJP00M();

// Fills the progress record with the run's four steps, `step` ("01".."04")
// being the current one, and shows it.
void ShowPriceCollectionSteps(common::MSGRec& msg, const std::string& step);

}  // namespace collect
