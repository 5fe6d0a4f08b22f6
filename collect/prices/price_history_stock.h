#pragma once
#include <string>

#include "common/files/env_rec.h"
#include "common/logs/progress.h"
#include "common/settings/system_state_file.h"
#include "common/tasks/task_records.h"
#include "marketdata/code_master.h"

namespace collect {

// Collects the price history of one stock for the candle letter `candle`
// ("D", "W" or "M"): reads the series held, asks the source page by page for
// the dates not yet held (as the settings' period mode says), sets dividend
// and split rows apart into the split file, collects the whole history
// again when a new stock split has happened (the files held give way only to
// a recollection that ends with rows), and rewrites the series file whole
// with the moving averages. Updates the record's price-history term (and, on a split
// or a probe, its stamps and market suffix); the caller writes it back.
// False when a cancel or a stop request came: then nothing of the stock was
// written and the task is marked suspended.
bool AHPJP41M(long processKind, common::EnvRec& env, common::MSGRec& msg, marketdata::CdmRec& company,
              const common::SystemStateRec& settings, const std::string& candle, common::TSDRec& task);

}  // namespace collect
