#pragma once
#include <string>
#include <vector>

#include "collect/web/page_fetch.h"
#include "common/files/env_rec.h"
#include "common/logs/progress.h"
#include "common/tasks/task_records.h"
#include "marketdata/code_master.h"
#include "marketdata/industry_list.h"

namespace collect {

class CompanyPageRun;

// What a collector of one page per company (profiles, market reports) brings
// to the loop they all share.
struct CompanyPageKind {
    const char* id;  // the collector's procedure ID
    // Reads the company's pages and gives its result line; false when no page
    // could be read (the reason is logged with CompanyPageRun::LogMissing).
    // The company's record takes what was read.
    bool (*collectCompany)(CompanyPageRun& run, marketdata::CdmRec& company, std::string& resultLine);
    // The category filter of the part's list ("" keeps every record).
    const char* categoryFilter = "2000";
    // The progress text while the run gets ready.
    const char* preparingText = "<国>・企業情報の収集準備中";
    // Whether the run needs the country's industry list (industries()).
    bool usesIndustries = true;
    // Logs a part without a company to collect; null: the company
    // collectors' warning line.
    void (*logNoCompany)() = nullptr;
};

// One task's run over the companies of its part: each company's result line
// goes to the result work file, then its code-master line, with both status
// flags "1" (read) or "9" (not), to the list work file. A company whose
// list line is written is done; a part started again recovers both work
// files first and goes on with the companies not yet done.
class CompanyPageRun {
public:
    CompanyPageRun(const CompanyPageKind& kind, common::EnvRec& env, common::MSGRec& msg, common::TSDRec& task);

    // The whole run, from the start line to the end line.
    void Run();

    // Fetches `url` into the page cell tables, with `callerTag` naming the
    // fetch in its logs; false, after the "無し(2) " warning, when it failed.
    bool Fetch(FetchRec& fetch, const std::string& url, const std::string& callerTag,
               const marketdata::CdmRec& company);
    // The per-company warning: `which` is "無し(1) " (no such page) or
    // "無し(2) " (no page at all).
    void LogMissing(const char* which, const marketdata::CdmRec& company);

    // The country's industry list (empty when there is none).
    const std::vector<marketdata::IndustryRec>& industries() const { return industries_; }

    common::EnvRec& env;
    common::MSGRec& msg;
    common::TSDRec& task;

private:
    void LoadIndustries();
    std::string CollectCompanies(marketdata::CdmTbl& companies);
    bool StopRequested();

    const CompanyPageKind& kind_;
    std::vector<marketdata::IndustryRec> industries_;
    std::string resultPath_;
    std::string listPath_;
};

// The page address of a company: `urlTemplate` with every "@Code@" replaced
// by `code`.
std::string CompanyUrl(const std::string& urlTemplate, const std::string& code);

}  // namespace collect
