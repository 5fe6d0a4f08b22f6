#pragma once
#include "common/files/env_rec.h"

namespace collect {

// Reads the seven currencies' rates and the generation time from the
// portal's current-rates page into the ComExcg settings and the latest-rates
// file. True when the rates were stored; a failed fetch, a page without the
// rates table or without a whole generation time (date and time) is logged
// and leaves settings and file as they were.
bool AEXCG15M(common::EnvRec& env);

}  // namespace collect
