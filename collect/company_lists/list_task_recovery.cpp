#include "collect/company_lists/list_task_recovery.h"

#include <algorithm>
#include <set>
#include <vector>

#include "common/files/data_file.h"
#include "common/files/file_registry.h"
#include "common/files/text_file_io.h"
#include "common/files/text_file_read.h"
#include "common/files/text_file_write.h"
#include "marketdata/company_list.h"
#include "marketdata/key.h"
#include "marketdata/industry_list.h"

namespace collect {

void RecoverListTask(long fileNumber, long procIdx, long taskSeq, common::EnvRec& env, common::MSGRec& msg) {
    common::CutToWholeLines(common::BuildDataFilePath(fileNumber, procIdx, taskSeq, "", ".tmp", env));
    marketdata::CommitIndustryList(fileNumber, procIdx, taskSeq, "", ".tmp", common::CFFIL03M(fileNumber), env, msg);
}

void KeepLastLinePerCompany(const std::string& path) {
    common::CutToWholeLines(path);
    std::vector<std::string> lines;
    if (!common::CFFIL21M(path, lines)) return;
    std::set<std::string> seen;
    std::vector<std::string> kept;
    for (auto line = lines.rbegin(); line != lines.rend(); ++line) {
        marketdata::ListRec company;
        std::string identity;
        if (marketdata::LineToListRec(*line, company)) marketdata::CdmKeyString(company.Key, identity);
        if (identity.empty() || seen.insert(identity).second) kept.push_back(*line);
    }
    if (kept.size() == lines.size()) return;
    std::reverse(kept.begin(), kept.end());
    common::CFFIL30M(kept, path);
}

}  // namespace collect
