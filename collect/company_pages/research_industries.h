#pragma once
#include "common/files/env_rec.h"
#include "common/logs/progress.h"
#include "marketdata/code_master.h"

namespace collect {

// The research provider's industries carried into the code master, once a
// research-provider run has gathered its file.

// Every Japanese stock of the code master takes its research presence,
// stamp and industry name from its row of the research-provider file; a stock
// without a row keeps them. The stocks are written back through the code
// master's work file, also when the file has no row (logged). An empty code
// master is logged and warned about. Always true.
bool CFMLTC1M(common::EnvRec& env, common::MSGRec& msg);

// The matching of CFMLTC1M on records 1 to `count` of `tbl`, by identity
// (market, category and CorpCode, case ignored). Always true.
bool CFMLTC11(common::EnvRec& env, common::MSGRec& msg, long count, marketdata::CdmTbl& tbl);

// Every research industry name of the code master becomes a level-"0060" row
// of the industry list and every stock with a name takes that row's code as
// its IndCode0060; the list and the code master (its work file, committed)
// are written back. An empty code master is logged and warned about. Always
// true.
bool AMLTX41M(common::EnvRec& env, common::MSGRec& msg);

// The industry rows of AMLTX41M for records 1 to `count` of `tbl`: an
// existing row keeps its code; a name without a row (compared exactly) gets a
// new row numbered after the highest code; a list without rows starts with
// "0001" named "-". A stock without a name keeps its code. Always true.
bool AMLTX411(common::EnvRec& env, common::MSGRec& msg, long count, marketdata::CdmTbl& tbl);

// AMLTX41M for the maintenance form's tool: the code master is replaced by
// its rewritten work file. Always true.
bool AMLTX40M(common::EnvRec& env, common::MSGRec& msg);

}  // namespace collect
