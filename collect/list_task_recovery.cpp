#include "collect/list_task_recovery.h"

#include "common/file_registry.h"
#include "marketdata/industry_list.h"

namespace collect {

void RecoverListTask(long fileNumber, long procIdx, long taskSeq, common::EnvRec& env, common::MSGRec& msg) {
    marketdata::CommitIndustryList(fileNumber, procIdx, taskSeq, "", ".tmp", common::CFFIL03M(fileNumber), env, msg);
}

}  // namespace collect
