#pragma once
#include <string>

#include "common/files/env_rec.h"
#include "common/logs/progress.h"
#include "common/tasks/task_records.h"

namespace collect {

// The child copies' market-report collectors of one part: for each company
// the quote page (China also its financials page) becomes a report line in
// the part's result work file and updates the company's code-master record,
// which goes to the list work file; with the setting HpRepToHp "1" the
// day's quote also joins the stock's price series.
bool ARPJP30M(long processKind, const std::string& unused, common::EnvRec& env, common::MSGRec& msg,
              common::TSDRec& task);
bool ARPCH30M(long processKind, const std::string& unused, common::EnvRec& env, common::MSGRec& msg,
              common::TSDRec& task);
bool ARPUS30M(long processKind, const std::string& unused, common::EnvRec& env, common::MSGRec& msg,
              common::TSDRec& task);

}  // namespace collect
