#pragma once
#include <string>

#include "common/files/env_rec.h"
#include "common/logs/progress.h"
#include "common/tasks/task_records.h"

namespace analysis {

// Judges every company of the task's split part in a child copy: appends the
// part's judgement results and each judged company's record (Flag1 "0") to
// the part's files, and sends exactly one end report: "Z" all judged (also
// for a part without companies), "S" stopped on Common\Cancel or on the
// part's suspend request, "E" without a price-band table. A failed part
// ("E") starts from empty files; any other part first makes its files whole
// (RecoverPartResults). True in every case.
bool AKAGI32M(const std::string& name, common::EnvRec& env, common::MSGRec& msg, common::TSDRec& task);

}  // namespace analysis
