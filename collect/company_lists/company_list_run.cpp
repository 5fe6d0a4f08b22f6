#include "collect/company_lists/company_list_run.h"

#include <cstdlib>
#include <span>
#include <string>
#include <vector>

#include "collect/child/collection_steps.h"
#include "collect/company_lists/list_task_recovery.h"
#include "common/files/data_file.h"
#include "common/files/file_registry.h"
#include "common/files/key_layout.h"
#include "common/files/master_merge.h"
#include "common/files/text_file_read.h"
#include "common/logs/message_box.h"
#include "common/run_state.h"
#include "common/settings/multi_task_count.h"
#include "marketdata/code_master.h"
#include "marketdata/company_list.h"
#include "marketdata/industry_list.h"
#include "marketdata/split_run_builder.h"
#include "marketdata/split_run_frame.h"

namespace collect {

namespace {

constexpr long kStatusFiles[] = {111, 112, 113, 114};

// Where a country's industries and companies are kept.
struct ListFiles {
    long industrySource;      // the industry rows to collect and, unnamed, the entries of the code master
    const char* rowsName;     // the name part of the file with the industry rows
    const char* rowsMarket;   // the market of the rows to collect; empty: any
    long companyList;         // the country's company list; its part files are the children's output
    bool recordsFinished;     // the collector records its finished industries
};

ListFiles FilesOfCountry() {
    const std::string& country = common::State().context.countryCode;
    if (country == "USA") return {marketdata::kUsaIndustryFileNumber, "", "USA", 1006, true};
    if (country == "CHN") return {marketdata::kChinaIndustryFileNumber, "Market", "", 1004, false};
    return {marketdata::kJapanIndustryFileNumber, "", "JPN", 1003, true};
}

// Step 01: the industry rows to collect (category "0050", flag "1") cut into
// the parts' industry lists and task records.
bool SplitIndustries(marketdata::SplitRun& run) {
    const ListFiles files = FilesOfCountry();
    marketdata::IndustryLoadReq request;
    request.FNameIdx = files.industrySource;
    request.Concati = files.rowsName;
    request.MarketFilter = files.rowsMarket;
    request.CategoryFilter = "0050";
    request.FlagFilter = "1";
    common::SetKeyLayout3(request.SortKeys);
    std::vector<marketdata::IndustryRec> rows;
    if (!marketdata::LoadIndustryList(request, run.env, rows)) {
        common::ShowWarning("業種情報が存在しません。　", 48);
        return false;
    }
    for (const long fileNumber : {files.industrySource, files.companyList}) {
        common::CFFIL75M(fileNumber, run.processNumber, run.env);
    }
    for (const long fileNumber : kStatusFiles) common::CFFIL75M(fileNumber, run.processNumber, run.env);
    marketdata::WriteSplitRunTasks(
        run.processNumber, static_cast<long>(rows.size()), common::ReadMultiTaskCount(), run.env, run.msg,
        [&](long sequence, long first, long last) {
            marketdata::BuildIndustryLines(files.industrySource, run.processNumber, sequence, files.rowsName, "",
                                           run.env, std::span(rows).subspan(first, last - first));
        });
    return true;
}

// A part's finished industries go into its industry list, so that its child
// skips them (the Chinese collector keeps no such record), and a company
// listed twice keeps one line.
void RecoverPart(marketdata::SplitRun& run, const marketdata::SplitRunPart& part) {
    const ListFiles files = FilesOfCountry();
    if (files.recordsFinished) {
        RecoverListTask(files.industrySource, part.procIdx, part.sequence, run.env, run.msg);
    }
    KeepLastLinePerCompany(common::BuildDataFilePath(files.companyList, part.procIdx, part.sequence, "", ".tmp", run.env));
}

bool CollectLists(marketdata::SplitRun& run) {
    return marketdata::RunPartsInChildren(run, RecoverPart, run.processName + "の収集を中断します。　");
}

// The commit point: the parts' company lines are gathered without being
// deleted, so that a repeat of this step finds them again.
bool GatherLists(marketdata::SplitRun& run) {
    if (!marketdata::GatherPartFiles(run, FilesOfCountry().companyList, ".tmp", RecoverPart)) return false;
    marketdata::GatherPartLogs(run);
    return true;
}

// The companies of the country's list as entries of its industry source.
void EnterCompanies(marketdata::SplitRun& run, const ListFiles& files) {
    std::vector<std::string> lines;
    common::CFFIL21M(common::BuildDataFilePath(files.companyList, 0, 0, "", "", run.env), lines);
    std::vector<marketdata::IndustryRec> entries;
    for (const std::string& line : lines) {
        marketdata::ListRec company;
        if (!marketdata::LineToListRec(line, company)) continue;
        marketdata::ListRecToIndustryRec(company, entries.emplace_back());
    }
    if (entries.empty()) return;
    marketdata::BuildIndustryLines(files.industrySource, 0, 0, "", ".tmp", run.env, entries);
    marketdata::CommitIndustryList(files.industrySource, 0, 0, "", ".tmp", common::CFFIL03M(files.industrySource), run.env,
                                   run.msg);
}

// Step 04: the gathered lines merged into the country's list by company, the
// parts' files deleted, and the list carried into the code master. Every
// stage works from the files the stage before left, so a repeat of the step
// gives the same result.
bool BuildCodeMaster(marketdata::SplitRun& run) {
    const ListFiles files = FilesOfCountry();
    std::vector<std::string> merged;
    common::RecoverInCompanyOrder(files.companyList, 0, 0, "", ".tmp", common::CFFIL03M(files.companyList), run.env,
                                  run.msg, merged);
    for (const long fileNumber : {files.industrySource, files.companyList}) {
        common::CFFIL75M(fileNumber, run.processNumber, run.env);
    }
    EnterCompanies(run, files);
    marketdata::CFIDXI0M(run.env, run.msg);
    marketdata::CFCDMI1M(marketdata::kIndustryListFileNumber, 0, "", run.env, run.msg);
    return marketdata::FinishSplitRun(run);
}

constexpr marketdata::SplitRunStep kSteps[] = {SplitIndustries, CollectLists, GatherLists, BuildCodeMaster};

void ShowListSteps(common::MSGRec& msg, const std::string& step) {
    marketdata::ShowStepList(msg, common::State().context.processName + " の収集", CollectionStepLines(),
                             std::atol(step.c_str()));
}

}  // namespace

bool ALIST00M() { return marketdata::RunSplitRun("ALIST00M", {kSteps, ShowListSteps, nullptr}); }

}  // namespace collect
