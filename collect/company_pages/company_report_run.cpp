#include "collect/company_pages/company_report_run.h"

#include <cstdlib>
#include <vector>

#include "collect/child/collection_steps.h"
#include "collect/company_pages/research_industries.h"
#include "common/files/data_file.h"
#include "common/files/master_merge.h"
#include "common/run_state.h"
#include "marketdata/industry_list.h"
#include "marketdata/split_run_frame.h"

namespace collect {

namespace {

constexpr long kResearchKind = 7;

long ProcessKind() { return std::atol(common::State().context.processIndexText.c_str()); }
long ResultFile() { return common::State().context.resultFileNumber; }

void RecoverResults(marketdata::SplitRun& run, const marketdata::SplitRunPart& part) {
    common::CFCPIR0M(ResultFile(), part.procIdx, part.sequence, "", ".tmp", ".txt", run.env, run.msg);
}

void RecoverPart(marketdata::SplitRun& run, const marketdata::SplitRunPart& part) {
    RecoverCompanyPart(run.env, run.msg, ResultFile(), part.procIdx, part.sequence);
}

bool CollectParts(marketdata::SplitRun& run) {
    return marketdata::RunPartsInChildren(run, RecoverPart, run.processName + "の収集を中断します。　");
}

// The commit point: the parts' lists and results are gathered without being
// deleted, so that a repeat of this step finds them again.
bool GatherParts(marketdata::SplitRun& run) {
    return marketdata::GatherPartFiles(run, ResultFile(), "", RecoverResults) && marketdata::GatherPartLists(run);
}

bool UpdateResultMaster(marketdata::SplitRun& run) {
    common::CFCPIR0M(ResultFile(), 0, 0, "", ".tmp", ".txt", run.env, run.msg);
    common::CFFIL75M(ResultFile(), run.processNumber, run.env);
    if (ProcessKind() == kResearchKind) return true;
    return marketdata::FinishSplitRun(run);
}

bool AttachResearchIndustries(marketdata::SplitRun& run) { return CFMLTC1M(run.env, run.msg); }

// The industry rows and codes, then the code master's industry records
// rebuilt from the list that now holds them.
bool ExtractResearchIndustries(marketdata::SplitRun& run) {
    AMLTX41M(run.env, run.msg);
    marketdata::CFCDMI1M(marketdata::kIndustryListFileNumber, 0, "", run.env, run.msg);
    return marketdata::FinishSplitRun(run);
}

constexpr marketdata::SplitRunStep kSteps[] = {
    marketdata::SplitCompaniesIntoParts, CollectParts, GatherParts, marketdata::ApplyPartLists, UpdateResultMaster,
    AttachResearchIndustries,            ExtractResearchIndustries,
};

}  // namespace

void RecoverCompanyPart(common::EnvRec& env, common::MSGRec& msg, long resultFile, long procIdx, long taskSeq) {
    marketdata::RecoverPartList(env, msg, procIdx, taskSeq);
    common::CFCPIR0M(resultFile, procIdx, taskSeq, "", ".tmp", ".txt", env, msg);
}

void ShowCollectionSteps(common::MSGRec& msg, const std::string& step) {
    const std::string& name = common::State().context.processName;
    std::vector<std::string> lines = CollectionStepLines();
    lines.push_back(name + " の更新");
    if (ProcessKind() == kResearchKind) {
        lines.push_back("ロイター業種の付与");
        lines.push_back("ロイター業種の抽出");
    }
    marketdata::ShowStepList(msg, name + " の収集", lines, std::atol(step.c_str()));
}

bool ACORP00M() {
    const std::size_t count = ProcessKind() == kResearchKind ? 7 : 5;
    return marketdata::RunSplitRun("ACORP00M", {std::span(kSteps, count), ShowCollectionSteps, nullptr});
}

}  // namespace collect
