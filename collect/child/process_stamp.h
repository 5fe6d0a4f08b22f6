#pragma once

#include "marketdata/code_master.h"

namespace collect {

// Forgets what process kind `processKind` (1-10) has collected for the stock:
// its collection stamp (status, date, time) and, for kinds 1 to 3, the first
// and last date of its data. Other kinds change nothing.
void ClearProcessStamp(long processKind, marketdata::CdmRec& rec);

}  // namespace collect
