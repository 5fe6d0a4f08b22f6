#pragma once
#include <string>

#include "common/files/env_rec.h"
#include "common/logs/progress.h"
#include "marketdata/code_master.h"

namespace analysis {

// The judgement-result file of one split part (procIdx, taskSeq) of the run
// of `country`: the file the part appends to and the run gathers from.
std::string PartResultPath(common::EnvRec& env, long procIdx, long taskSeq, const std::string& country);

// Makes a part's files whole again after an interrupted or failed part
// run, keeping everything that was finished: the company-list work file is
// cut back to whole lines and folded into the part's list, then the result
// file is cut back to whole records without the results of the companies the
// list still has to judge, so judging them again neither doubles nor loses a
// result. Nothing to do when the files are missing. Returns the companies
// the list still has to judge (its kept records), empty when there are none.
marketdata::CdmTbl RecoverPartResults(common::EnvRec& env, common::MSGRec& msg, long procIdx, long taskSeq,
                                      const std::string& country);

// The same for the parent of the run, which needs no list of the companies
// left: a part without a result file is not read at all.
void RecoverPartFiles(common::EnvRec& env, common::MSGRec& msg, long procIdx, long taskSeq,
                      const std::string& country);

}  // namespace analysis
